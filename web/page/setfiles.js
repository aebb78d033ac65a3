// The set's files: Open Set reads a header or C source, drawing files or an
// animated image; Save Set writes the set as one header, Save Set as Folder
// as a drawing file per picture. The reading and the writing are the core's;
// here are the pickers and downloads.
import { core } from './core.js';
import { announce, messageBox } from './dialogs.js';
import { askFileName, chooseFiles, download, pickSaveFile, readDrawing, readFile, saveFailure, writeTo } from './files.js';
import { decodesFrames, openAnimation } from './importer.js';
import { chooseLayout } from './layoutdialog.js';
import { session, state } from './state.js';

const kOpenAccept = '.h,.hh,.hpp,.c,.cc,.cpp,.cxx,.ino,.Lcd,.lcd,image/*';
const kOpenTypes = [{ description: 'C headers and sources, drawing files, animated images',
    accept: { 'text/plain': ['.h', '.hh', '.hpp', '.c', '.cc', '.cpp', '.cxx', '.ino', '.Lcd', '.lcd'], 'image/*': [] } }];
const kHeaderTypes = [{ description: 'C Header', accept: { 'text/plain': ['.h'] } }];

let savedAs = null;  // {name, handle}: where Save Set writes again; the handle only with the save picker
let openedName = ''; // the header or source last opened, the name first offered to save under

async function openImageFrames(file) {
    if (decodesFrames())
        await openAnimation(file);
    else
        await messageBox(`Cannot open "${file.name}" as a set: this browser cannot decode an image's frames one by one.`);
}

async function openSource(file) {
    const refusal = core.refuseSourceSize(file.name, file.size);
    if (refusal) {
        await messageBox(refusal);
        return;
    }
    const text = await readFile(file, 'text');
    if (text === null)
        return;
    let opened = session().openSetText(file.name, text, '');
    if (opened.choices.length) {
        const chosen = await chooseLayout(opened.choices);
        if (!chosen)
            return;
        opened = session().openSetText(file.name, text, chosen.layout);
    }
    if (opened.problem) {
        await messageBox(opened.problem);
        return;
    }
    openedName = file.name;
    savedAs = null;
    if (opened.note)
        await messageBox(opened.note);
}

// What Open Set or a drop brings, as the set: one header or source, one
// animated image, or drawing files in the order given.
export async function openSetFrom(files) {
    if (files.length === 1 && core.isSourceFileName(files[0].name))
        return openSource(files[0]);
    if (files.length === 1 && files[0].type.startsWith('image/'))
        return openImageFrames(files[0]);
    // Every file goes to the core, which opens those that are drawings and names the rest.
    const drawings = [];
    for (const file of files) {
        const bytes = await readDrawing(file);
        if (!bytes)
            return;
        drawings.push({ name: file.name, bytes: new Uint8Array(bytes) });
    }
    const opened = session().openSetDrawings(drawings);
    if (opened.problem) {
        await messageBox(opened.problem);
        return;
    }
    savedAs = null;
    openedName = '';
    if (opened.note)
        await messageBox(opened.note);
}

export async function openSet() {
    const files = await chooseFiles(kOpenAccept, kOpenTypes, true);
    if (files.length)
        await openSetFrom(files);
}

function suggestedName() {
    return savedAs?.name || openedName || (state.animation ? 'animation.h' : 'icons.h');
}

async function chooseHeader() {
    if (window.showSaveFilePicker) {
        const handle = await pickSaveFile(suggestedName(), kHeaderTypes);
        return handle && { name: handle.name, handle };
    }
    const name = await askFileName('Save Set', suggestedName(), '.h');
    return name && { name };
}

// Writes the header through the save picker's handle unless the file holds
// code the header would lose: the message when it was not written, '' when it was.
async function writeHeader(handle, name, text) {
    try {
        const refusal = core.refuseOverwrite(name, await (await handle.getFile()).text());
        if (!refusal)
            await writeTo(handle, text);
        return refusal;
    } catch (error) {
        return saveFailure(name, error);
    }
}

// Only a header that was written or downloaded marks the set saved.
async function saveSetTo(target) {
    const header = session().setHeaderText(target.name);
    const problem = header.problem || (target.handle ? await writeHeader(target.handle, target.name, header.text) : '');
    if (problem) {
        await messageBox(problem);
        return;
    }
    if (!target.handle)
        download(target.name, header.text);
    savedAs = target;
    session().setSaved();
    announce(`Saved "${target.name}".`);
}

export async function saveSetAs() {
    const target = await chooseHeader();
    if (target)
        await saveSetTo(target);
}

export async function saveSet() {
    if (savedAs)
        await saveSetTo(savedAs);
    else
        await saveSetAs();
}

// Into a folder the user picks where the browser writes folders; elsewhere a
// download per picture, NAME.Lcd, for the user to gather.
export async function saveSetAsFolder() {
    let folder = null;
    if (window.showDirectoryPicker) {
        try {
            folder = await window.showDirectoryPicker({ mode: 'readwrite' });
        } catch (error) {
            if (error.name === 'AbortError')
                return;
            throw error;
        }
    }
    const made = session().setFolderFiles(folder ? folder.name : 'set');
    if (made.problem) {
        await messageBox(made.problem);
        return;
    }
    for (const file of made.files) {
        if (!folder) {
            download(file.name, file.bytes);
            continue;
        }
        try {
            await writeTo(await folder.getFileHandle(file.name, { create: true }), file.bytes);
        } catch (error) {
            await messageBox(saveFailure(`${folder.name}/${file.name}`, error));
            return;
        }
    }
}
