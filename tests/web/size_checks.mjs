// Pictures of other sizes: New Picture… from a display's preset, Picture
// Size… and its undo, the preview of a pages array on the display it was
// written for, and a 128 x 64 PBM opened and saved as the command line saves it.
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

import {
    assert, assertEqual, cli, dropFiles, giveFile, kWork, open, press, recorded, waitFor,
} from './harness.mjs';

// A 128 x 64 plain PBM whose dots no turn or shift leaves alike: a box, a diagonal and a few odd dots.
function pbm128x64() {
    const rows = Array.from({ length: 64 }, (_, y) => Array.from({ length: 128 }, (_, x) => {
        const box = (x === 3 || x === 90 || y === 2 || y === 40) && x >= 3 && x <= 90 && y >= 2 && y <= 40;
        return box || x === 2 * y || (x * 7 + y * 3) % 23 === 0 ? '1' : '0';
    }).join(' '));
    return Buffer.from(`P1\n128 64\n${rows.join('\n')}\n`);
}

// The picture's size and dots as the session holds them.
function picture(page) {
    return page.evaluate(() => {
        const session = window.tessaldoBench.session();
        return { ...session.size(), dots: session.dots() };
    });
}

// The commands of the grid's menu through the menu button, which stands above a canvas of any size.
async function command(page, ...captions) {
    await page.click('#menuButton');
    for (const caption of captions)
        await page.click(`::-p-xpath(//*[starts-with(@role, "menuitem")][span[text()="${caption}"]])`);
}

async function openPicture(page, name, bytes) {
    await giveFile(page, name, bytes);
    await press(page, 'Open');
    await waitFor(page, () => window.tessaldoBench.session().size().width !== 16);
}

async function newFromPreset(page) {
    await command(page, 'New Picture…');
    const preset = await page.$eval('dialog[open] #sizePreset', (select) =>
        [...select.options].find((option) => option.textContent.startsWith('128 x 64 SSD1306')).value);
    await page.select('dialog[open] #sizePreset', preset);
    assertEqual(await page.$eval('dialog[open] #sizeWidth', (box) => box.value), '128', 'the preset fills the width');
    await page.click('dialog[open] button[value="ok"]');
    await waitFor(page, () => window.tessaldoBench.session().size().width === 128);
    const made = await picture(page);
    assertEqual(`${made.width} x ${made.height}`, '128 x 64');
    assert(!made.dots.includes('1'), 'the new picture is clear');
    // Away from the module's size the display it fits shows it.
    await waitFor(page, () => !document.getElementById('displayPreview').hidden);
    assertEqual(await page.$eval('#previewDisplay', (select) => select.selectedOptions[0].textContent.slice(0, 16)),
        '128 x 64 SSD1306');
}

// New Picture… refuses a side that is no whole number from 1 to 1024 with the core's sentence, and makes nothing.
async function newRefusesSizes(page) {
    const notWhole = 'A picture\'s width and height are each a whole number of dots from 1 to 1024.';
    const outOfRange = (size) => `A picture is 1 to 1024 dots wide and high, so it cannot be ${size}.`;
    const cases = [['0', '64', outOfRange('0 x 64')], ['-3', '64', outOfRange('-3 x 64')],
        ['128', '2000', outOfRange('128 x 2000')], ['12.5', '64', notWhole], ['', '64', notWhole]];
    for (const [width, height, problem] of cases) {
        await command(page, 'New Picture…');
        for (const [box, typed] of [['#sizeWidth', width], ['#sizeHeight', height]]) {
            await page.$eval(`dialog[open] ${box}`, (input) => { input.value = ''; });
            await page.type(`dialog[open] ${box}`, typed);
        }
        await page.click('dialog[open] button[value="ok"]');
        assertEqual(await waitFor(page, () => document.querySelector('dialog[open] #problem:not([hidden])')?.textContent),
            problem, `${width} x ${height}`);
        await page.keyboard.press('Escape');
        await waitFor(page, () => !document.querySelector('dialog[open]'));
        assertEqual(await page.evaluate(() => window.tessaldoBench.session().size().width), 16, 'no picture made');
    }
}

async function cropAndUndo(page) {
    const file = join(kWork, 'crop.pbm');
    writeFileSync(file, pbm128x64());
    await openPicture(page, 'crop.pbm', readFileSync(file));
    const opened = await picture(page);
    await command(page, 'Picture Size…');
    await page.$eval('dialog[open] #sizeWidth', (box) => { box.value = ''; });
    await page.type('dialog[open] #sizeWidth', '64');
    await page.click('dialog[open] input[name="anchor"][value="centre"]');
    await page.click('dialog[open] button[value="ok"]');
    await waitFor(page, () => window.tessaldoBench.session().size().width === 64);
    const expected = join(kWork, 'cropped.pbm');
    cli('edit', file, expected, 'resize', '64x64@centre');
    writeFileSync(join(kWork, 'shown.pbm'), await page.evaluate(() =>
        String.fromCharCode(...window.tessaldoBench.session().pictureFile('shown.pbm').bytes)));
    assertEqual(cli('show', join(kWork, 'shown.pbm')), cli('show', expected), 'cropped at the centre as edit crops it');
    await page.keyboard.down('Control');
    await page.keyboard.press('z');
    await page.keyboard.up('Control');
    await waitFor(page, () => window.tessaldoBench.session().size().width === 128);
    assertEqual(JSON.stringify(await picture(page)), JSON.stringify(opened), 'one Undo gives the picture back');
}

// The pages array's bytes, read back in the controller's order, light the dots the drawing has.
async function pagesPreview(page) {
    await openPicture(page, 'splash.pbm', pbm128x64());
    await waitFor(page, () => !document.getElementById('displayPreview').hidden);
    const { dots } = await picture(page);
    const lit = await waitFor(page, () => {
        const canvas = document.getElementById('previewCanvas');
        if (canvas.width !== 128)
            return '';
        const { data } = canvas.getContext('2d').getImageData(0, 0, 128, 64);
        return Array.from({ length: 128 * 64 }, (_, dot) =>
            (data[dot * 4] + data[dot * 4 + 1] + data[dot * 4 + 2] > 3 * 128 ? '1' : '0')).join('');
    });
    assertEqual(await page.evaluate(() => window.tessaldoBench.session().arrayForm()), 'pages');
    assert(lit === dots, 'the SSD1306 shows the pages array as drawn');
    assertEqual(await page.$eval('.preview-note', (note) => note.hidden), true, 'no note where it shows as drawn');
    // Another form chosen: the preview says which the display takes, and its button takes it back.
    await page.evaluate(() => window.tessaldoBench.session().setArrayForm('xbm'));
    const advice = await waitFor(page, () => document.querySelector('.preview-advice').textContent);
    assertEqual(advice, await page.evaluate(() => window.tessaldoBench.session().preview('').advice), 'the core\'s advice');
    await page.click('#previewUseForm');
    await waitFor(page, () => document.querySelector('.preview-advice').hidden);
    assertEqual(await page.evaluate(() => window.tessaldoBench.session().arrayForm()), 'pages');
}

async function pbmSaved(page) {
    const file = join(kWork, 'saved.pbm');
    writeFileSync(file, pbm128x64());
    await openPicture(page, 'saved.pbm', readFileSync(file));
    await press(page, 'Save');
    const expected = join(kWork, 'expected.pbm');
    cli('edit', file, expected);
    assertEqual(await recorded(page, 'suggested'), 'saved.pbm', 'Save offers the file it came from');
    assertEqual(Buffer.from(await recorded(page, 'saved')).toString(), readFileSync(expected).toString());
}

// A click far into a large picture leaves no focus cell a 16 x 16 set opened next lacks: no uncaught error, and
// the title and the strip name the set.
async function smallSetAfterClick(page) {
    const uncaught = [];
    page.on('pageerror', (error) => uncaught.push(error.message));
    await openPicture(page, 'large.pbm', pbm128x64());
    // Inside both the drawn picture and the box showing it, as far to the right and down as both go.
    const far = await page.$eval('#canvasBox', (box) => {
        const [shown, drawn] = [box.getBoundingClientRect(), box.querySelector('.canvas-space').getBoundingClientRect()];
        return { x: Math.min(shown.right, drawn.right) - 6, y: Math.min(shown.bottom, drawn.bottom) - 6 };
    });
    await page.mouse.click(far.x, far.y);
    await waitFor(page, () => document.querySelector('#canvasBox [aria-colindex]')?.getAttribute('aria-colindex') > 16);
    const header = join(kWork, 'small.h');
    const drawings = ['A', 'B'].map((letter) => join(kWork, `${letter}.Lcd`));
    drawings.forEach((drawing, index) => writeFileSync(drawing, cli('text', 'AB'[index], '-')));
    writeFileSync(header, cli('header', ...drawings));
    await giveFile(page, 'small.h', readFileSync(header));
    await command(page, 'Set', 'Open Set…');
    await waitFor(page, () => document.title.includes('small.h'));
    assertEqual(await page.evaluate(() => window.tessaldoBench.session().size()), { width: 16, height: 16 });
    assertEqual((await page.$$('#setStrip [role="option"]')).length, 2, 'pictures in the strip');
    assertEqual(uncaught, [], 'uncaught errors');
}

// A dropped XBM or PBM opens at its own size, as Open opens it, rather than being fitted into the picture.
async function droppedBitmap(page) {
    const file = join(kWork, 'dropped.pbm');
    writeFileSync(file, pbm128x64());
    cli('edit', file, join(kWork, 'dropped.xbm'));
    const drawn = pbm128x64().toString().split('\n').slice(2).join('').replaceAll(' ', '');
    for (const name of ['dropped.xbm', 'dropped.pbm']) {
        await page.evaluate(() => window.tessaldoBench.session().newPictureOfSize(16, 16));
        await dropFiles(page, [[name, readFileSync(join(kWork, name))]]);
        await waitFor(page, (want) => document.title.includes(want), name);
        assertEqual(await picture(page), { width: 128, height: 64, dots: drawn }, name);
    }
}

// Insert Text on a 128 x 64 picture previews and draws at its size, as tessaldo-cli text --size 128x64 does.
async function textAtSize(page) {
    await openPicture(page, 'text.pbm', pbm128x64());
    await command(page, 'Insert Text…');
    assertEqual(await page.$eval('dialog[open] #offsetX', (box) => [box.min, box.max]), ['-128', '128'], 'offsets');
    await page.type('dialog[open] #text', 'Tessaldo');
    await waitFor(page, () => document.querySelector('dialog[open] #width').innerText);
    assertEqual(await page.$eval('dialog[open] #preview', (canvas) => [canvas.width, canvas.height]), [128, 64]);
    await page.click('dialog[open] button[value="ok"]');
    await waitFor(page, () => !document.querySelector('dialog[open]'));
    const expected = join(kWork, 'text.pbm');
    cli('text', 'Tessaldo', expected, '--size', '128x64');
    const made = await page.evaluate(() => Array.from(window.tessaldoBench.session().pictureFile('made.pbm').bytes));
    assertEqual(Buffer.from(made).toString(), readFileSync(expected).toString(), 'the text at 128 x 64');
}

// A busy 800 x 480 picture's link is longer than mail and chat pass on: it is copied and opens, and the page says
// so and offers the file, which Save… then writes.
async function longLink(page) {
    const made = await page.evaluate(() => {
        const dots = Array.from({ length: 800 * 480 }, (_, dot) => ((dot * 7919) % 11 < 5 ? '1' : '0')).join('');
        window.tessaldoBench.session().takeDotsOfSize('Paste', dots, 800, 480);
        return window.tessaldoBench.session().dots();
    });
    await command(page, 'Copy Link');
    const link = await recorded(page, 'clipboard');
    const said = await page.$eval('dialog[open] .message-text', (shown) => shown.innerText);
    assert(said.includes(`The link is ${link.length} characters long`) && said.includes('send the file'), said);
    await page.click('::-p-xpath(//dialog[@open]//button[text()="Save…"])');
    assert((await recorded(page, 'saved')).length > 0, 'the file offered is saved');
    const tab = await page.browserContext().newPage();
    await open(tab, link);
    assertEqual(await tab.evaluate(() => window.tessaldoBench.session().dots()), made, 'the picture the link opens');
}

export const kChecks = [
    { name: 'after a click on a 128 x 64 canvas Open Set of a 16 x 16 header opens it with its title and strip',
        run: smallSetAfterClick },
    { name: 'a dropped 128 x 64 XBM or PBM opens at its own size as Open does', run: droppedBitmap },
    { name: 'Insert Text on a 128 x 64 picture draws at its size as tessaldo-cli text does', run: textAtSize },
    { name: 'Copy Link of a busy 800 x 480 picture says the link is too long, offers the file, and opens', run: longLink },
    { name: 'New Picture… makes a clear 128 x 64 picture from its display\'s preset and previews it there',
        run: newFromPreset },
    { name: 'New Picture… refuses a side that is no whole number from 1 to 1024, in the core\'s words', run: newRefusesSizes },
    { name: 'Picture Size… crops at the centre as tessaldo-cli edit does, and one Undo gives it back', run: cropAndUndo },
    { name: 'the preview of a 128 x 64 pages array on the SSD1306 equals the drawing', run: pagesPreview },
    { name: 'a 128 x 64 PBM opened and saved gives the bytes tessaldo-cli edit writes', run: pbmSaved },
];
