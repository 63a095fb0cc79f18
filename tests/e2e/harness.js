// The browser tests' harness: a kavel server on a free loopback port with a fresh demo database,
// and Debian's chromium driven by playwright-core (never a downloaded browser).
//
// Environment: KAVEL_BIN (the kavel program; default build/dev/kavel), E2E_OUTPUT (where each test
// leaves its screenshots; default tests/e2e/output), CHROMIUM (default /usr/bin/chromium).
'use strict';

const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const root = path.resolve(__dirname, '..', '..');

function requirePlaywright() {
  try {
    return require('playwright-core');
  } catch (error) {
    throw new Error('playwright-core is not installed: run "npm install" in tests/e2e ' +
      '(scripts/setup-deps.sh does it)');
  }
}

//! Starts `kavel serve` on a fresh database, with `extraArgs` after the usual ones; resolves to
//! { url, stop() }.
async function startServer(extraArgs = []) {
  const bin = process.env.KAVEL_BIN || path.join(root, 'build', 'dev', 'kavel');
  if (!fs.existsSync(bin)) throw new Error('kavel not found at ' + bin + ' (set KAVEL_BIN)');
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'kavel-e2e-'));
  const db = path.join(dir, 'kavel.sqlite');
  const child = spawn(bin, ['serve', '--db', db, '--port', '0', '--bind', '127.0.0.1',
    '--static', path.join(root, 'web', 'static'), ...extraArgs], { stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  const url = await new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('kavel serve did not start:\n' + output)), 60000);
    const look = (chunk) => {
      output += chunk.toString();
      const match = output.match(/luistert op (http:\/\/127\.0\.0\.1:\d+\/)/);
      if (match) {
        clearTimeout(timer);
        resolve(match[1]);
      }
    };
    child.stdout.on('data', look);
    child.stderr.on('data', (chunk) => { output += chunk.toString(); });
    child.on('exit', (code) => {
      clearTimeout(timer);
      reject(new Error('kavel serve stopped with ' + code + ':\n' + output));
    });
  });
  return {
    url,
    output: () => output,
    async stop() {
      const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
      child.kill('SIGTERM');
      const result = await exited;
      fs.rmSync(dir, { recursive: true, force: true });
      return result;
    },
  };
}

async function launchBrowser() {
  const { chromium } = requirePlaywright();
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

//! The folder where a test leaves its screenshots.
function outputDir(testName) {
  const base = process.env.E2E_OUTPUT || path.join(__dirname, 'output');
  const dir = path.join(base, testName.replace(/[^A-Za-z0-9_-]+/g, '_'));
  fs.mkdirSync(dir, { recursive: true });
  return dir;
}

async function screenshot(page, testName, name) {
  await page.screenshot({ path: path.join(outputDir(testName), name + '.png'), fullPage: true });
}

//! Starts the stand-in Davinci service on a free loopback port; resolves to { url, stop() }.
async function startDavinciSim() {
  const bin = process.env.KAVEL_BIN || path.join(root, 'build', 'dev', 'kavel');
  const child = spawn(bin, ['davinci-sim', '--port', '0'], { stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  const url = await new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('davinci-sim did not start:\n' + output)), 30000);
    child.stdout.on('data', (chunk) => {
      output += chunk.toString();
      const match = output.match(/luistert op (http:\/\/127\.0\.0\.1:\d+)\//);
      if (match) {
        clearTimeout(timer);
        resolve(match[1]);
      }
    });
    child.stderr.on('data', (chunk) => { output += chunk.toString(); });
    child.on('exit', (code) => {
      clearTimeout(timer);
      reject(new Error('davinci-sim stopped with ' + code + ':\n' + output));
    });
  });
  return {
    url,
    async stop() {
      const exited = new Promise((resolve) => child.on('exit', resolve));
      child.kill('SIGTERM');
      await exited;
    },
  };
}

//! Runs `body(page, server)` against a fresh server and browser; screenshots on failure too.
//! `serveArgs` go to `kavel serve` after the usual ones.
async function withKavel(testName, body, serveArgs = []) {
  const server = await startServer(serveArgs);
  const browser = await launchBrowser();
  const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
  const problems = [];
  page.on('pageerror', (error) => problems.push('page error: ' + error.message));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push('console: ' + message.text());
  });
  try {
    await page.goto(server.url);
    await body(page, server);
    const unexpected = problems.filter((p) => !/status of 401/.test(p));
    if (unexpected.length) throw new Error('the page reported errors:\n' + unexpected.join('\n'));
  } catch (error) {
    await screenshot(page, testName, 'failure').catch(() => {});
    throw error;
  } finally {
    await browser.close();
    const stopped = await server.stop();
    if (stopped.code !== 0) {
      throw new Error('kavel serve ended with ' + stopped.code + ':\n' + server.output());
    }
  }
}

async function login(page, user, password) {
  await page.fill('#login-user', user);
  await page.fill('#login-password', password);
  await page.click('#login-submit');
}

//! Opens a menu entry by its caption path ("VWO", "Afwezigheidscodes"); the last caption is
//! matched whole ("Klassen" is not "Open klassen").
async function openMenu(page, ...captions) {
  const entry = page.locator('#menu .menu-entry')
    .getByText(captions[captions.length - 1], { exact: true });
  await entry.first().click();
}

//! The rows of the grid of a control name in the active form, as arrays of cell texts.
async function gridRows(page, control) {
  return page.$$eval('#forms [data-control="' + control + '"] tbody tr',
    (rows) => rows.map((row) => [...row.querySelectorAll('td:not(.marker)')].map((td) => td.textContent)));
}

//! Waits until every event the page sent has been answered and drawn.
async function settled(page) {
  await page.waitForFunction(() => (document.documentElement.dataset.pending || '0') === '0');
}

//! Logs in as the demo user and opens a menu entry; waits for the screen's tab.
async function openScreen(page, formClass, ...captions) {
  await login(page, 'demo', 'demo');
  await page.waitForSelector('#menu .menu-entry');
  await openMenu(page, ...captions);
  await page.waitForSelector('#tabs .tab');
  await settled(page);
  return formSelector(formClass);
}

//! Makes the institution of that name current in the institution browser (the first tab, opened
//! with a menu screen) and goes back to the screen's tab (the second).
async function chooseInstitution(page, name) {
  await page.click('#tabs .tab-caption >> nth=0');
  await settled(page);
  await page.click(formSelector('TBrowseVWOStructInstellingForm') +
    ' [data-control="GridInstellingen"] tbody tr:has-text("' + name + '")');
  await settled(page);
  await page.click('#tabs .tab-caption >> nth=1');
  await settled(page);
}

//! The selector of a screen or dialog of a class, as drawn in a tab or a modal window.
function formSelector(formClass) {
  return '[data-class="' + formClass + '"]';
}

//! The message box now shown: { id, text, buttons }; waits for one.
async function message(page) {
  const box = page.locator('.overlay.message .dialog-box');
  await box.waitFor();
  return {
    id: await box.getAttribute('data-dialog'),
    text: await box.locator('.dialog-text').textContent(),
    buttons: await box.locator('.dialog-buttons button').allTextContents(),
  };
}

//! Clicks the button of the message box with that caption and waits until the answer is drawn.
async function answerMessage(page, caption) {
  const box = page.locator('.overlay.message .dialog-box');
  await box.getByRole('button', { name: caption, exact: true }).click();
  await settled(page);
}

//! The grid of a control in `scope` (a form selector): each row as { recNo, current, cells:
//! [{ text, background }] } with the cells' computed background colours.
async function gridCells(page, scope, control) {
  return page.$$eval(scope + ' [data-control="' + control + '"] tbody tr', (rows) => rows.map((row) => ({
    recNo: Number(row.dataset.recno),
    current: row.classList.contains('current'),
    cells: [...row.querySelectorAll('td:not(.marker)')].map((td) => ({
      text: td.textContent,
      background: td.style.backgroundColor,
    })),
  })));
}

//! The navigator button of a grid by its title ("Nieuw record", "Wijzigingen bewaren (Enter)").
function navigator(page, scope, control, title) {
  return page.locator(scope + ' [data-control="' + control + '"] .navigator button[title="' +
    title + '"]');
}

//! Types into a text editor of a control and leaves it with Tab, so its value is sent.
async function typeInto(page, scope, control, text) {
  const input = page.locator(scope + ' [data-control="' + control + '"] input:not([type=search])');
  await input.click();
  await input.fill('');
  await input.pressSequentially(text);
  await input.press('Tab');
  await settled(page);
}

module.exports = {
  withKavel, login, openMenu, gridRows, screenshot, startServer, startDavinciSim, launchBrowser,
  settled,
  openScreen, chooseInstitution, formSelector, message, answerMessage, gridCells, navigator,
  typeInto,
};
