// The picture as the chosen display shows it, beside the window: read back by
// the core from the very bytes of the array form Copy as C Array writes, in
// the panel's colours, at its real size on the screen (a dot's pitch in CSS
// millimetres) or enlarged, with the core's note of why it differs from the drawing and,
// where the array form is another than the display takes, its offer to switch.
// Shown while the session says, which the View menu's Display Preview turns.
// For a font's glyphs it shows a line of sample text in the font instead, as
// the display library draws it: the core's line (the glyphs' own first
// characters, or the text Glyphs from Text… kept), or the one typed over it.
import { core } from './core.js';
import { element, row } from './dialogs.js';
import { session } from './state.js';
import { text } from './texts.js';

let panel = null;
let displays = [];
let drawPending = false;
let pitchMm = 0;
let offeredSample = null; // the core's sample line last put in the field, which the user may type over
const kCssPixelsPerMm = 96 / 25.4;
const kPanelPaddingPx = 3 * kCssPixelsPerMm; // the panel's 3 mm around the screen

function choice(id, names, change) {
    const select = element('select', { id }, names.map((name, index) =>
        element('option', { value: String(index), textContent: name })));
    select.addEventListener('change', () => change(Number(select.value)));
    return select;
}

function draw() {
    drawPending = false;
    const font = session().holdsFont();
    const sample = panel.querySelector('#previewSample');
    sample.parentElement.hidden = !font;
    // A font opened, or the text Glyphs from Text… kept, brings the core's line anew.
    const offered = font ? session().sampleText() : null;
    if (font && (offered !== offeredSample || !sample.value))
        sample.value = offered;
    offeredSample = offered;
    const preview = session().preview(font ? sample.value : '');
    panel.hidden = !preview.shown;
    if (!preview.shown)
        return;
    const [display, colours, canvas, note, advice, useForm] = ['#previewDisplay', '#previewColours', 'canvas',
        '.preview-note', '.preview-advice', '#previewUseForm'].map((selector) => panel.querySelector(selector));
    display.value = String(preview.display);
    colours.value = String(preview.colours);
    advice.textContent = preview.advice;
    useForm.textContent = preview.switchCaption;
    advice.hidden = useForm.hidden = !preview.advice;
    pitchMm = displays[preview.display].pitchMm;
    const { width, height, pixels } = preview;
    if (pixels) {
        if (canvas.width !== width || canvas.height !== height)
            Object.assign(canvas, { width, height });
        canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(pixels.buffer), width, height), 0, 0);
        note.textContent = preview.note;
        note.hidden = !preview.note;
    }
    enlarge();
}

// Each dot a whole number of device pixels, never less than one, so that
// nearest-neighbour scaling never drops a one-dot line: the display's real
// size, twice or four times it, or the most the panel's width holds, which a
// display too wide for the view scrolls past rather than shrink.
function enlarge() {
    const canvas = panel.querySelector('#previewCanvas');
    const box = panel.querySelector('.preview-panel');
    const times = Number(panel.querySelector('#previewScale').value);
    const ratio = window.devicePixelRatio || 1;
    const realSize = Math.round((pitchMm * kCssPixelsPerMm * ratio));
    const padding = box.offsetWidth - box.clientWidth + 2 * kPanelPaddingPx;
    const fit = Math.floor(((panel.clientWidth - padding) * ratio) / canvas.width);
    const devicePixels = Math.max(1, times ? realSize * times : fit);
    const width = `${(canvas.width * devicePixels) / ratio}px`;
    if (canvas.style.width !== width)
        canvas.style.width = width;
}

// Drawn once a frame however many changes a stroke announces.
export function renderPreview() {
    if (drawPending)
        return;
    drawPending = true;
    requestAnimationFrame(draw);
}

export function buildPreview(parent) {
    displays = core.displays();
    const displayChoice = choice('previewDisplay', displays.map((display) => display.name),
        (index) => session().setPreviewDisplay(index));
    const coloursChoice = choice('previewColours', core.panelColours(), (index) => session().setPreviewColours(index));
    const canvas = element('canvas', { id: 'previewCanvas', role: 'img' });
    const sample = element('input', { id: 'previewSample', spellcheck: false });
    // Real size, 2 x and 4 x as the canvas's zoom names them, and the fit (0).
    const zoomToFit = core.commands().find((command) => command.id === core.CommandId.ZoomToFit).caption;
    const scale = element('select', { id: 'previewScale' }, [[1, 100], [2, 200], [4, 400], [0]].map(([times, percent]) =>
        element('option', { value: String(times), textContent: percent ? text('zoomPercent', percent) : zoomToFit })));
    scale.addEventListener('change', enlarge);
    sample.addEventListener('input', renderPreview);
    canvas.setAttribute('aria-label', core.commands().find((command) => command.id === core.CommandId.DisplayPreview).caption);
    panel = element('section', { id: 'displayPreview', hidden: true }, [
        row(text('sizePresetLabel'), displayChoice), row(text('previewColoursLabel'), coloursChoice),
        row(text('sampleTextLabel'), sample), row('', scale),
        element('div', { className: 'preview-panel' }, [canvas]),
        element('p', { className: 'preview-note', hidden: true }),
        element('p', { className: 'preview-advice', hidden: true }),
        element('button', { id: 'previewUseForm', type: 'button', hidden: true })]);
    panel.querySelector('#previewUseForm').addEventListener('click', () => session().useDisplaysForm());
    panel.setAttribute('aria-label', canvas.getAttribute('aria-label'));
    new ResizeObserver(() => pitchMm && enlarge()).observe(panel);
    parent.append(panel);
}
