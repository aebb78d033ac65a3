// Every change of the picture is one step that Ctrl+Z takes back, as in the
// desktop window: the picture and type before and after.
import { state, update } from './state.js';

const kHistorySteps = 10000;
const done = [];
const undone = [];

function picture() {
    return { dots: state.dots, type: state.type };
}

function show(target) {
    update({ dots: target.dots, type: target.type });
}

function record(text, before, after) {
    if (before.dots === after.dots && before.type === after.type)
        return; // a step that changes nothing would only make Undo look broken
    done.push({ text, before, after });
    if (done.length > kHistorySteps)
        done.shift();
    undone.length = 0;
    show(after);
}

// edit(picture) gives the picture after the step.
export function change(text, edit) {
    const before = picture();
    record(text, before, edit({ ...before }));
}

// A drag shows its dots as it goes and becomes one step when it ends.
export function commitStroke(before) {
    record('Stroke', before, picture());
}

export function undo() {
    const step = done.pop();
    if (!step)
        return;
    undone.push(step);
    show(step.before);
}

export function redo() {
    const step = undone.pop();
    if (!step)
        return;
    done.push(step);
    show(step.after);
}

export function canUndo() {
    return done.length > 0;
}

export function canRedo() {
    return undone.length > 0;
}
