// The picture as the chosen display shows it, beside the window: read back by
// the core from the very bytes of the array form Copy as C Array writes, in
// the panel's colours, at its real size on the screen (a dot's pitch in CSS
// millimetres), with the core's note of why it differs from the drawing and,
// where the array form is another than the display takes, its offer to switch.
// Shown while the session says, which the View menu's Display Preview turns.
// For a font's glyphs it shows a line of sample text in the font instead, as
// the display library draws it, the glyphs' own first characters at first.
import { core } from './core.js';
import { element, row } from './dialogs.js';
import { session } from './state.js';
import { text } from './texts.js';

let panel = null;
let displays = [];
let drawPending = false;

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
    if (font && !sample.value)
        sample.value = session().sampleText();
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
    const { width, height, pixels } = preview;
    if (!pixels)
        return; // what it shows has not changed

    if (canvas.width !== width || canvas.height !== height)
        Object.assign(canvas, { width, height });
    canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(pixels.buffer), width, height), 0, 0);
    const { pitchMm } = displays[preview.display];
    // Its height follows from its width, so that a view narrower than the panel shrinks it whole.
    canvas.style.width = `${width * pitchMm}mm`;
    note.textContent = preview.note;
    note.hidden = !preview.note;
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
    sample.addEventListener('input', renderPreview);
    canvas.setAttribute('aria-label', core.commands().find((command) => command.id === core.CommandId.DisplayPreview).caption);
    panel = element('section', { id: 'displayPreview', hidden: true }, [
        row(text('sizePresetLabel'), displayChoice), row(text('previewColoursLabel'), coloursChoice),
        row(text('sampleTextLabel'), sample),
        element('div', { className: 'preview-panel' }, [canvas]),
        element('p', { className: 'preview-note', hidden: true }),
        element('p', { className: 'preview-advice', hidden: true }),
        element('button', { id: 'previewUseForm', type: 'button', hidden: true })]);
    panel.querySelector('#previewUseForm').addEventListener('click', () => session().useDisplaysForm());
    panel.setAttribute('aria-label', canvas.getAttribute('aria-label'));
    parent.append(panel);
}
