// Logging in and out in the browser, and a wrong password refused.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, login, screenshot } = require('./harness');

test('the demo user logs in, sees the menu and logs out', () =>
  withKavel('login', async (page) => {
    await page.waitForSelector('#login-form');
    await screenshot(page, 'login', '1-login');
    await login(page, 'demo', 'demo');
    await page.waitForSelector('#main:not([hidden])');
    assert.equal(await page.textContent('#user'), 'Demogebruiker');
    await page.waitForSelector('#menu .menu-entry');  // the menu arrives after the page shows
    const entries = await page.$$eval('#menu .menu-entry', (nodes) => nodes.map((n) => n.textContent));
    assert.ok(entries.includes('Afwezigheidscodes'), 'menu: ' + entries.join(', '));
    await screenshot(page, 'login', '2-menu');

    // A reload keeps the session.
    await page.reload();
    await page.waitForSelector('#main:not([hidden])');

    await page.click('#logout');
    await page.waitForSelector('#login:not([hidden])');
    assert.equal(await page.textContent('#login-error'), 'U bent afgemeld.');
    await page.reload();
    await page.waitForSelector('#login:not([hidden])');
  }));

test('a wrong password is refused', () =>
  withKavel('wrong-password', async (page) => {
    await page.waitForSelector('#login-form');
    await login(page, 'demo', 'fout-wachtwoord');
    await page.waitForFunction(() => document.querySelector('#login-error').textContent !== '');
    assert.equal(await page.textContent('#login-error'), 'Onbekende gebruiker of verkeerd wachtwoord');
    assert.ok(await page.isHidden('#main'));
    await screenshot(page, 'wrong-password', 'refused');
  }));
