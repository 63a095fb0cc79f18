// The absence codes of an institution that has none: the screen offers the standard codes, the
// user accepts, and the four codes show sorted on their code with their colours painted; a colour
// chosen on the colour button goes into the current code.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, openScreen, settled, message, answerMessage, gridCells, navigator, screenshot,
} = require('./harness');

const QUESTION = 'Er zijn nog geen afwezigheidscodes gedefinieerd.\r\n' +
  'Wilt U de standaard codes laten genereren ?';

test('an institution without absence codes gets the standard codes on request', () =>
  withKavel('afwezigheidscodes', async (page) => {
    const codes = await openScreen(page, 'TVWOAfwezigheidsCodesForm', 'VWO', 'Afwezigheidscodes');
    const browser = '[data-class="TBrowseVWOStructInstellingForm"]';

    // The browser opens on the first institution in code order. In the demo, CVO De Linde has its
    // codes and CVO Horizon has none; when the browser does not stand on CVO Horizon yet, put it
    // there.
    if (!(await page.locator('.overlay.message').count())) {
      await page.click('#tabs .tab-caption >> nth=0');
      await page.click(browser + ' [data-control="GridInstellingen"] tbody tr:has-text("CVO Horizon")');
      await settled(page);
    }
    const asked = await message(page);
    assert.equal(asked.text, QUESTION);
    assert.deepEqual(asked.buttons, ['Ja', 'Nee']);
    await screenshot(page, 'afwezigheidscodes', '1-question');
    await answerMessage(page, 'Ja');
    await page.click('#tabs .tab-caption >> nth=1');  // the codes, opened after their browser
    await settled(page);

    assert.equal(await page.locator('.overlay.message').count(), 0, 'no further message');
    await page.waitForSelector(codes + ' [data-control="GridAfwezigheidscodes"] tbody tr');
    const rows = await gridCells(page, codes, 'GridAfwezigheidscodes');
    assert.deepEqual(rows.map((row) => [row.cells[0].text, row.cells[1].text]), [
      ['A', 'Afwezig'], ['L', 'Te laat'], ['V', 'Verwittigd afwezig'], ['X', 'Aanwezig']]);
    // The colour column shows no number, only the colour: red, yellow, orange, window white.
    assert.deepEqual(rows.map((row) => [row.cells[2].text, row.cells[2].background]), [
      ['', 'rgb(255, 0, 0)'], ['', 'rgb(255, 255, 0)'], ['', 'rgb(255, 128, 64)'],
      ['', 'rgb(255, 255, 255)']]);
    // The participation status goes to Davinci: its editor shows the Davinci colour.
    const status = page.locator(codes + ' [data-control="LCParticipatieStatus"] select');
    assert.equal(await status.evaluate((node) => node.style.backgroundColor), 'rgb(255, 255, 192)');
    await screenshot(page, 'afwezigheidscodes', '2-standard-codes');

    // The codes were stored: fetched again, they are still there.
    await navigator(page, codes, 'GridAfwezigheidscodes', 'Opnieuw ophalen').click();
    await settled(page);
    const fetched = await gridCells(page, codes, 'GridAfwezigheidscodes');
    assert.deepEqual(fetched.map((row) => row.cells[0].text), ['A', 'L', 'V', 'X']);

    // The colour button follows the current code; a colour chosen on it is stored with the code.
    const current = fetched.findIndex((row) => row.current);
    assert.ok(current >= 0, 'a current code');
    const button = page.locator(codes + ' [data-control="BtnKleur"] input[type=color]');
    assert.equal(await button.inputValue(), ['#ff0000', '#ffff00', '#ff8040', '#ffffff'][current]);
    await button.fill('#00c000');
    await settled(page);
    await navigator(page, codes, 'GridAfwezigheidscodes', 'Wijzigingen bewaren (Enter)').click();
    await settled(page);
    assert.equal(await page.locator('.overlay.message').count(), 0, 'the change was stored');
    const recoloured = await gridCells(page, codes, 'GridAfwezigheidscodes');
    assert.equal(recoloured[current].cells[2].background, 'rgb(0, 192, 0)');
    await screenshot(page, 'afwezigheidscodes', '3-colour-chosen');
  }));
