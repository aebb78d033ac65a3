// The page's state: the editing session the core keeps (the set, the edited
// picture, type, history, the code's staleness) mirrored after each change it
// announces, and what only the page has, the code box's text and the focus
// cell. The DOM is drawn from it after every change.
import { constants, core } from './core.js';

let made = null;

// The session, once the core has loaded; from then on it leads.
export function session() {
    return made;
}

export const state = {
    width: 0,
    height: 0,
    version: 0,          // counts the session's changes: what is drawn from `pixels` redraws when it moves on
    pixels: new Uint8Array(), // the edited picture's dots by index, 1 for set: one copy a change at any size
    onionPixels: null,   // the previous picture's, the same way, or null for none
    tool: 0,             // core.Tool's value
    selection: null,     // {left, top, width, height} in cells, or null
    type: 0,
    count: 1,            // pictures in the set
    current: 0,          // the edited one
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

// The dots as 256 characters, '1' for a set dot, and the onion skin's ('' for
// none), as the 16 x 16 controls read them: made only when one asks, as the
// text of an 800 x 480 picture would cost more than a frame.
let texts = { version: -1, dots: '', onion: '' };
function textsNow() {
    if (texts.version !== state.version)
        texts = { version: state.version, dots: made.dots(), onion: made.onionDots() };
    return texts;
}
Object.defineProperty(state, 'dots', { enumerable: true, get: () => textsNow().dots });
Object.defineProperty(state, 'onion', { enumerable: true, get: () => textsNow().onion });

function mirrored() {
    const onion = made.onionView();
    const [width, height] = [made.width(), made.height()];
    // A smaller picture takes the focus cell away: it goes to the nearest cell left, before any face draws it.
    const focus = { column: Math.min(state.focus.column, width - 1), row: Math.min(state.focus.row, height - 1) };
    return { version: state.version + 1, width, height, focus, pixels: made.dotView().slice(),
        onionPixels: onion && onion.slice(), tool: made.tool().value, selection: made.selection(),
        type: made.type(), count: made.count(), current: made.current(),
        playing: made.isPlaying(), animation: made.isChecked(core.CommandId.SaveAsAnimation) };
}

export function startSession() {
    made = new core.Session();
    made.subscribe(() => update(mirrored()));
    Object.assign(state, mirrored());
}

// The module's 16 x 16, whose grid of check boxes stays as it always was.
export function atModuleSize() {
    return state.width === constants.gridSide && state.height === constants.gridSide;
}
