// The work kept in the browser's storage at every change, so that a reload,
// a crash or a closed tab loses nothing: the core writes the set, the edited
// picture, the type and the set last saved as one text, and makes the
// session from it again. Each tab keeps its work under a key of its own,
// which its reloads find again; the work another tab or an earlier visit
// left is offered to restore, never put in its place unasked.
import { element, messageBox } from './dialogs.js';
import { mayReplaceWork } from './setfiles.js';
import { nameKeptFile } from './files.js';
import { session, state, subscribe } from './state.js';

const kPrefix = 'tessaldo.work.';
const kTabKey = 'tessaldo.tab';  // in the tab's own session storage: the key its work is kept under
const kOldKey = 'tessaldo.work'; // where earlier versions kept the work, one for all tabs
const kArrayFormKey = 'tessaldo.arrayForm';
// The most pieces of work kept at once: the newest, this tab's always among them.
const kMostKept = 8;
// Reached through functions: where storage is turned off, even naming it throws.
const local = () => localStorage;
const tab = () => sessionStorage;

let ownKey = '';
let written = null; // the entry last kept
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

function keys() {
    try {
        return Object.keys(local()).filter((key) => key.startsWith(kPrefix) && !key.includes('.damaged.'));
    } catch {
        return [];
    }
}

// {text, at, pictures, name, unsaved}, or null for what is no entry of this page's.
function entry(key) {
    try {
        const kept = JSON.parse(read(local, key));
        return typeof kept?.text === 'string' ? kept : null;
    } catch {
        return null;
    }
}

function keep() {
    const work = { text: session().keptText(), pictures: state.count, name: state.fileName, unsaved: !session().isClean() };
    if (written && Object.keys(work).every((field) => work[field] === written[field]))
        return;
    written = work;
    if (!write(local, ownKey, JSON.stringify({ ...work, at: Date.now() })) && !unkept) {
        unkept = true;
        messageBox('This browser keeps no copy of the work: its storage for this page is full or turned off. '
            + 'Save the picture to a file to keep it.');
    }
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
    remove(tab, kOldKey);
    remove(local, kOldKey);
    if (shared && shared !== own)
        write(local, newKey(), JSON.stringify({ text: shared, at: Date.now(), pictures: 0, name: '', unsaved: true }));
    return own;
}

// Only unsaved work of tabs no longer open is worth offering; the rest goes,
// and the oldest beyond kMostKept.
function leftWork(live) {
    const left = [];
    for (const key of keys()) {
        if (key === ownKey || live?.has(key))
            continue;
        const kept = entry(key);
        if (kept?.unsaved)
            left.push({ key, ...kept });
        else
            remove(local, key);
    }
    left.sort((a, b) => b.at - a.at);
    for (const { key } of left.splice(kMostKept - 1))
        remove(local, key);
    return left;
}

function describe(kept) {
    const when = kept.at ? new Date(kept.at).toLocaleString([], { dateStyle: 'medium', timeStyle: 'short' }) : 'earlier';
    const pictures = kept.pictures === 1 ? '1 picture' : kept.pictures > 1 ? `${kept.pictures} pictures` : 'work';
    return `${kept.name ? `${kept.name}, ` : ''}${pictures}, ${when}`;
}

async function restoreLeft(kept, button, offer) {
    if (!await mayReplaceWork())
        return;
    const problem = session().restore(kept.text);
    if (problem) {
        await messageBox(putAside(kept.text, problem));
    } else {
        nameKeptFile(kept.name || '');
        keep();
    }
    remove(local, kept.key);
    button.remove();
    if (!offer.querySelector('button.restore'))
        offer.remove();
}

// The small offer above the window, one Restore for each piece of work left.
function offerLeft(left) {
    if (!left.length)
        return;
    const offer = element('section', { id: 'restoreOffer', className: 'restore-offer', ariaLabel: 'Work left unsaved' },
        [element('span', { textContent: 'Unsaved work left in another tab or on an earlier visit:' })]);
    for (const kept of left) {
        const button = element('button', { type: 'button', className: 'restore', textContent: `Restore ${describe(kept)}` });
        button.addEventListener('click', () => restoreLeft(kept, button, offer));
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
    const text = own?.text ?? old;
    const problem = text ? session().restore(text) : '';
    if (own && !problem)
        nameKeptFile(own.name || '');
    subscribe(keep);
    offerLeft(leftWork(live));
    return problem && putAside(text, problem);
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
