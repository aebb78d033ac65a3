// The canvas for a picture of any size but the module's 16 x 16, whose grid
// of check boxes (grid.js) stays as it always was: the whole picture at the
// largest whole-pixel cell that fits, zoomed in steps and panned in an
// overflow box, drawn from one image of a pixel a dot with the grid lines
// over it while a cell is large enough. Only the visible part is drawn, on a
// canvas the size of the box that stays in view as the box scrolls.
import { core } from './core.js';
import { element } from './dialogs.js';
import { paintGlyphLines } from './glyphlines.js';
import { paintPicture } from './picture.js';
import { atModuleSize, session, state } from './state.js';
import { text } from './texts.js';
import { inPicture } from './tools.js';

// A cell's side in device pixels (0 until fitted), the picture it was fitted
// to, and the canvas's corner in device pixels of the whole drawing, as last painted.
// `fitted` while the user has not zoomed since, so that a new size of the box fits the picture to it again.
export const view = { cell: 0, fittedTo: '', fitted: false, left: 0, top: 0 };
let panel = null;
let scroller = null;
let space = null;
let canvas = null;
let pointerLine = null;
let painted = { version: -1, cell: 0, left: -1, top: -1, width: 0, height: 0, selection: null };

// Device pixels to the box's own CSS pixel: the window's zoom times the screen's.
export function deviceScale() {
    return scroller.currentCSSZoom * window.devicePixelRatio;
}

// The box's room in device pixels.
function room() {
    const scale = deviceScale();
    return { width: Math.floor(scroller.clientWidth * scale), height: Math.floor(scroller.clientHeight * scale) };
}

// The columns drawn: the picture's, and those a glyph's advance reaches right of it, so that its line stays in view.
function columns() {
    return state.width + (session().glyphLines()?.beyond ?? 0);
}

// What the picture was last fitted to, which a new one fits again.
function fitKey() {
    return `${columns()}x${state.height}`;
}

// The scrolled space as large as the whole drawing, and the canvas as large as the box, each on whole device pixels.
function layOut() {
    const scale = deviceScale();
    const across = core.canvasPixels(columns(), view.cell);
    const down = core.canvasPixels(state.height, view.cell);
    Object.assign(space.style, { width: `${across / scale}px`, height: `${down / scale}px` });
    const { width, height } = room();
    if (canvas.width !== width || canvas.height !== height)
        Object.assign(canvas, { width, height });
    Object.assign(canvas.style, { width: `${width / scale}px`, height: `${height / scale}px` });
}

function paint() {
    const scale = deviceScale();
    view.left = Math.round(scroller.scrollLeft * scale);
    view.top = Math.round(scroller.scrollTop * scale);
    const now = { version: state.version, cell: view.cell, left: view.left, top: view.top, width: canvas.width,
        height: canvas.height, selection: JSON.stringify(state.selection) };
    if (Object.keys(now).every((key) => now[key] === painted[key]))
        return;
    painted = now;
    paintPicture(canvas.getContext('2d'), state, { cell: view.cell, left: view.left, top: view.top,
        lines: core.showsGridLines(view.cell) });
    paintGlyphLines(canvas.getContext('2d'), view);
}

// The cell at `cell` device pixels, with the point (x, y) of the box, in
// device pixels from its corner, kept over the same dot.
function zoomTo(cell, x, y) {
    if (cell === view.cell)
        return;
    const scale = deviceScale();
    const dot = { x: (view.left + x) / view.cell, y: (view.top + y) / view.cell };
    view.cell = cell;
    view.fitted = false;
    layOut();
    scroller.scrollLeft = (dot.x * cell - x) / scale;
    scroller.scrollTop = (dot.y * cell - y) / scale;
    paint();
}

// About the box's middle, or the point given in the viewport's CSS pixels.
function zoomAbout(cell, clientX, clientY) {
    const box = scroller.getBoundingClientRect();
    const scale = canvas.width / Math.max(1, canvas.getBoundingClientRect().width);
    const x = clientX === undefined ? canvas.width / 2 : (clientX - box.left) * scale;
    const y = clientY === undefined ? canvas.height / 2 : (clientY - box.top) * scale;
    zoomTo(cell, x, y);
}

export function zoomIn(clientX, clientY) {
    if (!atModuleSize())
        zoomAbout(core.zoomedIn(view.cell), clientX, clientY);
}

export function zoomOut(clientX, clientY) {
    if (!atModuleSize())
        zoomAbout(core.zoomedOut(view.cell), clientX, clientY);
}

export function zoomToFit() {
    if (atModuleSize())
        return;
    const { width, height } = room();
    view.cell = core.fitCellPixels(columns(), state.height, width, height);
    view.fittedTo = fitKey();
    view.fitted = true;
    layOut();
    paint();
}

// Pans by (dx, dy) CSS pixels of the viewport, as a drag or two fingers move the picture.
export function panBy(dx, dy) {
    const zoom = scroller.currentCSSZoom;
    scroller.scrollLeft -= dx / zoom;
    scroller.scrollTop -= dy / zoom;
}

// The cell under a point of the viewport, and the point in cells: {column,
// row, x, y}; the cell may lie outside the picture.
export function cellAt(clientX, clientY) {
    const box = canvas.getBoundingClientRect();
    const x = ((clientX - box.left) * (canvas.width / box.width) + view.left) / view.cell;
    const y = ((clientY - box.top) * (canvas.height / box.height) + view.top) / view.cell;
    return { column: Math.floor(x), row: Math.floor(y), x, y };
}

// Where the pointer is, as the status line under the canvas shows it; nothing off the picture.
export function showPointer(cell) {
    pointerLine.textContent = cell && inPicture(cell) ? text('pointerCell', cell.column, cell.row) : '';
}

// The box that scrolls, the canvas drawing its visible part, and the line
// that tells where the pointer is. `focusCell` is what a screen reader is on.
export function buildCanvas(after, focusCell) {
    canvas = element('canvas', { ariaHidden: 'true' });
    space = element('div', { className: 'canvas-space' }, [canvas, focusCell]);
    scroller = element('div', { id: 'canvasBox', tabIndex: 0, role: 'grid', ariaLabel: 'Dots' }, [space]);
    pointerLine = element('div', { id: 'canvasPointer', ariaHidden: 'true' });
    panel = element('div', { id: 'canvasPanel', hidden: true }, [scroller, pointerLine]);
    scroller.addEventListener('scroll', paint);
    // A new size of the box (the window's zoom, the view) fits the picture again, or keeps the user's zoom.
    new ResizeObserver(() => {
        if (panel.hidden || !view.cell)
            return;
        if (view.fitted) {
            zoomToFit();
        } else {
            layOut();
            paint();
        }
    }).observe(scroller);
    after.after(panel);
    return { scroller, space, canvas };
}

// Shown for any size but 16 x 16; fitted whole again whenever the size, or the room an advance takes, changes.
export function renderCanvas() {
    panel.hidden = atModuleSize();
    panel.parentElement.classList.toggle('any-size', !panel.hidden);
    if (panel.hidden)
        return;
    if (view.fittedTo !== fitKey())
        zoomToFit();
    else
        paint();
}

export function canvasBox() {
    return scroller;
}
