// Files in and out: Open and its refusals, an import against the command
// line's, a set as a header, as dropped drawings and as a folder, and an
// animated GIF opened as a set.
import { mkdirSync, readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

import {
    answer, assert, assertEqual, cli, cliRefusal, dataFile, kData, dots, drawingFile, dropFiles, giveFile, keys, kWork, lcdDots,
    leavingAsks, message, menu, names, pasteText, press, recorded, retype, setDots, waitFor, waitForDots, waitForNames,
} from './harness.mjs';

async function opening(page) {
    const ten = '1'.repeat(10) + '0'.repeat(246);
    await giveFile(page, 'good.Lcd', drawingFile(ten, 1));
    await press(page, 'Open');
    await waitForDots(page, ten);
    assert(await page.$eval('#optType1 input', (input) => input.checked), 'the column layout is chosen');
    await giveFile(page, 'old.Lcd', Buffer.from(`0${'1'.repeat(254)}\r\n`));
    await press(page, 'Open');
    await waitForDots(page, `1${'0'.repeat(255)}`);
    const junk = readFileSync('/etc/passwd');
    await giveFile(page, 'passwd', junk);
    await press(page, 'Open');
    const expected = cliRefusal(['code', '-'], junk);
    assertEqual(await message(page),
        expected.replace('standard input', '"passwd"').replace('Cannot read "passwd"', 'Cannot open "passwd"'));
    assertEqual(await dots(page), `1${'0'.repeat(255)}`);
}

async function importing(page) {
    const lcd = join(kWork, 'p.Lcd');
    const png = join(kWork, 'p.png');
    writeFileSync(lcd, drawingFile(Array.from({ length: 256 }, (_, i) => ((i * 7) % 5 < 2 ? '1' : '0')).join(''), 0));
    cli('png', lcd, png, '--scale', '3');
    await dropFiles(page, [['p.png', readFileSync(png)]]);
    await page.waitForSelector('dialog[open] input#threshold');
    await retype(page, 'dialog[open] input#threshold', '100');
    await page.click('dialog[open] button[value="ok"]');
    await waitForDots(page, lcdDots(cli('import', png, '-', '--threshold', '100')));
    const big = Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR', 'latin1'),
        Buffer.from([0, 1, 0x86, 0xa0, 0, 1, 0x86, 0xa0]), Buffer.from([8, 2, 0, 0, 0])]);
    await dropFiles(page, [['big.png', big]]);
    assertEqual(await message(page),
        'Cannot import "big.png": it is 100000 x 100000 pixels; images up to 64 megapixels can be imported.');
    const gif = dataFile('partial-frames.gif');
    for (const [name, data, reason] of [['cut.gif', gif.subarray(0, gif.length >> 1), 'the GIF ends before its last frame'],
        ['cut.jpg', Buffer.from('\xff\xd8\xff\xe0\x00\x10JFIF\x00', 'latin1'), 'the JPEG data ends early']]) {
        await dropFiles(page, [[name, data]]);
        assertEqual(await message(page), `Cannot import "${name}": ${reason}.`);
    }
}

// The two printf lines Run gives, saved as code.txt and dropped: the picture they send, as code.c gives it.
async function codeText(page) {
    const lcd = join(kWork, 'code.Lcd');
    writeFileSync(lcd, drawingFile(Array.from({ length: 256 }, (_, i) => (i % 3 ? '0' : '1')).join(''), 0));
    await dropFiles(page, [['code.txt', cli('code', lcd)]]);
    await waitForDots(page, lcdDots(readFileSync(lcd)));
}

// Saves the set with the header picker standing in, which finds `existing` in the file it is given.
async function saveSetOver(page, existing) {
    await page.evaluate((text) => {
        window.existing = text;
        delete window.recorded.saved;
        window.showSaveFilePicker = async () => ({
            name: 'six.h', getFile: async () => new File([window.existing], 'six.h'),
            createWritable: async () => ({
                write: async (blob) => { window.recorded.saved = await blob.text(); }, close: async () => {},
            }),
        });
    }, existing);
    await keys(page, '#lbDot', 'Control+Shift+S');
}

async function setFiles(page) {
    const folder = join(kWork, 'six');
    mkdirSync(folder, { recursive: true });
    const letters = [...'ABCDEF'];
    const lcd = (letter) => join(folder, `${letter}.Lcd`);
    for (const letter of letters)
        cli('text', letter, lcd(letter));
    const icons = letters.map((letter) => lcdDots(readFileSync(lcd(letter))));
    assert(!await leavingAsks(page), 'leaving an untouched page asks');
    await pasteText(page, cli('header', ...letters.map(lcd), '--output', '-').toString());
    assertEqual(await names(page), letters);
    assertEqual(await setDots(page), icons, 'the pasted pictures');
    assert(await leavingAsks(page), 'leaving a pasted set does not ask');
    await saveSetOver(page, '');
    const header = await recorded(page, 'saved');
    assert(!await leavingAsks(page), 'leaving a saved set asks');
    writeFileSync(join(kWork, 'six.h'), header);
    cli('decode', join(kWork, 'six.h'), '--each', join(kWork, 'back'));
    for (const letter of letters)
        assertEqual(readFileSync(join(kWork, 'back', `${letter}.Lcd`)).toString(), readFileSync(lcd(letter)).toString(), letter);
    await saveSetOver(page, 'int main(void) { return 0; }');
    const refusal = await message(page);
    assert(refusal.startsWith('Cannot save "six.h": it holds code that is no header of this program'), refusal);
    await giveFile(page, 'six.h', Buffer.from(header));
    // Another set over one not saved asks first, as the window does: Cancel keeps it, Discard lets it go.
    await keys(page, '#lbDot', 'Insert', 'Control+Shift+O');
    assertEqual(await answer(page, 'Cancel'), 'Save changes to the set?');
    assertEqual(await page.evaluate(() => window.tessaldoBench.session().count()), 7, 'the set kept');
    await keys(page, '#lbDot', 'Control+Shift+O');
    assertEqual(await answer(page, 'Discard'), 'Save changes to the set?');
    await waitForNames(page, letters);
    assertEqual(await setDots(page), icons, 'the opened pictures');
    assert(!await leavingAsks(page), 'leaving an opened set asks');
    // Files of which nothing opens replace nothing, so they ask nothing.
    await keys(page, '#lbDot', 'Insert');
    await dropFiles(page, [['readme.txt', Buffer.from('hi')], ['empty.Lcd', Buffer.alloc(0)]]);
    const none = await message(page);
    assert(none.startsWith('None of these files opens as a drawing'), none);
    await keys(page, '#lbDot', 'Control+z');
    // Drawing files dropped together are a set too, named after them, and a folder gives them back;
    // anything else among them is left out and named with why.
    await dropFiles(page, [['A.Lcd', readFileSync(lcd('A'))], ['B.Lcd', readFileSync(lcd('B'))], ['readme.txt', Buffer.from('hi')]]);
    const mixed = await message(page);
    assert(mixed.startsWith('Left out of the set:\nCannot open "readme.txt"'), mixed);
    assertEqual(await names(page), ['A', 'B']);
    await dropFiles(page, [...letters].reverse().map((letter) => [`${letter}.Lcd`, readFileSync(lcd(letter))]));
    await waitForNames(page, [...letters].reverse());
    await page.evaluate(() => {
        window.showDirectoryPicker = async () => ({
            name: 'out', getFileHandle: async (name) => ({
                createWritable: async () => ({
                    write: async (blob) => { window.recorded[name] = new Uint8Array(await blob.arrayBuffer()); },
                    close: async () => {},
                }),
            }),
        });
    });
    await menu(page, 'Set', 'Save Set as Folder…');
    assertEqual(Buffer.from(await recorded(page, 'A.Lcd')).toString(), readFileSync(lcd('A')).toString());
}

// A sketch of drawBitmap icons, whose arrays say no layout, asks once which
// layout they are all in, the likeliest first, each shown by the set's first
// pictures; the array that is no picture is named after the set opens.
async function sketchSet(page) {
    const box = (left, top, right, bottom) => Array.from({ length: 32 }, (_, byte) => {
        const row = Math.floor(byte / 2);
        let value = 0;
        for (let bit = 0; bit < 8; ++bit) {
            const column = 8 * (byte % 2) + 7 - bit;
            value |= column >= left && column <= right && row >= top && row <= bottom ? 1 << bit : 0;
        }
        return value;
    });
    const sketch = `const unsigned char wide[] PROGMEM = {${box(2, 5, 13, 7).join(', ')}};\n`
        + `const unsigned char tall[] PROGMEM = {${box(6, 1, 8, 14).join(', ')}};\n`
        + 'const char font[5] = {1, 2, 3, 4, 5};\n';
    writeFileSync(join(kWork, 'sketch.ino'), sketch);
    cli('decode', join(kWork, 'sketch.ino'), '--each', join(kWork, 'sketch'), '--layout', 'rows');
    const expected = ['wide', 'tall'].map((name) => lcdDots(readFileSync(join(kWork, 'sketch', `${name}.Lcd`))));
    await giveFile(page, 'sketch.ino', Buffer.from(sketch));
    await keys(page, '#lbDot', 'Control+Shift+O');
    await page.waitForSelector('dialog[open] .layout-choice');
    const choices = await page.$$eval('dialog[open] .layout-choice label',
        (labels) => labels.map((label) => [label.textContent, label.querySelectorAll('canvas').length]));
    assertEqual(choices[0], ['Adafruit GFX drawBitmap', 2], 'the likeliest reading, shown by both pictures');
    assert(choices.some(([name]) => name === 'Module C Array'), JSON.stringify(choices));
    await page.keyboard.press('Enter');
    const note = await message(page);
    assert(note.startsWith('Passed over in "sketch.ino": the array font'), note);
    await waitForNames(page, ['wide', 'tall']);
    assertEqual(await setDots(page), expected, 'the pictures read as drawBitmap\'s');
}

async function gifSet(page) {
    // The second asks for 0, 10 and 50 ms, which viewers show for 100, 100 and 50.
    for (const gif of ['dispose-background.gif', 'tiny-delays.gif']) {
        const frames = join(kWork, gif);
        const listed = cli('import', join(kData, gif), '--each', frames).toString().split('\n').filter(Boolean);
        await giveFile(page, 'spin.gif', dataFile(gif), 'image/gif');
        await keys(page, '#lbDot', 'Control+Shift+O');
        // Both sets have the same names: the second is there when its delays are.
        const delays = listed.map((line) => line.split(' ').slice(1).join(' '));
        await waitFor(page, (want) => JSON.stringify([window.shown.strip().map(([name]) => name),
            [...document.querySelectorAll('#setStrip .strip-delay')].map((d) => d.textContent)]) === want,
        JSON.stringify([['spin_000', 'spin_001', 'spin_002'], delays]));
        const expected = readdirSync(frames).filter((name) => name.endsWith('.Lcd')).sort()
            .map((name) => lcdDots(readFileSync(join(frames, name))));
        assertEqual(await setDots(page), expected, gif);
        const spoken = await page.$eval('#picture-0', (o) => [o.getAttribute('aria-label'), o.getAttribute('aria-description')]);
        assertEqual(spoken, ['spin_000, picture 1 of 3', delays[0]]);
    }
}

export const kChecks = [
    { name: 'Open takes good and legacy files and refuses junk with the desktop\'s reason', run: opening },
    { name: 'Open Set of a sketch asks once which layout its arrays are in and names what it passed over', run: sketchSet },
    { name: 'an imported PNG gives the dots tessaldo-cli import gives', run: importing },
    { name: 'a dropped code.txt of printf lines opens as code', run: codeText },
    { name: 'a pasted header of six icons gives six; Save Set and Open Set give them back; a hand-written file is kept',
        run: setFiles },
    { name: 'an animated GIF opens at once as a set of its frames at their delays, as import --each makes them',
        run: gifSet },
];
