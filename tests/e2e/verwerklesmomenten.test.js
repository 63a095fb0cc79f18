// The processing screen in the browser: an institution chosen, its classes loaded, two ticked
// with the lesson days asked, run; the screen says how many classes it processed.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, openScreen, settled, message, answerMessage, screenshot } =
  require('./harness');

test('ticked classes are processed one job each', () =>
  withKavel('verwerklesmomenten', async (page) => {
    const form = await openScreen(page, 'TVWOVerwerkLesmomentenForm', 'VWO Hulpschermen',
      'Verwerken Lesmomenten');
    const control = (name) => page.locator(form + ' [data-control="' + name + '"]');
    await control('LCInstelling').waitFor();
    assert.equal(await control('BMain').textContent(), 'Ophalen');
    assert.ok(await control('BMain').isDisabled(), 'no institution yet');

    await control('LCInstelling').locator('select').selectOption('1');
    await settled(page);
    await control('BMain').click();
    await settled(page);
    const boxes = control('CLBKlassen').locator('input[type=checkbox]');
    assert.equal(await boxes.count(), 6);
    assert.equal(await control('BMain').textContent(), 'Uitvoeren');
    assert.ok(await control('BMain').isDisabled(), 'nothing ticked');

    await boxes.nth(0).check();
    await settled(page);
    await boxes.nth(3).check();
    await settled(page);
    assert.ok(await control('BMain').isDisabled(), 'nothing to compute');
    await control('CBLesdagen').locator('input').check();
    await settled(page);
    await screenshot(page, 'verwerklesmomenten', '1-ticked');
    await control('BMain').click();
    const done = await message(page);
    assert.equal(done.text, 'De verwerking is uitgevoerd voor 2 klassen.');
    await answerMessage(page, 'OK');
    await screenshot(page, 'verwerklesmomenten', '2-done');
  }));
