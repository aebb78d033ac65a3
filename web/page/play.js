// Play: the set shown picture by picture, each for its own delay. The core
// says whether the set plays (an edit stops it there); this timer follows.
import { session, state } from './state.js';

let timer = null;
let advancing = false;

function showNext() {
    advancing = true;
    const delay = session().showNextFrame();
    advancing = false;
    timer = setTimeout(showNext, delay);
}

export function togglePlay() {
    session().setPlaying(!session().isPlaying());
}

// Called on every change the session announces.
export function followPlaying() {
    if (advancing)
        return;
    if (state.playing && timer === null) {
        timer = setTimeout(showNext, session().shownMs());
    } else if (!state.playing && timer !== null) {
        clearTimeout(timer);
        timer = null;
    }
}
