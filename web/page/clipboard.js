// The clipboard: the copy button moves the code out, and so does Ctrl+C,
// never stale code; "Copy as C Array" the picture; what Paste finds there is
// read here and routed by the core.
import { text } from './texts.js';
import { announce, messageBox } from './dialogs.js';
import { codeBoxText } from './mainwindow.js';
import { session, update } from './state.js';

// '' once the text is on the clipboard; else why it is not. A browser lets a
// page write there only while it has the focus, and some ask the user first.
export async function writeText(text) {
    try {
        await navigator.clipboard.writeText(text);
        return '';
    } catch (error) {
        const why = error.name === 'NotAllowedError' ? 'the browser did not allow it' : error.message;
        return `Cannot copy to the clipboard: ${why}. The clipboard keeps what it held.`;
    }
}

// An empty box has nothing to move: the clipboard keeps what it holds, and the user hears why.
export async function copyCode() {
    const code = codeBoxText();
    const problem = code ? await writeText(code) : text('noText');
    if (problem) {
        await messageBox(problem);
        return;
    }
    session().forgetCode();
    update({ code: '' });
    announce('The code is on the clipboard.');
}

// Ctrl+C: the button's move, but of the picture's own code, run first, where the box's is stale; an empty box
// leaves the clipboard as it is.
export async function copyCodeByKey() {
    const copy = session().copyByKey(codeBoxText());
    if (!copy.text) {
        await messageBox(copy.note);
        return;
    }
    // Run went first: the box shows its code, which stays there should the clipboard not take it.
    update({ code: copy.text.replace(/\r\n/g, '\n') });
    const problem = await writeText(copy.text);
    if (problem) {
        await messageBox(problem);
        return;
    }
    session().forgetCode();
    update({ code: '' });
    announce(copy.note || 'The code is on the clipboard.');
}

// Both copy an array as "Copy as C Array" does, and say so; true once it is on the clipboard.
async function copyArray(array, said = 'The picture is on the clipboard as a C array.') {
    const problem = await writeText(array);
    if (problem)
        await messageBox(problem);
    else
        announce(said);
    return !problem;
}

// The core says what went: the size, the form and the bytes.
export async function copyAsCArray() {
    await copyArray(session().arrayText(), session().copiedText());
}

// The selection's dots as one array; without a selection the clipboard keeps what it holds.
export async function copySelection() {
    const array = session().selectionArrayText();
    return array !== '' && copyArray(array);
}

// What the clipboard holds, read through the asynchronous clipboard: a file or image blob, or text.
export async function readClipboard() {
    try {
        for (const item of await navigator.clipboard.read()) {
            const image = item.types.find((type) => type.startsWith('image/'));
            if (image)
                return { file: new File([await item.getType(image)], 'clipboard image', { type: image }) };
            if (item.types.includes('text/plain'))
                return { text: await (await item.getType('text/plain')).text() };
        }
    } catch {
        // The browser said no, or holds nothing it will give.
    }
    return {};
}
