// The canvas of a picture of any size, driven as a user would: the tools from
// their keys, each use one step, the zoom, the keyboard's grid and a finger,
// with what the canvas shows read off its pixels and compared with
// tessaldo-cli show of the file Save writes.
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';

import { assert, assertEqual, cli, forget, keys, kWork, press, recorded, waitFor } from './harness.mjs';

// A 128 x 64 picture, as New Picture… makes one (its dialog has checks of its own), fitted on the canvas.
async function sized(page) {
    await page.evaluate(() => window.tessaldoBench.session().resize(128, 64, ''));
    await waitFor(page, () => !document.getElementById('canvasPanel').hidden);
    // The window is fitted to the view again with the canvas beside it: its place settles within frames.
    let last = '';
    for (let frames = 0; frames < 60; ++frames) {
        const now = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(() => {
            const canvas = document.querySelector('#canvasBox canvas');
            resolve(JSON.stringify([canvas.width, canvas.height, canvas.getBoundingClientRect()]));
        }))));
        if (now === last)
            break;
        last = now;
    }
}

// The viewport's point at the middle of a cell of the 128 x 64 picture, fitted whole.
async function cellCentre(page, column, row) {
    return page.evaluate((c, r) => {
        const canvas = document.querySelector('#canvasBox canvas');
        const cell = window.tessaldoBench.core.fitCellPixels(128, 64, canvas.width, canvas.height);
        const box = canvas.getBoundingClientRect();
        const scale = box.width / canvas.width;
        return { x: box.left + (c + 0.5) * cell * scale, y: box.top + (r + 0.5) * cell * scale };
    }, column, row);
}

async function drag(page, from, to) {
    const start = await cellCentre(page, ...from);
    const end = await cellCentre(page, ...to);
    await page.mouse.move(start.x, start.y);
    await page.mouse.down();
    await page.mouse.move(end.x, end.y, { steps: 4 });
    await page.mouse.up();
}

// What the canvas shows, fitted, as tessaldo-cli show writes it: a line a row, '#' for a set dot.
async function shown(page) {
    return page.evaluate(() => {
        const canvas = document.querySelector('#canvasBox canvas');
        const cell = window.tessaldoBench.core.fitCellPixels(128, 64, canvas.width, canvas.height);
        const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
        const rows = [];
        for (let row = 0; row < 64; ++row) {
            let line = '';
            for (let column = 0; column < 128; ++column) {
                const at = (Math.floor((row + 0.5) * cell) * canvas.width + Math.floor((column + 0.5) * cell)) * 4;
                line += pixels[at] < 128 ? '#' : '.';
            }
            rows.push(line);
        }
        return rows.join('\n');
    });
}

function setCount(picture) {
    return [...picture].filter((dot) => dot === '#').length;
}

// The outline of the box with corners (left, top) and (right, bottom), in shown()'s rows.
function boxOutline(left, top, right, bottom) {
    return Array.from({ length: 64 }, (_, row) => Array.from({ length: 128 }, (__, column) => {
        const inside = column >= left && column <= right && row >= top && row <= bottom;
        const edge = column === left || column === right || row === top || row === bottom;
        return inside && edge ? '#' : '.';
    }).join('')).join('\n');
}

async function drawing(page) {
    await sized(page);
    const blank = await shown(page);
    assertEqual(setCount(blank), 0, 'a new picture is clear');
    await keys(page, '#canvasBox', 'r');
    await drag(page, [4, 4], [40, 30]);
    assertEqual(await shown(page), boxOutline(4, 4, 40, 30), 'the box');
    await keys(page, '#canvasBox', 'e');
    await drag(page, [60, 4], [100, 44]);
    const circled = await shown(page);
    await keys(page, '#canvasBox', 'f');
    const inside = await cellCentre(page, 80, 24);
    await page.mouse.click(inside.x, inside.y);
    const filled = await shown(page);
    assert(setCount(filled) > setCount(circled) + 900, 'the fill reaches the ellipse\'s inside');
    await keys(page, '#canvasBox', 's');
    await drag(page, [2, 2], [42, 32]);
    await drag(page, [10, 10], [20, 15]);
    const moved = await shown(page);
    assertEqual(moved.split('\n').map((line) => line.slice(0, 56)).join('\n'),
        boxOutline(14, 9, 50, 35).split('\n').map((line) => line.slice(0, 56)).join('\n'), 'the box moved by the selection');
    // Each use of a tool is one step: four undos give the clear picture, four redos the drawing again.
    const steps = [filled, circled, boxOutline(4, 4, 40, 30), blank];
    for (const expected of steps) {
        await keys(page, '#canvasBox', 'Control+z');
        assertEqual(await shown(page), expected, 'one step back');
    }
    await keys(page, '#canvasBox', 'Control+Shift+Z', 'Control+Shift+Z', 'Control+Shift+Z', 'Control+Shift+Z');
    assertEqual(await shown(page), moved, 'redone');
    // Zoomed in, the picture takes more than the box and scrolls; fitted again, it shows whole as before.
    await keys(page, '#canvasBox', 'Control+=', 'Control+=');
    assert(await page.$eval('#canvasBox', (box) => box.scrollWidth > box.clientWidth), 'zoomed in');
    await keys(page, '#canvasBox', 'Control+0');
    assertEqual(await shown(page), moved, 'fitted again');
    await forget(page, 'saved');
    await press(page, 'Save');
    const file = join(kWork, 'canvas.pbm');
    writeFileSync(file, Buffer.from(await recorded(page, 'saved')));
    assertEqual(cli('show', file).toString().trim(), `size 128 x 64\n${moved}`, 'tessaldo-cli show of the saved file');
}

// The one grid a screen reader has at this size: its active cell moves with the keys and says its state.
async function keyboard(page) {
    await sized(page);
    const name = () => page.$eval('#canvasBox', (box) => [box.getAttribute('aria-rowcount'), box.getAttribute('aria-colcount'),
        document.getElementById(box.getAttribute('aria-activedescendant')).getAttribute('aria-label')]);
    await keys(page, '#canvasBox', 'End');
    assertEqual(await name(), ['64', '128', 'x 127, y 0, clear']);
    await keys(page, '#canvasBox', 'Control+End', ' ');
    assertEqual(await name(), ['64', '128', 'x 127, y 63, set']);
    await keys(page, '#canvasBox', 'Control+Home', 'ArrowDown', 'Alt+PageDown');
    const [, , moved] = await name();
    assert(/^x 0, y ([2-9]|\d\d), clear$/.test(moved), 'a screen down', moved);
    assertEqual(await page.$$eval('#canvasBox [role="gridcell"]', (cells) => cells.length), 1, 'one cell node');
}

// One finger draws with the pencil, as the mouse does.
async function finger(page) {
    await sized(page);
    const [start, end] = [await cellCentre(page, 10, 20), await cellCentre(page, 30, 20)];
    await page.touchscreen.touchStart(start.x, start.y);
    await page.touchscreen.touchMove(end.x, end.y);
    await page.touchscreen.touchEnd();
    const row = (await shown(page)).split('\n')[20];
    assertEqual(row.slice(10, 31), '#'.repeat(21), 'the stroke');
    await keys(page, '#canvasBox', 'Control+z');
    assertEqual(setCount(await shown(page)), 0, 'one step');
}

export const kChecks = [
    { name: 'a 128 x 64 picture takes a box, a circle, a fill and a moved selection, each one step, zooms and saves what it shows', run: drawing },
    { name: 'the canvas\'s one grid cell moves with the keys and says where it is', run: keyboard },
    { name: 'a finger draws on the canvas', run: finger, browsers: ['chromium'] },
];
