// The screens a class opens beside itself: a contact person chosen from the staff takes the staff
// member's name, and a memo of several lines is stored; both are there when the screen opens again.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, openScreen, settled, gridRows, formSelector, navigator, typeInto, screenshot,
} = require('./harness');

const KLASSEN = formSelector('TVWOKlasForm');
const CONTACTEN = formSelector('TVWOKlasCPForm');
const MEMO = formSelector('TVWOKlasMemoForm');

async function openLink(page, caption, form, grid) {
  await page.locator('#tabs .tab', { hasText: 'VWO klassen' }).locator('.tab-caption').click();
  await settled(page);
  await page.locator(KLASSEN + ' .form-links button', { hasText: caption }).click();
  await settled(page);
  await page.locator(form + ' [data-control="' + grid + '"]').waitFor();
}

async function closeTab(page, caption) {
  await page.locator('#tabs .tab', { hasText: caption }).locator('.tab-close').click();
  await settled(page);
}

test('a class gets a contact person from the staff and a memo of two lines', () =>
  withKavel('klassatellieten', async (page) => {
    await openScreen(page, 'TVWOKlasForm', 'VWO', 'Klassen');
    await page.locator(KLASSEN + ' [data-control="GridKlassen"]').waitFor();

    // A contact person: the staff member's name replaces what was typed.
    await openLink(page, 'Contactpersonen', CONTACTEN, 'GridCP');
    const before = await gridRows(page, 'GridCP');
    await navigator(page, CONTACTEN, 'GridCP', 'Nieuw record').click();
    await settled(page);
    await typeInto(page, CONTACTEN, 'EdtPersoon', 'Iemand');
    await page.locator(CONTACTEN + ' [data-control="LCType"] select')
      .selectOption({ label: 'KLAS - Klascontactpersoon' });
    await settled(page);
    const staff = page.locator(CONTACTEN + ' [data-control="SCPersoneel"] select');
    const choice = (await staff.locator('option').allTextContents()).find((text) => text);
    assert.ok(choice, 'staff employed during the class');
    await staff.selectOption({ label: choice });
    await settled(page);
    const [surname, firstName] = choice.split(' - ');
    assert.equal(await page.locator(CONTACTEN + ' [data-control="EdtPersoon"] input').inputValue(),
      firstName + ' ' + surname);
    await navigator(page, CONTACTEN, 'GridCP', 'Wijzigingen bewaren (Enter)').click();
    await settled(page);
    const stored = [...before, ['KLAS', firstName + ' ' + surname]];
    const sorted = (rows) => rows.map((row) => row.join('|')).sort();
    assert.deepEqual(sorted(await gridRows(page, 'GridCP')), sorted(stored));
    await screenshot(page, 'klassatellieten', '1-contactpersoon');
    await closeTab(page, 'Contactpersoon');
    await openLink(page, 'Contactpersonen', CONTACTEN, 'GridCP');
    assert.deepEqual(sorted(await gridRows(page, 'GridCP')), sorted(stored), 'stored');

    // A memo over two lines.
    await openLink(page, 'Klasmemo', MEMO, 'GridMemo');
    const memos = await gridRows(page, 'GridMemo');
    await navigator(page, MEMO, 'GridMemo', 'Nieuw record').click();
    await settled(page);
    await page.locator(MEMO + ' [data-control="LCType"] select').selectOption({ index: 1 });
    await settled(page);
    await typeInto(page, MEMO, 'EdtOmschrijving', 'Sleutel lokaal');
    const text = page.locator(MEMO + ' [data-control="EdtMemo"] textarea');
    await text.click();
    await text.pressSequentially('Sleutel bij het onthaal.');
    await text.press('Enter');
    await text.pressSequentially('Terugbrengen na de les.');
    await text.press('Control+Enter');
    await settled(page);
    assert.equal((await gridRows(page, 'GridMemo')).length, memos.length + 1);
    await closeTab(page, 'Klasmemo');
    await openLink(page, 'Klasmemo', MEMO, 'GridMemo');
    await page.locator(MEMO + ' [data-control="GridMemo"] tbody tr', { hasText: 'Sleutel lokaal' })
      .click();
    await settled(page);
    assert.equal(await text.inputValue(), 'Sleutel bij het onthaal.\nTerugbrengen na de les.');
    await screenshot(page, 'klassatellieten', '2-memo');
  }));
