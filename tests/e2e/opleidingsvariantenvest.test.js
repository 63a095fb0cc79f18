// The organised programme variants taught in a location, in the browser: a variant taken out of
// the location is no longer grey in the geography's list, and the button puts it back once.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, openScreen, chooseInstitution, settled, gridRows, screenshot,
} = require('./harness');

test('a variant leaves a location and comes back with the button', () =>
  withKavel('opleidingsvariantenvest', async (page) => {
    const form = await openScreen(page, 'TVWOIngOpleidingsVariantVestForm', 'VWO',
      'Ingerichte opleidingsvarianten in vestiging');
    await chooseInstitution(page, 'CVO Horizon');
    const location = page.locator(form + ' [data-control="SCVestiging"] select');
    const first = (await location.locator('option').allTextContents()).find((text) => text);
    await location.selectOption({ label: first });
    await settled(page);

    const offered = form + ' [data-control="GridIngOplVar"] tbody tr';
    const colour = (row) => row.evaluate((tr) => getComputedStyle(tr).color);
    const linked = await gridRows(page, 'GridKoppelingen');
    assert.ok(linked.length > 0, 'the location teaches what its geography organises');
    const [code] = linked[0];
    const row = page.locator(offered).filter({ has: page.locator('td', { hasText: code }) }).first();
    const grey = await colour(row);
    await screenshot(page, 'opleidingsvariantenvest', '1-vestiging');

    // Out of the location: no longer marked as taught there.
    await page.locator(form + ' [data-control="GridKoppelingen"] tbody tr').first().click();
    await settled(page);
    await page.locator(form + ' [data-control="BtnDelete"]').click();
    await settled(page);
    assert.equal((await gridRows(page, 'GridKoppelingen')).length, linked.length - 1);
    assert.notEqual(await colour(row), grey);

    // Back with the button, once: the button then refuses it.
    await row.click();
    await settled(page);
    await page.locator(form + ' [data-control="BtnAdd"]').click();
    await settled(page);
    assert.equal((await gridRows(page, 'GridKoppelingen')).length, linked.length);
    assert.equal(await colour(row), grey);
    assert.equal(await page.locator(form + ' [data-control="BtnAdd"]').isEnabled(), false);
    assert.equal(await page.locator('.overlay.message').count(), 0);
    await screenshot(page, 'opleidingsvariantenvest', '2-terug');
  }));
