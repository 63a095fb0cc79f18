// A memo (the web text of a lesson material) is edited over several lines: Enter makes a new line
// and sends nothing, Ctrl+Enter stores the text with its line break.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, openScreen, settled, navigator, screenshot } = require('./harness');

test('Enter in a memo makes a new line; Ctrl+Enter stores it', () =>
  withKavel('materialen', async (page) => {
    const materials = await openScreen(page, 'TVWOMaterialenForm', 'VWO', 'Lesmaterialen');
    const memo = page.locator(materials + ' [data-control="EdtWebtekst"] textarea');
    await memo.waitFor();
    const sourceState = () => page.evaluate(() => session.outcome.state.active.sources
      .find((s) => s.name === 'DSVWOMaterialen').state);
    const stored = () => page.evaluate(() => {
      const find = (nodes) => {
        for (const node of nodes || []) {
          if (node.name === 'EdtWebtekst') return node;
          const found = find(node.children);
          if (found) return found;
        }
        return null;
      };
      return find(session.outcome.state.active.controls).value;
    });
    const first = await memo.inputValue();
    assert.equal(first, 'Verplicht vanaf de eerste les.');

    await memo.click();
    await memo.press('Control+End');
    await memo.press('Enter');
    await memo.pressSequentially('Tweede regel');
    assert.equal(await memo.inputValue(), first + '\nTweede regel');
    assert.equal(await page.evaluate(() => document.documentElement.dataset.pending || '0'), '0',
      'nothing was sent');
    assert.equal(await sourceState(), 'browse', 'Enter did not post');
    await screenshot(page, 'materialen', '1-two-lines');

    await memo.press('Control+Enter');
    await settled(page);
    assert.equal(await page.locator('.overlay.message').count(), 0, 'stored without a message');
    assert.equal(await sourceState(), 'browse');
    assert.equal(await stored(), first + '\r\nTweede regel', 'the host keeps CR LF line breaks');

    await navigator(page, materials, 'GridMaterialen', 'Opnieuw ophalen').click();
    await settled(page);
    assert.equal(await stored(), first + '\r\nTweede regel', 'fetched again');
    assert.equal(await memo.inputValue(), first + '\nTweede regel');
    await screenshot(page, 'materialen', '2-stored');
  }));
