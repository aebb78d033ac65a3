// The page's state: the editing session the core keeps (the set, the edited
// picture, type, history, the code's staleness) mirrored after each change it
// announces, and what only the page has, the code box's text and the focus
// cell. The DOM is drawn from it after every change.
import { core } from './core.js';

let made = null;

// The session, once the core has loaded; from then on it leads.
export function session() {
    return made;
}

export const state = {
    dots: '',
    type: 0,
    count: 1,            // pictures in the set
    current: 0,          // the edited one
    onion: '',           // the previous picture's dots shown under the grid, '' for none
    playing: false,
    animation: false,    // the set is saved as an animation's frames
    code: '',            // what the code box holds, LF line ends
    fileName: '',        // the file the work was last opened from or saved to, '' for none
    focus: { column: 0, row: 0 }, // the focus cell, in screen terms
};

// Where the work was opened from and is saved to, which no drawing shows.
export const places = {
    picture: { name: '', handle: null }, // the drawing file; the handle only with the file pickers
    setSavedAs: null,  // {name, handle}: where Save Set writes again; the handle only with the save picker
    setOpenedName: '', // the header or source last opened, the name first offered to save under
};

const listeners = [];

// Gives the call that stops the listening.
export function subscribe(listener) {
    listeners.push(listener);
    return () => listeners.splice(listeners.indexOf(listener), 1);
}

export function update(patch) {
    Object.assign(state, patch);
    for (const listener of [...listeners]) // one may stop listening as it is told
        listener(state);
}

function mirrored() {
    return { dots: made.dots(), type: made.type(), count: made.count(), current: made.current(),
        onion: made.onionDots(), playing: made.isPlaying(), animation: made.isChecked(core.CommandId.SaveAsAnimation) };
}

export function startSession() {
    made = new core.Session();
    made.subscribe(() => update(mirrored()));
    Object.assign(state, mirrored());
}
