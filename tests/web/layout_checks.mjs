// The page laid out for drawing at any width from a phone's up: at each
// width and picture size, with the display preview shown, nothing is wider
// than the view, and off 16 x 16 the canvas takes most of it with the
// preview beside or under it, never over it.
import { assert, centre, ready, waitFor } from './harness.mjs';

const kWidths = [390, 768, 1366];
const kSizes = [[16, 16], [128, 64], [800, 480]];

// Two frames after a change: laid out, refitted and painted.
export async function painted(page) {
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
}

// A picture of the size, as New Picture… makes it, with the display preview shown.
export async function pictureWithPreview(page, width, height) {
    await page.evaluate((across, down) => {
        const { core, session } = window.tessaldoBench;
        session().newPictureOfSize(across, down);
        if (!session().isChecked(core.CommandId.DisplayPreview))
            session().perform(core.CommandId.DisplayPreview);
    }, width, height);
    await waitFor(page, () => !document.getElementById('displayPreview').hidden);
    await painted(page);
    await painted(page);
}

function boxOf(page, selector) {
    return page.$eval(selector, (element) => {
        const { left, top, right, bottom, width } = element.getBoundingClientRect();
        return { left, top, right, bottom, width };
    });
}

function overlap(a, b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

async function noSidewaysScroll(page) {
    for (const width of kWidths) {
        await page.setViewport({ width, height: width < 700 ? 844 : 768 });
        for (const [across, down] of kSizes) {
            await pictureWithPreview(page, across, down);
            const at = `at ${width} px, ${across} x ${down}`;
            const { scrollWidth, innerWidth } = await page.evaluate(() => (
                { scrollWidth: document.documentElement.scrollWidth, innerWidth: window.innerWidth }));
            assert(scrollWidth <= innerWidth, `the document is ${scrollWidth} px wide in a view of ${innerWidth}`, at);
            if (across === 16 && down === 16)
                continue;
            const [canvas, preview] = [await boxOf(page, '#canvasPanel'), await boxOf(page, '#displayPreview')];
            assert(!overlap(canvas, preview), 'the preview stands clear of the canvas', at, canvas, preview);
            assert(canvas.width >= innerWidth / 2, 'the canvas takes most of the view\'s width', at, canvas);
            assert(preview.left >= 0 && preview.right <= innerWidth, 'the preview within the view', at, preview);
            // Enlarged, every dot is a whole number of device pixels, so that no one-dot line is lost.
            for (const times of ['1', '2', '4', '0']) {
                await page.select('#previewScale', times);
                const { perDot, wide } = await page.evaluate(() => {
                    const screen = document.getElementById('previewCanvas');
                    return { perDot: screen.getBoundingClientRect().width * devicePixelRatio / screen.width,
                        wide: document.documentElement.scrollWidth };
                });
                assert(perDot >= 1 && Math.abs(perDot - Math.round(perDot)) < 0.01, 'whole device pixels a dot',
                    at, times, perDot);
                assert(wide <= innerWidth, 'the enlarged preview scrolls in its panel, not the page', at, times, wide);
            }
            await page.select('#previewScale', '1');
        }
    }
}

// The drawing's width on the page, which the canvas's zoom sets.
function drawingWidth(page) {
    return page.$eval('.canvas-space', (space) => parseFloat(space.style.width));
}

// Two fingers parting on the canvas, beside the drawing where it leaves the box room, zoom the canvas and not the page.
async function pinchZoomsCanvas(page, where) {
    await phone(page, where);
    await pictureWithPreview(page, 128, 64);
    const box = await boxOf(page, '#canvasBox');
    const before = await drawingWidth(page);
    const [x, y] = [box.right - 40, box.bottom - 80];
    const fingers = [await page.touchscreen.touchStart(x - 10, y), await page.touchscreen.touchStart(x + 10, y)];
    for (let step = 1; step <= 6; ++step) {
        await fingers[0].move(x - 10 - 15 * step, y - 15 * step);
        await fingers[1].move(x + 10, y);
    }
    for (const finger of fingers)
        await finger.end();
    await painted(page);
    const after = await page.evaluate(() => ({ scrollWidth: document.documentElement.scrollWidth,
        innerWidth: window.innerWidth, scale: window.visualViewport.scale }));
    assert(await drawingWidth(page) > before, 'the canvas zoomed in', before, await drawingWidth(page));
    assert(after.scrollWidth <= after.innerWidth && after.scale === 1, 'the page kept its width and scale', after);
}

// The entries of the open menus, each scrolled into sight as a finger scrolls a long menu: those out of the view.
function entriesOutOfView(page) {
    return page.$$eval('.menu [role^="menuitem"]', (entries) => entries.filter((entry) => entry.checkVisibility())
        .filter((entry) => {
            entry.scrollIntoView({ block: 'nearest' });
            const { left, top, right, bottom } = entry.getBoundingClientRect();
            return left < 0 || top < 0 || right > window.innerWidth || bottom > window.innerHeight;
        }).map((entry) => entry.children[1].textContent));
}

// A phone's view; Chromium opens the page again as a phone does, with touch.
async function phone(page, where) {
    if (where.browser !== 'chromium') {
        await page.setViewport({ width: 390, height: 844 });
        return;
    }
    await page.setViewport({ width: 390, height: 844, hasTouch: true, isMobile: true });
    await page.reload();
    await ready(page);
}

// Every menu shut, a submenu first and then the menu it stood in.
async function shutMenus(page) {
    while (await page.$('.menu'))
        await page.keyboard.press('Escape');
}

async function tap(page, selector) {
    const { x, y } = await centre(page, selector);
    await page.touchscreen.tap(x, y);
}

// What opens each dialog checked for its fit.
const kDialogs = [
    (page) => tap(page, '#tbarMain button[aria-label="About"]'),
    ...['New Picture…', 'Picture Size…', 'Insert Text…'].map((caption) => async (page) => {
        await tap(page, '#menuButton');
        await tap(page, `::-p-xpath(//*[@id="gridMenu"]/*[span[text()="${caption}"]])`);
        await waitFor(page, () => document.querySelector('dialog[open]'));
    }),
];

// On a phone, every entry of the menu behind the button and of each of its submenus, opened by a tap, and every
// dialog About and the menu open, stand inside the view at 16 x 16 and at 128 x 64.
async function phoneReach(page, where) {
    await phone(page, where);
    for (const [across, down] of [[16, 16], [128, 64]]) {
        await pictureWithPreview(page, across, down);
        const at = `at ${across} x ${down}`;
        await tap(page, '#menuButton');
        assert((await entriesOutOfView(page)).length === 0, 'the menu\'s entries in the view', at, await entriesOutOfView(page));
        const submenus = await page.$$eval('#gridMenu > [data-submenu]', (entries) => entries.map((entry) => entry.children[1].textContent));
        for (const name of submenus) {
            await shutMenus(page);
            await tap(page, '#menuButton');
            await tap(page, `::-p-xpath(//*[@id="gridMenu"]/*[@data-submenu][span[text()="${name}"]])`);
            await waitFor(page, () => document.querySelectorAll('.menu').length === 2);
            assert((await entriesOutOfView(page)).length === 0, `the entries of ${name} in the view`, at, await entriesOutOfView(page));
        }
        await shutMenus(page);
        for (const open of kDialogs) {
            await open(page);
            const shown = await boxOf(page, 'dialog[open]');
            assert(shown.left >= 0 && shown.top >= 0 && shown.right <= 390 && shown.bottom <= 844, 'a dialog in the view', at,
                await page.$eval('dialog[open]', (dialog) => dialog.ariaLabel), shown);
            await page.keyboard.press('Escape');
            await waitFor(page, () => !document.querySelector('dialog[open]'));
        }
    }
}

export const kChecks = [
    { name: 'on a phone every menu entry, submenus\' too, and every dialog lie in the view', run: phoneReach },
    { name: 'two fingers parting on the canvas zoom it, not the page', run: pinchZoomsCanvas },
    { name: 'at every width and size, with the preview shown, nothing is wider than the view', run: noSidewaysScroll },
];
