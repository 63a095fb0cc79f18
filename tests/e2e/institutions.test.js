// A screen opened from the menu brings its institution browser along: tabs, a message box, the
// institution grid with its column captions, moving to another institution, closing a tab.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, login, openMenu, gridRows, screenshot } = require('./harness');

test('a menu screen opens with the institution browser, whose list the user walks', () =>
  withKavel('institutions', async (page) => {
    await login(page, 'demo', 'demo');
    await page.waitForSelector('#main:not([hidden])');
    await openMenu(page, 'VWO', 'Lesmaterialen');

    // Two tabs: the browser, opened first as the default master, and the screen itself.
    await page.waitForFunction(() => document.querySelectorAll('#tabs .tab').length === 2);
    const tabs = await page.$$eval('#tabs .tab-caption', (nodes) => nodes.map((n) => n.textContent));
    assert.equal(tabs[0], 'VWO instellingen');
    // A screen this version does not have yet says so in a message box, answered with Enter.
    const message = page.locator('.overlay.message .dialog-text');
    if (await message.count()) {
      assert.match(await message.textContent(), /nog niet beschikbaar/);
      await page.keyboard.press('Enter');
      await page.waitForSelector('.overlay.message', { state: 'detached' });
    }

    await page.click('#tabs .tab-caption >> nth=0');
    await page.waitForSelector('#forms [data-control="GridInstellingen"]');
    const titles = await page.$$eval('#forms [data-control="GridInstellingen"] thead th:not(.marker)',
      (nodes) => nodes.map((n) => n.textContent));
    assert.deepEqual(titles.slice(0, 2), ['Code', 'Naam']);
    const rows = await gridRows(page, 'GridInstellingen');
    assert.deepEqual(rows.map((r) => r[1]), ['CVO Horizon', 'CVO De Linde']);
    await screenshot(page, 'institutions', '1-browser');

    await page.click('#forms [data-control="GridInstellingen"] tbody tr:nth-child(2)');
    await page.waitForSelector('#forms [data-control="GridInstellingen"] tbody tr.current[data-recno="2"]');
    await screenshot(page, 'institutions', '2-second-institution');

    // Closing the browser closes the screen opened with it as master.
    await page.click('#tabs .tab >> nth=0 >> .tab-close');
    await page.waitForFunction(() => document.querySelectorAll('#tabs .tab').length === 0);
  }));
