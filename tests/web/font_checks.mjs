// Fonts the page opens, by Open and by a drop: TrueType drawn by the page's
// own FreeType at the size asked for, and BDFs, each giving the very glyphs
// the command line's import makes of the same font; saved as u8g2's font,
// the very bytes its font command writes; a sample line in the display
// preview; the baseline drawn and moved; a text's glyphs kept and a glyph
// added.
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';

import {
    assert, assertEqual, cli, dropFiles, giveFile, kWork, leavingAsks, press, ready, recorded, retype, standIns, strip,
    waitFor,
} from './harness.mjs';

const kDejaVu = '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf';

// One of Debian's X11 fonts as BDF, made as the reference fonts' were: its PCF through pcf2bdf.
function debianBdf(stem) {
    const [pcf, bdf] = ['pcf', 'bdf'].map((ending) => join(kWork, `${stem}.${ending}`));
    execFileSync('sh', ['-c', `zcat /usr/share/fonts/X11/misc/${stem}.pcf.gz > '${pcf}' && pcf2bdf -o '${bdf}' '${pcf}'`]);
    return bdf;
}

// Opens the font as a user would, by Open or by a drop, giving the pixel size where one is asked.
async function openFont(page, file, size, how) {
    const name = file.split('/').pop();
    // The set's count and size, which each font here changes.
    const shape = (was) => {
        const made = window.tessaldoBench.session();
        const now = JSON.stringify([made.count(), made.size()]);
        return was === undefined ? now : now !== was;
    };
    const before = await page.evaluate(shape);
    if (how === 'drop')
        await dropFiles(page, [[name, readFileSync(file)]]);
    else {
        await giveFile(page, name, readFileSync(file));
        await press(page, 'Open');
    }
    if (size) {
        await page.waitForSelector('dialog[open] #fontPixelSize');
        await retype(page, 'dialog[open] #fontPixelSize', String(size));
        await page.click('dialog[open] button[value="ok"]');
    }
    await waitFor(page, shape, before);
}

// The set the page holds against the one `tessaldo-cli import` makes of the font, each as its pictures' names and
// dots (the page's set keeps the font's metrics too, which a header has no place for).
async function glyphsAgainstImport(page, file, size) {
    const header = join(kWork, 'glyphs.h');
    cli('import', file, ...(size ? ['--size', String(size)] : []), header);
    return page.evaluate((text) => {
        const { core, session } = window.tessaldoBench;
        const imported = new core.Session();
        const pictures = (made) => Array.from({ length: made.count() },
            (_, index) => `${made.pictureName(index)} ${made.pictureDots(index)}`).join('\n');
        try {
            imported.openSetText('glyphs.h', text, '');
            return { page: session().count(), imported: imported.count(),
                same: pictures(session()) === pictures(imported) };
        } finally {
            imported.delete();
        }
    }, readFileSync(header, 'utf8'));
}

// A command of the Font menu, through the menu button that stands above a canvas of any size.
async function fontCommand(page, caption) {
    await page.click('#menuButton');
    for (const item of ['Font', caption])
        await page.click(`::-p-xpath(//*[starts-with(@role, "menuitem")][span[text()="${item}"]])`);
}

// A command of the Font menu whose dialog asks for one line, answered with `typed`; the set's count after.
async function answeredCommand(page, caption, input, typed) {
    await fontCommand(page, caption);
    await page.waitForSelector(`dialog[open] #${input}`);
    await page.type(`dialog[open] #${input}`, typed);
    await page.click('dialog[open] button[value="ok"]');
    return waitFor(page, () => !document.querySelector('dialog[open]') && window.tessaldoBench.session().count());
}

// How many of the display preview's pixels differ from its top left one, the sample line being `typed` ('' keeps it).
async function previewInk(page, typed) {
    if (typed)
        await retype(page, '#previewSample', typed);
    // Drawn on the next frame.
    await page.waitForFunction(() => new Promise((resolve) => requestAnimationFrame(() => resolve(true))));
    return page.evaluate(() => {
        const canvas = document.getElementById('previewCanvas');
        const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
        const ground = data.slice(0, 4).join();
        let ink = 0;
        for (let at = 0; at < data.length; at += 4)
            ink += data.slice(at, at + 4).join() !== ground;
        return ink;
    });
}

// The canvas's first row of device pixels in the baseline's colour, counted from 1, once it is another than `was`;
// 0 for none.
function baselineRow(was) {
    const canvas = document.querySelector('#canvasBox canvas');
    const { data } = canvas.getContext('2d').getImageData(0, 0, 1, canvas.height);
    const at = data.findIndex((_, byte) => byte % 4 === 0 && data.slice(byte, byte + 3).join() === '30,100,220');
    const row = at < 0 ? 0 : at / 4 + 1;
    return row !== was && row;
}

// Whether the canvas shows the advance's line: a pixel in its colour along the canvas's middle row.
function advanceShown() {
    const canvas = document.querySelector('#canvasBox canvas');
    const { data } = canvas.getContext('2d').getImageData(0, canvas.height >> 1, canvas.width, 1);
    return data.some((_, byte) => byte % 4 === 0 && data.slice(byte, byte + 3).join() === '220,50,30');
}

// What Save Font As… writes to a file named `name`, a u8g2 font in the mode chosen first where it asks.
async function savedFont(page, name) {
    await page.evaluate((chosen) => {
        window.showSaveFilePicker = async () => ({
            name: chosen,
            createWritable: async () => ({
                write: async (blob) => { window.recorded.saved = new Uint8Array(await blob.arrayBuffer()); },
                close: async () => {},
            }),
        });
    }, name);
    await fontCommand(page, 'Save Font As…');
    if (name.endsWith('.c')) {
        await page.waitForSelector('dialog[open] #u8g2Mode');
        await page.click('dialog[open] button[value="ok"]');
    }
    return Buffer.from(await recorded(page, 'saved'));
}

const kFonts = [
    { file: () => kDejaVu, size: 12, how: 'open' },
    { file: () => kDejaVu, size: 16, how: 'drop' },
    { file: () => debianBdf('6x13'), size: 0, how: 'open' },
    // Last, as its edits leave work that another font would ask about.
    { file: () => debianBdf('5x7'), size: 0, how: 'drop', u8g2: 'u8g2_font_5x7.c' },
];

async function fontsAsImported(page) {
    const rasterStarted = () => page.evaluate(() => typeof globalThis.TessaldoFontRaster === 'function');
    for (const [index, { file, size, how, u8g2 }] of kFonts.entries()) {
        const path = file();
        // FreeType's module waits for the first TrueType font, the first here: the page starts without it.
        assertEqual(await rasterStarted(), index > 0, `FreeType started before ${path} at ${size} px`);
        await openFont(page, path, size, how);
        const found = await glyphsAgainstImport(page, path, size);
        assertEqual(found, { page: found.imported, imported: found.imported, same: true }, `${path} at ${size} px, ${how}`);
        if (u8g2) {
            cli('font', path, '--output', join(kWork, u8g2));
            assertEqual((await savedFont(page, u8g2)).toString(), readFileSync(join(kWork, u8g2), 'utf8'), u8g2);
            // The display preview draws a line of the font's first characters, then the line typed.
            assert(await previewInk(page, '') > 0, 'the preview draws the font\'s own sample');
            assert(await previewInk(page, '.') < await previewInk(page, '23.5°C'), 'the preview draws the typed line');
            // The canvas draws the glyph's baseline, which Baseline Up moves a row up.
            const baseline = await waitFor(page, baselineRow, -1);
            await fontCommand(page, 'Baseline Up');
            assert(baseline > 0 && await waitFor(page, baselineRow, baseline) < baseline, 'the baseline moved up', baseline);
            // A status line's own glyphs kept, then one the font lacks added by its character.
            assertEqual(await answeredCommand(page, 'Glyphs from Text…', 'glyphsText', '23.5°C'), 6, 'glyphs of 23.5°C');
            assertEqual(await answeredCommand(page, 'Add Glyph…', 'glyphCharacter', '온'), 7, 'a glyph added');
        }
    }
}

// The set as the BDF Save Font As… would write, every metric in it.
function fontAsBdf(page) {
    return page.evaluate(() => window.tessaldoBench.session().fontFile('kept.bdf', 0).text);
}

// A font's work comes back after a reload as the same font, its baseline moved before and still unsaved; once
// saved by Save Font As…, leaving asks nothing.
async function fontKeptAndSaved(page) {
    await openFont(page, debianBdf('5x7'), 0, 'drop');
    await fontCommand(page, 'Baseline Up');
    const moved = await fontAsBdf(page);
    await page.reload();
    await ready(page);
    await standIns(page);
    assertEqual(await fontAsBdf(page), moved, 'the font after a reload');
    assert(await leavingAsks(page), 'the moved baseline is still unsaved');
    assertEqual((await savedFont(page, 'kept.bdf')).toString(), moved, 'the font saved');
    assertEqual(await leavingAsks(page), false, 'leaving asks after Save Font As…');
}

// An advance far past the glyph's cell is still drawn: the canvas makes room for it.
async function advancePastCell(page) {
    await openFont(page, debianBdf('5x7'), 0, 'open');
    assert(await waitFor(page, advanceShown), 'the advance at the cell\'s edge');
    const wider = async () => {
        const was = await page.evaluate(() => window.tessaldoBench.session().glyphLines().advance);
        await fontCommand(page, 'Advance Wider');
        await waitFor(page, (before) => window.tessaldoBench.session().glyphLines().advance > before, was);
    };
    for (let step = 0; step < 15; ++step)
        await wider();
    await page.waitForFunction(() => new Promise((resolve) => requestAnimationFrame(() => resolve(true))));
    assert(await page.evaluate(advanceShown), 'the advance four cells past the cell');
}

// The strip captions each glyph by its character, a blank or control one by its code; the preview's line is one
// the display it picks holds whole, and the text Glyphs from Text… kept.
async function charactersAndSample(page) {
    await openFont(page, debianBdf('5x7'), 0, 'open');
    await page.waitForFunction(() => new Promise((resolve) => requestAnimationFrame(() => resolve(true))));
    assertEqual((await strip(page)).slice(0, 3).map(([caption]) => caption), ['U+0000', 'U+0020', '!'], 'the strip');
    const ink = await previewInk(page, '');
    await page.select('#previewDisplay', await page.$eval('#previewDisplay', (select) => select.options[select.length - 1].value));
    assertEqual(await previewInk(page, ''), ink, 'the line on the widest display, as on the one picked');
    await answeredCommand(page, 'Glyphs from Text…', 'glyphsText', '23.5°C');
    assertEqual(await page.$eval('#previewSample', (sample) => sample.value), '23.5°C', 'the preview\'s line');
}

export const kChecks = [
    { name: 'fonts: DejaVu Sans at 12 and 16 px (FreeType started then) and BDFs, opened or dropped, give the glyphs '
        + 'tessaldo-cli import makes; saved as u8g2, the bytes tessaldo-cli font writes; the preview, the baseline, Glyphs from Text… and Add Glyph…',
        run: fontsAsImported },
    { name: 'fonts: 5x7 with its baseline moved comes back whole after a reload; Save Font As… leaves nothing unsaved',
        run: fontKeptAndSaved },
    { name: 'fonts: an advance widened far past the cell of 5x7 is drawn on the canvas', run: advancePastCell },
    { name: 'fonts: the strip shows 5x7\'s characters; the preview picks a display that holds its line, then the text '
        + 'Glyphs from Text… kept', run: charactersAndSample },
];
