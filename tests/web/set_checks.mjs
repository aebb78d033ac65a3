// The set of pictures (its keys, strip, names, onion skin and play) and
// sending pictures to the module.
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';

import {
    assert, assertEqual, cli, clickDot, dots, drawingFile, keys, kWork, menu, names, recorded, retype, setButton, strip,
    text, waitFor, waitForNames, waitForText,
} from './harness.mjs';

// Dots 0, 1 and 2 set in the pictures picture, picture_2 and picture_3, the last edited.
async function threePictures(page) {
    assert(await page.$eval('#setStrip', (shown) => shown.offsetParent === null), 'the strip shows for one picture');
    // Each click drawn before the next key, which a loaded machine may otherwise overtake.
    const drawn = (dot) => waitFor(page, (at) => window.shown.dots().slice(0, 3) === '000'.replace(/./g,
        (_, index) => (index === at ? '1' : '0')), dot);
    await clickDot(page, 0);
    await drawn(0);
    for (const dot of [1, 2]) {
        await keys(page, '#lbDot', 'Insert');
        await clickDot(page, dot);
        await drawn(dot);
    }
    assertEqual(await strip(page), [['picture', false], ['picture_2', false], ['picture_3', true]]);
}

async function dragFirstBelowLast(page) {
    await page.evaluate(() => {
        const shown = document.getElementById('setStrip');
        const transfer = new DataTransfer();
        const first = shown.querySelector('[data-index="0"]');
        const box = shown.getBoundingClientRect();
        first.dispatchEvent(new DragEvent('dragstart', { dataTransfer: transfer, bubbles: true }));
        for (const type of ['dragover', 'drop'])
            shown.dispatchEvent(new DragEvent(type, { dataTransfer: transfer, bubbles: true, cancelable: true,
                clientX: box.left + 10, clientY: box.top + 3 * first.offsetHeight - 5 }));
    });
}

async function rename(page, name) {
    await retype(page, 'dialog[open] #pictureName', name);
    await page.keyboard.press('Enter');
}

async function setEditing(page) {
    await threePictures(page);
    await keys(page, '#lbDot', 'PageUp', 'Shift+PageUp');
    assertEqual(await strip(page), [['picture_2', true], ['picture', false], ['picture_3', false]], 'moved up');
    assertEqual((await dots(page)).slice(0, 3), '010');
    await dragFirstBelowLast(page);
    assertEqual(await strip(page), [['picture', false], ['picture_3', false], ['picture_2', true]], 'dragged');
    await keys(page, '#lbDot', 'Control+z');
    assertEqual(await names(page), ['picture_2', 'picture', 'picture_3'], 'the drag undone');
    await keys(page, '#setStrip', 'End');
    assertEqual((await dots(page)).slice(0, 3), '001');
    await keys(page, '#setStrip', 'Home', 'ArrowDown');
    assertEqual((await dots(page)).slice(0, 3), '100');
    await keys(page, '#setStrip', 'F2');
    await rename(page, 'PICTURE_3');
    const refusal = await waitForText(page, 'dialog[open] #problem');
    assert(refusal.startsWith('Another picture is named "picture_3" already'), refusal);
    await rename(page, 'arrow');
    await waitForNames(page, ['picture_2', 'arrow', 'picture_3']);
    await keys(page, '#lbDot', 'Control+Delete');
    assertEqual(await strip(page), [['picture_2', false], ['picture_3', true]], 'deleted');
    await keys(page, '#lbDot', 'Control+z', 'Control+z');
    assertEqual(await strip(page), [['picture_2', false], ['picture', true], ['picture_3', false]], 'undone twice');
    for (const caption of ['Copy', 'Add', 'Delete'])
        await (await setButton(page, caption)).click();
    assertEqual(await names(page), ['picture_2', 'picture', 'picture_4', 'picture_3'], 'by the buttons');
}

async function onionAndPlay(page) {
    await threePictures(page);
    const onionSkin = '.set-buttons input[type=checkbox]';
    await page.click(onionSkin);
    assert(await page.$eval(onionSkin, (box) => box.checked), 'the onion skin is not on');
    await clickDot(page, 1); // the previous picture's dot, now set here too
    const onion = () => page.$$eval('#lbDot .onion', (cells) => cells.map((c) => c.id));
    assertEqual(await onion(), [], 'under a set dot');
    await keys(page, '#lbDot', 'PageUp');
    assertEqual(await onion(), ['dot-0']);
    await menu(page, 'Set', 'Picture Delay…');
    await retype(page, 'dialog[open] #pictureDelay', '70000');
    await page.keyboard.press('Enter');
    assertEqual(await waitForText(page, 'dialog[open] #problem'), 'A delay is 0 to 65535 milliseconds.');
    await retype(page, 'dialog[open] #pictureDelay', '30');
    await page.keyboard.press('Enter');
    await (await setButton(page, 'Play')).click();
    await waitFor(page, () => {
        window.seen ??= new Set();
        window.seen.add(window.shown.dots().slice(0, 3));
        return window.seen.size === 3;
    });
    assert(await setButton(page, 'Stop'), 'no Stop while playing');
    // An edit stops playing: the session says so, and the timer follows the session.
    await clickDot(page, 200);
    assert(await setButton(page, 'Play'), 'no Play after an edit');
    assertEqual((await dots(page))[200], '1', 'the edit');
}

// Where the browser has no Web Serial, the commands that need it say so and do nothing.
async function noWebSerial(page) {
    await clickDot(page, 0, 'right');
    const sending = await page.$$eval('[role="menuitem"]', (items) => items
        .filter((item) => item.innerText.startsWith('Send to Module'))
        .map((item) => [item.querySelector('span:nth-child(2)').textContent, item.getAttribute('aria-disabled')]));
    assertEqual(sending, [['Send to Module… needs Web Serial: Chrome, Edge or Opera', 'true']]);
    await page.keyboard.press('Escape');
}

async function sending(page) {
    if (!await page.evaluate(() => 'serial' in navigator))
        await noWebSerial(page);
    await page.evaluate(() => {
        Object.defineProperty(navigator, 'serial', {
            value: {
                requestPort: async () => ({
                    getInfo: () => ({}),
                    open: async (options) => { window.recorded.opened = options; },
                    close: async () => { window.recorded.closed = true; },
                    writable: {
                        getWriter: () => ({
                            write: async (bytes) => { window.recorded.sent = Array.from(bytes); }, releaseLock: () => {},
                        }),
                    },
                }),
            },
        });
    });
    await clickDot(page, 9);
    await menu(page, 'Send to Module…');
    await page.click('#choosePort');
    await waitFor(page, () => document.getElementById('port').innerText !== 'none chosen');
    await page.select('#baud', '115200');
    await page.click('#send');
    assertEqual(await waitForText(page, '#result'), 'Sent 33 bytes to the chosen port at 115200 baud.');
    const file = join(kWork, 's.Lcd');
    writeFileSync(file, drawingFile(await dots(page), 0));
    assertEqual(await recorded(page, 'sent'), [...cli('code', file, '--format', 'raw')]);
    assertEqual(await recorded(page, 'opened'),
        { baudRate: 115200, dataBits: 8, stopBits: 1, parity: 'none', flowControl: 'none' });
    await page.click('dialog[open] button[value=""]');
    // Play on Module sends each picture as it is shown, at the rate chosen last, until Stop.
    await page.evaluate(() => {
        window.recorded.played = [];
        window.recorded.sent = null;
    });
    await keys(page, '#lbDot', 'Insert');
    await menu(page, 'Set', 'Play on Module…');
    await page.click('#play');
    await waitFor(page, () => {
        if (window.recorded.sent)
            window.recorded.played.push(window.recorded.sent[2]);
        window.recorded.sent = null;
        return new Set(window.recorded.played).size === 2;
    });
    await page.click('#play');
    await waitFor(page, () => document.getElementById('result').innerText.startsWith('Sent'));
    const result = await text(page, '#result');
    assert(result.endsWith('pictures to the chosen port at 115200 baud.'), result);
}

export const kChecks = [
    { name: 'the set: keys add, walk, move and delete, a drag reorders, rename refuses then takes, undo', run: setEditing },
    { name: 'onion skin shows the previous picture under clear cells; play walks the set until an edit', run: onionAndPlay },
    { name: 'Send writes exactly the 33 bytes, 8N1 at the chosen rate', run: sending },
];
