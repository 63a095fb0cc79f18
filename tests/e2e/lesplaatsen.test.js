// A new lesson place without an official lesson place: number, CRAB code (digits only), location
// and municipality filled in, then Enter; the taxonomy message shows and the new place stays in
// insert with everything the user typed.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const {
  withKavel, openScreen, settled, message, answerMessage, gridCells, navigator, typeInto,
  screenshot,
} = require('./harness');

const TAXONOMY = 'De officiële lesplaats moet ingevuld zijn.\r\n' +
  'Indien de verwachte lesplaats niet in de lijst met officiële lesplaatsen staat\r\n' +
  'moet de taxonomie vernieuwd worden.';

test('a lesson place without official lesson place is not stored', () =>
  withKavel('lesplaatsen', async (page) => {
    const places = await openScreen(page, 'TVWOLesplaatsenForm', 'VWO', 'Lesplaatsen');
    await page.waitForSelector(places + ' [data-control="GridLesplaatsen"]');
    const before = await gridCells(page, places, 'GridLesplaatsen');
    const field = (control) => page.locator(places + ' [data-control="' + control + '"]');

    await navigator(page, places, 'GridLesplaatsen', 'Nieuw record').click();
    await settled(page);
    await page.waitForSelector(places + ' [data-control="GridLesplaatsen"] tr.current .marker:text("✎")');

    await typeInto(page, places, 'EdtNummer', '99');
    // The CRAB code takes digits only: the letters typed never reach the field.
    const crab = field('EdtCRABCode').locator('input');
    await crab.click();
    await crab.pressSequentially('40a0b0c4711');
    assert.equal(await crab.inputValue(), '40004711');
    await crab.press('Tab');
    await settled(page);

    // Typing on in the next editor while the host answers for the one just left loses nothing.
    await field('EdtOmschrijving').locator('input').click();
    await page.keyboard.type('Nieuwe lesplaats');
    await page.keyboard.press('Tab');
    await page.keyboard.type('Kerkstraat');
    await page.keyboard.press('Tab');
    await settled(page);
    const typed = (await gridCells(page, places, 'GridLesplaatsen')).find((row) => row.current);
    assert.deepEqual([typed.cells[1].text, typed.cells[3].text], ['Nieuwe lesplaats', 'Kerkstraat']);

    // A location, and the municipality found by a part of its name.
    await field('LCVestigingsplaats').locator('select').selectOption({ label: 'Hoofdschool' });
    await settled(page);
    const search = field('FrameGemeente').locator('input[type=search]');
    await search.fill('moer');
    await search.press('Enter');
    await settled(page);
    const choices = await field('FrameGemeente').locator('select option').allTextContents();
    assert.deepEqual(choices.filter((text) => text !== ''), ['8471 Moerkerk']);
    await field('FrameGemeente').locator('select').selectOption({ label: '8471 Moerkerk' });
    await settled(page);
    assert.equal(await field('LCOffLesplaats').locator('select').inputValue(), '',
      'no official lesson place chosen');
    await screenshot(page, 'lesplaatsen', '1-new-place');

    // Enter in an editor posts the record: refused with the taxonomy message.
    await field('EdtNummer').locator('input').press('Enter');
    await settled(page);
    const refused = await message(page);
    assert.equal(refused.text, TAXONOMY);
    await screenshot(page, 'lesplaatsen', '2-taxonomy-message');
    await answerMessage(page, refused.buttons[0]);

    // Still being inserted, with everything the user gave it.
    const source = await page.evaluate(() => session.outcome.state.active.sources
      .find((s) => s.name === 'DSVWOLesplaats'));
    assert.equal(source.state, 'insert');
    assert.equal(await field('EdtNummer').locator('input').inputValue(), '99');
    assert.equal(await crab.inputValue(), '40004711');
    assert.equal(await field('FrameGemeente').locator('select').inputValue(), '6');
    assert.ok(await navigator(page, places, 'GridLesplaatsen', 'Wijzigingen bewaren (Enter)')
      .isEnabled());
    const after = await gridCells(page, places, 'GridLesplaatsen');
    assert.equal(after.length, before.length + 1, 'the new place is shown, not stored');
    await screenshot(page, 'lesplaatsen', '3-still-inserting');
  }));
