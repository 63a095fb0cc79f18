// The lessons of an organised module variant, reached as a user does: Klassen -> Modulevarianten
// -> Lessen. A lesson moved outside the periods of its class asks whether the dates must be
// widened; "Ja" stores it. The month view shows the lessons of the school year. The Davinci
// communication of a lesson shows its calls; a refused call marked to be sent again is answered
// by the stand-in Davinci service and shows its new attempt.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, openScreen, chooseInstitution, settled, message, answerMessage, navigator, typeInto, screenshot,
  formSelector, gridCells, startDavinciSim,
} = require('./harness');

const LESSEN = formSelector('TVWOIngModuleVarLessenForm');
const QUESTION = 'Lesdatum valt niet binnen de periode van de klas/ingerichte modulevariant.\r\n' +
  'Datums klas/ingerichte modulevariant/loopbanen aanpassen?';

//! The school year the demo was made for: the one running today.
function schoolYear() {
  const today = new Date();
  return today.getMonth() >= 8 ? today.getFullYear() : today.getFullYear() - 1;
}

async function clickRow(page, scope, grid, predicate) {
  const rows = await gridCells(page, scope, grid);
  const row = rows.find((r) => predicate(r.cells.map((c) => c.text)));
  assert.ok(row, 'no such row in ' + grid + ': ' + JSON.stringify(rows.map((r) => r.cells[0].text)));
  await page.locator(scope + ' [data-control="' + grid + '"] tbody tr[data-recno="' + row.recNo + '"]')
    .click();
  await settled(page);
}

//! Opens the lessons of the second module variant of De Linde's first class of the first
//! semester (its first lesson is known to Davinci, and a change of it was refused).
async function openLessen(page) {
  const klassen = await openScreen(page, 'TVWOKlasForm', 'VWO', 'Klassen');
  await chooseInstitution(page, 'CVO De Linde');
  await clickRow(page, klassen, 'GridKlassen', (cells) => cells[0].endsWith('-1'));
  await page.click(klassen + ' .form-links button.link:has-text("Modulevarianten")');
  await settled(page);
  const varianten = formSelector('TVWOIngModuleVariantForm');
  await page.waitForSelector(varianten + ' [data-control="GridModuleVarianten"] tbody tr');
  await page.click(varianten + ' [data-control="GridModuleVarianten"] tbody tr >> nth=1');
  await settled(page);
  await page.click(varianten + ' .form-links button.link:has-text("Lessen")');
  await settled(page);
  await page.waitForSelector(LESSEN + ' [data-control="GridLessen"] tbody tr');
}

test('a lesson moved outside its periods asks, and Ja stores it', () =>
  withKavel('lessen', async (page) => {
    await openLessen(page);
    const y = schoolYear();
    const before = await gridCells(page, LESSEN, 'GridLessen');
    assert.equal(before[0].cells[0].text, before[0].cells[0].text.toLowerCase(), 'a Dutch weekday');
    assert.ok(before.length >= 10, 'weekly lessons');
    await screenshot(page, 'lessen', '1-lessons');

    // The second lesson to a day after the class ends.
    await page.click(LESSEN + ' [data-control="GridLessen"] tbody tr >> nth=1');
    await settled(page);
    await navigator(page, LESSEN, 'GridLessen', 'Record wijzigen').click();
    await settled(page);
    const moved = '02/03/' + (y + 1);
    await typeInto(page, LESSEN, 'EdtDatum', moved);
    await navigator(page, LESSEN, 'GridLessen', 'Wijzigingen bewaren (Enter)').click();
    const asked = await message(page);
    assert.equal(asked.text, QUESTION);
    assert.deepEqual(asked.buttons, ['Ja', 'Nee']);
    await screenshot(page, 'lessen', '2-question');
    await answerMessage(page, 'Ja');
    assert.equal(await page.locator('.overlay.message').count(), 0, 'no further message');

    // Stored: fetched again, the lesson is the last one, with its weekday.
    await navigator(page, LESSEN, 'GridLessen', 'Opnieuw ophalen').click();
    await settled(page);
    const after = await gridCells(page, LESSEN, 'GridLessen');
    const last = after[after.length - 1].cells.map((c) => c.text);
    const weekday = ['zondag', 'maandag', 'dinsdag', 'woensdag', 'donderdag', 'vrijdag',
      'zaterdag'][new Date(y + 1, 2, 2).getDay()];
    assert.deepEqual(last.slice(0, 2), [weekday, moved]);

    // The month view: the school year's months, Dutch names, week numbers, one item per lesson.
    await page.click(LESSEN + ' .page-tab:has-text("Kalender")');
    await settled(page);
    const planner = page.locator(LESSEN + ' [data-control="PLKalender"]');
    assert.deepEqual(await planner.locator('.planner-month').allTextContents(),
      ['sep', 'okt', 'nov', 'dec', 'jan', 'feb', 'mrt', 'apr', 'mei', 'jun', 'jul', 'aug']);
    assert.deepEqual(await planner.locator('th').allTextContents(),
      ['Wk', 'ma', 'di', 'wo', 'do', 'vr', 'za', 'zo']);
    await planner.locator('.planner-month', { hasText: 'mrt' }).click();
    await settled(page);
    assert.equal(await planner.locator('.planner-title').textContent(), 'mrt ' + (y + 1));
    const day = planner.locator('td.day[data-date="' + moved + '"]');
    assert.equal(await day.locator('.day-item').count(), 1);
    await screenshot(page, 'lessen', '3-month-view');
  }));

test('the Davinci calls of a lesson: a refused call sent again gets a new answer', async () => {
  const sim = await startDavinciSim();
  try {
    await withKavel('lessen-davinci', async (page) => {
      await openLessen(page);
      await page.click(LESSEN + ' [data-control="GridLessen"] tbody tr >> nth=0');
      await settled(page);
      const dialog = formSelector('TDepartementCallsDialog');
      const calls = async () => {
        await page.click(LESSEN + ' [data-control="BtnCommDavinci"] button, ' + LESSEN +
          ' button[data-control="BtnCommDavinci"]');
        await settled(page);
        await page.waitForSelector(dialog + ' [data-control="GridCalls"] tbody tr');
        return gridCells(page, dialog, 'GridCalls');
      };
      const close = async () => {
        await page.click(dialog + ' [data-control="BSluiten"]');
        await settled(page);
      };
      const refusedRow = (rows) => rows.find((r) => r.cells[2].text === 'Geweigerd');

      const first = await calls();
      assert.match(await page.locator(dialog).textContent(),
        /Davinci communicatie voor les op \d\d\/\d\d\/\d{4} van \d\d:\d\d:\d\d tot/);
      const refused = refusedRow(first);
      assert.ok(refused, JSON.stringify(first.map((r) => r.cells[2].text)));
      const lastAttempt = refused.cells[5].text;
      await screenshot(page, 'lessen-davinci', '1-calls');
      await page.click(dialog + ' [data-control="GridCalls"] tbody tr[data-recno="' +
        refused.recNo + '"]');
      await settled(page);
      await page.click(dialog + ' [data-control="BOpnieuwVersturen"]');
      await settled(page);
      const marked = await gridCells(page, dialog, 'GridCalls');
      assert.equal(marked.find((r) => r.recNo === refused.recNo).cells[6].text, '0');
      await close();

      // The sender takes it within seconds; the stand-in refuses the swapped hours again.
      let answered;
      for (let attempt = 0; attempt < 40 && !answered; attempt++) {
        await page.waitForTimeout(500);
        const rows = await calls();
        const row = refusedRow(rows);
        if (row && row.cells[5].text !== lastAttempt) answered = row;
        await close();
      }
      assert.ok(answered, 'the call was not answered again');
      assert.equal(answered.cells[6].text, '1');
      assert.match(answered.cells[8].text, /^DV-103/);
      await calls();
      await screenshot(page, 'lessen-davinci', '2-answered');
      await close();
    }, ['--davinci', sim.url]);
  } finally {
    await sim.stop();
  }
});
