// What the pointer does on the canvas: the chosen tool under one finger or
// the main button, panning with a middle drag, Space and a drag, or two
// fingers, which pinch to zoom too; Ctrl and the wheel zoom about the
// pointer. Each tool's press, drag and release only ask the session, which
// makes each use of a tool one step.
import { core } from './core.js';
import { cellAt, inPicture, panBy, showPointer, zoomIn, zoomOut } from './canvas.js';
import { session, state, update } from './state.js';

// How far two fingers part or close before the zoom takes a step.
const kPinchStep = 1.25;

const pointers = new Map(); // pointer id to its last {x, y} in the viewport
let tool = null; // the tool's gesture under way
let pan = false;
let pinch = null; // {distance} of two fingers when the zoom last stepped
let spaceHeld = false;
let spacePanned = false; // a drag panned while Space was held, which then is no press of Space alone

function dotOf({ column, row }) {
    return inPicture({ column, row }) ? core.dotAtSized(state.type, column, row, state.width, state.height) : -1;
}

function clamped({ column, row }) {
    return { column: Math.min(state.width - 1, Math.max(0, column)), row: Math.min(state.height - 1, Math.max(0, row)) };
}

// The pencil: the grid's own click and stroke, the core's gesture in cells.
function pencil(start) {
    const gesture = new core.GridGesture(1);
    gesture.press(dotOf(start), start.x, start.y, state.type);
    const ended = (how) => {
        if (how === 'stroke')
            session().endStroke();
        else if (how === 'click')
            session().toggleDot(gesture.clickedDot());
        gesture.delete();
    };
    return {
        move: (at) => session().strokeTo(gesture, dotOf(at), at.x, at.y),
        release: (at) => ended(gesture.release(dotOf(at))),
        cancel: () => ended(gesture.cancel()),
    };
}

// A line, box or ellipse from the pressed cell, Shift keeping it straight or square.
function shape(start, shift) {
    const dragTo = (at, constrained) => session().dragShape(start.column, start.row, at.column, at.row, constrained);
    dragTo(start, shift);
    return { move: (at, event) => dragTo(at, event.shiftKey), release: () => session().endStroke(),
        cancel: () => session().endStroke() };
}

function inside(rect, { column, row }) {
    return rect && column >= rect.left && row >= rect.top && column < rect.left + rect.width
        && row < rect.top + rect.height;
}

// A drag inside the selection moves what it holds; elsewhere it selects anew, and a click lets it go.
function select(start) {
    if (inside(state.selection, start)) {
        return { move: (at) => session().dragSelection(at.column - start.column, at.row - start.row),
            release: () => session().endStroke(), cancel: () => session().endStroke() };
    }
    let moved = false;
    session().selectCells(start.column, start.row, start.column, start.row);
    return {
        move: (at) => {
            const end = clamped(at);
            moved ||= end.column !== start.column || end.row !== start.row;
            session().selectCells(start.column, start.row, end.column, end.row);
        },
        release: () => moved || session().selectNone(),
        cancel: () => {},
    };
}

function toolGesture(start, event) {
    const { Tool } = core;
    switch (state.tool) {
    case Tool.Line.value:
    case Tool.Rectangle.value:
    case Tool.Ellipse.value:
        return shape(start, event.shiftKey);
    case Tool.Fill.value:
        session().fill(start.column, start.row);
        return null;
    case Tool.Select.value:
        return select(start);
    default:
        return pencil(start);
    }
}

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
