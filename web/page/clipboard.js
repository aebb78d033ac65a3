// The clipboard: the copy button moves the code out, Paste takes an image,
// an image or drawing file, or code back in.
import { core } from './core.js';
import { messageBox } from './dialogs.js';
import { change } from './history.js';
import { codeBoxText } from './mainwindow.js';
import { state, update } from './state.js';

async function writeText(text) {
    try {
        await navigator.clipboard.writeText(text);
        return true;
    } catch {
        return false;
    }
}

export async function copyCode() {
    if (await writeText(codeBoxText()))
        update({ code: '', codeMadeFrom: null });
    else
        await messageBox(core.texts().noText);
}

export async function copyAsCArray() {
    if (!(await writeText(core.cArray(state.dots))))
        await messageBox(core.texts().noText);
}

export async function pasteCode(text) {
    const read = core.codeDots(text);
    if (read.problem) {
        await messageBox(`Cannot paste: ${read.problem}.`);
        return;
    }
    change('Paste', (picture) => ({ ...picture, dots: read.dots }));
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
