// The page's state: the editing session the core keeps (picture, type,
// history, the code's staleness) mirrored after each change it announces,
// and what only the page has, the code box's text and the focus cell. The
// DOM is drawn from it after every change.
import { core } from './core.js';

let made = null;

// The session, once the core has loaded; from then on it leads.
export function session() {
    return made;
}

export const state = {
    dots: '',
    type: 0,
    code: '',            // what the code box holds, LF line ends
    focus: { column: 0, row: 0 }, // the focus cell, in screen terms
};

const listeners = [];

export function subscribe(listener) {
    listeners.push(listener);
}

export function update(patch) {
    Object.assign(state, patch);
    for (const listener of listeners)
        listener(state);
}

export function startSession() {
    made = new core.Session();
    made.subscribe(() => update({ dots: made.dots(), type: made.type() }));
    Object.assign(state, { dots: made.dots(), type: made.type() });
}
