// Every way the page keeps a picture, shares it or reopens it, as one table
// run at sizes from 1 x 1 to 800 x 480: a set of several pictures, named and
// timed, goes out and comes back, and must come back dot for dot. A row that
// keeps one picture compares the edited one; the others the whole set. Each
// row starts from a page of its own, so that no storage carries over.
import { assertEqual, Failure, giveFile, open, pasteText, press, ready, recorded, standIns, waitFor } from './harness.mjs';

// Sizes whose widths are and are not whole bytes, the module's among them.
const kSizes = [[1, 1], [12, 7], [16, 16], [128, 64], [800, 480]];

// The set every row starts from: three pictures, sparse enough for a link, each unlike the others.
function makeSet(page, width, height, animation) {
    return page.evaluate((w, h, animated) => {
        const { core, session } = window.tessaldoBench;
        const dotsOf = (k) => Array.from({ length: w * h }, (_, dot) => {
            const [x, y] = [dot % w, Math.floor(dot / w)];
            return x === (y * (k + 1)) % w || y === k % h || ((x + k) % 29 === 0 && y % 13 === 0) ? '1' : '0';
        }).join('');
        session().takePictures('Paste', ['first', 'second', 'third'].map((name, k) =>
            ({ name, delayMs: [100, 250, 40][k], dots: dotsOf(k), width: w, height: h })));
        if (animated)
            session().perform(core.CommandId.SaveAsAnimation);
        session().select(1);
    }, width, height, animation);
}

// The set as the session holds it, or only the edited picture.
function held(page, single) {
    return page.evaluate((one) => {
        const made = window.tessaldoBench.session();
        const pictureOf = (index) => ({ name: made.pictureName(index), delayMs: made.pictureDelay(index),
            ...made.pictureSize(index), dots: made.pictureDots(index) });
        if (one)
            return [{ ...made.size(), dots: made.dots() }];
        return Array.from({ length: made.count() }, (_, index) => pictureOf(index));
    }, single);
}

// A command of the grid's menu, a submenu's caption first, through the menu button that stands above a canvas of
// any size.
async function command(page, ...captions) {
    await page.click('#menuButton');
    for (const caption of captions)
        await page.click(`::-p-xpath(//*[starts-with(@role, "menuitem")][span[text()="${caption}"]])`);
}

// What Save, or the menu's command, writes to a new file named `name` in the save picker.
async function savedAs(page, name, ...captions) {
    await page.evaluate((chosen) => {
        window.showSaveFilePicker = async () => ({
            name: chosen, getFile: async () => new File([''], chosen),
            createWritable: async () => ({
                write: async (blob) => { window.recorded.saved = new Uint8Array(await blob.arrayBuffer()); },
                close: async () => {},
            }),
        });
    }, name);
    await (captions.length ? command(page, ...captions) : press(page, 'Save'));
    return Buffer.from(await recorded(page, 'saved'));
}

// A page in a browser context of its own, as another browser on another day would open it.
async function freshPage(page, where, address = where.url) {
    const other = await (await page.browser().createBrowserContext()).newPage();
    await open(other, address);
    return other;
}

async function openedElsewhere(page, where, name, bytes, ...captions) {
    const other = await freshPage(page, where);
    await giveFile(other, name, bytes);
    await (captions.length ? command(other, ...captions) : press(other, 'Open'));
    const said = await waitFor(other, (file) => (document.title.includes(file) ? 'opened'
        : document.querySelector('dialog[open] .message-text')?.innerText), name);
    assertEqual(said, 'opened', `${name} opened:`);
    return other;
}

// The text pasted on a fresh page's grid, once what it holds is in the place of the page's clear picture: every
// picture of the set has a dot set.
async function pastedElsewhere(page, where, pasted) {
    const other = await freshPage(page, where);
    await pasteText(other, pasted);
    const said = await waitFor(other, (size) => {
        const made = window.tessaldoBench.session();
        return (JSON.stringify(made.size()) === size && made.dots().includes('1') && 'pasted')
            || document.querySelector('dialog[open]')?.innerText;
    }, JSON.stringify(await page.evaluate(() => window.tessaldoBench.session().size())));
    assertEqual(said, 'pasted', 'the paste:');
    return other;
}

function fileRow(name) {
    return { name: `Save and Open as ${name}`, single: true,
        trip: async (page, where) => openedElsewhere(page, where, name, await savedAs(page, name)) };
}

const kRows = [
    fileRow('picture.pbm'),
    fileRow('picture.xbm'),
    { ...fileRow('picture.Lcd'), sizes: ['16 x 16'] }, // a drawing file holds the module's size
    { name: 'Save Set and Open Set', trip: async (page, where) =>
        openedElsewhere(page, where, 'set.h', await savedAs(page, 'set.h', 'Set', 'Save Set As…'), 'Set', 'Open Set…') },
    { name: 'Copy as C Array and paste', single: true, trip: async (page, where) => {
        await command(page, 'Copy as C Array');
        return pastedElsewhere(page, where, await recorded(page, 'clipboard'));
    } },
    { name: 'reload', trip: async (page) => {
        await page.reload();
        await ready(page);
        await standIns(page);
        return page;
    } },
    { name: 'Restore in the next tab', trip: async (page, where) => {
        const context = page.browserContext();
        await page.close(); // its work is kept as it goes
        const next = await context.newPage();
        await open(next, where.url);
        await next.click('#restoreOffer button.restore');
        await waitFor(next, () => !document.getElementById('restoreOffer'));
        return next;
    } },
    { name: 'Copy Link, opened in a second tab', trip: async (page, where) => {
        await command(page, 'Copy Link');
        const link = await recorded(page, 'clipboard');
        // A set too long for a link is shared as its edited picture, which the page says.
        const said = await page.$eval('dialog[open] .message-text', (shown) => shown.innerText).catch(() => '');
        return { page: await freshPage(page, where, link), single: said.includes('holds only the picture') };
    } },
];

async function roundTrips(page, where, [width, height]) {
    const size = `${width} x ${height}`;
    for (const row of kRows.filter((candidate) => !candidate.sizes || candidate.sizes.includes(size))) {
        const start = await freshPage(page, where);
        await makeSet(start, width, height, width % 8 !== 0);
        const sent = { set: await held(start, false), one: await held(start, true) };
        const came = await row.trip(start, where).catch((error) => {
            throw new Failure(`${row.name} at ${size}: ${error.message}`);
        });
        const { page: back, single = row.single } = came.page ? came : { page: came };
        assertEqual(await held(back, single), single ? sent.one : sent.set, `${row.name} at ${size}:`);
        await back.browserContext().close();
        if (!start.isClosed())
            await start.browserContext().close();
    }
}

export const kChecks = kSizes.map((size) => ({
    name: `round trips of a set at ${size.join(' x ')}: files, sets, arrays, reload, Restore and links`,
    run: (page, where) => roundTrips(page, where, size),
}));
