// Starts the page: the core first, then the window drawn from the state,
// then the commands, the keys, paste and drops wired to the history.
import { copyAsCArray, copyCode, pasteCode, readClipboard } from './clipboard.js';
import { core, kClearDots, loadCore } from './core.js';
import { messageBox, showAbout } from './dialogs.js';
import { chooseFile, isDrawingFileName, open, openDrawingFile, save } from './files.js';
import { gridElement, transformPicture } from './grid.js';
import { canRedo, canUndo, change, redo, undo } from './history.js';
import { importImage, isImageFile } from './importer.js';
import { buildMainWindow, renderMainWindow } from './mainwindow.js';
import { showMenu } from './menu.js';
import { hasWebSerial, kNoWebSerial, sendToModule } from './serial.js';
import { state, subscribe, update } from './state.js';
import { insertText } from './textdialog.js';

// What a paste or a drop brings: a drawing file opens, an image is imported, text is read as code.
async function take({ file, text }) {
    if (file && isDrawingFileName(file.name))
        await openDrawingFile(file);
    else if (file)
        await importImage(file);
    else if (text !== undefined)
        await pasteCode(text);
    else
        await messageBox('Cannot paste: the clipboard holds no image, file or code.');
}

const commands = {
    new: () => {
        change('New', (picture) => ({ ...picture, dots: kClearDots }));
        update({ code: '', codeMadeFrom: null });
    },
    open,
    save,
    run: () => update({ code: core.lcdToCode(state.dots).replace(/\r\n/g, '\n'), codeMadeFrom: state.dots }),
    about: showAbout,
    copy: copyCode,
    type: (type) => {
        if (type !== state.type)
            change(`Type ${type}`, (picture) => ({ ...picture, type }));
    },
    menu: (x, y) => showMenu(x, y, [
        ['Undo', 'Ctrl+Z', undo, canUndo()],
        ['Redo', 'Ctrl+Shift+Z', redo, canRedo()],
        '-',
        ['Invert', 'Ctrl+I', () => transformPicture('invert')],
        ['Shift Up', 'Shift+Up', () => transformPicture('shift-up')],
        ['Shift Down', 'Shift+Down', () => transformPicture('shift-down')],
        ['Shift Left', 'Shift+Left', () => transformPicture('shift-left')],
        ['Shift Right', 'Shift+Right', () => transformPicture('shift-right')],
        ['Flip Horizontally', '', () => transformPicture('flip-h')],
        ['Flip Vertically', '', () => transformPicture('flip-v')],
        ['Rotate Clockwise', '', () => transformPicture('rotate-cw')],
        ['Rotate Counterclockwise', '', () => transformPicture('rotate-ccw')],
        '-',
        ['Import Image…', '', async () => {
            const file = await chooseFile('image/*', [{ description: 'Images', accept: { 'image/*': [] } }]);
            if (file)
                await importImage(file);
        }],
        ['Insert Text…', '', insertText],
        ['Paste', 'Ctrl+V', async () => take(await readClipboard())],
        '-',
        ['Copy as C Array', '', copyAsCArray],
        hasWebSerial() ? ['Send to Module…', '', sendToModule] : [kNoWebSerial, '', () => {}, false],
    ]),
};

function wireKeys() {
    // Undo and redo answer anywhere but in the code box, whose own they stay.
    document.addEventListener('keydown', (event) => {
        if (!event.ctrlKey || event.target.id === 'txtData' || document.querySelector('dialog[open]'))
            return;
        const key = event.key.toLowerCase();
        if (key === 'z' && !event.shiftKey)
            undo();
        else if ((key === 'z' && event.shiftKey) || key === 'y')
            redo();
        else
            return;
        event.preventDefault();
    });
    gridElement().addEventListener('paste', (event) => {
        event.preventDefault();
        const file = event.clipboardData.files[0];
        take(file ? { file } : { text: event.clipboardData.getData('text/plain') || undefined });
    });
    document.addEventListener('dragover', (event) => event.preventDefault());
    document.addEventListener('drop', (event) => {
        event.preventDefault();
        const file = event.dataTransfer.files[0];
        if (file && (isDrawingFileName(file.name) || isImageFile(file)))
            take({ file });
    });
}

async function start() {
    await loadCore();
    buildMainWindow(document.getElementById('frmMain'), commands);
    subscribe(renderMainWindow);
    renderMainWindow();
    wireKeys();
    document.documentElement.dataset.ready = 'true';
    // What the bench reads: when the page took clicks, and the core to time.
    window.tessaldoReadyAt = performance.now();
    window.tessaldoBench = { core };
}

start();
