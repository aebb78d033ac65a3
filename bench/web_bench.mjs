// The page's figures, from one headless Chromium run, each against a
// baseline measured in the same run:
//
//   web page ready:              a first visit to the site, served gzip-compressed from 127.0.0.1, until the page
//                                takes clicks, against a first visit to a blank page served alike
//   web page ready again:        the next visit, the site's files kept by its service worker, against the blank
//                                page's next visit
//   web dot toggle with repaint: a click's step until the grid's style and layout are done
//   web picture switch (N pictures): PgDown or PgUp on the grid until the grid's and the strip's style and layout are done
//   web canvas stroke/fill/undo/zoom step (800 x 480): on an 800 x 480 picture, a stroke's move of the pointer, a
//                                fill of the whole picture, its undo and a zoom step, each until its pixels are on
//                                the canvas, against repainting the empty canvas; each within a frame, 16 ms
//   web whole fill/undo/redo/New Picture event (800 x 480): at 1366 x 768 with the display preview shown, a
//                                click of the Fill tool on the canvas, Ctrl+Z, Ctrl+Shift+Z and OK of New Picture…
//                                at 800 x 480, each from dispatching its event until the second frame after it
//                                begins, so that whatever it drew in the first is painted; against an event that
//                                changes nothing, timed alike
//   web LCDtoCODE:               the generator in WebAssembly, against the native one
//   web page size:               the one file gzip-compressed, Unifont's glyph data and the TrueType drawing
//                                module apart (each started only when first used), against 400 KB
//   web first document:          the site's first document gzip-compressed, against the 14.6 KB a server
//                                sends in its first round trip
//
// Usage: node bench/web_bench.mjs SITE_DIR PAGE_HTML CORE_BENCH BENCH_CORE_JS [RUNS]
// (BENCH_CORE_JS: the module of what only the bench times, built as tessaldo_bench_core)
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';
import { serveFolder } from '../scripts/serve_site.mjs';

const [siteDir, pageHtml, coreBench, benchCore, runsArgument] = process.argv.slice(2);
const kRuns = Number(runsArgument || 15);
const kWork = mkdtempSync(join(tmpdir(), 'tessaldo-web-bench-'));

function figure(name, value, spread, unit, ratio, baseline) {
    const significant = (number, digits) => Number(number.toPrecision(digits)).toString();
    console.log(`${name}: ${significant(value, 3)} ± ${significant(spread, 2)} ${unit} (${ratio.toFixed(2)} x ${baseline})`);
}

function median(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// Half the distance between the quartiles.
function spread(values) {
    const sorted = [...values].sort((a, b) => a - b);
    const quartile = (q) => {
        const at = (sorted.length - 1) * q;
        return sorted[Math.floor(at)] + (sorted[Math.ceil(at)] - sorted[Math.floor(at)]) * (at - Math.floor(at));
    };
    return (quartile(0.75) - quartile(0.25)) / 2;
}

function launch() {
    return puppeteer.launch({ browser: 'chrome', executablePath: '/usr/bin/chromium', userDataDir: join(kWork, 'profile'),
        args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync'] });
}

// Times a first visit and a second one; a context of its own starts with nothing cached and no service worker.
async function visits(browser, url, condition, readyAt, waitForWorker) {
    const context = await browser.createBrowserContext();
    try {
        const page = await context.newPage();
        const times = [];
        for (let visit = 0; visit < 2; ++visit) {
            await page.goto(url);
            await page.waitForFunction(condition, { polling: 1 });
            times.push(await page.evaluate(readyAt));
            if (waitForWorker)
                await page.waitForFunction(() => navigator.serviceWorker.controller, { polling: 10 });
        }
        return times;
    } finally {
        await context.close();
    }
}

async function pageReady(browser, site, blank) {
    const page = [[], []];
    const empty = [[], []];
    for (let run = 0; run < kRuns; ++run) {
        const pageTimes = await visits(browser, site.url, () => document.documentElement.dataset.ready === 'true',
            () => window.tessaldoReadyAt, true);
        const emptyTimes = await visits(browser, `${blank.url}blank.html`,
            () => document.readyState === 'complete' && performance.getEntriesByType('navigation')[0].loadEventEnd > 0,
            () => performance.getEntriesByType('navigation')[0].loadEventEnd, false);
        pageTimes.forEach((time, visit) => page[visit].push(time));
        emptyTimes.forEach((time, visit) => empty[visit].push(time));
    }
    ['web page ready', 'web page ready again'].forEach((name, visit) => {
        const blankMedian = median(empty[visit]);
        figure(name, median(page[visit]), spread(page[visit]), 'ms', median(page[visit]) / blankMedian,
            `a blank page, ${Number(blankMedian.toPrecision(3))} ms`);
    });
}

// Each figure is a batch's mean: the page's timer is coarse.
function dotToggles(runs) {
    const cell = document.getElementById('dot-40');
    const grid = document.getElementById('lbDot');
    const box = cell.getBoundingClientRect();
    const at = { clientX: box.left + 4, clientY: box.top + 4, button: 0, bubbles: true, pointerId: 1 };
    const batch = 200;
    const toggles = [];
    const restyles = [];
    for (let round = 0; round < runs; ++round) {
        let start = performance.now();
        for (let i = 0; i < batch; ++i) {
            grid.dispatchEvent(new PointerEvent('pointerdown', at));
            grid.dispatchEvent(new PointerEvent('pointerup', at));
            void getComputedStyle(cell).backgroundColor, grid.offsetHeight;
        }
        toggles.push((performance.now() - start) / batch);
        start = performance.now();
        for (let i = 0; i < batch; ++i) {
            cell.style.outlineColor = i % 2 ? 'red' : 'blue';
            void getComputedStyle(cell).outlineColor, grid.offsetHeight;
        }
        restyles.push((performance.now() - start) / batch);
    }
    return [toggles, restyles];
}

function pictureSwitches(count, runs) {
    const { session, core } = window.tessaldoBench;
    const grid = document.getElementById('lbDot');
    while (session().count() < count) {
        session().perform(core.CommandId.AddPicture);
        session().toggleDot(session().count() % 256);
    }
    session().select(count >> 1);
    const batch = 200;
    const times = [];
    for (let round = 0; round < runs; ++round) {
        const start = performance.now();
        for (let i = 0; i < batch; ++i) {
            grid.dispatchEvent(new KeyboardEvent('keydown', { key: i % 2 ? 'PageUp' : 'PageDown', bubbles: true }));
            void document.getElementById('setStrip').offsetHeight, grid.offsetHeight;
        }
        times.push((performance.now() - start) / batch);
    }
    return times;
}

// Each step's time in ms, a sample a step: reading a pixel back waits until what was drawn is on the canvas.
function canvasSteps(runs) {
    const { session, core } = window.tessaldoBench;
    session().resize(800, 480, '');
    const box = document.getElementById('canvasBox');
    const canvas = box.querySelector('canvas');
    const space = canvas.parentElement;
    const context = canvas.getContext('2d');
    const settled = () => context.getImageData(0, 0, 1, 1);
    const timed = (step) => {
        const start = performance.now();
        step();
        settled();
        return performance.now() - start;
    };
    const cell = core.fitCellPixels(800, 480, canvas.width, canvas.height);
    const pointer = (type, column, row) => {
        const b = canvas.getBoundingClientRect();
        const scale = b.width / canvas.width;
        space.dispatchEvent(new PointerEvent(type, { clientX: b.left + (column + 0.5) * cell * scale,
            clientY: b.top + (row + 0.5) * cell * scale, button: 0, bubbles: true, pointerId: 1 }));
    };
    const key = (text) => box.dispatchEvent(new KeyboardEvent('keydown', { key: text, ctrlKey: true, bubbles: true }));
    const steps = { empty: [], stroke: [], fill: [], undo: [], zoom: [] };
    for (let round = 0; round < runs; ++round) {
        // A batch's mean: one repaint of the empty canvas is below the page's timer's step.
        steps.empty.push(timed(() => {
            for (let repaint = 0; repaint < 20; ++repaint) {
                context.fillStyle = repaint % 2 ? '#fff' : '#eee';
                context.fillRect(0, 0, canvas.width, canvas.height);
                settled();
            }
        }) / 20);
        const row = 10 + (round % 400);
        pointer('pointerdown', 10, row);
        for (let column = 12; column < 60; column += 2)
            steps.stroke.push(timed(() => pointer('pointermove', column, row)));
        pointer('pointerup', 60, row);
        steps.fill.push(timed(() => session().fill(700, 470)));
        steps.undo.push(timed(() => session().perform(core.CommandId.Undo)));
        steps.zoom.push(timed(() => key('+')), timed(() => key('-')));
    }
    return steps;
}

// Each whole event's time in ms, a sample an event, and the same for a key that does nothing.
async function wholeEvents(runs) {
    const { session, core } = window.tessaldoBench;
    const frame = () => new Promise((resolve) => requestAnimationFrame(resolve));
    const timed = async (dispatch) => {
        await frame();
        const start = performance.now();
        await dispatch();
        await frame();
        await frame();
        return performance.now() - start;
    };
    const box = document.getElementById('canvasBox');
    const key = (text, shiftKey = false) => box.dispatchEvent(new KeyboardEvent('keydown',
        { key: text, ctrlKey: true, shiftKey, bubbles: true }));
    const click = () => {
        const space = box.querySelector('.canvas-space');
        const b = space.querySelector('canvas').getBoundingClientRect();
        const at = { clientX: b.left + 5, clientY: b.top + 5, button: 0, bubbles: true, pointerId: 1 };
        space.dispatchEvent(new PointerEvent('pointerdown', at));
        space.dispatchEvent(new PointerEvent('pointerup', at));
    };
    // OK of New Picture… at 800 x 480, over work just saved, so that no question comes between.
    const confirmNew = async () => {
        session().markSaved();
        const caption = core.commands().find((command) => command.id === core.CommandId.NewPicture).caption;
        document.getElementById('menuButton').click();
        [...document.querySelectorAll('#gridMenu [role="menuitem"]')]
            .find((entry) => entry.children[1].textContent === caption).click();
        let dialog = null;
        while (!(dialog = document.querySelector('dialog[open]')))
            await new Promise((resolve) => setTimeout(resolve));
        dialog.querySelector('#sizeWidth').value = '800';
        dialog.querySelector('#sizeHeight').value = '480';
        return timed(async () => {
            dialog.querySelector('button[value="ok"]').click();
            while (session().size().width !== 800 || document.querySelector('dialog[open]'))
                await new Promise((resolve) => setTimeout(resolve));
        });
    };
    const times = { nothing: [], fill: [], undo: [], redo: [], new: [] };
    for (let round = 0; round < runs; ++round) {
        session().newPictureOfSize(round % 2 ? 800 : 799, 480);
        session().perform(core.CommandId.FillTool);
        times.nothing.push(await timed(() => key('F12')));
        times.fill.push(await timed(click));
        times.undo.push(await timed(() => key('z')));
        times.redo.push(await timed(() => key('Z', true)));
        times.new.push(await confirmNew());
    }
    return times;
}

function nativeLcdToCodeNs() {
    const out = join(kWork, 'native.json');
    execFileSync(coreBench, ['--benchmark_filter=^BM_LCDtoCODE$', `--benchmark_out=${out}`, '--benchmark_out_format=json',
        '--benchmark_repetitions=5', '--benchmark_min_time=0.2'], { stdio: 'ignore' });
    return JSON.parse(readFileSync(out, 'utf8')).benchmarks.find((b) => b.name.endsWith('_median')).real_time;
}

async function editing(browser, site) {
    const page = await browser.newPage();
    await page.goto(site.url);
    await page.waitForFunction(() => document.documentElement.dataset.ready === 'true', { polling: 1 });
    const [toggles, restyles] = await page.evaluate(dotToggles, kRuns);
    const base = median(restyles);
    const restyling = `restyling one cell, ${Number((base * 1000).toPrecision(3))} us`;
    figure('web dot toggle with repaint', median(toggles) * 1000, spread(toggles) * 1000, 'us', median(toggles) / base, restyling);
    for (const count of [3, 1000]) {
        const times = await page.evaluate(pictureSwitches, count, kRuns);
        figure(`web picture switch (${count} pictures)`, median(times) * 1000, spread(times) * 1000, 'us',
            median(times) / base, restyling);
    }
    // On a page of its own: the one above holds a set of 1,000 pictures, which a resize would make 800 x 480 each.
    const drawn = await browser.newPage();
    await drawn.goto(site.url);
    await drawn.waitForFunction(() => document.documentElement.dataset.ready === 'true', { polling: 1 });
    const steps = await drawn.evaluate(canvasSteps, Math.max(kRuns, 5));
    await drawn.close();
    const empty = median(steps.empty);
    const repaint = `repainting the empty canvas, ${Number(empty.toPrecision(3))} ms; a frame is 16 ms`;
    for (const name of ['stroke', 'fill', 'undo', 'zoom']) {
        figure(`web canvas ${name} step (800 x 480)`, median(steps[name]), spread(steps[name]), 'ms',
            median(steps[name]) / empty, repaint);
    }
    const whole = await browser.newPage();
    await whole.setViewport({ width: 1366, height: 768 });
    await whole.goto(site.url);
    await whole.waitForFunction(() => document.documentElement.dataset.ready === 'true', { polling: 1 });
    const events = await whole.evaluate(wholeEvents, Math.max(kRuns, 5));
    await whole.close();
    const nothing = median(events.nothing);
    const idle = `an event that changes nothing, ${Number(nothing.toPrecision(3))} ms; two frames are 33 ms`;
    for (const [name, key] of [['fill', 'fill'], ['undo', 'undo'], ['redo', 'redo'], ['New Picture', 'new']]) {
        figure(`web whole ${name} event (800 x 480)`, median(events[key]), spread(events[key]), 'ms',
            median(events[key]) / nothing, idle);
    }
    const dots = Array.from({ length: 256 }, (_, i) => ((i * 37) % 3 === 0 ? '1' : '0')).join('');
    await page.addScriptTag({ path: benchCore });
    const wasm = median(await page.evaluate(async (picture) => {
        const bench = await globalThis.TessaldoBench();
        return [1, 2, 3, 4, 5].map(() => bench.timeLcdToCode(picture, 200000));
    }, dots));
    const native = nativeLcdToCodeNs();
    figure('web LCDtoCODE', wasm, 0, 'ns', wasm / native, `native LCDtoCODE, ${Number(native.toPrecision(3))} ns`);
}

function sizes() {
    const html = readFileSync(pageHtml, 'utf8')
        .replace(/(<script type="text\/plain" id="(?:unifont-glyphs|font-raster)">)[^]*?(<\/script>)/g, '$1$2');
    const page = gzipSync(html, { level: 9 }).length / 1000;
    figure('web page size', page, 0, 'KB gzip', page / 400, 'the 400 KB allowed, glyphs and TrueType module apart');
    const first = gzipSync(readFileSync(join(siteDir, 'index.html')), { level: 9 }).length / 1000;
    figure('web first document', first, 0, 'KB gzip', first / 14.6, 'a first round trip, 14.6 KB');
}

writeFileSync(join(kWork, 'blank.html'), '<!DOCTYPE html><title>blank</title><p>blank</p>');
const site = await serveFolder(siteDir);
const blank = await serveFolder(kWork);
const browser = await launch();
try {
    await pageReady(browser, site, blank);
    await editing(browser, site);
} finally {
    await browser.close();
    await site.close();
    await blank.close();
}
sizes();
