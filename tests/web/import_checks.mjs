// Import Image against tessaldo-cli import on the same file: PNGs the
// browser's canvas would change (16-bit samples, partial alpha, a palette
// with transparency, interlacing) with every dithering, damaged PNGs refused
// alike, a phone photo turned as its EXIF orientation says, and an animated
// GIF played and taken at the frame chosen; XBM and PBM files.
import { execFileSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { deflateSync } from 'node:zlib';

import {
    assertEqual, chunk, cli, cliRefusal, dataFile, dropFiles, Failure, giveFile, kData, kWork, lcdDots, menu, png, waitFor,
    waitForDots, waitForText,
} from './harness.mjs';

const kDithers = ['none', 'floyd-steinberg', 'atkinson', 'bayer'];

// PNGs with a smooth diagonal and a little noise, so that dithering and a 16-bit sample's low byte both matter.
function pngsOfEveryKind() {
    let seed = 1;
    const noise = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) >> 16) % 64;
    const ramp = (x, y, scale) => Math.min(scale, Math.floor(((x + y) / 90) * scale) + noise() * (scale >> 8));
    const size = { width: 48, height: 42 };
    const palette = chunk('PLTE', Buffer.from(Array.from({ length: 16 }, (_, i) => [i * 17, 255 - i * 17, i * 9]).flat()));
    return {
        'grey16.png': png({ ...size, depth: 16, colour: 0, channels: 1, sample: (x, y) => ramp(x, y, 65535) }),
        'rgb16.png': png({ ...size, depth: 16, colour: 2, channels: 3, sample: (x, y, c) => ramp(x + 7 * c, y, 65535) }),
        'rgba16.png': png({ ...size, depth: 16, colour: 6, channels: 4,
            sample: (x, y, c) => (c === 3 ? ramp(y, 0, 65535) : ramp(x, y + 5 * c, 65535)) }),
        'palette.png': png({ ...size, depth: 8, colour: 3, channels: 1,
            extra: [palette, chunk('tRNS', Buffer.from([0, 60, 128, 200]))], sample: (x, y) => (x * 3 + y * 5 + noise()) % 16 }),
        'interlaced.png': png({ ...size, depth: 16, colour: 0, channels: 1, interlaced: true,
            sample: (x, y) => ramp(y, x, 65535) }),
        'alpha8.png': png({ ...size, depth: 8, colour: 6, channels: 4,
            sample: (x, y, c) => (c === 3 ? (x * 5 + y * 3) % 256 : ramp(x, y + 9 * c, 255)) }),
    };
}

// A small grey PNG damaged in each way a reader must notice, or odd in a way it must not mind.
function damagedPngs() {
    const whole = png({ width: 16, height: 16, depth: 8, colour: 0, channels: 1, sample: (x, y) => x * 16 + y });
    const idat = whole.indexOf('IDAT') - 4;
    const end = whole.length - 12;
    const withData = (data) => Buffer.concat([whole.subarray(0, idat), chunk('IDAT', data), whole.subarray(end)]);
    const zlibData = whole.subarray(idat + 8, end - 4);
    return {
        'bad-checksum.png': withData(Buffer.concat([zlibData.subarray(0, -4), Buffer.alloc(4)])),
        'no-end.png': whole.subarray(0, end),
        'cut.png': whole.subarray(0, idat + 8 + zlibData.length / 2),
        'long-rows.png': withData(deflateSync(Buffer.alloc(17 * 17))),
        'short-rows.png': withData(deflateSync(Buffer.alloc(17 * 15))),
        'after-end.png': Buffer.concat([whole, Buffer.from('trailing')]),
        'empty.png': Buffer.alloc(0),
        'junk.png': Buffer.from('no picture at all\n'),
    };
}

// Import Image… from the menu: a dropped PBM or XBM would open at its own size instead.
async function chooseForImport(page, name, data) {
    await giveFile(page, name, data);
    await menu(page, 'Import Image…');
}

async function openImport(page, name, data) {
    await chooseForImport(page, name, data);
    await page.waitForSelector('dialog[open] select#dither');
}

async function importWith(page, name, data, dither) {
    await openImport(page, name, data);
    await page.select('dialog[open] select#dither', dither);
    await page.click('dialog[open] button[value="ok"]');
}

// Written where the command line can read it, under the name the page is given.
function saved(name, data) {
    const file = join(kWork, name);
    writeFileSync(file, data);
    return file;
}

async function sameDotsAsCli(page, name, data, dithers) {
    const file = saved(name, data);
    for (const dither of dithers) {
        await importWith(page, name, data, dither);
        await waitForDots(page, lcdDots(cli('import', file, '-', '--dither', dither))).catch((error) => {
            throw new Failure(`${name} with ${dither} dithering: ${error.message}`);
        });
    }
}

async function pngs(page) {
    // A refusal is the page's message, not an error left uncaught behind it.
    const uncaught = [];
    page.on('pageerror', (error) => uncaught.push(error.message));
    for (const [name, data] of Object.entries(pngsOfEveryKind()))
        await sameDotsAsCli(page, name, data, kDithers);
    for (const [name, data] of Object.entries(damagedPngs())) {
        const expected = cliRefusal(['import', '-', '-'], data) !== '';
        await dropFiles(page, [[name, data]]);
        const shown = await page.waitForSelector('dialog[open] select#dither, dialog[open] .message-text');
        assertEqual(await shown.evaluate((element) => element.matches('.message-text')), expected, name, 'refused');
        await page.click('dialog[open] button');
        await waitFor(page, () => !document.querySelector('dialog[open]'));
    }
    assertEqual(uncaught, [], 'uncaught errors');
}

// A JPEG as a phone stores it: the sensor's picture, not turned, with an
// EXIF orientation of 6 (turn a quarter clockwise) right after its start.
// The browser encodes it; grey, so that its colours' subsampling cannot
// tell decoders apart.
async function phonePhoto(page) {
    const base64 = await page.evaluate(async () => {
        const canvas = new OffscreenCanvas(60, 36);
        const context = canvas.getContext('2d');
        for (let x = 0; x < 60; ++x) {
            context.fillStyle = `rgb(${x * 4} ${x * 4} ${x * 4})`;
            context.fillRect(x, 0, 1, 36);
        }
        context.fillStyle = 'black';
        context.fillRect(40, 4, 14, 6); // a mark in one corner, so that any turn moves it
        const bytes = new Uint8Array(await (await canvas.convertToBlob({ type: 'image/jpeg', quality: 0.95 })).arrayBuffer());
        return btoa(String.fromCharCode(...bytes));
    });
    const stored = Buffer.from(base64, 'base64');
    // A big-endian TIFF header and one entry: orientation (0x0112), one short, 6.
    const exif = Buffer.from('Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0', 'latin1');
    const length = Buffer.alloc(2);
    length.writeUInt16BE(exif.length + 2);
    return Buffer.concat([stored.subarray(0, 2), Buffer.from([0xff, 0xe1]), length, exif, stored.subarray(2)]);
}

async function photo(page) {
    await sameDotsAsCli(page, 'photo.jpg', await phonePhoto(page), ['none', 'floyd-steinberg']);
}

// Some encoders write a GIF's screen as 65535 x 65535 around a small frame;
// it is read on its frame's screen, as ImageMagick and the desktop read it.
async function giantScreenGif(page) {
    const gif = execFileSync('convert', ['-size', '20x12', 'gradient:black-white', 'gif:-']);
    gif.writeUInt16LE(65535, 6);
    gif.writeUInt16LE(65535, 8);
    await sameDotsAsCli(page, 'giant-screen.gif', gif, ['none']);
}

const frameLabel = (page) => waitForText(page, 'dialog[open] #frameLabel');

async function animatedGif(page) {
    const gif = 'partial-frames.gif';
    // Each line: the frame's file, then its delay.
    const listed = cli('import', join(kData, gif), '--each', join(kWork, 'frames')).toString().trim().split('\n')
        .map((line) => line.split(' '));
    await openImport(page, gif, dataFile(gif));
    assertEqual(await frameLabel(page), `Frame 1 of 3, ${listed[0].slice(-2).join(' ')}`);
    await page.click('dialog[open] #play');
    await waitFor(page, () => !document.querySelector('dialog[open] #frameLabel').innerText.startsWith('Frame 1 '));
    await page.click('dialog[open] #play'); // paused, so that the frame chosen stays
    await page.focus('dialog[open] #frame');
    await page.keyboard.press('End');
    await waitFor(page, () => document.querySelector('dialog[open] #frameLabel').innerText.startsWith('Frame 3 of 3,'));
    await page.click('dialog[open] button[value="ok"]');
    await waitForDots(page, lcdDots(readFileSync(listed[2].slice(0, -2).join(' '))));
}

// XBM and PBM read by the core, not the browser: a 16 x 16 one dot for dot
// with the options disabled, another size fitted as any image, and a cut one
// refused with the command line's reason.
async function bitmaps(page) {
    const bits = Array.from({ length: 32 }, (_, i) => `0x${((i * 37 + 11) & 0xff).toString(16)}`).join(', ');
    const xbm = `/* drawn elsewhere */\n#define icon_width 16\n#define icon_height 16\nstatic unsigned char icon_bits[] = {\n   ${bits} };\n`;
    const file = saved('icon.xbm', xbm);
    await openImport(page, 'icon.xbm', xbm);
    assertEqual(await waitForText(page, 'dialog[open] #note'),
        'A 16 x 16 bitmap is taken dot for dot: fit, threshold, dithering and invert do not change it.');
    assertEqual(await page.$eval('dialog[open] #threshold', (box) => box.disabled), true, 'threshold disabled');
    await page.click('dialog[open] button[value="ok"]');
    await waitForDots(page, lcdDots(cli('import', file, '-')));

    const raster = Buffer.from(Array.from({ length: 3 * 12 }, (_, i) => (i * 73 + 5) & 0xff));
    const pbm = Buffer.concat([Buffer.from('P4\n# wider than tall\n20 12\n'), raster]);
    await sameDotsAsCli(page, 'wide.pbm', pbm, ['none', 'atkinson']);

    const cut = pbm.subarray(0, pbm.length - 5);
    await chooseForImport(page, 'cut.pbm', cut);
    assertEqual(await waitForText(page, 'dialog[open] .message-text'),
        `Cannot import "cut.pbm": ${cliRefusal(['import', '-', '-'], cut).split(': ').slice(1).join(': ')}`);
    await page.click('dialog[open] button');
    await waitFor(page, () => !document.querySelector('dialog[open]'));
}

export const kChecks = [
    // Thirty imports, each against the command line: the site form's page decodes them with the same code.
    { name: 'imported PNGs of every kind give tessaldo-cli import\'s dots with every dithering; damaged ones are refused alike',
        run: pngs, forms: ['file'] },
    { name: 'a phone photo turned by its EXIF orientation gives tessaldo-cli import\'s dots', run: photo },
    { name: 'a GIF whose screen is far larger than its frame gives tessaldo-cli import\'s dots', run: giantScreenGif,
        forms: ['file'] },
    { name: 'an animated GIF in Import Image plays, and OK takes the frame chosen on the slider', run: animatedGif },
    { name: 'imported XBM and PBM files give tessaldo-cli import\'s dots, a 16 x 16 one dot for dot', run: bitmaps },
];
