// The organised module variants of a class in the browser: a cancellation date typed in, the
// question it asks answered with "Ja", the date stored and the recipe action closed to a cancelled
// module variant.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const { withKavel, openScreen, settled, message, answerMessage, gridCells, formSelector, navigator,
  typeInto, screenshot } = require('./harness');

test('a cancellation date asks its question and is stored after Ja', () =>
  withKavel('modulevarianten', async (page) => {
    const klassen = await openScreen(page, 'TVWOKlasForm', 'VWO', 'Klassen');
    await page.locator(klassen + ' .form-links button', { hasText: 'Modulevarianten' }).click();
    await settled(page);
    const form = formSelector('TVWOIngModuleVariantForm');
    await page.locator(form + ' [data-control="GridModuleVarianten"]').waitFor();
    const before = await gridCells(page, form, 'GridModuleVarianten');
    assert.ok(before.length > 0, 'the class has module variants');
    const lesVan = before.find((row) => row.current).cells[3].text;
    assert.match(lesVan, /^\d\d\/\d\d\/\d{4}$/);
    const recept = page.locator(form + ' [data-action="ALesmomentRecept"]');
    assert.equal(await recept.isDisabled(), false);

    // A month after the lessons start: the course is running, so the careers are ended.
    const [d, m, y] = lesVan.split('/').map(Number);
    const date = new Date(Date.UTC(y, m, d));
    const text = String(date.getUTCDate()).padStart(2, '0') + '/' +
      String(date.getUTCMonth() + 1).padStart(2, '0') + '/' + date.getUTCFullYear();
    await typeInto(page, form, 'EdtAfgelastOp', text);
    await navigator(page, form, 'GridModuleVarianten', 'Wijzigingen bewaren (Enter)').click();
    const question = await message(page);
    assert.match(question.text, /^Volgende acties zullen automatisch worden uitgevoerd:/);
    assert.match(question.text, /Bent u zeker\?$/);
    assert.deepEqual(question.buttons, ['Ja', 'Neen']);
    await screenshot(page, 'modulevarianten', '1-vraag');
    await answerMessage(page, 'Ja');

    const after = await gridCells(page, form, 'GridModuleVarianten');
    const current = after.find((row) => row.current);
    assert.equal(current.cells[6].text, text, JSON.stringify(current));
    assert.equal(await recept.isDisabled(), true, 'no lessons for a cancelled module variant');
    await screenshot(page, 'modulevarianten', '2-afgelast');
  }));
