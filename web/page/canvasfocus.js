// The canvas as a screen reader and the keyboard have it at any size but
// 16 x 16: one focusable grid with a single active cell, not a node a dot.
// The cell is outlined where it stands, named by its place and state, and
// moves with the arrows, Home and End, Ctrl+Home and Ctrl+End, and a screen
// at a time with Alt+PgUp and Alt+PgDown; the view scrolls to keep it in sight.
import { core } from './core.js';
import { buildCanvas, deviceScale, renderCanvas, view } from './canvas.js';
import { spaceDown, wirePointers } from './canvaspointer.js';
import { element } from './dialogs.js';
import { session, state, update } from './state.js';
import { text } from './texts.js';

let box = null;
let row = null;
let cell = null;
let shownFocus = '';

const kArrows = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };

// The rows a screen of the box holds.
function screenRows() {
    return Math.max(1, Math.floor((box.clientHeight * deviceScale()) / view.cell) - 1);
}

// Where a key takes the focus cell, or null for a key that does not move it.
function movedFocus(event, { column, row: at }) {
    const last = { column: state.width - 1, row: state.height - 1 };
    const plain = !event.altKey && !event.shiftKey;
    if (kArrows[event.key] && plain && !event.ctrlKey)
        return { column: column + kArrows[event.key][0], row: at + kArrows[event.key][1] };
    if ((event.key === 'Home' || event.key === 'End') && plain) {
        const end = event.key === 'End';
        if (event.ctrlKey)
            return end ? last : { column: 0, row: 0 };
        return { column: end ? last.column : 0, row: at };
    }
    if ((event.key === 'PageUp' || event.key === 'PageDown') && event.altKey && !event.ctrlKey && !event.shiftKey)
        return { column, row: at + (event.key === 'PageUp' ? -1 : 1) * screenRows() };
    return null;
}

function focusDot() {
    return core.dotAtSized(state.type, state.focus.column, state.focus.row, state.width, state.height);
}

function keyPressed(event, menuRequested, commandKey) {
    if (commandKey(event)) {
        event.preventDefault();
        return;
    }
    const to = movedFocus(event, state.focus);
    if (to) {
        update({ focus: { column: Math.min(state.width - 1, Math.max(0, to.column)),
            row: Math.min(state.height - 1, Math.max(0, to.row)) } });
        cell.scrollIntoView({ block: 'nearest', inline: 'nearest' });
    } else if (event.key === 'ContextMenu' || (event.shiftKey && event.key === 'F10')) {
        const place = cell.getBoundingClientRect();
        menuRequested(place.left + place.width / 2, place.top + place.height / 2);
    } else if (!spaceDown(event)) {
        return;
    }
    event.preventDefault();
}

// menuRequested(x, y) shows the grid's menu; commandKey(event) answers a command's key, true when it did.
export function buildCanvasGrid(after, menuRequested, commandKey) {
    cell = element('div', { id: 'canvasCell', role: 'gridcell' });
    row = element('div', { id: 'canvasRow', role: 'row' }, [cell]);
    const made = buildCanvas(after, row);
    box = made.scroller;
    wirePointers(box, made.space, () => session().toggleDot(focusDot()));
    box.addEventListener('keydown', (event) => keyPressed(event, menuRequested, commandKey));
    box.addEventListener('contextmenu', (event) => {
        event.preventDefault();
        menuRequested(event.clientX, event.clientY);
    });
}

// The focus cell where it is now, and what a screen reader says of it.
export function renderCanvasGrid() {
    renderCanvas();
    if (state.width === 0 || box.closest('[hidden]'))
        return;
    const { focus } = state;
    const scale = deviceScale();
    Object.assign(cell.style, { left: `${(focus.column * view.cell) / scale}px`, top: `${(focus.row * view.cell) / scale}px`,
        width: `${view.cell / scale}px`, height: `${view.cell / scale}px` });
    const set = state.pixels[focusDot()] === 1;
    const name = text(set ? 'canvasCellSet' : 'canvasCellClear', focus.column, focus.row);
    const shown = `${state.width} ${state.height} ${name}`;
    if (shown === shownFocus)
        return;
    shownFocus = shown;
    box.setAttribute('aria-rowcount', String(state.height));
    box.setAttribute('aria-colcount', String(state.width));
    row.setAttribute('aria-rowindex', String(focus.row + 1));
    cell.setAttribute('aria-colindex', String(focus.column + 1));
    cell.setAttribute('aria-checked', String(set));
    cell.setAttribute('aria-label', name);
    box.setAttribute('aria-activedescendant', cell.id);
}
