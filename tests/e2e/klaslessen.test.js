// The lesson moments of a class in the browser (Klassen -> Lessen): two lessons picked on the
// calendar are added with the module variant, teacher, room and hours of the current lesson.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, openScreen, settled, gridCells, formSelector, screenshot } = require('./harness');

const LESSEN = formSelector('TVWOKlasLesmomentenForm');
const KALENDER = formSelector('TVWOLesmomentUitKalenderForm');

//! "dd/mm/yyyy" of the day `days` after the date "dd/mm/yyyy".
function plusDays(text, days) {
  const [d, m, y] = text.split('/').map(Number);
  const date = new Date(Date.UTC(y, m - 1, d + days));
  return String(date.getUTCDate()).padStart(2, '0') + '/' +
    String(date.getUTCMonth() + 1).padStart(2, '0') + '/' + date.getUTCFullYear();
}

test('two lessons picked on the calendar are added to the class', () =>
  withKavel('klaslessen', async (page) => {
    const klassen = await openScreen(page, 'TVWOKlasForm', 'VWO', 'Klassen');
    await page.locator(klassen + ' .form-links button', { hasText: 'Lessen' }).click();
    await settled(page);
    await page.waitForSelector(LESSEN + ' [data-control="GridLessen"] tbody tr');
    const before = await gridCells(page, LESSEN, 'GridLessen');
    assert.ok(before.length >= 10, 'weekly lessons of two module variants');
    const first = before[0].cells.map((c) => c.text);
    assert.match(first[1], /^\d\d\/\d\d\/\d{4}$/);
    assert.notEqual(first[2], '', 'the lesson names its module variant');
    await screenshot(page, 'klaslessen', '1-lessons');

    // The calendar opens on the month the class's lessons start in, with the first lesson's
    // values: two days after it are marked and added.
    await page.locator(LESSEN + ' [data-action="AAddFromKalendar"]').click();
    await settled(page);
    await page.waitForSelector(KALENDER + ' [data-control="PLKalender"]');
    const days = [plusDays(first[1], 1), plusDays(first[1], 2)];
    for (const day of days) {
      await page.locator(KALENDER + ' td.day[data-date="' + day + '"]').dblclick();
      await settled(page);
      assert.equal(await page.locator(KALENDER + ' td.day[data-date="' + day + '"] .day-item')
        .count(), 1, 'marked: ' + day);
    }
    await screenshot(page, 'klaslessen', '2-calendar');
    await page.locator(KALENDER + ' [data-control="BToevoegen"]').click();
    await settled(page);
    assert.equal(await page.locator('.overlay.message').count(), 0, 'no question, no error');
    await page.locator(KALENDER + ' [data-control="BSluiten"]').click();
    await settled(page);
    assert.equal(await page.locator(KALENDER).count(), 0, 'the calendar is closed');

    const after = await gridCells(page, LESSEN, 'GridLessen');
    assert.equal(after.length, before.length + 2);
    for (const day of days) {
      const row = after.find((r) => r.cells[1].text === day);
      assert.ok(row, 'added: ' + day);
      assert.equal(row.cells[2].text, first[2], 'the module variant of the current lesson');
      assert.equal(row.cells[4].text, first[4], 'its start hour');
    }
    await screenshot(page, 'klaslessen', '3-added');
  }));
