// The page as an app people keep: it works offline once visited, keeps the
// picture across a reload, and takes a stroke as one step, however many
// come in a row, by mouse or by finger.
import { existsSync, mkdirSync, readdirSync, readFileSync, symlinkSync } from 'node:fs';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { serveFolder } from '../../scripts/serve_site.mjs';
import {
    assert, assertEqual, centre, clickDot, dots, forget, insertText, keys, kWork, menu, open, ready, recorded, standIns,
    strip, waitFor,
} from './harness.mjs';

async function reload(page) {
    await page.reload();
    await ready(page);
    await standIns(page);
}

// The site from a folder deep in a host of its own, which goes once the service worker holds the site, as a
// host gone or a phone offline would.
async function offline(page, where) {
    const host = join(kWork, 'host');
    mkdirSync(join(host, 'tools', 'lcd'), { recursive: true });
    if (!existsSync(join(host, 'tools', 'lcd', 'tessaldo')))
        symlinkSync(where.site, join(host, 'tools', 'lcd', 'tessaldo'));
    const server = await serveFolder(host);
    try {
        await open(page, `${server.url}tools/lcd/tessaldo/`);
        await waitFor(page, () => navigator.serviceWorker?.controller !== null);
    } finally {
        await server.close();
    }
    await reload(page);
    await clickDot(page, 5);
    assertEqual((await dots(page)).indexOf('1'), 5, 'the first set dot offline');
    await keys(page, '#lbDot', 'Control+z');
    // The glyphs are fetched when text is first inserted: the worker must have kept them too.
    await insertText(page, 'A');
}

async function reloadKeeps(page) {
    for (const dot of [0, 37, 255])
        await clickDot(page, dot);
    const drawn = await dots(page);
    await reload(page);
    assertEqual(await dots(page), drawn, 'after a reload');
}

// The form chosen for "Copy as C Array" is what it copies, after a reload too, with its check mark.
async function arrayFormKept(page) {
    await clickDot(page, 0);
    await menu(page, 'C Array Form', 'XBM for u8g2');
    await reload(page);
    await menu(page, 'C Array Form');
    const checked = await page.$$eval('.menu [role="menuitemradio"][aria-checked="true"]',
        (entries) => entries.map((entry) => entry.children[1].textContent));
    assertEqual(checked, ['XBM for u8g2'], 'the checked form');
    await page.keyboard.press('Escape');
    await page.keyboard.press('Escape');
    await forget(page, 'clipboard');
    await menu(page, 'Copy as C Array');
    assertEqual((await recorded(page, 'clipboard')).split('\n').slice(5, 9), ['#define picture_width 16',
        '#define picture_height 16', 'static const unsigned char picture_bits[] U8X8_PROGMEM = {',
        '   0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,'], 'the copied XBM');
    // It says what went, as the core words it.
    const said = await page.evaluate(() => window.tessaldoBench.session().copiedText());
    await waitFor(page, (text) => document.getElementById('status')?.textContent === text, said);
}

// Five strokes in a row, each along one of rows 1 to 5 from the first column to the last, by mouse or by finger:
// five whole rows, each stroke one step. A stroke that leaves a selection behind lets the browser take the next
// press for a drag of its own, which stops that stroke after a dot or two.
async function strokes(page, by) {
    const pointer = {
        mouse: { start: async (x, y) => { await page.mouse.move(x, y); await page.mouse.down(); },
            move: (x, y) => page.mouse.move(x, y), end: () => page.mouse.up() },
        touch: { start: (x, y) => page.touchscreen.touchStart(x, y), move: (x, y) => page.touchscreen.touchMove(x, y),
            end: () => page.touchscreen.touchEnd() },
    }[by];
    const rowsSet = (rows) => Array.from({ length: 256 }, (_, dot) => (dot % 16 >= 1 && dot % 16 <= rows ? '1' : '0'))
        .join('');
    for (let rows = 1; rows <= 5; ++rows) {
        const [start, end] = [await centre(page, `#dot-${rows}`), await centre(page, `#dot-${240 + rows}`)];
        await pointer.start(start.x, start.y);
        const steps = 8;
        for (let step = 1; step <= steps; ++step)
            await pointer.move(start.x + ((end.x - start.x) * step) / steps,
                start.y + ((end.y - start.y) * step) / steps);
        await pointer.end();
        assertEqual(await dots(page), rowsSet(rows), `after stroke ${rows}`);
    }
    await keys(page, '#lbDot', 'Control+z');
    assertEqual(await dots(page), rowsSet(4), 'one Ctrl+Z after five');
}

// The entries of the menu a screen reader or a finger finds: those shown, of the submenu where one is open.
async function shownEntries(page) {
    return page.$$eval('.menu [role^="menuitem"]', (found) => found.filter((entry) => entry.checkVisibility())
        .map((entry) => [entry.children[1].textContent, entry.getAttribute('aria-checked') === 'true']));
}

// On a phone a tap on an entry that opens a submenu opens it, and nothing the submenu puts under the finger runs.
async function phoneSubmenus(page) {
    await page.setViewport({ width: 390, height: 844, hasTouch: true, isMobile: true });
    await reload(page); // as a phone opens it
    const tap = async (caption) => {
        const entry = `::-p-xpath(//*[starts-with(@role, "menuitem")][span[text()="${caption}"]])`;
        const { x, y } = await centre(page, entry);
        await page.touchscreen.tap(x, y);
    };
    const chosenForm = async () => (await shownEntries(page)).filter(([, checked]) => checked).map(([text]) => text);
    await clickDot(page, 0, 'right');
    await tap('C Array Form');
    assertEqual(await chosenForm(), ['Module C Array'], 'the forms shown after a tap on C Array Form');
    await tap('XBM for u8g2');
    await clickDot(page, 0, 'right');
    await tap('C Array Form');
    assertEqual(await chosenForm(), ['XBM for u8g2'], 'the form chosen by a tap');
    await page.keyboard.press('Escape');
    await tap('Set');
    assert((await shownEntries(page)).some(([text]) => text === 'Add Picture'), 'the Set submenu after a tap on Set');
    await tap('Add Picture');
    assertEqual((await strip(page)).length, 2, 'pictures after a tap on Add Picture');
}

// The button above the window offers what the grid's context menu does, to a finger too.
async function menuButton(page) {
    await clickDot(page, 0, 'right');
    const context = await shownEntries(page);
    await page.keyboard.press('Escape');
    const { x, y } = await centre(page, '#menuButton');
    await page.touchscreen.tap(x, y);
    assertEqual(await shownEntries(page), context, 'the entries behind the button');
    const invert = await centre(page, '::-p-xpath(//*[@role="menuitem"][span[text()="Invert"]])');
    await page.touchscreen.tap(invert.x, invert.y);
    assertEqual(await dots(page), '1'.repeat(256), 'the picture after a tap on Invert');
}

// The page's modules take every text of the core's catalogue from it, so a
// translation of the catalogue reaches the whole page: none is typed again as a literal.
async function textsOnce(page) {
    const catalogue = await page.evaluate(async () => Object.values(window.tessaldoBench.core.texts()));
    const folder = fileURLToPath(new URL('../../web/page/', import.meta.url));
    const typed = [];
    for (const file of readdirSync(folder).filter((name) => name.endsWith('.js'))) {
        const source = readFileSync(join(folder, file), 'utf8');
        for (const text of catalogue) {
            if (["'", '"', '`'].some((quote) => source.includes(quote + text + quote)))
                typed.push(`${file}: ${text}`);
        }
    }
    assertEqual(typed.join('; '), '', 'texts of the catalogue typed in the page');
}

export const kChecks = [
    { name: 'no text of the core\'s catalogue is typed again in the page\'s modules', run: textsOnce, forms: ['file'] },
    { name: 'once visited, the site opens, draws and inserts text with its server gone', run: offline, forms: ['site'] },
    { name: 'a reload keeps the picture', run: reloadKeeps },
    { name: 'five mouse strokes in a row paint five whole rows, each one step', run: (page) => strokes(page, 'mouse') },
    { name: 'five touch strokes in a row paint five whole rows, each one step', run: (page) => strokes(page, 'touch') },
    { name: 'Copy as C Array copies the form chosen for it, after a reload too', run: arrayFormKept },
    { name: 'a button above the window offers every command of the grid\'s menu', run: menuButton },
    { name: 'on a phone a tap opens a submenu and runs nothing it puts under the finger', run: phoneSubmenus },
];
