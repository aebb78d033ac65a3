// A picture drawn as the grid shows it: the grid's own canvas and the
// dialogs' previews, sharp because each canvas is sized in device pixels.
import { constants, core } from './core.js';

export const kPitch = 13;
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
    context.fillStyle = '#808080';
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
    paintGrid(context, type, pitch, 1, (dot) => (dots[dot] === '1' ? '#000' : '#fff'));
}

export function makePreview(name) {
    const canvas = document.createElement('canvas');
    canvas.className = 'preview';
    canvas.id = name;
    return canvas;
}
