// Which Layout?: pasted or opened values that do not say whose display they
// are for, drawn as each layout reads them, the likeliest first and chosen:
// one picture's readings side by side under the layouts' names, and their
// sizes where the bytes fit several, a set's one below the other, each as its
// first pictures. The arrow keys move between
// them; Enter or a double click takes one.
import { text } from './texts.js';
import { buttons, element, showDialog } from './dialogs.js';
import { constants } from './core.js';
import { drawPicture } from './picture.js';
import { state } from './state.js';
import { drawThumbnail } from './thumbnail.js';

// Whole pixels a dot, as on the desktop: crisp, and four drawings fit beside each other on a phone.
const kSmallPitch = 5;

// The side of the box a reading of another size is scaled to fit.
const kSizedSide = 128;

function isModuleSize({ width, height }) {
    return width === constants.gridSide && height === constants.gridSide;
}

function choice(candidate, index, showSizes) {
    const canvases = candidate.pictures.map((dots) => {
        const canvas = element('canvas', { className: 'layout-picture' });
        if (isModuleSize(candidate))
            drawPicture(canvas, dots, state.type, kSmallPitch);
        else {
            canvas.classList.add('sized');
            drawThumbnail(canvas, dots, candidate, state.type, kSizedSide);
        }
        return canvas;
    });
    const captions = [element('span', { textContent: candidate.name })];
    if (showSizes)
        captions.push(element('span', { className: 'layout-size', textContent: candidate.size }));
    const radio = element('input', { type: 'radio', name: 'layout', id: `layout-${index}`, value: String(index),
        checked: index === 0, autofocus: index === 0 });
    // The radio before its label, so that the label shows it chosen or focused.
    return element('span', { className: 'layout-choice' }, [radio,
        element('label', { htmlFor: radio.id }, [element('span', { className: 'layout-pictures' }, canvases),
            ...captions])]);
}

// The reading the user takes, {name, layout, pictures, width, height, size}, or null when they cancel.
export async function chooseLayout(candidates) {
    const [layoutChoiceTitle, layoutQuestion, setLayoutQuestion] = [text('layoutChoiceTitle'), text('layoutQuestion'),
        text('setLayoutQuestion')];
    const ofSet = candidates[0].pictures.length > 1;
    // Bytes that say no size are read at each size they fit: then each reading says its own.
    const showSizes = !candidates.every(isModuleSize);
    const ok = buttons(['OK', 'ok'], ['Cancel', '']);
    const form = element('form', { method: 'dialog' }, [element('strong', { textContent: layoutChoiceTitle }),
        element('p', { textContent: ofSet ? setLayoutQuestion : layoutQuestion }),
        element('div', { className: ofSet ? 'layout-choices of-set' : 'layout-choices',
            role: 'radiogroup', ariaLabel: 'Layouts' }, candidates.map((candidate, index) => choice(candidate, index, showSizes))),
        ok]);
    const take = () => form.requestSubmit(ok.querySelector('[value="ok"]'));
    form.addEventListener('dblclick', (event) => {
        if (event.target.closest('.layout-choice'))
            take();
    });
    form.addEventListener('keydown', (event) => {
        if (event.key === 'Enter' && event.target.name === 'layout') {
            event.preventDefault();
            take();
        }
    });
    const dialog = element('dialog', { ariaLabel: layoutChoiceTitle, className: 'narrow' }, [form]);
    if ((await showDialog(dialog)) !== 'ok')
        return null;
    return candidates[Number(form.elements.layout.value)];
}
