// The school's module groups in the browser: a new group is stored, a module found through the
// filter joins it with the button (and is still there when the screen opens again), and a module
// becomes a prerequisite of a group.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, openScreen, settled, gridRows, formSelector, navigator, typeInto, screenshot,
} = require('./harness');

const DETAILS = formSelector('TVWOSchoolModulegroepDetailsForm');
const VOORVEREISTEN = formSelector('TVWOSchoolModuleGroepVoorVereistenForm');

test('a new group gets a module through the filter and a prerequisite', () =>
  withKavel('modulegroepen', async (page) => {
    const groups = await openScreen(page, 'TVWOSchoolModuleGroepForm', 'VWO', 'Groepen modules');
    await page.locator(groups + ' [data-control="GridGroepen"]').waitFor();

    // A new choice group, stored with the navigator.
    await navigator(page, groups, 'GridGroepen', 'Nieuw record').click();
    await settled(page);
    await typeInto(page, groups, 'EdtCode', 'WISK');
    await typeInto(page, groups, 'EdtOmschrijving', 'Wiskunde');
    await page.locator(groups + ' [data-control="LCType"] select')
      .selectOption({ label: 'KEUZE - Keuzegroep' });
    await settled(page);
    await navigator(page, groups, 'GridGroepen', 'Wijzigingen bewaren (Enter)').click();
    await settled(page);
    assert.deepEqual(await gridRows(page, 'GridGroepen'), [
      ['NT2', 'Nederlands tweede taal', 'VERPLICHT'],
      ['TALEN', 'Vreemde talen', 'KEUZE'],
      ['WISK', 'Wiskunde', 'KEUZE'],
    ]);

    // Its modules: none yet; the filter narrows the available modules to French.
    const openDetails = async () => {
      await page.locator(groups + ' .form-links button', { hasText: 'Modules in groep' }).click();
      await settled(page);
      await page.locator(DETAILS + ' [data-control="GridLeden"]').waitFor();
    };
    await openDetails();
    assert.match(await page.locator(DETAILS + ' [data-control="PnlGroep"]').textContent(),
      /^Modules in de groep WISK - Wiskunde/);
    assert.deepEqual(await gridRows(page, 'GridLeden'), []);
    await typeInto(page, DETAILS, 'EdtFilter', 'fra');
    await page.locator(DETAILS + ' [data-control="ChkFilter"] input').check();
    await settled(page);
    assert.deepEqual(await gridRows(page, 'GridModules'), [['FRAA1', 'Frans breakthrough']]);
    await page.locator(DETAILS + ' [data-control="GridModules"] tbody tr', { hasText: 'FRAA1' })
      .click();
    await settled(page);
    await page.locator(DETAILS + ' [data-control="BtnAdd"]').click();
    await settled(page);
    assert.deepEqual(await gridRows(page, 'GridLeden'), [['FRAA1', 'Frans breakthrough']]);
    await screenshot(page, 'modulegroepen', '1-module-in-groep');

    // Stored: the screen opened again shows it.
    await page.locator('#tabs .tab', { hasText: 'Module groep details' }).locator('.tab-close')
      .click();
    await settled(page);
    await page.locator('#tabs .tab', { hasText: 'Groepen modules' }).locator('.tab-caption')
      .click();
    await settled(page);
    await openDetails();
    assert.deepEqual(await gridRows(page, 'GridLeden'), [['FRAA1', 'Frans breakthrough']]);

    // A prerequisite of the group: module NT2R1 (kind 6: a group requires a module).
    await page.locator('#tabs .tab', { hasText: 'Groepen modules' }).locator('.tab-caption')
      .click();
    await settled(page);
    await page.locator(groups + ' .form-links button', { hasText: 'Voorvereisten' }).click();
    await settled(page);
    await page.locator(VOORVEREISTEN + ' [data-control="GridVoorvereisten"]').waitFor();
    assert.match(
      await page.locator(VOORVEREISTEN + ' [data-control="PnlVoorvereisten"]').textContent(),
      /Voorvereisten voor groep: WISK - Wiskunde/);
    await page.locator(VOORVEREISTEN + ' [data-control="GridModules"] tbody tr',
      { hasText: 'NT2R1' }).click();
    await settled(page);
    await page.locator(VOORVEREISTEN + ' [data-control="BtnAdd"]').click();
    await settled(page);
    assert.deepEqual(await gridRows(page, 'GridVoorvereisten'),
      [['6', 'NT2R1', 'Nederlands tweede taal richtgraad 1', '']]);
    assert.equal(await page.locator('.overlay.message').count(), 0);
    await screenshot(page, 'modulegroepen', '2-voorvereiste');
  }));
