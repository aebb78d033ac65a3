// Insert Text: one line from Unifont's own glyphs, previewed as it is typed,
// replacing the picture or laid onto it, moved by whole dots with the arrow
// keys on the preview.
import { core } from './core.js';
import { text } from './texts.js';
import { clampedNumber, element, numberBox, row, showDialog } from './dialogs.js';
import { glyphsFor } from './glyphs.js';
import { drawPicture, makePreview } from './picture.js';
import { atModuleSize, session, state } from './state.js';
import { drawThumbnail } from './thumbnail.js';

const kNudges = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };

function select(id, choices) {
    const made = element('select', { id });
    choices.forEach((text, index) => made.append(element('option', { value: String(index), textContent: text })));
    return made;
}

// The text moves as far as the picture goes each way.
function offsetBox(id, direction, side) {
    return numberBox({ id, min: -side, max: side, value: 0, title: direction, ariaLabel: `Offset ${direction} (dots)` });
}

// The preview's side in CSS pixels, as the stylesheet gives it.
const kPreviewBox = 209;

export async function insertText() {
    const preview = makePreview('preview');
    preview.tabIndex = 0;
    preview.title = text('textMoveTip');
    const textBox = element('input', { id: 'text', placeholder: text('textExample'), autofocus: true });
    const align = select('align', ['Centre', 'Left']);
    const placement = select('placement', [text('replacePicture'), text('ontoPicture')]);
    const invert = element('input', { id: 'invert', type: 'checkbox' });
    const size = session().size();
    const offsetX = offsetBox('offsetX', 'right', size.width);
    const offsetY = offsetBox('offsetY', 'down', size.height);
    const width = element('p', { id: 'width' });
    const problem = element('p', { id: 'problem', className: 'problem', hidden: true });
    // OK waits for text, which Enter in the empty box then does not stand in for either.
    const ok = element('button', { type: 'submit', value: 'ok', textContent: 'OK', disabled: true });
    let dots = state.dots;
    let drawing = 0;
    const redraw = async () => {
        const ticket = ++drawing;
        const glyphs = await glyphsFor(textBox.value);
        if (ticket !== drawing)
            return; // a later keystroke has drawn already
        problem.hidden = !glyphs.problem;
        problem.textContent = glyphs.problem ? text('cannotDraw', glyphs.problem) : '';
        ok.disabled = Boolean(glyphs.problem) || !textBox.value;
        if (glyphs.problem)
            return; // the preview keeps the last text that could be drawn
        const drawn = core.textDots(state.type, glyphs.hexes, align.value === '1', clampedNumber(offsetX),
            clampedNumber(offsetY), invert.checked, placement.value === '1', state.dots, size.width, size.height);
        dots = drawn.dots;
        width.textContent = textBox.value ? core.textWidthNote(drawn.width, drawn.cut, size.width, size.height) : '';
        if (atModuleSize())
            drawPicture(preview, dots, state.type);
        else
            drawThumbnail(preview, dots, size, state.type, kPreviewBox);
    };
    preview.addEventListener('keydown', (event) => {
        const nudge = kNudges[event.key];
        if (!nudge)
            return;
        event.preventDefault();
        for (const [box, step] of [[offsetX, nudge[0]], [offsetY, nudge[1]]]) {
            box.value = clampedNumber(box) + step;
            box.value = clampedNumber(box); // as far as the box goes, as the desktop's spin box stops
        }
        redraw();
    });
    for (const control of [textBox, align, placement, invert, offsetX, offsetY])
        control.addEventListener('input', redraw);
    // noValidate: an offset typed out of range is taken as the preview takes it, not held up by the browser.
    const dialog = element('dialog', { ariaLabel: text('insertText') }, [element('form', { method: 'dialog', noValidate: true }, [
        element('strong', { textContent: text('insertText') }), preview,
        row(text('textLabel'), textBox), row(text('fontLabel'), element('span', { textContent: 'Unifont, 16 px' })),
        row(text('alignmentLabel'), align),
        row(text('invert'), invert), row(text('placementLabel'), placement),
        row(text('offsetLabel'), element('span', { className: 'dialog-row' }, [offsetX, offsetY])),
        width, problem, element('div', { className: 'dialog-buttons' }, [ok,
            element('button', { type: 'submit', value: '', textContent: 'Cancel' })])])]);
    const shown = showDialog(dialog);
    await redraw();
    if ((await shown) === 'ok')
        session().takeDots('Text', dots);
}
