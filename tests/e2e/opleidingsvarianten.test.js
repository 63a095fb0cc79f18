// The organised programme variants of a geography in the browser: what is organised already
// shows grey in the official list, and organising it again in the same period asks whether it
// is a dual version; "Ja" adds it as one.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, openScreen, chooseInstitution, settled, message, answerMessage, gridRows, screenshot,
} = require('./harness');

test('an organised variant is grey and organising it again adds a dual version after Ja', () =>
  withKavel('opleidingsvarianten', async (page) => {
    const form = await openScreen(page, 'TVWOIngOpleidingsVariantForm', 'VWO',
      'Ingerichte opleidingsvarianten per geografie');
    // CVO Horizon, geography V103: every variant it may organise is organised.
    await chooseInstitution(page, 'CVO Horizon');
    await page.locator(form + ' [data-control="SCGeografie"] select')
      .selectOption({ label: 'V103 - Vestiging Moerkerk' });
    await settled(page);

    const official = form + ' [data-control="GridOfficieel"] tbody tr';
    const engs = page.locator(official, { hasText: 'Engels (standaardtraject)' });
    assert.equal(await engs.evaluate((row) => getComputedStyle(row).color), 'rgb(128, 128, 128)',
      'organised, so grey');
    const organised = async (code) =>
      (await gridRows(page, 'GridIngericht')).filter((row) => row[0] === code);
    assert.equal((await organised('ENGS')).length, 1);
    await screenshot(page, 'opleidingsvarianten', '1-grey');

    await engs.click();
    await settled(page);
    await page.locator(form + ' [data-control="BtnAdd"]').click();
    const question = await message(page);
    assert.equal(question.text,
      'Er bestaat reeds een ingerichte versie van deze opleidingsvariant in deze vestiging in ' +
      'deze periode\r\nWilt u deze als een duale opleiding toevoegen?\r\n');
    assert.deepEqual(question.buttons, ['Ja', 'Nee']);
    await answerMessage(page, 'Ja');

    const rows = await organised('ENGS');
    assert.equal(rows.length, 2, JSON.stringify(rows));
    assert.equal(await page.locator('.overlay.message').count(), 0);
    await screenshot(page, 'opleidingsvarianten', '2-duaal');
  }));
