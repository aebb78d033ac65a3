// What Firefox users met: pasting into the grid reached by Tab, the context
// menu's closing, copying an empty code box or stale code, Escape on About,
// a drop while Import is open, an out-of-range threshold. Each runs in every
// browser.
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';

import {
    assert, assertEqual, cli, clickDot, dots, drawingFile, dropFiles, forget, keys, kWork, lcdDots, menu, message, png,
    press, recorded, retype, shownResult, waitFor, waitForDots,
} from './harness.mjs';

// Real keys and the browser's own clipboard: the code copied from its box comes back as the picture.
async function pasteByKeys(page) {
    await clickDot(page, 0);
    await clickDot(page, 200);
    const drawn = await dots(page);
    await press(page, 'Run');
    await keys(page, '#txtData', 'Control+a', 'Control+c');
    await press(page, 'New');
    await waitForDots(page, '0'.repeat(256));
    await keys(page, '#optType1 input', 'Tab');
    assertEqual(await page.evaluate(() => document.activeElement.id), 'lbDot', 'Tab reaches the grid');
    await keys(page, '#lbDot', 'Control+v');
    await waitForDots(page, drawn);
}

const menuOpen = (page) => page.evaluate(() => document.getElementById('gridMenu') !== null);

async function openMenu(page) {
    await clickDot(page, 0, 'right');
    await page.waitForSelector('#gridMenu [role^="menuitem"]:focus');
}

async function menuCloses(page) {
    await openMenu(page);
    await page.keyboard.press('Tab');
    assert(!await menuOpen(page), 'Tab out of the menu leaves it open');
    await openMenu(page);
    await page.keyboard.press('Escape');
    assert(!await menuOpen(page), 'Escape leaves the menu open');
    // A click on an item that cannot be chosen keeps the menu, and a click outside still closes it.
    await openMenu(page);
    await page.click('#gridMenu [role="menuitem"][aria-disabled="true"]');
    assert(await menuOpen(page), 'a disabled item closed the menu');
    await page.mouse.click(1, 1);
    assert(!await menuOpen(page), 'a click outside leaves the menu open');
}

async function copyEmpty(page) {
    assertEqual(await page.$eval('#txtData', (box) => box.value), '', 'the code box at the start');
    await page.click('#cmdCopy');
    assertEqual(await message(page), '클립보드에 텍스트가 없습니다.');
    assert(await page.evaluate(() => !('clipboard' in window.recorded)), 'the clipboard was written');
    // A second press after the first moved the code out finds the box empty too.
    await press(page, 'Run');
    await page.click('#cmdCopy');
    await recorded(page, 'clipboard');
    await forget(page, 'clipboard');
    await page.click('#cmdCopy');
    assertEqual(await message(page), '클립보드에 텍스트가 없습니다.', 'the second press');
    assert(await page.evaluate(() => !('clipboard' in window.recorded)), 'the second press wrote the clipboard');
    // A browser that will not let the page write there is named as the cause, not an empty box.
    await page.evaluate(() => {
        navigator.clipboard.writeText = async () => { throw new DOMException('refused', 'NotAllowedError'); };
    });
    await menu(page, 'Copy as C Array');
    assertEqual(await message(page), 'Cannot copy to the clipboard: the browser did not allow it. The clipboard keeps what it held.');
}

// Ctrl+C copies no code the picture no longer has, and empties no clipboard for an empty box: it runs first and
// shows that it did, or says the box is empty.
async function copyKey(page) {
    await press(page, 'Run');
    await clickDot(page, 9);
    const file = join(kWork, 'nine.Lcd');
    writeFileSync(file, drawingFile(await dots(page), 0));
    await keys(page, '#lbDot', 'Control+c');
    assertEqual(`${await recorded(page, 'clipboard')}\r\n`, cli('code', file).toString(), 'the code copied');
    const shown = await shownResult(page);
    assert(shown.includes('run first'), shown);
    await forget(page, 'clipboard');
    await keys(page, '#lbDot', 'Control+c');
    const said = await message(page);
    assert(said.includes('press Run'), said);
    assert(await page.evaluate(() => !('clipboard' in window.recorded)), 'the clipboard was written');
}

// Escape closes About as its button does, and About opens again after.
async function aboutEscape(page) {
    for (const close of ['Escape', 'button']) {
        await press(page, 'About');
        await page.waitForSelector('#frmAbout[open]');
        await (close === 'Escape' ? page.keyboard.press('Escape') : page.click('#cmdClose'));
        await waitFor(page, () => !document.querySelector('#frmAbout'));
    }
}

// A 16 x 16 grey PNG whose pixel n is n grey: every threshold gives other dots.
function greyRamp() {
    return png({ width: 16, height: 16, depth: 8, colour: 0, channels: 1, sample: (x, y) => y * 16 + x });
}

// A refused drop shows nothing, and nothing can be waited for: a third drop after the first dialog is
// cancelled is taken the same way, so a second dialog, had it come, is there by the time the third is.
async function dropWhileImport(page) {
    const png = greyRamp();
    await page.evaluate(() => {
        window.recorded.dialogs = 0;
        new MutationObserver((changes) => {
            window.recorded.dialogs += changes.flatMap((change) => [...change.addedNodes])
                .filter((node) => node.localName === 'dialog').length;
        }).observe(document.body, { childList: true });
    });
    await dropFiles(page, [['ramp.png', png]]);
    await page.waitForSelector('dialog[open] input#threshold');
    await dropFiles(page, [['ramp.png', png]]);
    await page.keyboard.press('Escape');
    await waitFor(page, () => !document.querySelector('dialog[open]') || window.recorded.dialogs > 1);
    await dropFiles(page, [['ramp.png', png]]);
    await waitFor(page, () => window.recorded.dialogs > 1 && document.querySelector('dialog[open] input#threshold'));
    assertEqual(await page.evaluate(() => window.recorded.dialogs), 2, 'import dialogs for three drops, one while open');
}

async function thresholdClamps(page) {
    const png = greyRamp();
    const file = join(kWork, 'ramp.png');
    writeFileSync(file, png);
    await dropFiles(page, [['ramp.png', png]]);
    await page.waitForSelector('dialog[open] input#threshold');
    await retype(page, 'dialog[open] input#threshold', '300');
    await page.click('dialog[open] button[value="ok"]');
    await waitForDots(page, lcdDots(cli('import', file, '-', '--threshold', '255')));
}

export const kChecks = [
    { name: 'Ctrl+V on the grid reached by Tab pastes the copied code', run: pasteByKeys },
    { name: 'the context menu closes on Tab out, on Escape, and on a click outside after a disabled item', run: menuCloses },
    { name: 'Copy with an empty code box, or to a clipboard the browser refuses, says why', run: copyEmpty },
    { name: 'Ctrl+C runs stale code first and says so; with an empty box it says so and leaves the clipboard',
        run: copyKey },
    { name: 'Escape closes About as its button does', run: aboutEscape },
    { name: 'a drop while Import is open stacks no second dialog', run: dropWhileImport },
    { name: 'a threshold typed as 300 is taken as 255, as the preview takes it', run: thresholdClamps },
];
