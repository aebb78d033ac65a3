// The main window: where its controls sit, drawing and its bytes, the
// history and a transform, Insert Text, what a screen reader is given, and
// the choice of reading for pasted values that do not say their layout.
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';

import {
    assert, assertEqual, cli, clickDot, centre, dots, drawingFile, forget, insertText, keys, kWork, lcdDots, menu, pasteText,
    press, recorded, waitFor, waitForDots,
} from './harness.mjs';

async function places(page) {
    // In the window's own pixels, whatever zoom fills the view with it.
    const box = (id) => page.evaluate((element) => {
        const main = document.getElementById('frmMain');
        const frame = main.getBoundingClientRect();
        const b = document.getElementById(element).getBoundingClientRect();
        return [b.left - frame.left, b.top - frame.top, b.width, b.height]
            .map((length, at) => Math.round(length / main.currentCSSZoom - (at < 2 ? 1 : 0)));
    }, id);
    const expected = { tbarMain: [0, 0, 243, 57], Frame2: [4, 59, 236, 60], optType0: [14, 78, 155, 14],
        optType1: [14, 97, 155, 14], Frame1: [3, 124, 238, 245], txtData: [2, 372, 237, 79],
        cmdCopy: [3, 455, 234, 30], lbDot: [16, 144, 209, 209] };
    for (const [id, place] of Object.entries(expected))
        assertEqual(await box(id), place, id);
    const captions = await page.$$eval('#tbarMain button', (buttons) => buttons.map((b) => b.getAttribute('aria-label')));
    assertEqual(captions, ['New', 'Open', 'Save', 'Run', 'About']);
    assertEqual(await page.title(), `Tessaldo ${cli('--version').toString().split(/\s+/)[1]}`);
    assertEqual((await box('dot-16')).slice(0, 2), [16 + 14, 144 + 1], 'second column, first row');
    await page.click('#optType1 input');
    assertEqual((await box('dot-16')).slice(0, 2), [16 + 1, 144 + 14], 'first column, second row');
    assertEqual(await page.$eval('#dot-37', (cell) => cell.title), 'Dot 37: byte 4 (first printf), bit 5 = 0x20');
}

async function savedBytes(page) {
    await forget(page, 'saved');
    await press(page, 'Save');
    return Buffer.from(await recorded(page, 'saved'));
}

async function code(page) {
    return page.$eval('#txtData', (box) => box.value);
}

async function drawing(page) {
    await clickDot(page, 0);
    await clickDot(page, 200);
    // A drag along row 1 in the column layout, from column 1 to column 4: dots 17, 33, 49 and 65.
    const [start, end] = [await centre(page, '#dot-17'), await centre(page, '#dot-65')];
    await page.mouse.move(start.x, start.y);
    await page.mouse.down();
    await page.mouse.move(end.x, end.y);
    await page.mouse.up();
    const picture = await dots(page);
    assertEqual([...picture].filter((dot) => dot === '1').length, 6, picture);
    await press(page, 'Run');
    const shown = (await code(page)).replaceAll('\n', '\r\n');
    const saved = await savedBytes(page);
    assertEqual(saved.toString(), drawingFile(picture, 0).toString());
    const file = join(kWork, 'drawn.Lcd');
    writeFileSync(file, saved);
    assertEqual(cli('code', file).toString(), `${shown}\r\n`);
    assertEqual(cli('edit', file, '-').toString(), saved.toString());
    await page.click('#cmdCopy');
    assertEqual(await recorded(page, 'clipboard'), shown);
    await waitFor(page, () => document.getElementById('txtData').value === '');
    // Ctrl+C on the grid presses the copy button too.
    await press(page, 'Run');
    await forget(page, 'clipboard');
    await keys(page, '#lbDot', 'Control+c');
    assertEqual(await recorded(page, 'clipboard'), shown);
}

async function history(page) {
    await clickDot(page, 5);
    await clickDot(page, 6);
    await keys(page, '#lbDot', 'Control+z');
    assertEqual((await dots(page)).slice(5, 7), '10', 'undone');
    await keys(page, '#lbDot', 'Control+Shift+Z');
    assertEqual((await dots(page)).slice(5, 7), '11', 'redone');
    for (const type of [0, 1]) {
        await page.click(`#optType${type} input`);
        const file = join(kWork, 't.Lcd');
        writeFileSync(file, drawingFile(await dots(page), type));
        await keys(page, '#lbDot', 'Shift+ArrowRight');
        assertEqual(drawingFile(await dots(page), type).toString(), cli('edit', file, '-', 'shift-right').toString(),
            `type ${type}`);
    }
}

// Roles and names as the browser's accessibility tree gives them, by the browser's own ARIA query.
async function accessibility(page) {
    await clickDot(page, 3);
    const ids = async (query) => page.evaluate((...found) => found.map((n) => n.id), ...await page.$$(`::-p-aria(${query})`));
    const boxes = await ids('[role="checkbox"]');
    assertEqual(boxes.sort(), Array.from({ length: 256 }, (_, dot) => `dot-${dot}`).sort(), 'check boxes');
    // Every name asked of Firefox takes a quarter of a second: the edges and a middle one stand for all.
    for (const dot of [0, 1, 15, 16, 37, 255])
        assertEqual(await ids(`[name="Dot ${dot}"][role="checkbox"]`), [`dot-${dot}`], `Dot ${dot}`);
    const checked = await page.$$eval('[role="checkbox"][aria-checked="true"]', (cells) => cells.map((c) => c.id));
    assertEqual(checked, ['dot-3']);
    await keys(page, '#lbDot', 'Insert');
    assertEqual(await ids('[name="Pictures of the set"][role="listbox"]'), ['setStrip']);
    const options = await Promise.all(['picture, picture 1 of 2', 'picture_2, picture 2 of 2']
        .map((name) => ids(`[name="${name}"][role="option"]`)));
    assertEqual(options.map((found) => found.length), [1, 1], 'the strip\'s options');
}

// 32 values with no word of their layout: a box's bytes as an SSD1306 takes them.
async function layoutChoice(page) {
    const set = (column, row) => column >= 3 && column < 11 && row >= 4 && row < 12;
    const bytes = Array.from({ length: 32 }, (_, byte) => {
        let value = 0;
        for (let bit = 0; bit < 8; ++bit)
            value |= set(byte % 16, 8 * Math.floor(byte / 16) + bit) ? 1 << bit : 0;
        return value;
    });
    const pasted = bytes.join(', ');
    const shown = (layout) => lcdDots(cli('decode', join(kWork, 'box.h'), '-', '--layout', layout));
    writeFileSync(join(kWork, 'box.h'), pasted);
    const choose = async (...presses) => {
        await pasteText(page, pasted);
        await page.waitForSelector('dialog[open] .layout-choice');
        const names = await page.$$eval('dialog[open] .layout-choice label', (labels) => labels.map((label) => label.textContent));
        for (const key of presses)
            await page.keyboard.press(key);
        await waitFor(page, () => !document.querySelector('dialog[open]'));
        return names;
    };
    // Named as "C Array Form" names them; the command line's names for the same layouts.
    const layouts = { 'Module C Array': 'module', 'XBM for u8g2': 'xbm', 'Adafruit GFX drawBitmap': 'rows',
        'SSD1306 Pages': 'pages' };
    const names = await choose('Enter');
    assertEqual(names[0], 'SSD1306 Pages', 'the likeliest reading');
    assertEqual(names.length, 4, 'the readings in type 0');
    await waitForDots(page, shown('pages'));
    await choose('Escape');
    assertEqual(await dots(page), shown('pages'), 'the picture after Cancel');
    await choose('ArrowRight', 'Enter');
    await waitForDots(page, shown(layouts[names[1].split(' or ')[0]]));
    await keys(page, '#lbDot', 'Control+Z');
    await waitForDots(page, shown('pages'));
}

// An array of no told size that fits several displays opens at the size chosen with its layout.
async function layoutAndSizeChoice(page) {
    const bytes = Array.from({ length: 1024 }, (_, byte) => (byte % 3 ? '0x00' : '0x81')).join(', ');
    await pasteText(page, `const unsigned char logo[] = { ${bytes} };`);
    await page.waitForSelector('dialog[open] .layout-choice');
    const names = await page.$$eval('dialog[open] .layout-choice label', (labels) => labels.map((label) => label.textContent));
    const at = names.findIndex((name) => name.includes('SSD1306 Pages') && name.includes('128 x 64'));
    assert(at >= 0, `a reading as 128 x 64 pages among ${names.join('; ')}`);
    for (let step = 0; step < at; ++step)
        await page.keyboard.press('ArrowRight');
    await page.keyboard.press('Enter');
    await waitFor(page, () => !document.querySelector('dialog[open]'));
    const size = await waitFor(page, () => {
        const { width, height } = window.tessaldoBench.session().size();
        return width === 128 && `${width} x ${height}`;
    });
    assertEqual(size, '128 x 64', 'the picture\'s size after the choice');
}

// Enter in an empty text box is no OK: the picture stays, and so does the dialog, until there is text.
async function insertNothing(page) {
    await clickDot(page, 7);
    const drawn = await dots(page);
    await menu(page, 'Insert Text…');
    await page.waitForSelector('dialog[open] #text:focus');
    await page.keyboard.press('Enter');
    assert(await page.$('dialog[open] #text'), 'Enter with no text closed the dialog');
    assertEqual(await dots(page), drawn, 'the picture after Enter with no text');
    await page.keyboard.press('Escape');
}

// The grid's menu, About and the menu button above the window at the window's zoom, where the view holds
// them: their text as large as the window's.
async function zoomedAlike(page) {
    await page.setViewport({ width: 1920, height: 1400 });
    const zoom = (selector) => page.$eval(selector, (element) => element.currentCSSZoom);
    // The window is fitted again once the browser tells it of the new size.
    const windowZoom = await waitFor(page, () => {
        const fitted = document.querySelector('#frmMain').currentCSSZoom;
        return fitted > 1.5 && fitted;
    });
    assertEqual(await zoom('#menuButton'), windowZoom, 'the menu button\'s zoom');
    await clickDot(page, 0, 'right');
    assertEqual(await zoom('#gridMenu'), windowZoom, 'the menu\'s zoom');
    await page.keyboard.press('Escape');
    await press(page, 'About');
    assertEqual(await zoom('#frmAbout[open]'), windowZoom, 'About\'s zoom');
}

export const kChecks = [
    { name: 'controls sit at the desktop\'s places, in both layouts', run: places },
    { name: 'the menu and dialogs are zoomed as the window is', run: zoomedAlike },
    { name: 'clicks, a drag, Run, Copy, Ctrl+C and Save give the desktop\'s bytes', run: drawing },
    { name: 'undo and redo walk the history; a transform acts as the screen shows it', run: history },
    { name: 'Insert Text draws Unifont\'s own glyph', run: (page) => insertText(page, '한') },
    { name: 'Insert Text takes no OK while its text is empty', run: insertNothing },
    { name: 'a screen reader is given 256 check boxes named Dot N', run: accessibility },
    { name: 'pasted values that do not say their layout offer each reading, the likeliest first', run: layoutChoice },
    { name: 'a 1024-byte array chosen as 128 x 64 pages opens at 128 x 64', run: layoutAndSizeChoice },
];
