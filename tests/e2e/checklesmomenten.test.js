// The planned lesson count check, reached from the menu: choose an institution, fetch, and see
// one row per organised module variant of the school year's classes, the rows below 92 percent
// painted red and those above 100 orange, while the current row keeps its highlight.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, openScreen, settled, screenshot, formSelector } = require('./harness');

const CHECK = formSelector('TVWOCheckAantalLesmomentenForm');

//! Each row of the result grid: its cells' texts, whether it is current and its background.
async function resultRows(page) {
  return page.$$eval(CHECK + ' [data-control="GridResultaat"] tbody tr', (rows) => rows.map((row) => ({
    cells: [...row.querySelectorAll('td:not(.marker)')].map((td) => td.textContent),
    current: row.classList.contains('current'),
    background: row.style.backgroundColor,
  })));
}

test('choose an institution, fetch, and see the rows with their colours', () =>
  withKavel('checklesmomenten', async (page) => {
    await openScreen(page, 'TVWOCheckAantalLesmomentenForm', 'Aantal geplande lesmomenten nakijken');
    await page.click('#tabs .tab-caption >> nth=1');
    await settled(page);
    const fetch = page.locator(CHECK + ' [data-control="BtnOphalen"] button, ' + CHECK +
      ' button[data-control="BtnOphalen"]');
    assert.ok(await fetch.isDisabled(), 'no institution chosen yet');
    const begin = await page.locator(CHECK + ' [data-control="DEBegin"] input').inputValue();
    assert.match(begin, /^01\/09\/\d{4}$/, 'the school year of the working date');
    assert.equal(await page.locator(CHECK + ' [data-control="DEEinde"] input').inputValue(),
      '31/08/' + (Number(begin.slice(6)) + 1));

    const select = CHECK + ' [data-control="LCInstelling"] select';
    const linde = await page.locator(select + ' option', { hasText: 'De Linde' }).getAttribute('value');
    await page.selectOption(select, linde);
    await settled(page);
    assert.ok(await fetch.isEnabled());
    await fetch.click();
    await settled(page);
    await page.waitForSelector(CHECK + ' [data-control="GridResultaat"] tbody tr');
    const rows = await resultRows(page);
    assert.equal(rows.length, 12, 'two module variants for each of the six classes');
    assert.ok(rows.every((r) => r.cells[4].startsWith('LIN-')), 'De Linde\'s classes only');
    const percent = (row) => Number(row.cells[2].replace(',', '.'));
    const red = 'rgb(255, 0, 0)', orange = 'rgb(255, 128, 64)';
    const coloured = (shown) => {
      for (const row of shown.filter((r) => !r.current)) {
        const expected = percent(row) < 92 ? red : percent(row) > 100 ? orange : '';
        assert.equal(row.background, expected, row.cells.join(' | '));
      }
    };
    coloured(rows);
    assert.ok(rows.some((r) => r.background === red), 'a row below 92 percent');
    assert.ok(rows.some((r) => r.background === orange), 'a row above 100 percent');
    assert.ok(rows.some((r) => !r.current && r.background === '' && percent(r) === 100),
      'a row at exactly 100 percent stays white');
    await screenshot(page, 'checklesmomenten', '1-rows');

    // The current row keeps its highlight; the row it left takes its colour again.
    const redIndex = rows.findIndex((r) => r.background === red);
    await page.click(CHECK + ' [data-control="GridResultaat"] tbody tr >> nth=' + redIndex);
    await settled(page);
    const after = await resultRows(page);
    assert.ok(after[redIndex].current);
    assert.equal(after[redIndex].background, '');
    coloured(after);
  }));
