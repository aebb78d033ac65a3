// Drawing files through the browser's pickers, or a file input and a
// download where it has none; the bytes and every refusal are the core's.
import { constants, core } from './core.js';
import { text } from './texts.js';
import { announce, buttons, element, messageBox, row, showDialog } from './dialogs.js';
import { places, session, update } from './state.js';

// A drawing file's ending as the core names it, and in lower case, which it reads too.
export function drawingSuffixes() {
    return [core.drawingSuffix(), core.drawingSuffix().toLowerCase()];
}

function pickerTypes() {
    return [{ description: 'LCD File', accept: { 'application/octet-stream': drawingSuffixes() } }];
}

// What a picture of another size than the module's is saved as: PBM, or X BitMap by its name.
function bitmapPickerTypes() {
    return [{ description: text('pbmFilter'), accept: { 'image/x-portable-bitmap': ['.pbm'] } },
        { description: text('xbmFilter'), accept: { 'image/x-xbitmap': ['.xbm'] } }];
}

// Open takes a drawing file, or a PBM or X BitMap at its own size.
function openPickerTypes() {
    return [...pickerTypes(), ...bitmapPickerTypes()];
}

function isModuleSized() {
    const { width, height } = session().size();
    return width === constants.gridSide && height === constants.gridSide;
}

// The drawing file the picture was last opened from or saved to, which Save
// offers again; the handle where the browser gave one, which Ctrl+S writes.

// The work is now that drawing file's, or no file's for ''.
export function nameFile(name, handle = null) {
    places.picture = { name, handle };
    update({ fileName: name });
}

// The work is now a set's header or source: Save and Ctrl+S offer no drawing file of before.
export function nameSetFile(name) {
    places.picture = { name: '', handle: null };
    update({ fileName: name });
}

// The name kept with the work of an earlier page of this tab's.
export function nameKeptFile(name) {
    if (core.isSourceFileName(name))
        nameSetFile(name);
    else
        nameFile(name);
}

// Why the browser could not read or write a file it was given: the end of the core's message.
function fileProblem(error, verb) {
    const reasons = {
        NotFoundError: 'it is no longer there',
        NoModificationAllowedError: 'another program or page holds it locked',
        NotReadableError: 'it cannot be read; it may have been changed, moved or locked since it was chosen',
        InvalidStateError: 'it was changed since it was chosen',
        NotAllowedError: `the browser was not allowed to ${verb} it`,
        QuotaExceededError: 'there is no room left for it',
    };
    return reasons[error?.name] || `the browser could not ${verb} it`;
}

export function openFailure(name, error) {
    return core.openFailed(name, fileProblem(error, 'read'));
}

export function saveFailure(name, error) {
    return core.saveFailed(name, fileProblem(error, 'write'));
}

// The file's content read as `how` ('arrayBuffer' or 'text'), its first `limit` bytes where given, or null once
// the user is told why it cannot be.
export async function readFile(file, how, limit = file.size) {
    try {
        return await file.slice(0, limit)[how]();
    } catch (error) {
        await messageBox(openFailure(file.name, error));
        return null;
    }
}

// As much of a drawing file as the reader looks at, however large the file; null when it cannot be read.
export function readDrawing(file) {
    return readFile(file, 'arrayBuffer', core.drawingBytesRead);
}

function isDrawingFileName(name) {
    return drawingSuffixes().some((suffix) => name.endsWith(suffix));
}

// A drawing file's first bytes are all of it; a bitmap is read whole, up to the largest source the core reads.
async function readPicture(file) {
    if (isDrawingFileName(file.name))
        return readDrawing(file);
    const refusal = core.refuseSourceSize(file.name, file.size);
    if (refusal) {
        await messageBox(refusal);
        return null;
    }
    return readFile(file, 'arrayBuffer');
}

export async function openDrawingFile(file, handle = null) {
    const bytes = await readPicture(file);
    if (!bytes)
        return;
    const problem = session().openDrawing(file.name, new Uint8Array(bytes));
    if (problem)
        await messageBox(problem);
    else
        nameFile(file.name, handle);
}

function chooseWithInput(accept, multiple) {
    return new Promise((resolve) => {
        const input = element('input', { type: 'file', accept, multiple });
        input.addEventListener('change', () => resolve([...input.files]), { once: true });
        input.addEventListener('cancel', () => resolve([]), { once: true });
        input.click();
    });
}

async function pickFiles(types, multiple) {
    try {
        return await window.showOpenFilePicker({ types, excludeAcceptAllOption: false, multiple });
    } catch (error) {
        if (error.name === 'AbortError')
            return [];
        throw error;
    }
}

// The files the user picks, none when the picker was cancelled or a file picked cannot be had.
export async function chooseFiles(accept, types, multiple) {
    if (!window.showOpenFilePicker)
        return chooseWithInput(accept, multiple);
    const files = [];
    for (const handle of await pickFiles(types, multiple)) {
        try {
            files.push(await handle.getFile());
        } catch (error) {
            await messageBox(openFailure(handle.name, error));
            return [];
        }
    }
    return files;
}

// The file the user picks, or null when the picker was cancelled.
export async function chooseFile(accept, types) {
    return (await chooseFiles(accept, types, false))[0] || null;
}

// With the picker's handle where the browser has one, for Ctrl+S to write back to.
// `openFile(file, handle)` opens what is picked; `moreTypes` are offered beside drawings and bitmaps.
export async function open(openFile = openDrawingFile, moreTypes = []) {
    const types = [...openPickerTypes(), ...moreTypes];
    if (!window.showOpenFilePicker) {
        const file = await chooseFile(types.flatMap((type) => Object.values(type.accept).flat()).join(','), types);
        if (file)
            await openFile(file);
        return;
    }
    const [handle] = await pickFiles(types, false);
    if (!handle)
        return;
    try {
        await openFile(await handle.getFile(), handle);
    } catch (error) {
        await messageBox(openFailure(handle.name, error));
    }
}

// The name a file is downloaded as, asked where the browser has no save
// picker, with `extension` added when the typed name has none; '' when
// cancelled. A name that names no file is refused in the dialog, saying why.
export async function askFileName(title, suggested, extension) {
    const name = element('input', { id: 'saveName', value: suggested, autofocus: true });
    const problem = element('p', { id: 'problem', className: 'problem', hidden: true, role: 'alert' });
    const form = element('form', { method: 'dialog' }, [
        element('strong', { textContent: title }),
        row('File name:', name),
        problem,
        buttons(['Save', 'save'], ['Cancel', ''])]);
    form.addEventListener('submit', (event) => {
        if (event.submitter?.value !== 'save' || core.nameToSaveAs(name.value.trim(), extension))
            return;
        event.preventDefault();
        problem.textContent = text('nameNeeded');
        problem.hidden = false;
        name.focus();
    });
    const answer = showDialog(element('dialog', { ariaLabel: title }, [form]));
    // The name part is selected, so that typing replaces it and keeps the extension.
    const dot = suggested.lastIndexOf('.');
    name.setSelectionRange(0, dot > 0 ? dot : suggested.length);
    return (await answer) === 'save' ? core.nameToSaveAs(name.value.trim(), extension) : '';
}

// A download goes where the browser puts it, which the page never learns:
// the work stays unsaved until a save to a file the user chose.
export function downloaded(name) {
    announce(`Downloaded "${name}". The browser decides where downloads go, so the work here still counts as unsaved.`);
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

function saved(name, handle) {
    nameFile(name, handle);
    session().markSaved();
    announce(`Saved "${name}".`);
}

// The file's bytes under `name`, as the core's rule gives them by the name's
// ending, or null once the user is told why it cannot be written.
async function pictureBytes(name) {
    const made = session().pictureFile(name);
    if (made.problem) {
        await messageBox(made.problem);
        return null;
    }
    return made.bytes;
}

async function saveTo(handle) {
    const bytes = await pictureBytes(handle.name);
    if (!bytes)
        return false;
    try {
        await writeTo(handle, bytes);
    } catch (error) {
        await messageBox(saveFailure(handle.name, error));
        return false;
    }
    saved(handle.name, handle);
    return true;
}

// Save asks where every time, offering the file the picture came from;
// Ctrl+S (`again`) writes to the file chosen before where the browser gave
// a handle to it. Only a write that went through marks the picture saved;
// true when it was written or downloaded.
export async function save(again = false) {
    const moduleSized = isModuleSized();
    // A drawing file opened before is no place for a picture it cannot hold: Save asks, offering a PBM of its name.
    const handle = places.picture.handle;
    if (again && handle && (moduleSized || !isDrawingFileName(handle.name)))
        return saveTo(handle);
    const extension = moduleSized ? core.drawingSuffix() : '.pbm';
    const kept = places.picture.name;
    const suggested = kept && (moduleSized || !isDrawingFileName(kept)) ? kept
        : `${kept ? kept.replace(/\.[^.]*$/, '') : 'picture'}${extension}`;
    if (window.showSaveFilePicker) {
        const picked = await pickSaveFile(suggested, moduleSized ? openPickerTypes() : bitmapPickerTypes());
        return picked ? saveTo(picked) : false;
    }
    const name = await askFileName('Save Graphic LCD File', suggested, extension);
    if (!name)
        return false;
    const bytes = await pictureBytes(name);
    if (!bytes)
        return false;
    download(name, bytes);
    nameFile(name);
    downloaded(name);
    return true;
}
