// Which Layout?: pasted or opened values that do not say whose display they
// are for, drawn as each layout reads them, the likeliest first and chosen:
// one picture's readings side by side under the layouts' names, a set's one
// below the other, each as its first pictures. The arrow keys move between
// them; Enter or a double click takes one.
import { text } from './texts.js';
import { buttons, element, showDialog } from './dialogs.js';
import { drawPicture } from './picture.js';
import { state } from './state.js';

// Whole pixels a dot, as on the desktop: crisp, and four drawings fit beside each other on a phone.
const kSmallPitch = 5;

function choice(candidate, index) {
    const canvases = candidate.pictures.map((dots) => {
        const canvas = element('canvas', { className: 'layout-picture' });
        drawPicture(canvas, dots, state.type, kSmallPitch);
        return canvas;
    });
    const radio = element('input', { type: 'radio', name: 'layout', id: `layout-${index}`, value: String(index),
        checked: index === 0, autofocus: index === 0 });
    // The radio before its label, so that the label shows it chosen or focused.
    return element('span', { className: 'layout-choice' }, [radio,
        element('label', { htmlFor: radio.id }, [element('span', { className: 'layout-pictures' }, canvases),
            element('span', { textContent: candidate.name })])]);
}

// The reading the user takes, {name, layout, pictures}, or null when they cancel.
export async function chooseLayout(candidates) {
    const [layoutChoiceTitle, layoutQuestion, setLayoutQuestion] = [text('layoutChoiceTitle'), text('layoutQuestion'),
        text('setLayoutQuestion')];
    const ofSet = candidates[0].pictures.length > 1;
    const ok = buttons(['OK', 'ok'], ['Cancel', '']);
    const form = element('form', { method: 'dialog' }, [element('strong', { textContent: layoutChoiceTitle }),
        element('p', { textContent: ofSet ? setLayoutQuestion : layoutQuestion }),
        element('div', { className: ofSet ? 'layout-choices of-set' : 'layout-choices',
            role: 'radiogroup', ariaLabel: 'Layouts' }, candidates.map(choice)),
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
