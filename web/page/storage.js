// The work kept in the browser's storage at every change, so that a reload,
// a crash or a closed tab loses nothing: the core writes the set, the edited
// picture, the type and the set last saved as one text, and makes the
// session from it again. Each tab keeps its own work for its reloads
// (sessionStorage); a new tab finds the work last changed in any tab
// (localStorage).
import { messageBox } from './dialogs.js';
import { session, subscribe } from './state.js';

const kKey = 'tessaldo.work';
const kArrayFormKey = 'tessaldo.arrayForm';
// Reached through functions: where storage is turned off, even naming it throws.
const kStorages = [() => sessionStorage, () => localStorage];

let written = null; // the text last kept
let unkept = false; // the user was told that nothing is kept

function read(storage, key = kKey) {
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

function keep() {
    const text = session().keptText();
    if (text === written)
        return;
    written = text;
    const kept = kStorages.map((storage) => write(storage, kKey, text));
    if (kept.includes(false) && !unkept) {
        unkept = true;
        messageBox('This browser keeps no copy of the work: its storage for this page is full or turned off. '
            + 'Save the picture to a file to keep it.');
    }
}

// Damaged work is put aside unchanged under a name of its own rather than
// written over; the message says where.
function putAside(text, problem) {
    const key = `${kKey}.damaged.${new Date().toISOString()}`;
    if (write(kStorages[1], key, text))
        return `${problem} It is put aside unchanged in this browser's local storage as "${key}".`;
    return problem;
}

// Brings back the work kept before, then keeps every change. Gives the
// message for kept work that could not be read, '' when there is none.
export function keepWork() {
    const text = read(kStorages[0]) ?? read(kStorages[1]);
    const problem = text ? session().restore(text) : '';
    written = text;
    subscribe(keep);
    return problem && putAside(text, problem);
}

// The form "Copy as C Array" copies in, as last chosen in any tab: a choice
// of the user's, not part of the work.
export function rememberArrayForm() {
    const chosen = read(kStorages[1], kArrayFormKey);
    if (chosen)
        session().setArrayForm(chosen);
    let remembered = session().arrayForm();
    subscribe(() => {
        const form = session().arrayForm();
        if (form !== remembered && write(kStorages[1], kArrayFormKey, form))
            remembered = form;
    });
}
