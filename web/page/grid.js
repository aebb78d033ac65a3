// The 256 dots of a 16 x 16 picture: ARIA check boxes named "Dot N", laid
// out for the type, over a canvas that draws them; any other size is drawn
// on the canvas of canvas.js instead. The handlers only turn pointer and key
// events into calls on the session().
import { constants, core } from './core.js';
import { cellsOf, kColours, kPitch, paintGrid, paintMarquee } from './picture.js';
import { atModuleSize, session, state, update } from './state.js';
import { toolGesture } from './tools.js';

const cells = [];
let grid = null;
let canvas = null;
let paper = { pitch: kPitch, line: 1 }; // the canvas's cells and lines, in device pixels
let laidOutType = -1;
let gesture = null; // the core's rule of click and stroke, made with the grid
let tool = null; // the gesture of a tool other than the pencil, under way
let onMenuRequest = () => {};
let onCommandKey = () => false;

function dotOf(x, y) {
    const column = Math.floor(x / kPitch);
    const row = Math.floor(y / kPitch);
    if (x < 0 || y < 0 || column >= constants.gridSide || row >= constants.gridSide)
        return -1;
    return core.dotAt(state.type, column, row);
}


function pointIn(event) {
    const box = grid.getBoundingClientRect();
    return { x: (event.clientX - box.left) * (grid.offsetWidth / box.width), y: (event.clientY - box.top) * (grid.offsetHeight / box.height) };
}

function pressed(event) {
    if (event.button !== 0)
        return;
    const point = pointIn(event);
    const dot = dotOf(point.x, point.y);
    grid.focus();
    if (dot < 0)
        return;
    grid.setPointerCapture(event.pointerId);
    const cell = core.cellOf(state.type, dot);
    update({ focus: { column: cell.column, row: cell.row } });
    if (state.tool === core.Tool.Pencil.value)
        gesture.press(dot, point.x, point.y, state.type);
    else
        tool = toolGesture(cellIn(point), event);
}

// The cell at the grid's point, which may lie outside the picture, in screen terms.
function cellIn(point) {
    return { column: Math.floor(point.x / kPitch), row: Math.floor(point.y / kPitch), x: point.x / kPitch,
        y: point.y / kPitch };
}

// The other tools take what the pointer does as they do on the canvas.
function toolEnded(event, how) {
    const ending = tool;
    tool = null;
    if (how === 'release')
        ending.release(cellIn(pointIn(event)));
    else
        ending.cancel();
}

function moved(event) {
    if (tool) {
        tool.move(cellIn(pointIn(event)), event);
        return;
    }
    if (!gesture.isPressed())
        return;
    const point = pointIn(event);
    const dots = gesture.move(dotOf(point.x, point.y), point.x, point.y, state.dots);
    if (dots.length)
        session().paint(dots, gesture.paintsSet());
}

function ended(how) {
    if (how === 'stroke')
        session().endStroke();
    else if (how === 'click')
        session().toggleDot(gesture.clickedDot());
}

function moveFocus(dx, dy) {
    const column = Math.min(constants.gridSide - 1, Math.max(0, state.focus.column + dx));
    const row = Math.min(constants.gridSide - 1, Math.max(0, state.focus.row + dy));
    update({ focus: { column, row } });
}

const kArrows = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };

function keyPressed(event) {
    const focusDot = core.dotAt(state.type, state.focus.column, state.focus.row);
    if (onCommandKey(event)) {
        event.preventDefault();
        return;
    }
    if (kArrows[event.key] && !event.ctrlKey && !event.altKey) {
        moveFocus(...kArrows[event.key]);
    } else if (event.key === ' ') {
        session().toggleDot(focusDot);
    } else if (event.key === 'ContextMenu' || (event.shiftKey && event.key === 'F10')) {
        const box = cells[focusDot].getBoundingClientRect();
        onMenuRequest(box.left + box.width / 2, box.top + box.height / 2);
    } else {
        return;
    }
    event.preventDefault();
}

// menuRequested(x, y) shows the menu; commandKey(event) answers a command's key, true when it did.
export function buildGrid(parent, left, top, menuRequested, commandKey) {
    onMenuRequest = menuRequested;
    onCommandKey = commandKey;
    gesture = new core.GridGesture(kPitch);
    grid = document.createElement('div');
    grid.id = 'lbDot';
    grid.tabIndex = 0;
    grid.setAttribute('role', 'group');
    grid.setAttribute('aria-label', 'Dots');
    grid.style.left = `${left}px`;
    grid.style.top = `${top}px`;
    canvas = document.createElement('canvas');
    canvas.setAttribute('aria-hidden', 'true');
    grid.append(canvas);
    for (let dot = 0; dot < constants.dotCount; ++dot) {
        const cell = document.createElement('div');
        cell.className = 'cell';
        cell.id = `dot-${dot}`;
        cell.setAttribute('role', 'checkbox');
        cell.setAttribute('aria-label', `Dot ${dot}`);
        cell.setAttribute('aria-checked', 'false');
        cell.shown = { set: false, onion: false, focus: false };
        cells.push(cell);
        grid.append(cell);
    }
    grid.addEventListener('pointerdown', pressed);
    grid.addEventListener('pointermove', moved);
    grid.addEventListener('pointerup', (event) => {
        if (tool) {
            toolEnded(event, 'release');
            return;
        }
        const point = pointIn(event);
        ended(gesture.release(dotOf(point.x, point.y)));
    });
    // The browser may still take a touch for itself: what was painted stays, as one step.
    grid.addEventListener('pointercancel', (event) => (tool ? toolEnded(event, 'cancel') : ended(gesture.cancel())));
    grid.addEventListener('keydown', keyPressed);
    grid.addEventListener('contextmenu', (event) => {
        event.preventDefault();
        onMenuRequest(event.clientX, event.clientY);
    });
    parent.append(grid);
    return grid;
}

// Each dot's hint, the byte and bit it sets: apart from building the cells,
// as asking the core for 256 texts is a step of its own on a slow phone.
export function describeDots() {
    cells.forEach((cell, dot) => {
        cell.title = core.describeDotBit(dot);
    });
}

// Device pixels to the grid's pixel: the window's zoom times the screen's.
function deviceScale() {
    return grid.currentCSSZoom * window.devicePixelRatio;
}

// Layout keeps lengths in units of 1/64 of a CSS pixel, or of a device
// pixel, and rounds down to them: a length a hair past a whole unit comes out
// as that unit, not one unit short.
const kHair = 1 / 256; // of a CSS pixel

// From the grid's corner to the next device pixel, in the grid's pixels.
function toDevicePixel(corner, scale) {
    const device = corner * window.devicePixelRatio;
    return `${(Math.ceil(device) - device) / scale + kHair / scale * window.devicePixelRatio}px`;
}

// The canvas's side in device pixels: room for the cells and lines, and a
// whole number of layout's units too, so that layout does not shorten it and
// the browser stretch it by a fraction of a pixel. Beyond the grid it is clear.
function canvasSide(needed) {
    const units = (side) => (side * 64) / window.devicePixelRatio;
    for (let side = needed; side < needed + 64; ++side) {
        if (Math.abs(units(side) - Math.round(units(side))) < 1e-6)
            return side;
    }
    return needed;
}

// Each cell a whole number of device pixels and each line a whole number,
// the canvas on a device pixel and drawn pixel for pixel: lines that fall
// between device pixels would come out blurred or some wider than others.
// The window's zoom (scale.js) makes the cells the grid's pitch, as near as
// whole pixels allow; it calls this whenever it changes the zoom or the
// window's place.
export function fitGrid() {
    const scale = deviceScale();
    const pitch = Math.max(2, Math.round(kPitch * scale));
    const line = Math.max(1, Math.round(scale));
    const side = canvasSide(constants.gridSide * pitch + line);
    const length = `${side / scale + kHair / scale * window.devicePixelRatio}px`;
    const corner = grid.getBoundingClientRect();
    Object.assign(canvas.style, { left: toDevicePixel(corner.left, scale), top: toDevicePixel(corner.top, scale),
        width: length, height: length });
    if (canvas.width === side && paper.pitch === pitch)
        return;
    Object.assign(canvas, { width: side, height: side });
    paper = { pitch, line };
    paintDots();
}

function colourOf(dot) {
    if (state.dots[dot] === '1')
        return kColours.set;
    // The onion skin shows only where the picture itself leaves the cell clear.
    return state.onion[dot] === '1' ? kColours.onion : kColours.clear;
}

function paintDots() {
    const context = canvas.getContext('2d');
    paintGrid(context, state.type, paper.pitch, paper.line, colourOf);
    if (state.selection)
        paintMarquee(context, state.selection, paper.pitch, 0, 0);
}

// Touches the cell only when the class changes, which it remembers: a switch
// of pictures redraws every cell, and asking the page would cost as much.
function showIf(cell, name, on) {
    if (cell.shown[name] !== on) {
        cell.shown[name] = on;
        cell.classList.toggle(name, on);
    }
}

export function renderGrid() {
    grid.hidden = !atModuleSize();
    if (grid.hidden)
        return;
    if (laidOutType !== state.type) {
        const layout = cellsOf(state.type);
        for (let dot = 0; dot < constants.dotCount; ++dot) {
            const cell = layout[dot];
            cells[dot].style.left = `${1 + cell.column * kPitch}px`;
            cells[dot].style.top = `${1 + cell.row * kPitch}px`;
        }
        laidOutType = state.type;
    }
    const focusDot = core.dotAt(state.type, state.focus.column, state.focus.row);
    for (let dot = 0; dot < constants.dotCount; ++dot) {
        const set = state.dots[dot] === '1';
        const cell = cells[dot];
        if (cell.shown.set !== set)
            cell.setAttribute('aria-checked', String(set));
        showIf(cell, 'set', set);
        showIf(cell, 'onion', !set && state.onion[dot] === '1');
        showIf(cell, 'focus', dot === focusDot);
    }
    if (grid.getAttribute('aria-activedescendant') !== cells[focusDot].id)
        grid.setAttribute('aria-activedescendant', cells[focusDot].id);
    paintDots();
}

export function gridElement() {
    return grid;
}
