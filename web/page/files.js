// Drawing files through the browser's pickers, or a file input and a
// download where it has none; the bytes and every refusal are the core's.
import { core } from './core.js';
import { buttons, element, messageBox, row, showDialog } from './dialogs.js';
import { session, state } from './state.js';

const kPickerTypes = [{ description: 'LCD File', accept: { 'application/octet-stream': ['.Lcd', '.lcd'] } }];

export async function openDrawingFile(file) {
    const problem = session().openDrawing(file.name, new Uint8Array(await file.arrayBuffer()));
    if (problem)
        await messageBox(problem);
}

function chooseWithInput(accept, multiple) {
    return new Promise((resolve) => {
        const input = element('input', { type: 'file', accept, multiple });
        input.addEventListener('change', () => resolve([...input.files]), { once: true });
        input.addEventListener('cancel', () => resolve([]), { once: true });
        input.click();
    });
}

// The files the user picks, none when the picker was cancelled.
export async function chooseFiles(accept, types, multiple) {
    if (!window.showOpenFilePicker)
        return chooseWithInput(accept, multiple);
    try {
        const handles = await window.showOpenFilePicker({ types, excludeAcceptAllOption: false, multiple });
        return await Promise.all(handles.map((handle) => handle.getFile()));
    } catch (error) {
        if (error.name === 'AbortError')
            return [];
        throw error;
    }
}

// The file the user picks, or null when the picker was cancelled.
export async function chooseFile(accept, types) {
    return (await chooseFiles(accept, types, false))[0] || null;
}

export async function open() {
    const file = await chooseFile('.Lcd,.lcd', kPickerTypes);
    if (file)
        await openDrawingFile(file);
}

// The name a file is downloaded as, asked where the browser has no save picker; '' when cancelled.
export async function askFileName(title, suggested) {
    const name = element('input', { id: 'saveName', value: suggested, autofocus: true });
    const dialog = element('dialog', { ariaLabel: title }, [
        element('form', { method: 'dialog' }, [
            element('strong', { textContent: title }),
            row('File name:', name),
            buttons(['Save', 'save'], ['Cancel', ''])]),
    ]);
    return (await showDialog(dialog)) === 'save' ? name.value.trim() : '';
}

export function download(name, bytes) {
    const link = element('a', { href: URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' })), download: name });
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 0);
}

export async function writeTo(handle, bytes) {
    const writable = await handle.createWritable();
    await writable.write(new Blob([bytes]));
    await writable.close();
}

// The handle the save picker gives, or null when it was cancelled.
export async function pickSaveFile(suggestedName, types) {
    try {
        return await window.showSaveFilePicker({ suggestedName, types });
    } catch (error) {
        if (error.name === 'AbortError')
            return null;
        throw error;
    }
}

// The name goes to the file exactly as typed: no extension is added.
export async function save() {
    const bytes = core.formatDrawing(state.type, state.dots);
    if (window.showSaveFilePicker) {
        const handle = await pickSaveFile('picture.Lcd', kPickerTypes);
        if (!handle)
            return;
        await writeTo(handle, bytes);
        session().markSaved();
        return;
    }
    const name = await askFileName('Save Graphic LCD File', 'picture.Lcd');
    if (!name)
        return;
    download(name, bytes);
    session().markSaved();
}
