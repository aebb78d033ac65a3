// Modal dialogs: the message box, the about window, and the frame every
// other dialog of the page is built in.
import { text } from './texts.js';
import { zoomLikeWindow } from './scale.js';

export function element(tag, properties = {}, children = []) {
    const made = Object.assign(document.createElement(tag), properties);
    made.append(...children);
    return made;
}

export function row(caption, control) {
    const label = element('label', { textContent: caption, htmlFor: control.id });
    return element('div', { className: 'dialog-row' }, [label, control]);
}

// The language a text of the page is in: Korean where it has Hangul, else English.
export function languageOf(text) {
    return /[\u1100-\u11ff\u3130-\u318f\uac00-\ud7af]/.test(text) ? 'ko' : 'en';
}

// Whether a modal dialog holds the page: what reaches the window then is not for the picture.
export function dialogIsOpen() {
    return document.querySelector('dialog[open]') !== null;
}

const kShownMs = 3000; // how long a result stays on screen
let hideResult = 0;

// Says a result to a screen reader and shows it a moment at the foot of the
// view, without moving the focus.
export function announce(text) {
    let status = document.getElementById('status');
    if (!status) {
        status = element('p', { id: 'status', className: 'announcer', role: 'status' });
        document.body.append(status);
    }
    // The same text twice is still news: clearing first makes it a change.
    status.textContent = '';
    requestAnimationFrame(() => {
        status.textContent = text;
        zoomLikeWindow(status);
        status.classList.add('shown');
    });
    clearTimeout(hideResult);
    hideResult = setTimeout(() => status.classList.remove('shown'), kShownMs);
}

// A dialog closed by its buttons; resolves with the value of the button pressed, or '' for Escape.
export function showDialog(dialog) {
    document.body.append(dialog);
    return new Promise((resolve) => {
        dialog.addEventListener('close', () => {
            dialog.remove();
            resolve(dialog.returnValue);
        }, { once: true });
        dialog.showModal();
        zoomLikeWindow(dialog);
    });
}

export function buttons(...list) {
    return element('div', { className: 'dialog-buttons' },
        list.map(([text, value, extra = {}]) => element('button', { type: 'submit', value, textContent: text, ...extra })));
}

let messages = 0; // names each message box's text, which describes its dialog

// `choices` the buttons, as buttons() takes them; the answer is the value of the one pressed.
export function messageBox(message, choices = [['OK', 'ok', { autofocus: true }]]) {
    const id = `message-text-${++messages}`;
    const dialog = element('dialog', { className: 'message', ariaLabel: text('title') }, [
        element('form', { method: 'dialog' }, [
            element('strong', { textContent: text('title') }),
            element('p', { id, className: 'message-text', textContent: message, lang: languageOf(message) }),
            buttons(...choices),
        ]),
    ]);
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-describedby', id);
    return showDialog(dialog);
}

// Asked before unsaved work is replaced, as the window asks before it closes:
// 'save', 'discard', or '' to keep the work as it is.
export function askSaveChanges(question) {
    const id = `message-text-${++messages}`;
    const dialog = element('dialog', { className: 'message', ariaLabel: text('title') }, [
        element('form', { method: 'dialog' }, [
            element('strong', { textContent: text('title') }),
            element('p', { id, className: 'message-text', textContent: question }),
            buttons(['Save', 'save', { autofocus: true }], ['Discard', 'discard'], ['Cancel', '']),
        ]),
    ]);
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-describedby', id);
    return showDialog(dialog);
}

function place(made, left, top, width, height) {
    made.style.left = `${left}px`;
    made.style.top = `${top}px`;
    made.style.width = `${width}px`;
    made.style.height = `${height}px`;
    return made;
}

// The about window: no title bar, as on the desktop; closed by 닫기 or Escape.
export function showAbout() {
        const label = (id, text, ...box) => place(element('div', { id, className: 'label', textContent: text }), ...box);
    const close = place(element('button', { id: 'cmdClose', type: 'submit', value: 'close', textContent: text('close') }),
        278, 430, 69, 32);
    close.style.position = 'absolute';
    // Named in the note's own language: "how to use".
    // The designed note speaks of the module's 16 x 16; what the other sizes are for follows it.
    const usage = `${text('usage')}\n\n${text('aboutEverySize')}`;
    const note = place(element('textarea', { id: 'Text1', readOnly: true, value: usage, ariaLabel: '사용법',
        lang: languageOf(text('usage')) }), 3, 99, 347, 324);
    close.lang = languageOf(text('close'));
    const dialog = element('dialog', { id: 'frmAbout', ariaLabel: text('title') }, [
        element('form', { method: 'dialog' }, [
            label('Label1', text('title'), 73, 7, 214, 16),
            label('Label2', text('author'), 86, 34, 194, 12),
            label('Label3', text('licence'), 132, 55, 94, 12),
            label('Label4', text('manual'), 109, 76, 142, 12),
            note, close,
        ]),
    ]);
    // Escape closes it as 닫기 does, as every dialog of the page closes on it.
    return showDialog(dialog).then(() => undefined);
}

// A whole number within the box's range whatever is typed, as a spin box
// holds it: the browser would otherwise hold up the form with its own bubble.
export function clampedNumber(box) {
    return Math.min(Number(box.max), Math.max(Number(box.min), Math.round(Number(box.value)) || 0));
}

export function numberBox(properties) {
    const box = element('input', { type: 'number', step: 1, ...properties });
    box.addEventListener('change', () => { box.value = clampedNumber(box); });
    return box;
}
