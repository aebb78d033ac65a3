// What each tool does with a press, a drag and a release, in cells, on the
// canvas and on the 16 x 16 grid alike; each asks only the session, which
// makes each use of a tool one step.
import { core } from './core.js';
import { session, state } from './state.js';

export function inPicture({ column, row }) {
    return column >= 0 && row >= 0 && column < state.width && row < state.height;
}

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

// The chosen tool's gesture from the cell `start` ({column, row, x, y}, the point in cells), or null for a
// tool that is done at the press: {move(at, event), release(at), cancel()}.
export function toolGesture(start, event) {
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

