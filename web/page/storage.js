// The work kept in the browser's storage at every change, so that a reload,
// a crash or a closed tab loses nothing: the core writes the set, the edited
// picture, the type and the set last saved as one text, and makes the
// session from it again. Each tab keeps its work under a key of its own,
// which its reloads find again; the work another tab or an earlier visit
// left is offered to restore, never put in its place unasked.
import { element, messageBox } from './dialogs.js';
import { mayReplaceWork } from './setfiles.js';
import { nameKeptFile } from './files.js';
import { atModuleSize, session, state, subscribe } from './state.js';

const kPrefix = 'tessaldo.work.';
const kTabKey = 'tessaldo.tab';  // in the tab's own session storage: the key its work is kept under
const kOldKey = 'tessaldo.work'; // where earlier versions kept the work, one for all tabs
const kArrayFormKey = 'tessaldo.arrayForm';
// The most pieces of work kept at once: the newest, this tab's always among them.
const kMostKept = 8;
const kPartMissing = 'The work kept in this browser cannot be read: a part of it is missing.';
// Reached through functions: where storage is turned off, even naming it throws.
const local = () => localStorage;
const tab = () => sessionStorage;

let ownKey = '';
// The parts of the work as last kept: a change writes only those that differ.
const kept = { meta: '', document: [], saved: [], stored: [] };
let unkept = false; // the user was told that nothing is kept

function read(storage, key) {
    try {
        return storage().getItem(key);
    } catch {
        return null;
    }
}

function write(storage, key, text) {
    try {
        storage().setItem(key, text);
        return true;
    } catch {
        return false; // full, or turned off
    }
}

function remove(storage, key) {
    try {
        storage().removeItem(key);
    } catch {
        // turned off: there is nothing to remove
    }
}

// Each entry is a line of its own, {parts, savedParts, at, pictures, name,
// unsaved}, with its parts beside it: KEY.N the document's, KEY.sN the set
// last saved's, "=" where that is the document's part N.
function keys() {
    try {
        return Object.keys(local()).filter((key) => /^tessaldo\.work\.[^.]+$/.test(key));
    } catch {
        return [];
    }
}

function entry(key) {
    try {
        const meta = JSON.parse(read(local, key));
        return Number.isInteger(meta?.parts) && Number.isInteger(meta.savedParts) ? meta : null;
    } catch {
        return null;
    }
}

function removeEntry(key, meta) {
    for (let part = 0; part < (meta?.parts ?? 0); ++part)
        remove(local, `${key}.${part}`);
    for (let part = 0; part < (meta?.savedParts ?? 0); ++part)
        remove(local, `${key}.s${part}`);
    remove(local, key);
}

// The kept text the core reads back, or null when a part is missing.
function textOf(key, meta) {
    const document = Array.from({ length: meta.parts }, (_, part) => read(local, `${key}.${part}`));
    const saved = Array.from({ length: meta.savedParts }, (_, part) => {
        const text = read(local, `${key}.s${part}`);
        return text === '=' ? document[part] : text;
    });
    if ([...document, ...saved].includes(null))
        return null;
    return document.join('') + (saved.length ? `\n${saved.join('')}` : '');
}

function writeEntry(key, text, meta) {
    const [document, saved] = text.split('\n');
    const written = write(local, `${key}.0`, document) && (saved === undefined || write(local, `${key}.s0`, saved));
    return written && write(local, key, JSON.stringify({ ...meta, parts: 1, savedParts: saved === undefined ? 0 : 1 }));
}

// Writes the parts that changed, the saved set's where they are not the
// document's, and drops those the work no longer has; false when storage refused one.
function writeParts() {
    const parts = session().keptParts();
    let written = true;
    const put = (name, text) => { written = write(local, `${ownKey}.${name}`, text) && written; };
    const touched = new Set();
    for (const [part, text] of parts.document) {
        kept.document[part] = text;
        put(part, text);
        touched.add(part);
    }
    for (const [part, text] of parts.saved) {
        kept.saved[part] = text;
        touched.add(part);
    }
    const shrunk = parts.documentParts < kept.document.length || parts.savedParts < kept.stored.length;
    for (let part = parts.documentParts; part < kept.document.length; ++part)
        remove(local, `${ownKey}.${part}`);
    for (let part = parts.savedParts; part < kept.stored.length; ++part)
        remove(local, `${ownKey}.s${part}`);
    kept.document.length = parts.documentParts;
    kept.saved.length = kept.stored.length = parts.savedParts;
    for (let part = 0; part < parts.savedParts; ++part) {
        const stored = kept.saved[part] === kept.document[part] ? '=' : kept.saved[part];
        if (touched.has(part) || stored !== kept.stored[part]) {
            kept.stored[part] = stored;
            put(`s${part}`, stored);
        }
    }
    const changed = touched.size > 0 || shrunk;
    return { written, changed, documentParts: parts.documentParts, savedParts: parts.savedParts };
}

function keep() {
    const parts = writeParts();
    const meta = JSON.stringify({ parts: parts.documentParts, savedParts: parts.savedParts, pictures: state.count,
        name: state.fileName, unsaved: !session().isClean() });
    const written = parts.written && ((meta === kept.meta && !parts.changed)
        || write(local, ownKey, `${meta.slice(0, -1)},"at":${Date.now()}}`));
    kept.meta = written ? meta : '';
    if (!written) {
        // What was refused is written again at the next change, if there is room by then.
        session().forgetKeptParts();
        Object.assign(kept, { document: [], saved: [], stored: [] });
    }
    if (!written && !unkept) {
        unkept = true;
        messageBox('This browser keeps no copy of the work: its storage for this page is full or turned off. '
            + 'Save the picture to a file to keep it.');
    }
}

// A large picture's text takes longer to write than a frame lasts: while the
// user draws on it, it is kept once the changes pause, and before the page
// goes. A 16 x 16 picture is kept at once, as it always was.
const kLargeKeptAfterMs = 250;
let keepTimer = 0;
function keepSoon() {
    clearTimeout(keepTimer);
    keepTimer = 0;
    if (atModuleSize())
        keep();
    else
        keepTimer = setTimeout(keepNow, kLargeKeptAfterMs);
}
function keepNow() {
    if (keepTimer) {
        clearTimeout(keepTimer);
        keepTimer = 0;
    }
    keep();
}

// Damaged work is put aside unchanged under a name of its own rather than
// written over; the message says where.
function putAside(text, problem) {
    const key = `${kPrefix}damaged.${new Date().toISOString()}`;
    if (write(local, key, text))
        return `${problem} It is put aside unchanged in this browser's local storage as "${key}".`;
    return problem;
}

// The tabs open now, by the locks each holds for as long as it lives; null where the browser has no locks.
async function liveKeys() {
    try {
        return new Set((await navigator.locks.query()).held.map((lock) => lock.name));
    } catch {
        return null;
    }
}

// True once this page holds the lock `key` for as long as it is open; false
// when another page still holds it after `patience` ms, as a duplicated tab's
// original does. A reloaded page's lock goes with it.
function hold(key, patience) {
    if (!navigator.locks)
        return Promise.resolve(true);
    return new Promise((resolve) => {
        navigator.locks.request(key, { signal: AbortSignal.timeout(patience) }, () => {
            resolve(true);
            return new Promise(() => {});
        }).catch(() => resolve(false));
    });
}

function newKey() {
    return `${kPrefix}${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}`;
}

// The key this tab keeps its work under: the one its last page had, unless
// another tab holds it (a duplicated tab brings the same session storage).
async function chooseKey() {
    const previous = read(tab, kTabKey);
    const key = previous && await hold(previous, 1000) ? previous : newKey();
    if (key !== previous)
        await hold(key, 1000);
    write(tab, kTabKey, key);
    return key;
}

// Work an earlier version kept under one key for all tabs becomes an entry like any other.
function takeOldWork() {
    const own = read(tab, kOldKey);
    const shared = read(local, kOldKey);
    if (shared && shared !== own)
        writeEntry(newKey(), shared, { at: Date.now(), pictures: 0, name: '', unsaved: true });
    remove(tab, kOldKey);
    remove(local, kOldKey);
    return own;
}

// Only unsaved work of tabs no longer open is worth offering; the rest goes,
// and the oldest beyond kMostKept.
function leftWork(live) {
    const left = [];
    for (const key of keys()) {
        if (key === ownKey || live?.has(key))
            continue;
        const meta = entry(key);
        if (meta?.unsaved)
            left.push({ key, ...meta });
        else
            removeEntry(key, meta);
    }
    left.sort((a, b) => b.at - a.at);
    for (const { key, ...meta } of left.splice(kMostKept - 1))
        removeEntry(key, meta);
    return left;
}

function describe(left) {
    const when = left.at ? new Date(left.at).toLocaleString([], { dateStyle: 'medium', timeStyle: 'short' }) : 'earlier';
    const pictures = left.pictures === 1 ? '1 picture' : left.pictures > 1 ? `${left.pictures} pictures` : 'work';
    return `${left.name ? `${left.name}, ` : ''}${pictures}, ${when}`;
}

async function restoreLeft(left, button, offer) {
    if (!await mayReplaceWork())
        return;
    const text = textOf(left.key, left);
    const problem = text === null ? kPartMissing : session().restore(text);
    if (problem)
        await messageBox(text === null ? problem : putAside(text, problem));
    else
        nameKeptFile(left.name || '');
    removeEntry(left.key, left);
    button.remove();
    if (!offer.querySelector('button.restore')) {
        offer.remove();
        document.getElementById('lbDot').focus(); // where the restored work is
    }
}

// The small offer above the window, one Restore for each piece of work left.
function offerLeft(left) {
    if (!left.length)
        return;
    const offer = element('section', { id: 'restoreOffer', className: 'restore-offer', ariaLabel: 'Work left unsaved' },
        [element('span', { textContent: 'Unsaved work left in another tab or on an earlier visit:' })]);
    for (const work of left) {
        const button = element('button', { type: 'button', className: 'restore', textContent: `Restore ${describe(work)}` });
        button.addEventListener('click', () => restoreLeft(work, button, offer));
        offer.append(button);
    }
    const close = element('button', { type: 'button', className: 'restore-close', textContent: 'Not now' });
    close.addEventListener('click', () => offer.remove());
    offer.append(close);
    document.querySelector('.workspace').before(offer);
}

// Brings back this tab's own work, then keeps every change, and offers what
// other tabs and earlier visits left. Gives the message for kept work that
// could not be read, '' when there is none.
export async function keepWork() {
    ownKey = await chooseKey();
    const live = await liveKeys();
    const old = takeOldWork();
    const own = entry(ownKey);
    const text = own ? textOf(ownKey, own) : old;
    if (own && text === null) {
        // Left where it is, under a key this tab no longer writes.
        ownKey = newKey();
        await hold(ownKey, 1000);
        write(tab, kTabKey, ownKey);
    }
    const problem = text ? session().restore(text) : (own && kPartMissing) || '';
    if (own && text && !problem)
        nameKeptFile(own.name || '');
    // What the parts of an earlier page of this tab's hold is written again, whole, from the work restored.
    if (text)
        removeEntry(ownKey, own);
    subscribe(keepSoon);
    window.addEventListener('pagehide', () => keepTimer && keepNow());
    keep();
    offerLeft(leftWork(live));
    return text && problem ? putAside(text, problem) : problem;
}

// The form "Copy as C Array" copies in, as last chosen in any tab: a choice
// of the user's, not part of the work.
export function rememberArrayForm() {
    const chosen = read(local, kArrayFormKey);
    if (chosen)
        session().setArrayForm(chosen);
    let remembered = session().arrayForm();
    subscribe(() => {
        const form = session().arrayForm();
        if (form !== remembered && write(local, kArrayFormKey, form))
            remembered = form;
    });
}
