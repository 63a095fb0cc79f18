// The working date in the page's header: a bad date is refused, a new one shows its school year
// and is still there at the next login.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, login, settled, message, answerMessage, screenshot } = require('./harness');

//! Types a date in the header and sends it with Enter; waits until the page has drawn the outcome.
async function setWerkDatum(page, text) {
  await page.fill('#werkdatum', text);
  await page.press('#werkdatum', 'Enter');
  await settled(page);
}

async function header(page) {
  return { datum: await page.inputValue('#werkdatum'), jaar: await page.textContent('#werkjaar') };
}

test('the working date is kept for the next login', () =>
  withKavel('werkdatum', async (page) => {
    await page.waitForSelector('#login-form');
    await login(page, 'demo', 'demo');
    await page.waitForFunction(() => document.querySelector('#werkdatum').value !== '');
    const today = (await header(page)).datum;
    assert.match(today, /^\d\d\/\d\d\/\d{4}$/);

    await setWerkDatum(page, '31/02/2024');
    const refused = await message(page);
    assert.equal(refused.text, "'31/02/2024' is geen geldige datum");
    await answerMessage(page, 'OK');
    await settled(page);
    assert.equal((await header(page)).datum, today);

    await setWerkDatum(page, '15/03/2024');
    assert.deepEqual(await header(page), { datum: '15/03/2024', jaar: 'Werkjaar 2023-2024' });
    await screenshot(page, 'werkdatum', '1-changed');

    await page.click('#logout');
    await page.waitForSelector('#login:not([hidden])');
    await page.reload();  // nothing of the last session left in the page
    await page.waitForSelector('#login:not([hidden])');
    await login(page, 'demo', 'demo');
    await page.waitForSelector('#main:not([hidden])');
    await page.waitForFunction(() => document.querySelector('#werkdatum').value === '15/03/2024');
    assert.deepEqual(await header(page), { datum: '15/03/2024', jaar: 'Werkjaar 2023-2024' });
    await screenshot(page, 'werkdatum', '2-after-login');
  }));

test('the display choices next to the working date are kept for the next login', () =>
  withKavel('voorkeuren', async (page) => {
    await page.waitForSelector('#login-form');
    await login(page, 'demo', 'demo');
    await page.waitForFunction(() => document.querySelector('#davincikleur').value === '#ffffc0');
    assert.equal(await page.isChecked('#toonallelesplaatsen'), false);

    await page.fill('#davincikleur', '#80c0ff');  // a colour input takes its value and changes
    await settled(page);
    await page.check('#toonallelesplaatsen');
    await settled(page);
    await screenshot(page, 'voorkeuren', '1-changed');

    await page.click('#logout');
    await page.waitForSelector('#login:not([hidden])');
    await page.reload();
    await page.waitForSelector('#login:not([hidden])');
    await login(page, 'demo', 'demo');
    await page.waitForSelector('#main:not([hidden])');
    await page.waitForFunction(() => document.querySelector('#davincikleur').value === '#80c0ff');
    assert.equal(await page.isChecked('#toonallelesplaatsen'), true);
  }));
