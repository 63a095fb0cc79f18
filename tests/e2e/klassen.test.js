// The class screen in the browser: another period, a class found by its Davinci course number
// (the period goes back to the school year to show it) and its module variants opened from it.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, login, settled, message, answerMessage, gridCells, formSelector, screenshot } =
  require('./harness');

test('a class is found by course number and its module variants open', () =>
  withKavel('klassen', async (page) => {
    await login(page, 'demo', 'demo');
    await page.waitForSelector('#menu .menu-entry');
    await page.locator('#menu .menu-entry').getByText('Klassen', { exact: true }).first().click();
    await page.waitForSelector('#tabs .tab');
    await settled(page);
    const form = formSelector('TVWOKlasForm');
    await page.locator(form + ' [data-control="GridKlassen"]').waitFor();
    const rows = async () => gridCells(page, form, 'GridKlassen');
    const all = await rows();
    assert.equal(all.length, 6, JSON.stringify(all));
    assert.match(await page.locator(form + ' [data-control="LTitel"]').textContent(),
      /^Klassen gedurende periode 01\/09\/\d{4} tot 31\/08\/\d{4}$/);

    // The first semester: the three classes of autumn.
    await page.locator(form + ' [data-action="APeriode1"]').click();
    await settled(page);
    assert.equal((await rows()).length, 3);
    assert.match(await page.locator(form + ' [data-control="LTitel"]').textContent(),
      /tot 31\/01\/\d{4}$/);
    await screenshot(page, 'klassen', '1-semester');

    // Course number 13 (module variant 19) is of a spring class of the first centre listed.
    await page.locator(form + ' [data-control="sbSearch"] button, ' + form +
      ' button[data-control="sbSearch"]').first().click();
    const ask = await message(page);
    assert.equal(ask.text, 'Cursusnummer:');
    await page.fill('.overlay.message .dialog-input', '13');
    await answerMessage(page, 'OK');
    const shown = await rows();
    assert.equal(shown.length, 6, 'back to the school year');
    const current = shown.find((row) => row.current);
    assert.ok(current, JSON.stringify(shown));
    assert.match(current.cells[0].text, /-2$/, 'a class of the second semester');
    await screenshot(page, 'klassen', '2-found');

    // Its module variants, from the form link.
    await page.locator(form + ' .form-links button', { hasText: 'Modulevarianten' }).click();
    await settled(page);
    if (await page.locator('.overlay.message').count()) await answerMessage(page, 'OK');
    await page.waitForFunction(() => document.querySelectorAll('#tabs .tab').length >= 3);
    await screenshot(page, 'klassen', '3-modulevarianten');
  }));
