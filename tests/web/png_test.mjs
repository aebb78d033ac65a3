// Imported PNGs give the dots of tessaldo-cli import in Chromium and Firefox:
// 16-bit samples, partial alpha, a palette with transparency and interlacing,
// with every dithering. Prints how many dots differ, and fails on any.
// Usage: node tests/web/png_test.mjs build-web/tessaldo.html build/bin/tessaldo-cli
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { crc32, deflateSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';

const [page, cli] = process.argv.slice(2).map((path) => resolve(path));
const dithers = ['none', 'floyd-steinberg', 'atkinson', 'bayer'];

function chunk(type, data) {
    const body = Buffer.concat([Buffer.from(type), data]);
    const length = Buffer.alloc(4);
    length.writeUInt32BE(data.length);
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(crc32(body));
    return Buffer.concat([length, body, crc]);
}

const kPasses = [[0, 0, 8, 8], [4, 0, 8, 8], [0, 4, 4, 8], [2, 0, 4, 4], [0, 2, 2, 4], [1, 0, 2, 2], [0, 1, 1, 2]];

// A PNG whose samples `sample(x, y, channel)` gives, 8 or 16 bits each, unfiltered.
function png({ width, height, depth, colour, channels, interlaced = false, extra = [], sample }) {
    const bytes = depth / 8;
    const rows = [];
    for (const [left, top, stepX, stepY] of interlaced ? kPasses : [[0, 0, 1, 1]]) {
        for (let y = top; y < height && left < width; y += stepY) {
            const row = [0];
            for (let x = left; x < width; x += stepX) {
                for (let c = 0; c < channels; ++c) {
                    const value = sample(x, y, c);
                    row.push(...(bytes === 2 ? [value >> 8, value & 255] : [value]));
                }
            }
            rows.push(Buffer.from(row));
        }
    }
    const header = Buffer.alloc(13);
    header.writeUInt32BE(width, 0);
    header.writeUInt32BE(height, 4);
    header.set([depth, colour, 0, 0, interlaced ? 1 : 0], 8);
    return Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n', 'latin1'), chunk('IHDR', header), ...extra,
        chunk('IDAT', deflateSync(Buffer.concat(rows))), chunk('IEND', Buffer.alloc(0))]);
}

// A smooth diagonal with a little noise, so that dithering and the low byte both matter.
let seed = 1;
const noise = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) >> 16) % 64;
const ramp = (x, y, scale) => Math.min(scale, Math.floor(((x + y) / 90) * scale) + noise() * (scale >> 8));
const size = { width: 48, height: 42 };
const palette = chunk('PLTE', Buffer.from(Array.from({ length: 16 }, (_, i) => [i * 17, 255 - i * 17, i * 9]).flat()));
const files = {
    'grey16.png': png({ ...size, depth: 16, colour: 0, channels: 1, sample: (x, y) => ramp(x, y, 65535) }),
    'rgb16.png': png({ ...size, depth: 16, colour: 2, channels: 3, sample: (x, y, c) => ramp(x + 7 * c, y, 65535) }),
    'rgba16.png': png({ ...size, depth: 16, colour: 6, channels: 4,
        sample: (x, y, c) => (c === 3 ? ramp(y, 0, 65535) : ramp(x, y + 5 * c, 65535)) }),
    'palette.png': png({ ...size, depth: 8, colour: 3, channels: 1, extra: [palette, chunk('tRNS', Buffer.from([0, 60, 128, 200]))],
        sample: (x, y) => (x * 3 + y * 5 + noise()) % 16 }),
    'interlaced.png': png({ ...size, depth: 16, colour: 0, channels: 1, interlaced: true, sample: (x, y) => ramp(y, x, 65535) }),
    'alpha8.png': png({ ...size, depth: 8, colour: 6, channels: 4,
        sample: (x, y, c) => (c === 3 ? (x * 5 + y * 3) % 256 : ramp(x, y + 9 * c, 255)) }),
};

// Damaged or odd files, refused by the page where tessaldo-cli refuses them.
const ramp8 = { width: 16, height: 16, depth: 8, colour: 0, channels: 1, sample: (x, y) => x * 16 + y };
const whole = png(ramp8);
const idat = whole.indexOf('IDAT') - 4;
const end = whole.length - 12;
const withData = (data) => Buffer.concat([whole.subarray(0, idat), chunk('IDAT', data), whole.subarray(end)]);
const zlibData = whole.subarray(idat + 8, end - 4);
const damaged = {
    'bad-checksum.png': withData(Buffer.concat([zlibData.subarray(0, -4), Buffer.alloc(4)])),
    'no-end.png': whole.subarray(0, end),
    'cut.png': whole.subarray(0, idat + 8 + zlibData.length / 2),
    'long-rows.png': withData(deflateSync(Buffer.alloc(17 * 17))),
    'short-rows.png': withData(deflateSync(Buffer.alloc(17 * 15))),
    'after-end.png': Buffer.concat([whole, Buffer.from('trailing')]),
};

const work = mkdtempSync(join(tmpdir(), 'png-test-'));
const launches = {
    chromium: { browser: 'chrome', executablePath: '/usr/bin/chromium', args: ['--headless=new', '--no-sandbox',
        '--disable-gpu', '--no-first-run', '--disable-background-networking', `--user-data-dir=${join(work, 'chromium')}`] },
    firefox: { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true },
};

// The dots as the drawing file the desktop saves holds them: '1' for a set dot.
const cliDots = (file, dither) => execFileSync(cli, ['import', file, '-', '--dither', dither]).toString('latin1')
    .split('\r\n')[1].split('').map((d) => (d === '0' ? '1' : '0')).join('');

const shownDots = () => Array.from({ length: 256 }, (_, dot) =>
    document.getElementById(`dot-${dot}`).getAttribute('aria-checked') === 'true' ? '1' : '0').join('');

// The dots the page shows after importing the file, once they are `expected`
// or, when they never become so, as they are after a while.
const dropFile = (tab, name, data) => tab.evaluate((name, bytes) => {
        const transfer = new DataTransfer();
        transfer.items.add(new File([Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0))], name, { type: 'image/png' }));
        document.getElementById('frmMain').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true }));
    }, name, data.toString('base64'));

async function importedDots(tab, name, data, dither, expected) {
    await dropFile(tab, name, data);
    await tab.waitForSelector('dialog[open] select#dither');
    await tab.evaluate((dither) => {
        const select = document.querySelector('dialog[open] select#dither');
        select.value = dither;
        select.dispatchEvent(new Event('input'));
        document.querySelector('dialog[open] button[value="ok"]').click();
    }, dither);
    await tab.waitForFunction(() => !document.querySelector('dialog[open]'));
    await tab.waitForFunction(`(${shownDots})() === '${expected}'`, { timeout: 5000 }).catch(() => {});
    return tab.evaluate(shownDots);
}

let differing = 0;
try {
    for (const [browserName, options] of Object.entries(launches)) {
        const browser = await puppeteer.launch(options);
        try {
            const tab = await browser.newPage();
            await tab.goto(pathToFileURL(page).href);
            await tab.waitForSelector('#dot-255');
            for (const [name, data] of Object.entries(files)) {
                const path = join(work, name);
                writeFileSync(path, data);
                const counts = [];
                for (const dither of dithers) {
                    const expected = cliDots(path, dither);
                    const got = await importedDots(tab, name, data, dither, expected);
                    const count = [...expected].filter((d, i) => d !== got[i]).length;
                    differing += count;
                    counts.push(`${dither} ${count}`);
                }
                console.log(`${browserName} ${name}: dots differing from tessaldo-cli import: ${counts.join(', ')}`);
            }
            for (const [name, data] of Object.entries(damaged)) {
                const path = join(work, name);
                writeFileSync(path, data);
                let cliRefuses = false;
                try {
                    execFileSync(cli, ['import', path, '-'], { stdio: 'pipe' });
                } catch {
                    cliRefuses = true;
                }
                await dropFile(tab, name, data);
                const shown = await tab.waitForSelector('dialog[open] select#dither, dialog[open] .message-text');
                const pageRefuses = await shown.evaluate((element) => element.matches('.message-text'));
                await tab.evaluate(() => document.querySelector('dialog[open] button').click());
                await tab.waitForFunction(() => !document.querySelector('dialog[open]'));
                differing += cliRefuses === pageRefuses ? 0 : 1;
                console.log(`${browserName} ${name}: tessaldo-cli ${cliRefuses ? 'refuses' : 'takes'} it, the page ${pageRefuses ? 'refuses' : 'takes'} it`);
            }
        } finally {
            await browser.close();
        }
    }
} finally {
    rmSync(work, { recursive: true, force: true });
}
process.exitCode = differing === 0 ? 0 : 1;
