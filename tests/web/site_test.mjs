// The site form's files as a web host holds them: every file named relatively
// and kept by the service worker, the manifest's icons what it says they are.
// The page's tests open the site from a folder deep in a host, then offline.
// Usage: node tests/web/site_test.mjs SITE_DIR
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { inflateSync } from 'node:zlib';

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

checkFiles();
console.log('ok: every file is named relatively and kept; the icons are what the manifest says, maskable ones safe');
