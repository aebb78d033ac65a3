// What the pointer does on the canvas: the chosen tool under one finger or
// the main button, panning with a middle drag, Space and a drag, or two
// fingers, which pinch to zoom too; Ctrl and the wheel zoom about the
// pointer. Each tool's press, drag and release only ask the session, which
// makes each use of a tool one step.
import { cellAt, panBy, showPointer, zoomIn, zoomOut } from './canvas.js';
import { update } from './state.js';
import { inPicture, toolGesture } from './tools.js';

// How far two fingers part or close before the zoom takes a step.
const kPinchStep = 1.25;

const pointers = new Map(); // pointer id to its last {x, y} in the viewport
let tool = null; // the tool's gesture under way
let pan = false;
let pinch = null; // {distance} of two fingers when the zoom last stepped
let spaceHeld = false;
let spacePanned = false; // a drag panned while Space was held, which then is no press of Space alone

function endTool(how, event) {
    const ending = tool;
    tool = null;
    if (how === 'release')
        ending?.release(cellAt(event.clientX, event.clientY));
    else
        ending?.cancel();
}

function pressed(event, box) {
    pointers.set(event.pointerId, { x: event.clientX, y: event.clientY });
    event.currentTarget.setPointerCapture(event.pointerId);
    box.focus({ preventScroll: true });
    if (pointers.size === 2) {
        // A second finger: what the first drew stays, as one step, and the two now pan and pinch.
        endTool('cancel');
        const [a, b] = [...pointers.values()];
        pinch = { distance: Math.hypot(a.x - b.x, a.y - b.y) };
        return;
    }
    if (pointers.size > 2)
        return;
    if (event.button === 1 || (event.button === 0 && spaceHeld)) {
        event.preventDefault();
        pan = true;
        spacePanned = spaceHeld;
        return;
    }
    const start = cellAt(event.clientX, event.clientY);
    if (event.button !== 0 || !inPicture(start))
        return;
    update({ focus: { column: start.column, row: start.row } });
    tool = toolGesture(start, event);
}

function pinched(event, last) {
    const [a, b] = [...pointers.values()];
    const before = [...pointers.entries()].map(([id, point]) => (id === event.pointerId ? last : point));
    panBy(((a.x + b.x) - (before[0].x + before[1].x)) / 2, ((a.y + b.y) - (before[0].y + before[1].y)) / 2);
    const distance = Math.hypot(a.x - b.x, a.y - b.y);
    const [midX, midY] = [(a.x + b.x) / 2, (a.y + b.y) / 2];
    if (distance > pinch.distance * kPinchStep) {
        zoomIn(midX, midY);
        pinch.distance = distance;
    } else if (distance < pinch.distance / kPinchStep) {
        zoomOut(midX, midY);
        pinch.distance = distance;
    }
}

function moved(event) {
    const at = cellAt(event.clientX, event.clientY);
    showPointer(at);
    const last = pointers.get(event.pointerId);
    if (!last)
        return;
    pointers.set(event.pointerId, { x: event.clientX, y: event.clientY });
    if (pinch && pointers.size === 2)
        pinched(event, last);
    else if (pan)
        panBy(event.clientX - last.x, event.clientY - last.y);
    else
        tool?.move(at, event);
}

function released(event, how) {
    if (!pointers.delete(event.pointerId))
        return;
    endTool(how, event);
    if (pointers.size < 2)
        pinch = null;
    if (!pointers.size)
        pan = false;
}

// Space held down pans with the pointer: it says whether the key was taken.
export function spaceDown(event) {
    if (event.key !== ' ' || event.ctrlKey || event.altKey)
        return false;
    if (!event.repeat)
        [spaceHeld, spacePanned] = [true, false];
    return true;
}

// `spaceAlone()`: Space went down and up again with no drag between, as a key press of its own.
export function wirePointers(box, space, spaceAlone) {
    space.addEventListener('pointerdown', (event) => pressed(event, box));
    space.addEventListener('pointermove', moved);
    space.addEventListener('pointerup', (event) => released(event, 'release'));
    space.addEventListener('pointercancel', (event) => released(event, 'cancel'));
    space.addEventListener('pointerleave', () => showPointer(null));
    box.addEventListener('keyup', (event) => {
        if (event.key !== ' ' || !spaceHeld)
            return;
        spaceHeld = false;
        if (!spacePanned)
            spaceAlone();
    });
    box.addEventListener('blur', () => {
        spaceHeld = false;
    });
    box.addEventListener('wheel', (event) => {
        if (!event.ctrlKey)
            return; // the box scrolls as any does
        event.preventDefault();
        (event.deltaY < 0 ? zoomIn : zoomOut)(event.clientX, event.clientY);
    }, { passive: false });
    // The middle button would start the browser's own scrolling.
    space.addEventListener('mousedown', (event) => event.button === 1 && event.preventDefault());
}
