// A picture drawn as the grid shows it, for the dialogs' previews: sharp at
// any zoom, because the canvas is sized in device pixels.
import { core } from './core.js';

const kPitch = 13;
const kSide = 16 * kPitch + 1;

export function drawPicture(canvas, dots, type) {
    const scale = window.devicePixelRatio || 1;
    canvas.width = Math.round(kSide * scale);
    canvas.height = Math.round(kSide * scale);
    const context = canvas.getContext('2d');
    context.setTransform(scale, 0, 0, scale, 0, 0);
    context.fillStyle = '#808080';
    context.fillRect(0, 0, kSide, kSide);
    for (let dot = 0; dot < 256; ++dot) {
        const cell = core.cellOf(type, dot);
        context.fillStyle = dots[dot] === '1' ? '#000' : '#fff';
        context.fillRect(1 + cell.column * kPitch, 1 + cell.row * kPitch, kPitch - 1, kPitch - 1);
    }
}

export function makePreview(name) {
    const canvas = document.createElement('canvas');
    canvas.className = 'preview';
    canvas.id = name;
    return canvas;
}
