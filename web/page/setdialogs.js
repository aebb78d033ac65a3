// Rename Picture and Picture Delay: one box each, in the page's dialog style.
// The core judges what is typed; its refusal stays in the dialog until the
// user types what it takes or cancels.
import { buttons, element, row, showDialog } from './dialogs.js';
import { text } from './texts.js';
import { session, state } from './state.js';

// apply(text) gives "" when taken, or why not.
export async function askFor(title, caption, input, apply) {
    const problem = element('p', { id: 'problem', className: 'problem', hidden: true, role: 'alert' });
    const form = element('form', { method: 'dialog' }, [element('strong', { textContent: title }), row(caption, input),
        problem, buttons(['OK', 'ok'], ['Cancel', ''])]);
    form.addEventListener('submit', (event) => {
        if (event.submitter?.value !== 'ok')
            return;
        const refusal = apply(input.value);
        if (!refusal)
            return;
        event.preventDefault();
        problem.textContent = refusal;
        problem.hidden = false;
        input.focus();
    });
    await showDialog(element('dialog', { ariaLabel: title, className: 'narrow' }, [form]));
}

export function renamePicture() {
    const index = state.current;
    const name = element('input', { id: 'pictureName', value: session().pictureName(index), autofocus: true,
        spellcheck: false });
    return askFor(text('renamePicture'), text('renameQuestion'), name, (text) => session().renamePicture(index, text));
}

export function pictureDelay() {
    const index = state.current;
    const delay = element('input', { id: 'pictureDelay', type: 'number', step: 1,
        value: String(session().pictureDelay(index)), autofocus: true });
    // What is no whole number of milliseconds the core refuses as out of range.
    const wholeMs = (text) => {
        const ms = Number(text);
        return text.trim() && Number.isInteger(ms) && Math.abs(ms) < 2 ** 31 ? ms : -1;
    };
    return askFor(text('pictureDelay'), text('delayQuestion'), delay, (text) => session().setDelay(index, wholeMs(text)));
}
