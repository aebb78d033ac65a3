// The clipboard: the copy button moves the code out, "Copy as C Array" the
// picture; what Paste finds there is read here and routed by the core.
import { core } from './core.js';
import { messageBox } from './dialogs.js';
import { codeBoxText } from './mainwindow.js';
import { session, state, update } from './state.js';

export async function writeText(text) {
    try {
        await navigator.clipboard.writeText(text);
        return true;
    } catch {
        return false;
    }
}

export async function copyCode() {
    if (await writeText(codeBoxText())) {
        session().forgetCode();
        update({ code: '' });
    } else {
        await messageBox(core.texts().noText);
    }
}

export async function copyAsCArray() {
    if (!(await writeText(core.cArray(state.dots))))
        await messageBox(core.texts().noText);
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
