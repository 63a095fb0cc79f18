// A KBI contact person taken from the staff: a new person, the staff search opens as a modal
// dialog, the user narrows it by name and picks someone; the name fields fill and can no longer be
// changed, the phone number can, and the person is stored.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, openScreen, settled, gridCells, navigator, typeInto, screenshot,
} = require('./harness');

test('a contact person is taken from the staff through the search dialog', () =>
  withKavel('kbicontactpersonen', async (page) => {
    const persons = await openScreen(page, 'TVWOKBIContactpersonenForm', 'VWO',
      'KBI contactpersonen');
    await page.waitForSelector(persons + ' [data-control="GridContactpersonen"]');
    const before = await gridCells(page, persons, 'GridContactpersonen');
    const input = (control) => page.locator(persons + ' [data-control="' + control + '"] input');

    await navigator(page, persons, 'GridContactpersonen', 'Nieuw record').click();
    await settled(page);
    await page.locator(persons + ' [data-control="BSearchPS"]').click();
    await settled(page);

    // The staff search is modal: it lies over the screen, searching on name only.
    const dialog = '.overlay.modal-form [data-class="TSearchPersoneelDialog"]';
    await page.waitForSelector(dialog);
    assert.equal(await page.locator(dialog + ' [data-control="EZoekIM"]').count(), 0,
      'no search on registration number');
    const staff = await gridCells(page, dialog, 'GridPersoneel');
    assert.ok(staff.length >= 2, 'the institution has staff in service');
    const surname = staff[1].cells[0].text;
    await typeInto(page, dialog, 'EZoekNaam', surname);
    const found = await gridCells(page, dialog, 'GridPersoneel');
    assert.ok(found.length >= 1 && found.every((row) => row.cells.some((c) => c.text === surname)),
      'the list narrowed to ' + surname + ': ' + JSON.stringify(found.map((r) => r.cells[0].text)));
    const chosen = found[found.length - 1];
    await page.click(dialog + ' [data-control="GridPersoneel"] tbody tr[data-recno="' +
      chosen.recNo + '"]');
    await settled(page);
    await page.waitForSelector(dialog + ' [data-control="GridPersoneel"] tr.current[data-recno="' +
      chosen.recNo + '"]');
    await screenshot(page, 'kbicontactpersonen', '1-staff-search');
    await page.locator(dialog + ' [data-control="BOK"]').click();
    await settled(page);
    assert.equal(await page.locator('.overlay.modal-form').count(), 0, 'the dialog closed');

    // Name, first name, national number and e-mail come from the staff member; the first three
    // can no longer be changed.
    const [naam, voornaam, , , insz, email] = chosen.cells.map((cell) => cell.text);
    assert.equal(await input('DBENaam').inputValue(), naam);
    assert.equal(await input('DBEVoornaam').inputValue(), voornaam);
    assert.equal(await input('DBEINSZ').inputValue(), insz);
    assert.equal(await input('DBEEmail').inputValue(), email);
    for (const control of ['DBENaam', 'DBEVoornaam', 'DBEINSZ']) {
      assert.ok(await input(control).isDisabled(), control + ' is read-only');
    }
    assert.ok(await input('DBETelefoon').isEnabled());

    await typeInto(page, persons, 'DBETelefoon', '03 123 45 67');
    await navigator(page, persons, 'GridContactpersonen', 'Wijzigingen bewaren (Enter)').click();
    await settled(page);
    assert.equal(await page.locator('.overlay.message').count(), 0, 'stored without a message');
    const after = await gridCells(page, persons, 'GridContactpersonen');
    assert.equal(after.length, before.length + 1);
    assert.ok(after.some((row) => row.cells[0].text === naam && row.cells[3].text === '03 123 45 67'));
    assert.ok(await input('DBENaam').isDisabled(), 'still read-only once stored');
    await screenshot(page, 'kbicontactpersonen', '2-stored');
  }));
