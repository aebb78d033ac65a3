// What every check of the page uses: the page opened fresh with stand-ins for
// what a headless browser cannot do on its own (pickers, clipboard, serial
// port), the grid read and clicked as a user would, keys, drops, messages,
// and the command-line tool the page's bytes are compared against.
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { crc32, deflateSync } from 'node:zlib';

export const kData = join(dirname(fileURLToPath(import.meta.url)), '..', 'data');
export const kWork = mkdtempSync(join(tmpdir(), 'tessaldo-page-'));

// A busy machine makes the page slower, not wrong: every wait is for a condition, up to this long.
const kPatience = 30000;

export class Failure extends Error {}

export function assert(holds, ...what) {
    if (!holds)
        throw new Failure(what.map((part) => (typeof part === 'string' ? part : JSON.stringify(part))).join(' '));
}

export function assertEqual(actual, expected, what = '') {
    const [a, e] = [JSON.stringify(actual), JSON.stringify(expected)];
    assert(a === e, what, 'got', a, 'expected', e);
}

let cliPath = '';
export function useCli(path) {
    cliPath = path;
}

// The command-line tool's standard output, as bytes.
export function cli(...args) {
    return execFileSync(cliPath, args, { maxBuffer: 1 << 26 });
}

// The command-line tool's complaint about standard input.
export function cliRefusal(args, input) {
    return spawnSync(cliPath, args, { input }).stderr.toString().trim();
}

export function dataFile(name) {
    return readFileSync(join(kData, name));
}

// The drawing file the desktop saves for these dots ('1' for a set dot).
export function drawingFile(dots, type) {
    const line = [...dots].map((dot) => (dot === '1' ? '0' : '1')).join('');
    return Buffer.from(` ${type}\r\n${line}\r\n`);
}

// The dots of a drawing file, '1' for set.
export function lcdDots(data) {
    return [...data.toString().split('\r\n')[1]].map((c) => (c === '0' ? '1' : '0')).join('');
}

// page.waitForFunction's value once truthy, polled often: the page answers within frames.
export async function waitFor(page, fn, ...args) {
    const handle = await page.waitForFunction(fn, { timeout: kPatience, polling: 50 }, ...args).catch((error) => {
        throw new Failure(`${error.message} for ${String(fn).replace(/\s+/g, ' ').slice(0, 160)} ${JSON.stringify(args)}`);
    });
    const value = await handle.jsonValue();
    await handle.dispose();
    return value;
}

export async function standIns(page) {
    await page.evaluate(() => {
        // What the checks read off the page, defined once in it so that waits can poll them there.
        window.shown = {
            dots: () => Array.from({ length: 256 }, (_, dot) =>
                (document.getElementById(`dot-${dot}`).getAttribute('aria-checked') === 'true' ? '1' : '0')).join(''),
            strip: () => [...document.querySelectorAll('#setStrip [role="option"]')]
                .sort((a, b) => a.dataset.index - b.dataset.index)
                .map((o) => [o.querySelector('.strip-name').textContent, o.getAttribute('aria-selected') === 'true']),
        };
        window.recorded = {};
        window.showSaveFilePicker = async ({ suggestedName }) => ({
            name: (window.recorded.suggested = suggestedName),
            createWritable: async () => ({
                write: async (blob) => { window.recorded.saved = new Uint8Array(await blob.arrayBuffer()); },
                close: async () => {},
            }),
        });
        window.nextFile = null;
        window.showOpenFilePicker = async () => [{ getFile: async () => window.nextFile }];
        Object.defineProperty(navigator, 'clipboard', {
            value: { writeText: async (text) => { window.recorded.clipboard = text; } },
            configurable: true,
        });
    });
}

export async function ready(page) {
    await waitFor(page, () => document.documentElement.dataset.ready === 'true');
}

const answered = new WeakSet();

// Opens the page at url, ready, with the stand-ins in place. The leave-page
// warning of a reload or a second opening is answered Leave, as a user who
// means it would.
export async function open(page, url) {
    if (!answered.has(page)) {
        answered.add(page);
        page.on('dialog', (dialog) => dialog.accept());
    }
    await page.goto(url);
    await ready(page);
    await standIns(page);
}

// What a stand-in recorded under key, once it has; a typed array comes as an array.
export async function recorded(page, key) {
    const [value] = await waitFor(page, (name) => {
        if (!(name in window.recorded))
            return null;
        const value = window.recorded[name];
        return [ArrayBuffer.isView(value) ? Array.from(value) : value];
    }, key);
    return value;
}

export async function forget(page, key) {
    await page.evaluate((name) => delete window.recorded[name], key);
}

export async function dots(page) {
    return page.evaluate(() => window.shown.dots());
}

export async function waitForDots(page, expected) {
    await waitFor(page, (want) => window.shown.dots() === want, expected);
}

export async function centre(page, selector) {
    const box = await page.$eval(selector, (element) => {
        const { left, top, width, height } = element.getBoundingClientRect();
        return { x: left + width / 2, y: top + height / 2 };
    });
    return box;
}

// A cell's centre once the page has laid it out: a strip that opens beside
// the window moves every cell, and a loaded machine lays it out late.
async function settledCentre(page, selector) {
    let last = await centre(page, selector);
    for (let frames = 0; frames < 60; ++frames) {
        await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
        const now = await centre(page, selector);
        if (now.x === last.x && now.y === last.y)
            break;
        last = now;
    }
    return last;
}

export async function clickDot(page, dot, button = 'left') {
    const { x, y } = await settledCentre(page, `#dot-${dot}`);
    await page.mouse.click(x, y, { button });
}

export async function press(page, caption) {
    await page.click(`#tbarMain button[aria-label="${caption}"]`);
}

// Keys pressed with the focus on selector: each like 'Control+Shift+Z' or 'Insert'.
export async function keys(page, selector, ...presses) {
    await page.focus(selector);
    for (const combination of presses) {
        const parts = combination.split('+');
        const key = parts.pop();
        for (const modifier of parts)
            await page.keyboard.down(modifier);
        await page.keyboard.press(key);
        for (const modifier of parts.reverse())
            await page.keyboard.up(modifier);
    }
}

// Replaces what an input holds by typing, as a user who selected it all would.
export async function retype(page, selector, text) {
    await page.$eval(selector, (input) => { input.value = ''; });
    await page.type(selector, text);
}

export async function text(page, selector) {
    return page.$eval(selector, (element) => element.innerText);
}

export async function waitForText(page, selector) {
    return waitFor(page, (query) => document.querySelector(query)?.innerText, selector);
}

export async function giveFile(page, name, data, type = '') {
    await page.evaluate((fileName, base64, fileType) => {
        window.nextFile = new File([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], fileName, { type: fileType });
    }, name, Buffer.from(data).toString('base64'), type);
}

// Drops files, each [name, bytes], on the window, as the desktop's file manager would.
export async function dropFiles(page, files) {
    await page.evaluate((dropped) => {
        const transfer = new DataTransfer();
        for (const [name, base64, type] of dropped)
            transfer.items.add(new File([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], name, { type }));
        document.getElementById('frmMain').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true }));
    }, files.map(([name, data]) => [name, Buffer.from(data).toString('base64'), name.endsWith('.png') ? 'image/png' : '']));
}

// A paste on the focused grid, as Ctrl+V there brings it.
export async function pasteText(page, pasted) {
    await page.focus('#lbDot');
    await page.evaluate((value) => {
        const transfer = new DataTransfer();
        transfer.setData('text/plain', value);
        // Firefox hands a script-made paste event an empty copy of the data it is given, so the data is set after.
        const paste = new ClipboardEvent('paste', { bubbles: true, cancelable: true });
        Object.defineProperty(paste, 'clipboardData', { value: transfer });
        document.getElementById('lbDot').dispatchEvent(paste);
    }, pasted);
}

// The text of the message box the page shows, which is then closed.
export async function message(page) {
    const shown = await waitForText(page, 'dialog[open] .message-text');
    await page.click('dialog[open] button');
    return shown;
}

// The result the page shows a moment on screen (saved, copied), once it shows.
export async function shownResult(page) {
    return waitFor(page, () => {
        const status = document.getElementById('status');
        const seen = status?.checkVisibility({ opacityProperty: true }) && status.getBoundingClientRect().width > 1;
        return seen && status.innerText;
    });
}

// The question the page asks, answered by the button of that caption.
export async function answer(page, caption) {
    const asked = await waitForText(page, 'dialog[open] .message-text');
    await page.click(`::-p-xpath(//dialog[@open]//button[text()="${caption}"])`);
    return asked;
}

// Opens the context menu on the grid and chooses the items named, a submenu's caption first.
export async function menu(page, ...captions) {
    await clickDot(page, 0, 'right');
    for (const caption of captions)
        await page.click(`::-p-xpath(//*[starts-with(@role, "menuitem")][span[text()="${caption}"]])`);
}

// The strip's pictures as [name, selected], in order.
export async function strip(page) {
    return page.evaluate(() => window.shown.strip());
}

export async function names(page) {
    return (await strip(page)).map(([name]) => name);
}

export async function waitForNames(page, expected) {
    await waitFor(page, (want) => JSON.stringify(window.shown.strip().map(([name]) => name)) === want,
        JSON.stringify(expected));
}

export async function setButton(page, caption) {
    return page.$(`::-p-xpath(//*[@class="set-buttons"]/button[text()="${caption}"])`);
}

// Each picture's dots, as the grid shows it when selected.
export async function setDots(page) {
    await keys(page, '#setStrip', 'Home');
    const shown = [];
    for (let left = (await names(page)).length; left > 0; --left) {
        shown.push(await dots(page));
        await keys(page, '#setStrip', 'ArrowDown');
    }
    return shown;
}

export async function leavingAsks(page) {
    return page.evaluate(() => {
        const event = new Event('beforeunload', { cancelable: true });
        window.dispatchEvent(event);
        return event.defaultPrevented;
    });
}

// Insert Text from the context menu, checked against the command line's drawing of the same text.
export async function insertText(page, inserted) {
    await menu(page, 'Insert Text…');
    await page.type('dialog[open] #text', inserted);
    // The width shows once the glyph is drawn in the preview, which OK takes.
    await waitFor(page, () => document.querySelector('dialog[open] #width').innerText);
    await page.click('dialog[open] button[value="ok"]');
    await waitForDots(page, lcdDots(cli('text', inserted, '-')));
}

// A PNG chunk: its length, type, data and CRC.
export function chunk(type, data) {
    const body = Buffer.concat([Buffer.from(type), data]);
    const length = Buffer.alloc(4);
    length.writeUInt32BE(data.length);
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(crc32(body));
    return Buffer.concat([length, body, crc]);
}

const kPasses = [[0, 0, 8, 8], [4, 0, 8, 8], [0, 4, 4, 8], [2, 0, 4, 4], [0, 2, 2, 4], [1, 0, 2, 2], [0, 1, 1, 2]];

// A PNG whose samples `sample(x, y, channel)` gives, 8 or 16 bits each, unfiltered.
export function png({ width, height, depth, colour, channels, interlaced = false, extra = [], sample }) {
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
