// The set's files: Open Set reads a header or C source, drawing files or an
// animated image; Save Set writes the set as one header, Save Set as Folder
// as a drawing file per picture where the browser writes folders. The
// reading and the writing are the core's; here are the pickers and downloads.
import { core } from './core.js';
import { announce, askSaveChanges, buttons, element, messageBox, showDialog } from './dialogs.js';
import {
    askFileName, chooseFiles, download, downloaded, drawingSuffixes, nameFile, nameSetFile, pickSaveFile, readDrawing, readFile, save,
    saveFailure, writeTo,
} from './files.js';
import { decodesFrames, openAnimation } from './importer.js';
import { chooseLayout } from './layoutdialog.js';
import { readApartFromTheWork, readSource } from './setreader.js';
import { places, session, state } from './state.js';

// What Open Set offers: the core's endings of sources and of drawing files, and images.
function openSuffixes() {
    return [...core.sourceFileSuffixes(), ...drawingSuffixes()];
}

function openTypes() {
    return [{ description: 'C headers and sources, drawing files, animated images',
        accept: { 'text/plain': openSuffixes(), 'image/*': [] } }];
}
const kHeaderTypes = [{ description: 'C Header', accept: { 'text/plain': ['.h'] } }];


async function openImageFrames(file) {
    if (!decodesFrames()) {
        await messageBox(`Cannot open "${file.name}" as a set: this browser cannot decode an image's frames one by one.`);
        return;
    }
    // Frames are saved to no file yet: a header of their own, once Save Set asks for its name.
    if (await openAnimation(file)) {
        places.setSavedAs = null;
        places.setOpenedName = '';
        nameFile('');
    }
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
    // The layout is '' until the user has chosen one for arrays that say none.
    let read = await readSource(file.name, file.size, text, '');
    if (read?.choices.length) {
        const chosen = await chooseLayout(read.choices);
        if (!chosen)
            return;
        read = await readSource(file.name, file.size, text, chosen.layout);
    }
    if (!read || !await opened(read))
        return;
    places.setOpenedName = file.name;
    places.setSavedAs = null;
    nameSetFile(file.name);
    if (read.note)
        await messageBox(read.note);
}

// True when the work may be replaced: it is saved, or the user saved it or
// let it go. `setsOnly`: as the window asks before another set, only for a
// set of several pictures, a picture being one step of the history away.
export async function mayReplaceWork(setsOnly = false) {
    const question = session().saveChangesQuestion();
    if (!question || (setsOnly && !session().holdsSet()))
        return true;
    const answer = await askSaveChanges(question);
    if (answer === 'save')
        return session().holdsSet() ? saveSet() : save();
    return answer === 'discard';
}

// Opens the set read apart once the work here is saved or let go: false
// when it is not opened, the problem said.
async function opened(read) {
    if (read.problem) {
        await messageBox(read.problem);
        return false;
    }
    if (!await mayReplaceWork(true))
        return false;
    const problem = session().openSetDocument(read.document, read.layout);
    if (problem)
        await messageBox(problem);
    return !problem;
}

// What Open Set or a drop brings, as the set, read as the core plans: one
// header or source, one animated image, or drawing files in the order given.
// The work here is asked about once a set has come of them.
export async function openSetFrom(files) {
    const plan = core.planOpenSet(files.map((file) => ({ name: file.name, isImage: file.type.startsWith('image/') })));
    if (plan.reader === 'refused')
        return messageBox(plan.refusal);
    if (plan.reader === 'source')
        return openSource(files[0]);
    if (plan.reader === 'image')
        return await mayReplaceWork(true) && openImageFrames(files[0]);
    // Every file goes to the core, which opens those that are drawings and names the rest.
    const drawings = [];
    for (const file of files) {
        const bytes = await readDrawing(file);
        if (!bytes)
            return;
        drawings.push({ name: file.name, bytes: new Uint8Array(bytes) });
    }
    const read = readApartFromTheWork((reader) => reader.openSetDrawings(drawings));
    if (!await opened(read))
        return;
    places.setSavedAs = null;
    places.setOpenedName = '';
    nameFile('');
    if (read.note)
        await messageBox(read.note);
}

export async function openSet() {
    const files = await chooseFiles(`${openSuffixes().join(',')},image/*`, openTypes(), true);
    if (files.length)
        await openSetFrom(files);
}

function suggestedName() {
    return places.setSavedAs?.name || places.setOpenedName || (state.animation ? 'animation.h' : 'icons.h');
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

// Only a header that was written marks the set saved; true when it was written or downloaded.
async function saveSetTo(target) {
    const header = session().setHeaderText(target.name);
    const problem = header.problem || (target.handle ? await writeHeader(target.handle, target.name, header.text) : '');
    if (problem) {
        await messageBox(problem);
        return false;
    }
    places.setSavedAs = target;
    nameSetFile(target.name);
    if (!target.handle) {
        download(target.name, header.text);
        downloaded(target.name);
        return true;
    }
    session().setSaved();
    announce(`Saved "${target.name}".`);
    return true;
}

export async function saveSetAs() {
    const target = await chooseHeader();
    return target ? saveSetTo(target) : false;
}

export async function saveSet() {
    return places.setSavedAs ? saveSetTo(places.setSavedAs) : saveSetAs();
}

// The folder's files in one zip archive, named and dated as the set is now.
async function downloadZip() {
    const folder = suggestedName().replace(/\.[^.]*$/, '') || 'icons';
    const now = new Date();
    const made = session().setFolderZip(folder, { year: now.getFullYear(), month: now.getMonth() + 1,
        day: now.getDate(), hour: now.getHours(), minute: now.getMinutes(), second: now.getSeconds() });
    if (made.problem) {
        await messageBox(made.problem);
        return;
    }
    download(`${folder}.zip`, made.bytes);
    downloaded(`${folder}.zip`);
}

// Where the browser writes no folder, a download per picture would start
// them all at once: the folder is offered as one zip archive, or the set as one header.
async function offerZipOrHeader() {
    const text = `This browser lets a page write no folder: it would download each of the ${state.count} pictures as `
        + 'a file of its own, all at once. Download the folder as one zip archive, or save the set as one header?';
    const dialog = element('dialog', { className: 'message', ariaLabel: 'Save Set as Folder' }, [
        element('form', { method: 'dialog' }, [
            element('strong', { textContent: 'Save Set as Folder' }),
            element('p', { className: 'message-text', textContent: text }),
            buttons(['Download Zip', 'zip', { autofocus: true }], ['Save Header…', 'header'], ['Cancel', '']),
        ]),
    ]);
    const answer = await showDialog(dialog);
    if (answer === 'zip')
        await downloadZip();
    else if (answer === 'header')
        await saveSetAs();
}

// Into a folder the user picks, where the browser writes folders.
export async function saveSetAsFolder() {
    if (!window.showDirectoryPicker) {
        await offerZipOrHeader();
        return;
    }
    let folder = null;
    try {
        folder = await window.showDirectoryPicker({ mode: 'readwrite' });
    } catch (error) {
        if (error.name === 'AbortError')
            return;
        throw error;
    }
    const made = session().setFolderFiles(folder.name);
    if (made.problem) {
        await messageBox(made.problem);
        return;
    }
    for (const file of made.files) {
        try {
            await writeTo(await folder.getFileHandle(file.name, { create: true }), file.bytes);
        } catch (error) {
            await messageBox(saveFailure(`${folder.name}/${file.name}`, error));
            return;
        }
    }
}
