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

function chooseWithInput(accept) {
    return new Promise((resolve) => {
        const input = element('input', { type: 'file', accept });
        input.addEventListener('change', () => resolve(input.files[0] || null), { once: true });
        input.addEventListener('cancel', () => resolve(null), { once: true });
        input.click();
    });
}

// The file the user picks, or null when the picker was cancelled.
export async function chooseFile(accept, types) {
    if (!window.showOpenFilePicker)
        return chooseWithInput(accept);
    try {
        const [handle] = await window.showOpenFilePicker({ types, excludeAcceptAllOption: false });
        return await handle.getFile();
    } catch (error) {
        if (error.name === 'AbortError')
            return null;
        throw error;
    }
}

export async function open() {
    const file = await chooseFile('.Lcd,.lcd', kPickerTypes);
    if (file)
        await openDrawingFile(file);
}

async function askName() {
    const name = element('input', { id: 'saveName', value: 'picture.Lcd', autofocus: true });
    const dialog = element('dialog', { ariaLabel: 'Save Graphic LCD File' }, [
        element('form', { method: 'dialog' }, [
            element('strong', { textContent: 'Save Graphic LCD File' }),
            row('File name:', name),
            buttons(['Save', 'save'], ['Cancel', ''])]),
    ]);
    return (await showDialog(dialog)) === 'save' ? name.value.trim() : '';
}

// The name goes to the file exactly as typed: no extension is added.
export async function save() {
    const bytes = core.formatDrawing(state.type, state.dots);
    if (window.showSaveFilePicker) {
        let handle;
        try {
            handle = await window.showSaveFilePicker({ suggestedName: 'picture.Lcd', types: kPickerTypes });
        } catch (error) {
            if (error.name === 'AbortError')
                return;
            throw error;
        }
        const writable = await handle.createWritable();
        await writable.write(new Blob([bytes]));
        await writable.close();
        session().markSaved();
        return;
    }
    const name = await askName();
    if (!name)
        return;
    const link = element('a', { href: URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' })), download: name });
    link.click();
    session().markSaved();
    setTimeout(() => URL.revokeObjectURL(link.href), 0);
}
