// The page as an app people keep: it works offline once visited, keeps the
// picture across a reload, and takes a touch drag as one step.
import { existsSync, mkdirSync, symlinkSync } from 'node:fs';
import { join } from 'node:path';

import { serveFolder } from '../../scripts/serve_site.mjs';
import {
    assertEqual, centre, clickDot, dots, forget, insertText, keys, kWork, menu, open, ready, recorded, standIns, waitFor,
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
    assertEqual((await recorded(page, 'clipboard')).split('\n').slice(0, 4), ['#define picture_width 16',
        '#define picture_height 16', 'static unsigned char picture_bits[] = {',
        '   0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,'], 'the copied XBM');
}

// A finger drawn along row 1 from the first column to the last (dots 1, 17, ... 241), then one Ctrl+Z.
async function touchDrag(page) {
    const [start, end] = [await centre(page, '#dot-1'), await centre(page, '#dot-241')];
    await page.touchscreen.touchStart(start.x, start.y);
    const steps = 8;
    for (let step = 1; step <= steps; ++step)
        await page.touchscreen.touchMove(start.x + ((end.x - start.x) * step) / steps,
            start.y + ((end.y - start.y) * step) / steps);
    await page.touchscreen.touchEnd();
    const painted = Array.from({ length: 256 }, (_, dot) => (dot % 16 === 1 ? '1' : '0')).join('');
    assertEqual(await dots(page), painted, 'the dragged row');
    await keys(page, '#lbDot', 'Control+z');
    assertEqual(await dots(page), '0'.repeat(256), 'one Ctrl+Z after the drag');
}

export const kChecks = [
    { name: 'once visited, the site opens, draws and inserts text with its server gone', run: offline, forms: ['site'] },
    { name: 'a reload keeps the picture', run: reloadKeeps },
    { name: 'a touch drag paints as the mouse does, as one step', run: touchDrag },
    { name: 'Copy as C Array copies the form chosen for it, after a reload too', run: arrayFormKept },
];
