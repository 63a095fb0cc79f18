// The lesson calendar, opened from the lessons of an organised module variant (Klassen ->
// Modulevarianten -> Lessen -> "Toevoegen uit kalender"): Dutch month and day names, a double
// click marks a day and a second one unmarks it, the add button counts the marked days, the
// lessons added show in the lessons list, and closing with marked days asks Ja/Nee/Annuleren.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, login, settled, message, answerMessage, screenshot, formSelector, gridCells,
} = require('./harness');

const LESSEN = formSelector('TVWOIngModuleVarLessenForm');
const KALENDER = formSelector('TVWOLesmomentUitKalenderForm');
const MONTHS = ['januari', 'februari', 'maart', 'april', 'mei', 'juni', 'juli', 'augustus',
  'september', 'oktober', 'november', 'december'];

//! Opens the lessons of the first module variant of De Linde's first class.
async function openLessen(page) {
  await login(page, 'demo', 'demo');
  await page.locator('#menu .menu-entry').filter({ hasText: /^Klassen$/ }).click();
  await page.waitForSelector('#tabs .tab');
  await settled(page);
  await page.click('#tabs .tab-caption >> nth=0');
  await settled(page);
  await page.click(formSelector('TBrowseVWOStructInstellingForm') +
    ' [data-control="GridInstellingen"] tbody tr:has-text("CVO De Linde")');
  await settled(page);
  await page.click('#tabs .tab-caption >> nth=1');
  await settled(page);
  const klassen = formSelector('TVWOKlasForm');
  await page.click(klassen + ' .form-links button.link:has-text("Modulevarianten")');
  await settled(page);
  const varianten = formSelector('TVWOIngModuleVariantForm');
  await page.waitForSelector(varianten + ' [data-control="GridModuleVarianten"] tbody tr');
  await page.click(varianten + ' .form-links button.link:has-text("Lessen")');
  await settled(page);
  await page.waitForSelector(LESSEN + ' [data-control="GridLessen"] tbody tr');
}

async function openKalender(page) {
  await page.click(LESSEN + ' .form-bar button[data-action="AAddFromKalender"]');
  await settled(page);
  await page.waitForSelector(KALENDER + ' [data-control="PLKalender"]');
}

const addButton = (page) => page.locator(KALENDER + ' [data-control="BToevoegen"] button, ' +
  KALENDER + ' button[data-control="BToevoegen"]');
const closeButton = (page) => page.locator(KALENDER + ' [data-control="BSluiten"] button, ' +
  KALENDER + ' button[data-control="BSluiten"]');

async function toggle(page, date) {
  await page.dblclick(KALENDER + ' [data-control="PLKalender"] td.day[data-date="' + date + '"]');
  await settled(page);
}

test('days marked on the calendar become lessons of the module variant', () =>
  withKavel('kalender', async (page) => {
    await openLessen(page);
    const before = await gridCells(page, LESSEN, 'GridLessen');
    await openKalender(page);
    const planner = page.locator(KALENDER + ' [data-control="PLKalender"]');
    assert.deepEqual(await planner.locator('th').allTextContents(),
      ['ma', 'di', 'wo', 'do', 'vr', 'za', 'zo']);
    const title = await planner.locator('.planner-title').textContent();
    const [monthName, year] = title.split(' ');
    assert.ok(MONTHS.includes(monthName), title);
    const month = String(MONTHS.indexOf(monthName) + 1).padStart(2, '0');
    // Three days late in the month the module variant starts in, none of them a lesson yet.
    const taken = new Set(before.map((r) => r.cells[1].text));
    const days = ['20', '21', '22', '23', '24', '25', '26', '27']
      .map((d) => d + '/' + month + '/' + year).filter((d) => !taken.has(d)).slice(0, 3);
    assert.equal(days.length, 3);
    assert.equal(await addButton(page).textContent(), 'Toevoegen');
    assert.ok(await addButton(page).isDisabled(), 'nothing marked');

    for (const day of days) await toggle(page, day);
    assert.equal(await addButton(page).textContent(), 'Toevoegen (3)');
    assert.equal(await planner.locator('td.day.marked').count(), 3);
    await screenshot(page, 'kalender', '1-marked');
    await toggle(page, days[1]);  // unmarked again
    assert.equal(await addButton(page).textContent(), 'Toevoegen (2)');
    assert.deepEqual(await planner.locator('td.day.marked').evaluateAll(
      (cells) => cells.map((c) => c.dataset.date)), [days[0], days[2]]);

    // Closing with marked days asks; Annuleren keeps the dialog and its marks.
    await closeButton(page).click();
    const asked = await message(page);
    assert.equal(asked.text,
      'Er zijn nog 2 lesmomenten niet toegevoegd. \r\nWilt u deze nu toevoegen?');
    assert.deepEqual(asked.buttons, ['Ja', 'Nee', 'Annuleren']);
    await answerMessage(page, 'Annuleren');
    assert.equal(await addButton(page).textContent(), 'Toevoegen (2)');

    await addButton(page).click();
    await settled(page);
    assert.equal(await addButton(page).textContent(), 'Toevoegen');
    await closeButton(page).click();
    await settled(page);
    assert.equal(await page.locator('.overlay.message').count(), 0, 'nothing left to ask');
    assert.equal(await page.locator(KALENDER).count(), 0, 'the calendar is closed');

    const after = await gridCells(page, LESSEN, 'GridLessen');
    const dates = after.map((r) => r.cells[1].text);
    assert.ok(dates.includes(days[0]) && dates.includes(days[2]), JSON.stringify(dates));
    assert.ok(!dates.includes(days[1]), 'the unmarked day has no lesson');
    assert.equal(after.length, before.length + 2);
    await screenshot(page, 'kalender', '2-added');

    // Closing with a marked day and answering Nee adds nothing.
    await openKalender(page);
    await toggle(page, days[1]);
    await closeButton(page).click();
    await message(page);
    await answerMessage(page, 'Nee');
    assert.equal(await page.locator(KALENDER).count(), 0);
    assert.equal((await gridCells(page, LESSEN, 'GridLessen')).length, after.length);
  }));
