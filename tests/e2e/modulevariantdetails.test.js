// The screens beside an organised module variant: a lesson material is added from the institution's
// list at its price, and a competence is written; both are there when the screen opens again.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, openScreen, settled, gridRows, formSelector, navigator, typeInto, screenshot,
} = require('./harness');

const KLASSEN = formSelector('TVWOKlasForm');
const VARIANTEN = formSelector('TVWOIngModuleVariantForm');
const MATERIALEN = formSelector('TVWOIngModuleMaterialenForm');
const COMPETENTIES = formSelector('TVWOIngModuleCompetentiesForm');

async function openLink(page, caption, form) {
  await page.locator('#tabs .tab', { hasText: 'Modulevarianten' }).first().locator('.tab-caption')
    .click();
  await settled(page);
  await page.locator(VARIANTEN + ' .form-links button', { hasText: caption }).click();
  await settled(page);
  await page.locator(form + ' [data-control="GridDetails"]').waitFor();
}

async function closeActiveTab(page) {
  await page.locator('#tabs .tab.active .tab-close').click();
  await settled(page);
}

test('a module variant gets a lesson material at its price and a competence', () =>
  withKavel('modulevariantdetails', async (page) => {
    await openScreen(page, 'TVWOKlasForm', 'VWO', 'Klassen');
    await page.locator(KLASSEN + ' [data-control="GridKlassen"]').waitFor();
    await page.locator(KLASSEN + ' .form-links button', { hasText: 'Modulevarianten' }).click();
    await settled(page);
    await page.waitForSelector(VARIANTEN + ' [data-control="GridModuleVarianten"] tbody tr');

    // A material from the list on the left, added with the button, costs its price.
    await openLink(page, 'Materialen', MATERIALEN);
    const needed = await gridRows(page, 'GridDetails');
    const available = await gridRows(page, 'GridMaterialen');
    const [code, price, description] = available.find((row) =>
      !needed.some((other) => other[1] === row[2]));
    await page.locator(MATERIALEN + ' [data-control="GridMaterialen"] tbody tr', { hasText: code })
      .first().click();
    await settled(page);
    await page.locator(MATERIALEN + ' [data-control="BtnAdd"]').click();
    await settled(page);
    const added = (await gridRows(page, 'GridDetails')).find((row) => row[1] === description);
    assert.ok(added, JSON.stringify(await gridRows(page, 'GridDetails')));
    assert.equal(added[0], price);
    await screenshot(page, 'modulevariantdetails', '1-materiaal');
    await closeActiveTab(page);
    await openLink(page, 'Materialen', MATERIALEN);
    assert.ok((await gridRows(page, 'GridDetails')).some((row) => row[1] === description),
      'stored');

    // A competence, typed and stored.
    await openLink(page, 'Competenties', COMPETENTIES);
    await navigator(page, COMPETENTIES, 'GridDetails', 'Nieuw record').click();
    await settled(page);
    await typeInto(page, COMPETENTIES, 'EdtOmschrijving', 'Maakt een eenvoudige balans op');
    await navigator(page, COMPETENTIES, 'GridDetails', 'Wijzigingen bewaren (Enter)').click();
    await settled(page);
    await closeActiveTab(page);
    await openLink(page, 'Competenties', COMPETENTIES);
    assert.ok((await gridRows(page, 'GridDetails'))
      .some((row) => row[0] === 'Maakt een eenvoudige balans op'), 'stored');
    assert.equal(await page.locator('.overlay.message').count(), 0);
    await screenshot(page, 'modulevariantdetails', '2-competentie');
  }));
