// The site form as a web host holds it: every file named relatively and kept
// by the service worker, the manifest's icons what it says they are, and the
// site working from a folder deep in the host, then with the host gone, in
// Chromium and in Firefox.
// Usage: node tests/web/site_test.mjs SITE_DIR
import assert from 'node:assert/strict';
import { mkdirSync, mkdtempSync, readdirSync, readFileSync, symlinkSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { inflateSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';
import { serveFolder } from '../../scripts/serve_site.mjs';

const kSite = resolve(process.argv[2]);

// Width, height and RGBA rows of an 8-bit RGBA PNG without interlacing, as make_icons.py writes them.
function readPng(file) {
    const bytes = readFileSync(file);
    let width = 0;
    let height = 0;
    const data = [];
    for (let at = 8; at < bytes.length;) {
        const length = bytes.readUInt32BE(at);
        const kind = bytes.toString('latin1', at + 4, at + 8);
        const body = bytes.subarray(at + 8, at + 8 + length);
        if (kind === 'IHDR') {
            [width, height] = [body.readUInt32BE(0), body.readUInt32BE(4)];
            assert.deepEqual([...body.subarray(8, 13)], [8, 6, 0, 0, 0], `${file}: not 8-bit RGBA`);
        } else if (kind === 'IDAT') {
            data.push(body);
        }
        at += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(data));
    const rows = [];
    for (let y = 0; y < height; ++y) {
        assert.equal(raw[y * (4 * width + 1)], 0, `${file}: row ${y} is filtered`);
        rows.push(raw.subarray(y * (4 * width + 1) + 1, (y + 1) * (4 * width + 1)));
    }
    return { width, height, rows };
}

function checkFiles() {
    const files = readdirSync(kSite);
    const html = readFileSync(join(kSite, 'index.html'), 'utf8');
    for (const [, address] of html.matchAll(/\b(?:src|href)="([^"#][^"]*)"/g)) {
        assert.doesNotMatch(address, /^(?:\/|[a-z]+:)/i, `index.html names ${address}, which is not relative`);
        assert.ok(files.includes(address), `index.html names ${address}, which the site lacks`);
    }
    const worker = readFileSync(join(kSite, 'sw.js'), 'utf8');
    const kept = JSON.parse(worker.match(/const kFiles = (\[.*\]);/)[1]);
    const expected = files.filter((file) => file !== 'sw.js').map((file) => (file === 'index.html' ? './' : file));
    assert.deepEqual([...kept].sort(), expected.sort(), 'the service worker keeps every other file');

    const manifest = JSON.parse(readFileSync(join(kSite, 'manifest.webmanifest'), 'utf8'));
    assert.equal(manifest.start_url, '.');
    assert.equal(manifest.scope, '.');
    const purposes = new Set();
    for (const icon of manifest.icons) {
        const size = Number(icon.sizes.split('x')[0]);
        const png = readPng(join(kSite, icon.src));
        assert.deepEqual([png.width, png.height], [size, size], `${icon.src} is ${icon.sizes}`);
        purposes.add(`${icon.purpose} ${size}`);
        if (icon.purpose === 'maskable')
            checkSafeZone(icon.src, png);
    }
    assert.deepEqual([...purposes].sort(), ['any 192', 'any 512', 'maskable 192', 'maskable 512']);
}

// A mask may cut all but the central circle of 80 % of the width: the background reaches the edges and
// everything else lies inside that circle.
function checkSafeZone(name, { width, rows }) {
    const background = rows[0].subarray(0, 4).join();
    const centre = width / 2;
    let drawn = 0;
    rows.forEach((row, y) => {
        for (let x = 0; x < width; ++x) {
            if (row.subarray(4 * x, 4 * x + 4).join() === background)
                continue;
            ++drawn;
            const reach = Math.hypot(x + 0.5 - centre, y + 0.5 - centre);
            assert.ok(reach <= 0.4 * width, `${name}: pixel ${x},${y} lies outside the safe circle`);
        }
    });
    assert.equal(rows[0][3], 255, `${name}: the background is opaque`);
    assert.ok(drawn > width * width / 10, `${name}: the picture is there`);
}

function launch(browser) {
    return browser === 'firefox'
        ? puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true })
        : puppeteer.launch({ browser: 'chrome', executablePath: '/usr/bin/chromium', args: ['--headless=new',
            '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
            '--disable-component-update', '--disable-sync', `--user-data-dir=${mkdtempSync(join(tmpdir(), 'tessaldo-site-'))}`] });
}

// Served from a folder two levels down, visited once, then opened again with the host gone.
async function checkOffline(browserName) {
    const host = mkdtempSync(join(tmpdir(), 'tessaldo-host-'));
    mkdirSync(join(host, 'tools', 'lcd'), { recursive: true });
    symlinkSync(kSite, join(host, 'tools', 'lcd', 'tessaldo'));
    const server = await serveFolder(host);
    const browser = await launch(browserName);
    try {
        const page = await browser.newPage();
        await page.goto(`${server.url}tools/lcd/tessaldo/`);
        await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
        await page.waitForFunction(() => navigator.serviceWorker.controller, { timeout: 60000 });
        await server.close();
        await page.reload();
        await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
        await page.click('#dot-40');
        assert.equal(await page.$eval('#dot-40', (cell) => cell.getAttribute('aria-checked')), 'true',
            `${browserName}: the grid draws offline`);
        // Insert Text's glyphs, never asked for by the page until now.
        assert.ok(await page.evaluate(async () => (await fetch('unifont.hex.gz')).ok), `${browserName}: the glyphs are kept`);
    } finally {
        await browser.close();
        await server.close();
    }
}

checkFiles();
console.log('ok: every file is named relatively and kept; the icons are what the manifest says, maskable ones safe');
for (const browser of ['chrome', 'firefox']) {
    await checkOffline(browser);
    console.log(`ok: ${browser}: the site works from a folder deep in the host, then with the host gone`);
}
