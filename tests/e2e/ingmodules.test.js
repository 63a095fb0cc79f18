// The organised modules as two lists side by side: a double click on an organised module takes
// it out, the button puts it back, and a module that is organised cannot be added again.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, openScreen, settled, gridRows, screenshot } = require('./harness');

test('modules move between the two lists with a double click and the buttons', () =>
  withKavel('ingmodules', async (page) => {
    const form = await openScreen(page, 'TVWOIngmodulesForm', 'VWO', 'Ingerichte modules');
    const panel = page.locator(form + ' [data-control="PnlSelectie"]');
    await panel.waitFor();
    // Available on the left, the buttons in between, the organised ones on the right.
    assert.ok(await panel.locator('.selection-side.available [data-control="GridModules"]').count());
    assert.ok(await panel.locator('.selection-side.chosen [data-control="GridIngerichteModules"]')
      .count());
    const add = panel.locator('.selection-buttons [data-control="BtnAdd"]');
    const organised = async () => (await gridRows(page, 'GridIngerichteModules')).map((r) => r[0]);
    const before = await organised();
    assert.ok(before.includes('KOOK1'), before.join(' '));
    await screenshot(page, 'ingmodules', '1-two-lists');

    // KOOK1 leaves the organised list with a double click.
    await page.locator(form + ' [data-control="GridIngerichteModules"] tbody tr',
      { hasText: 'KOOK1' }).dblclick();
    await settled(page);
    assert.deepEqual(await organised(), before.filter((code) => code !== 'KOOK1'));

    // Picked on the left, it comes back with the button; then the button refuses it.
    await page.locator(form + ' [data-control="GridModules"] tbody tr', { hasText: 'KOOK1' })
      .first().click();
    await settled(page);
    assert.equal(await add.isEnabled(), true);
    await add.click();
    await settled(page);
    assert.deepEqual(await organised(), before);
    assert.equal(await add.isEnabled(), false, 'organised once');
    assert.equal(await page.locator('.overlay.message').count(), 0);
    await screenshot(page, 'ingmodules', '2-back');
  }));
