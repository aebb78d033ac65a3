// New Picture… and Picture Size…: one dialog in two modes. A size is chosen
// by the display it fits, from the core's presets, or typed, 1 to the
// largest side each way; Picture Size… also crops or extends the set from
// one of nine places, or scales it by a whole factor, as one step.
import { constants, core } from './core.js';
import { buttons, clampedNumber, element, numberBox, row, showDialog } from './dialogs.js';
import { nameFile } from './files.js';
import { mayReplaceWork } from './setfiles.js';
import { session, update } from './state.js';
import { text } from './texts.js';

// The command's caption as the menu shows it, the dialog's title without the ellipsis that says a dialog follows.
function titleOf(id) {
    return core.commands().find((command) => command.id === id).caption.replace(/…$/, '');
}

// Kept as typed, never clamped: OK says why a size no picture can have is refused (typedSize).
function sizeBox(id, value) {
    return element('input', { type: 'number', step: 1, id, min: 1, max: constants.largestSide, value: String(value) });
}

// The typed size as the core reads it: {width, height, problem}.
function typedSize(width, height) {
    return core.typedPictureSize(width.value, height.value);
}

// The presets' choice, kept to the typed size: a preset where one is that size, else "any size".
function presetChoice(displays, width, height) {
    const select = element('select', { id: 'sizePreset' }, [element('option', { value: '', textContent: text('anySize') }),
        ...displays.map((display, index) => element('option', { value: String(index), textContent: display.name }))]);
    const follow = () => {
        const index = displays.findIndex((display) => String(display.width) === width.value
            && String(display.height) === height.value);
        select.value = index < 0 ? '' : String(index);
    };
    select.addEventListener('change', () => {
        const display = displays[Number(select.value)];
        if (select.value === '' || !display)
            return;
        width.value = String(display.width);
        height.value = String(display.height);
    });
    width.addEventListener('input', follow);
    height.addEventListener('input', follow);
    follow();
    return select;
}

// The nine places a cropped or extended picture is kept at, three by three as they lie.
function anchorChoice() {
    const radios = core.anchors().map((name, index) => {
        const radio = element('input', { type: 'radio', name: 'anchor', value: name, checked: index === 0 });
        radio.setAttribute('aria-label', name);
        return radio;
    });
    const grid = element('div', { className: 'anchor-grid', role: 'radiogroup' }, radios);
    grid.setAttribute('aria-label', text('cropOrExtend'));
    return grid;
}

// How Picture Size… changes the set: 'resize', 'enlarge' or 'reduce', each with its own controls.
function wayChoice(value, caption, checked, control) {
    const radio = element('input', { type: 'radio', name: 'way', value, checked, id: `way-${value}` });
    return element('div', { className: 'size-way' },
        [element('div', { className: 'dialog-row' }, [radio, element('label', { htmlFor: radio.id, textContent: caption })]),
            control]);
}

// Shows the dialog; apply(form) gives "" when done or why not, which stays in the dialog until the user changes it or cancels.
async function askSize(title, controls, apply) {
    const problem = element('p', { id: 'problem', className: 'problem', hidden: true, role: 'alert' });
    const form = element('form', { method: 'dialog', className: 'size-dialog' },
        [element('strong', { textContent: title }), ...controls, problem, buttons(['OK', 'ok'], ['Cancel', ''])]);
    // The core's sentence says what is wrong with a value, not the browser's bubble.
    form.noValidate = true;
    let answered = false;
    form.addEventListener('submit', (event) => {
        if (event.submitter?.value !== 'ok')
            return;
        const refusal = apply(form);
        if (!refusal) {
            answered = true;
            return;
        }
        event.preventDefault();
        problem.textContent = refusal;
        problem.hidden = false;
    });
    await showDialog(element('dialog', { ariaLabel: title, className: 'narrow' }, [form]));
    return answered;
}

function sizeRows(width, height) {
    return [row(text('sizePresetLabel'), presetChoice(core.displays(), width, height)),
        row(text('widthLabel'), width), row(text('heightLabel'), height)];
}

// A clear picture of the chosen size in place of the work, once it is saved or let go.
export async function newPicture() {
    const { width: shownWidth, height: shownHeight } = session().size();
    const width = sizeBox('sizeWidth', shownWidth);
    const height = sizeBox('sizeHeight', shownHeight);
    width.autofocus = true;
    let chosen = null;
    const asked = await askSize(titleOf(core.CommandId.NewPicture), sizeRows(width, height), () => {
        chosen = typedSize(width, height);
        return chosen.problem;
    });
    if (!asked || !await mayReplaceWork())
        return;
    // As the toolbar's New: the clear picture is no file's, and the code box held the old picture's code.
    session().newPictureOfSize(chosen.width, chosen.height);
    nameFile('');
    update({ code: '' });
}

// The set made another size, cropped or extended at an anchor, or scaled.
export function pictureSize() {
    const { width: shownWidth, height: shownHeight } = session().size();
    const width = sizeBox('sizeWidth', shownWidth);
    const height = sizeBox('sizeHeight', shownHeight);
    width.autofocus = true;
    const up = numberBox({ id: 'scaleUpFactor', min: 1, max: constants.largestSide, value: '2' });
    const down = numberBox({ id: 'scaleDownFactor', min: 1, max: constants.largestSide, value: '2' });
    const controls = [...sizeRows(width, height), wayChoice('resize', text('cropOrExtend'), true, anchorChoice()),
        wayChoice('enlarge', text('scaleUp'), false, up), wayChoice('reduce', text('scaleDown'), false, down)];
    // Typing a factor means scaling by it.
    for (const [box, way] of [[up, 'enlarge'], [down, 'reduce'], [width, 'resize'], [height, 'resize']])
        box.addEventListener('input', () => { box.form.elements.way.value = way; });
    return askSize(titleOf(core.CommandId.PictureSize), controls, (form) => {
        const way = form.elements.way.value;
        if (way === 'enlarge')
            return session().enlarge(clampedNumber(up));
        if (way === 'reduce')
            return session().reduce(clampedNumber(down));
        const typed = typedSize(width, height);
        return typed.problem || session().resize(typed.width, typed.height, form.elements.anchor.value);
    });
}
