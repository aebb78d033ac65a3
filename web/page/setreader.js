// A source is read by the core into a session of its own, so that the work
// on the page is asked about only once a set has come of it; the set found
// crosses as the text of its document, which the page's session opens in a
// moment. A large source is read in a worker, so that the page answers, says
// that it is at work and can be cancelled meanwhile; where no worker starts,
// the page reads it itself, having said so first.
import { core, coreOptions } from './core.js';
import { buttons, element, showDialog } from './dialogs.js';
import { state } from './state.js';

// A source this large is read apart, while the page answers.
const kReadApartFrom = 1 << 20;

// What the worker runs after the core's script.
function readInWorker() {
    onmessage = async ({ data }) => {
        const core = await TessaldoCore(data.coreAt ? { locateFile: (file) => new URL(file, data.coreAt).href }
            : { wasmBinary: data.wasmBinary });
        const reader = new core.Session();
        reader.setType(data.type);
        const opened = reader.openSetText(data.name, data.text, data.layout);
        const { problem, note, choices } = opened;
        postMessage(problem || choices.length ? { problem, note, choices }
            : { problem, note, choices, document: reader.documentText(), layout: reader.headerLayoutIndex() });
    };
}

// The worker's script: the core's, from the site's file or inlined in the one file, then readInWorker.
function workerSource() {
    const coreAt = document.querySelector('script[src$="tessaldo-core.js"]')?.src;
    const core = coreAt ? `importScripts(${JSON.stringify(coreAt)});`
        : [...document.scripts].find((script) => /^\s*var TessaldoCore\b/.test(script.textContent.slice(0, 100)))
            ?.textContent;
    return core && { coreAt, text: `${core}\n(${readInWorker})();\n` };
}

function progressDialog(name) {
    const dialog = element('dialog', { ariaLabel: 'Open Set' }, [element('form', { method: 'dialog' }, [
        element('strong', { textContent: 'Open Set' }), element('span', { textContent: `Opening "${name}"…` }),
        element('progress', { ariaLabel: 'Progress' }), buttons(['Cancel', ''])])]);
    return { dialog, answer: showDialog(dialog) };
}

// The worker's answer, null when Cancel was pressed, or undefined when no worker could read it.
function readApart(source, name, text, layout) {
    const url = URL.createObjectURL(new Blob([source.text], { type: 'text/javascript' }));
    let worker;
    try {
        worker = new Worker(url);
    } catch {
        URL.revokeObjectURL(url);
        return Promise.resolve(undefined);
    }
    const { dialog, answer } = progressDialog(name);
    const read = new Promise((resolve) => {
        worker.onmessage = ({ data }) => resolve(data);
        worker.onerror = (event) => {
            event.preventDefault();
            resolve(undefined);
        };
        worker.postMessage({ coreAt: source.coreAt, wasmBinary: coreOptions.wasmBinary, type: state.type, name, text,
            layout });
    });
    const cancelled = answer.then(() => null);
    return Promise.race([read, cancelled]).finally(() => {
        worker.terminate();
        URL.revokeObjectURL(url);
        if (dialog.open)
            dialog.close('done');
    });
}

// What a session of its own makes of `read(reader)`: {problem, note, choices}, with the set found as
// {document, layout} when there are no layouts to choose from.
export function readApartFromTheWork(read) {
    const reader = new core.Session();
    try {
        reader.setType(state.type);
        const { problem, note, choices = [] } = read(reader);
        return problem || choices.length ? { problem, note, choices }
            : { problem, note, choices, document: reader.documentText(), layout: reader.headerLayoutIndex() };
    } finally {
        reader.delete();
    }
}

// The page itself reads when no worker can: the note is drawn before the reading holds the page.
async function readHere(name, text, layout) {
    const { dialog } = progressDialog(name);
    dialog.querySelector('.dialog-buttons').remove(); // nothing answers Cancel while the page reads
    dialog.addEventListener('cancel', (event) => event.preventDefault());
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
    const read = readApartFromTheWork((reader) => reader.openSetText(name, text, layout));
    dialog.close('done');
    return read;
}

// Reads the source with the layout chosen ('' for none yet) as
// readApartFromTheWork does; null when cancelled.
export async function readSource(name, size, text, layout) {
    if (size < kReadApartFrom)
        return readApartFromTheWork((reader) => reader.openSetText(name, text, layout));
    const source = workerSource();
    const read = source ? await readApart(source, name, text, layout) : undefined;
    return read === undefined ? readHere(name, text, layout) : read;
}
