// The page's one state; the DOM is drawn from it after every change.
import { kClearDots } from './core.js';

export const state = {
    dots: kClearDots,
    type: 0,
    code: '',            // what the code box holds, LF line ends
    codeMadeFrom: null,  // the dots Run made the box's code from, until the user types
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

// While the picture differs from the one the code was made from, the code is stale.
export function codeIsStale() {
    return state.codeMadeFrom !== null && state.codeMadeFrom !== state.dots;
}
