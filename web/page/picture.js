// A picture drawn as the grid shows it: the grid's own canvas and the
// dialogs' previews, sharp because each canvas is sized in device pixels.
import { constants, core } from './core.js';

export const kPitch = 13;
// The grid's colours whatever the page's: a set dot, a clear one, the onion skin under a clear one, the lines.
export const kColours = { set: '#000', clear: '#fff', onion: '#d4d4d4', line: '#808080' };
const cellsOfType = [];

// Each dot's cell on the screen for the type, asked of the core once: every
// paint and every layout of the grid and the strip reads it.
export function cellsOf(type) {
    cellsOfType[type] ||= Array.from({ length: constants.dotCount }, (_, dot) => core.cellOf(type, dot));
    return cellsOfType[type];
}

// The lines, then each dot's cell in the colour colourOf(dot) gives; cells
// `pitch` apart, lines `line` wide. The grid's colours whatever the page's.
export function paintGrid(context, type, pitch, line, colourOf) {
    context.fillStyle = kColours.line;
    const side = constants.gridSide * pitch + line;
    context.fillRect(0, 0, side, side);
    const cells = cellsOf(type);
    for (let dot = 0; dot < constants.dotCount; ++dot) {
        const cell = cells[dot];
        context.fillStyle = colourOf(dot);
        context.fillRect(line + cell.column * pitch, line + cell.row * pitch, pitch - line, pitch - line);
    }
}

// `pitch` smaller than the grid's for the small drawings a choice shows side by side.
export function drawPicture(canvas, dots, type, pitch = kPitch) {
    const scale = window.devicePixelRatio || 1;
    const side = constants.gridSide * pitch + 1;
    canvas.width = Math.round(side * scale);
    canvas.height = Math.round(side * scale);
    const context = canvas.getContext('2d');
    context.setTransform(scale, 0, 0, scale, 0, 0);
    paintGrid(context, type, pitch, 1, (dot) => (dots[dot] === '1' ? kColours.set : kColours.clear));
}

export function makePreview(name) {
    const canvas = document.createElement('canvas');
    canvas.className = 'preview';
    canvas.id = name;
    return canvas;
}

// A colour of kColours as one pixel of an ImageData read as 32-bit words, whose byte order is the machine's.
const kLittleEndian = new Uint8Array(new Uint32Array([1]).buffer)[0] === 1;
function pixelOf(colour) {
    const digits = colour.length === 4 ? [...colour.slice(1)].map((digit) => digit + digit) : colour.slice(1).match(/../g);
    const [r, g, b] = digits.map((pair) => parseInt(pair, 16));
    return (kLittleEndian ? (0xff << 24) | (b << 16) | (g << 8) | r : (r << 24) | (g << 16) | (b << 8) | 0xff) >>> 0;
}
const kPixels = { set: pixelOf(kColours.set), clear: pixelOf(kColours.clear), onion: pixelOf(kColours.onion) };

// A picture of any size as an image of a pixel a dot, kept from one change
// to the next: `version` counts the picture's changes, and only the dots
// that differ from those last drawn are written and put again, so that a
// stroke's step costs a look at each dot, not a new image. The canvas scales
// it with smoothing off.
const dotImage = { canvas: null, image: null, words: null, pixels: null, onion: null, version: -1 };
function imageOf({ width, height, version, pixels, onionPixels }) {
    dotImage.canvas ??= document.createElement('canvas');
    const { canvas } = dotImage;
    if (dotImage.version === version && canvas.width === width && canvas.height === height)
        return canvas;
    const context = canvas.getContext('2d');
    if (canvas.width !== width || canvas.height !== height || !dotImage.image) {
        Object.assign(canvas, { width, height });
        dotImage.image = context.createImageData(width, height);
        dotImage.words = new Uint32Array(dotImage.image.data.buffer);
        dotImage.pixels = null;
    }
    const { words } = dotImage;
    const onion = onionPixels || new Uint8Array(pixels.length);
    const same = dotImage.pixels && dotImage.onion && dotImage.onion.length === onion.length;
    let [first, last] = [same ? pixels.length : 0, same ? -1 : pixels.length - 1];
    for (let dot = 0; dot < pixels.length; ++dot) {
        if (same && pixels[dot] === dotImage.pixels[dot] && onion[dot] === dotImage.onion[dot])
            continue;
        words[dot] = pixels[dot] ? kPixels.set : (onion[dot] ? kPixels.onion : kPixels.clear);
        first = Math.min(first, dot);
        last = dot;
    }
    if (last >= first) {
        const [top, bottom] = [Math.floor(first / width), Math.floor(last / width)];
        context.putImageData(dotImage.image, 0, 0, 0, top, width, bottom - top + 1);
    }
    Object.assign(dotImage, { pixels, onion, version });
    return canvas;
}

// The part of the picture a canvas shows: `picture` the state's, cells of
// `cell` device pixels, the canvas's corner at device pixel (left, top) of
// the whole drawing, lines one pixel wide between the cells and around them
// where `lines`, and the selection's marquee.
export function paintPicture(context, picture, { cell, left, top, lines }) {
    const { width, height } = context.canvas;
    context.clearRect(0, 0, width, height);
    const first = { column: Math.max(0, Math.floor(left / cell)), row: Math.max(0, Math.floor(top / cell)) };
    const last = { column: Math.min(picture.width, Math.ceil((left + width) / cell)),
        row: Math.min(picture.height, Math.ceil((top + height) / cell)) };
    if (last.column <= first.column || last.row <= first.row)
        return;
    const [x, y] = [first.column * cell - left, first.row * cell - top];
    const [across, down] = [(last.column - first.column) * cell, (last.row - first.row) * cell];
    context.imageSmoothingEnabled = false;
    context.drawImage(imageOf(picture), first.column, first.row, last.column - first.column, last.row - first.row,
        x, y, across, down);
    if (lines) {
        context.fillStyle = kColours.line;
        for (let column = first.column; column <= last.column; ++column)
            context.fillRect(column * cell - left, y, 1, down + 1);
        for (let row = first.row; row <= last.row; ++row)
            context.fillRect(x, row * cell - top, across + 1, 1);
    }
    if (picture.selection)
        paintMarquee(context, picture.selection, cell, left, top);
}

// The selection's dashed outline on the lines around its cells, black over white so that it shows on either.
export function paintMarquee(context, selection, cell, left, top) {
    const box = [selection.left * cell - left + 0.5, selection.top * cell - top + 0.5,
        selection.width * cell, selection.height * cell];
    context.lineWidth = 1;
    context.setLineDash([4, 4]);
    context.strokeStyle = kColours.clear;
    context.strokeRect(...box);
    context.lineDashOffset = 4;
    context.strokeStyle = kColours.set;
    context.strokeRect(...box);
    context.lineDashOffset = 0;
    context.setLineDash([]);
}
