// What a new user lost or was not told: the work of tabs kept apart and
// offered again, files saved where they came from under the names they had,
// downloads that are no saves, and the site's and the link's limits said.
import { execFileSync } from 'node:child_process';
import { cpSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

import { serveFolder } from '../../scripts/serve_site.mjs';
import {
    answer, assert, assertEqual, clickDot, dots, drawingFile, forget, giveFile, keys, kWork, menu, message, open, press,
    recorded, retype, shownResult, waitFor, waitForDots,
} from './harness.mjs';

const kClear = '0'.repeat(256);
const only = (...set) => Array.from({ length: 256 }, (_, dot) => (set.includes(dot) ? '1' : '0')).join('');

// A link over unsaved work asks first; a new tab, which holds none, opens it at once.
async function linkAsks(page, where) {
    await clickDot(page, 17);
    await forget(page, 'clipboard');
    await menu(page, 'Copy Link');
    if (where.form === 'file')
        assert((await message(page)).includes('opens only here'), 'a link to a file on this machine is not said to be one');
    else
        assertEqual(await shownResult(page), 'The link is on the clipboard.', 'what Copy Link shows');
    const link = await recorded(page, 'clipboard');
    await keys(page, '#lbDot', 'Control+z');
    await clickDot(page, 200);
    const tab = await page.browserContext().newPage();
    await open(tab, link);
    assertEqual(await dots(tab), only(17), 'the linked picture in a new tab');
    await tab.close();
    await page.evaluate((address) => { location.href = address; }, link);
    assertEqual(await answer(page, 'Cancel'), 'Save changes to the picture?');
    assertEqual(await dots(page), only(200), 'the work kept');
    await page.evaluate((address) => { location.href = address; }, link);
    assertEqual(await answer(page, 'Discard'), 'Save changes to the picture?');
    await waitForDots(page, only(17));
    await keys(page, '#lbDot', 'Control+z');
    assertEqual(await dots(page), only(200), 'one Ctrl+Z after the link');
}

// Two tabs, the first closed, the other changed after: a new tab starts clear and offers the first's work.
async function tabsApart(page) {
    await clickDot(page, 5);
    const other = await page.browserContext().newPage();
    await open(other, page.url());
    assertEqual(await dots(other), kClear, 'a new tab starts clear');
    await clickDot(other, 9);
    await page.close();
    await clickDot(other, 10);
    const third = await other.browserContext().newPage();
    await third.setViewport({ width: 1920, height: 1400 });
    await open(third, other.url());
    assertEqual(await dots(third), kClear, 'a third tab starts clear');
    const offered = await third.$$eval('#restoreOffer button.restore', (shown) => shown.map((button) => button.textContent));
    assertEqual(offered.length, 1, 'the Restore offered, for the closed tab only');
    assert(offered[0].startsWith('Restore 1 picture, '), offered[0]);
    const zoom = (selector) => third.$eval(selector, (element) => element.currentCSSZoom);
    assertEqual(await zoom('#restoreOffer'), await zoom('#frmMain'), 'the offer\'s zoom, as the window\'s');
    await third.click('#restoreOffer button.restore');
    await waitForDots(third, only(5));
    assertEqual(await dots(other), only(9, 10), 'the open tab\'s work');
}

// Save offers the opened file's name and Ctrl+S writes to it again; the title names it and marks changes.
async function savesWhereOpened(page) {
    const version = (await page.title()).split(' ')[1];
    await page.evaluate(() => {
        window.showOpenFilePicker = async () => [{ name: 'bell.Lcd', getFile: async () => window.nextFile,
            createWritable: async () => ({
                write: async (blob) => { window.recorded.again = new Uint8Array(await blob.arrayBuffer()); },
                close: async () => {},
            }) }];
    });
    await giveFile(page, 'bell.Lcd', drawingFile(only(3), 0));
    await press(page, 'Open');
    await waitForDots(page, only(3));
    assertEqual(await page.title(), `bell.Lcd - Tessaldo ${version}`);
    await clickDot(page, 4);
    assertEqual(await page.title(), `bell.Lcd* - Tessaldo ${version}`);
    await keys(page, '#lbDot', 'Control+s');
    assertEqual(Buffer.from(await recorded(page, 'again')).toString(), drawingFile(only(3, 4), 0).toString());
    assert(!('suggested' in await page.evaluate(() => window.recorded)), 'Ctrl+S asked again');
    await waitFor(page, (want) => document.title === want, `bell.Lcd - Tessaldo ${version}`);
    await press(page, 'Save');
    assertEqual(await recorded(page, 'suggested'), 'bell.Lcd', 'the name Save offers');
}

// Where the browser has no save picker: a name that names no file is refused, and a download is no save.
async function downloadsStayUnsaved(page) {
    await page.evaluate(() => {
        delete window.showSaveFilePicker;
        URL.createObjectURL = (blob) => { window.recorded.downloads = (window.recorded.downloads || 0) + 1; return `blob:${blob.size}`; };
    });
    await clickDot(page, 1);
    await press(page, 'Save');
    for (const typed of ['', '   ', '.Lcd']) {
        await retype(page, 'dialog[open] #saveName', typed);
        await page.click('dialog[open] button[value="save"]');
        const refusal = await waitFor(page, () => document.querySelector('dialog[open] #problem:not([hidden])')?.textContent);
        assert(refusal.startsWith('Type a name for the file'), typed, refusal);
    }
    await retype(page, 'dialog[open] #saveName', 'dot');
    await page.click('dialog[open] button[value="save"]');
    assertEqual(await recorded(page, 'downloads'), 1, 'downloads');
    await waitFor(page, () => document.getElementById('status')?.textContent.startsWith('Downloaded "dot.Lcd"'));
    assert(await page.evaluate(() => document.title.startsWith('dot.Lcd*')), 'a download marked the picture saved');
}

// Where the browser writes no folder, Save Set as Folder offers one zip of the folder, which Python's zipfile
// reads back as the drawing files, or one header.
async function folderAsZip(page) {
    await page.evaluate(() => {
        delete window.showDirectoryPicker;
        URL.createObjectURL = (blob) => {
            blob.arrayBuffer().then((bytes) => { window.recorded.download = new Uint8Array(bytes); });
            return 'blob:zip';
        };
        HTMLAnchorElement.prototype.click = function named() { window.recorded.downloadName = this.download; };
        window.showSaveFilePicker = async () => ({
            name: 'icons.h', getFile: async () => new File([''], 'icons.h'),
            createWritable: async () => ({
                write: async (blob) => { window.recorded.saved = await blob.text(); }, close: async () => {},
            }),
        });
    });
    await clickDot(page, 7);
    await keys(page, '#lbDot', 'Insert', 'Insert');
    await menu(page, 'Set', 'Save Set as Folder…');
    assertEqual(await answer(page, 'Download Zip'), 'This browser lets a page write no folder: it would download each '
        + 'of the 3 pictures as a file of its own, all at once. Download the folder as one zip archive, or save the set '
        + 'as one header?');
    assertEqual(await recorded(page, 'downloadName'), 'icons.zip');
    const zip = join(kWork, 'icons.zip');
    writeFileSync(zip, Buffer.from(await recorded(page, 'download')));
    const files = JSON.parse(execFileSync('python3', ['-c', 'import json, sys, zipfile\n'
        + 'z = zipfile.ZipFile(sys.argv[1])\nassert z.testzip() is None\n'
        + 'print(json.dumps({n: z.read(n).decode() for n in z.namelist()}))', zip]).toString());
    assertEqual(Object.keys(files), ['icons/picture.Lcd', 'icons/picture_2.Lcd', 'icons/picture_3.Lcd']);
    assertEqual(files['icons/picture.Lcd'], drawingFile(only(7), 0).toString());
    assertEqual(files['icons/picture_3.Lcd'], drawingFile(kClear, 0).toString());
    await menu(page, 'Set', 'Save Set as Folder…');
    await answer(page, 'Save Header…');
    assert((await recorded(page, 'saved')).length > 0, 'no header saved');
}

// A header of nearly 16 MiB, the most Open Set reads: 62,000 and more arrays of the module's 33 bytes.
function largestHeader() {
    const arrays = [];
    let size = 0;
    for (let index = 0; size < (16 << 20) - 300; ++index) {
        const bytes = Array.from({ length: 32 }, (_, at) => `0x${((index * 31 + at * 7) & 255).toString(16).padStart(2, '0')}`);
        const array = `static const unsigned char icon_${index}[33] = {\n    0xA4,\n    ${bytes.join(', ')}\n};\n\n`;
        arrays.push(array);
        size += array.length;
    }
    return { text: arrays.join(''), count: arrays.length };
}

// The largest header is read while the page answers: its progress is shown, Cancel keeps the work, and it opens.
async function largeHeaderAnswers(page) {
    const { text, count } = largestHeader();
    await giveFile(page, 'icons.h', Buffer.from(text));
    await keys(page, '#lbDot', 'Control+Shift+O');
    await page.waitForSelector('dialog[open] progress');
    await page.click('dialog[open] button');
    await waitFor(page, () => !document.querySelector('dialog[open]'));
    assertEqual(await page.evaluate(() => window.tessaldoBench.session().count()), 1, 'pictures after Cancel');
    await keys(page, '#lbDot', 'Control+Shift+O');
    await waitFor(page, (want) => window.tessaldoBench.session().count() === want, count);
}

// A copy of the site, served, whose service worker a test may change as a new build would.
async function servedCopy(site, name) {
    const copy = join(kWork, name);
    cpSync(site, copy, { recursive: true, dereference: true });
    return { copy, server: await serveFolder(copy) };
}

// Any address under the site opens the page once its worker keeps it, a fragment's picture included.
async function deeperAddress(page, where) {
    const { server } = await servedCopy(where.site, 'deeper');
    try {
        await open(page, server.url);
        await waitFor(page, () => navigator.serviceWorker?.controller !== null);
        await clickDot(page, 33);
        await forget(page, 'clipboard');
        await menu(page, 'Copy Link');
        const fragment = (await recorded(page, 'clipboard')).split('#')[1];
        const tab = await page.browserContext().newPage();
        await open(tab, `${server.url}some/deeper/place#${fragment}`);
        assertEqual(await dots(tab), only(33), 'the linked picture at a deeper address');
    } finally {
        await server.close();
    }
}

// A new build found on a visit is announced, for the next start.
async function newVersionSaid(page, where) {
    const { copy, server } = await servedCopy(where.site, 'newer');
    try {
        await open(page, server.url);
        await waitFor(page, () => navigator.serviceWorker?.controller !== null);
        await open(page, server.url);
        const worker = join(copy, 'sw.js');
        writeFileSync(worker, readFileSync(worker, 'utf8').replace(/const kVersion = '([^']*)'/, "const kVersion = '$1-next'"));
        await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
        await waitFor(page, () => document.getElementById('status')?.textContent.startsWith('A new version of Tessaldo is ready'));
    } finally {
        await server.close();
    }
}

export const kChecks = [
    { name: 'a link over unsaved work asks first, and opens at once in a new tab', run: linkAsks },
    { name: 'each tab keeps its work apart; a new tab offers what a closed one left', run: tabsApart },
    { name: 'Save offers the opened file, Ctrl+S writes to it again, the title names it and marks changes',
        run: savesWhereOpened },
    { name: 'without a save picker, a nameless name is refused and a download stays unsaved', run: downloadsStayUnsaved },
    { name: 'Save Set as Folder where no folder can be written offers a zip or one header', run: folderAsZip },
    { name: 'the largest header opens while the page answers, with its progress and Cancel', run: largeHeaderAnswers },
    { name: 'an address deeper under the site opens the page with its picture', run: deeperAddress, forms: ['site'] },
    { name: 'a new version found on a visit is announced for the next start', run: newVersionSaid, forms: ['site'] },
];
