// Starts the page: the core and its session first, then the window drawn
// from the state, then the commands of the core's table wired to the menu,
// the keys, paste and drops.
import { canvasBox, zoomIn, zoomOut, zoomToFit } from './canvas.js';
import { buildCanvasGrid } from './canvasfocus.js';
import { copyAsCArray, copyCode, copyCodeByKey, copySelection, readClipboard } from './clipboard.js';
import { core, loadCore } from './core.js';
import { dialogIsOpen, element, messageBox, showAbout } from './dialogs.js';
import { chooseFile, nameFile, openDrawingFile, save } from './files.js';
import { addGlyph, glyphsFromText } from './fontglyphs.js';
import { openedAsFont, openWithFonts } from './fonts.js';
import { saveFontAs } from './fontsave.js';
import { describeDots, gridElement } from './grid.js';
import { importImage, isBitmapFile } from './importer.js';
import { chooseLayout } from './layoutdialog.js';
import { copyLink, followLinks } from './link.js';
import { buildMainWindow, renderMainWindow } from './mainwindow.js';
import { showMenu } from './menu.js';
import { keepForOffline } from './offline.js';
import { buildPreview, renderPreview } from './preview.js';
import { followPlaying, togglePlay } from './play.js';
import { hasWebSerial, noWebSerial, playOnModule, sendToModule } from './serial.js';
import { pictureDelay, renamePicture } from './setdialogs.js';
import { newPicture, pictureSize } from './sizedialog.js';
import { keepFitted } from './scale.js';
import { openSet, openSetFrom, saveSet, saveSetAs, saveSetAsFolder } from './setfiles.js';
import { atModuleSize, session, startSession, state, subscribe, update } from './state.js';
import { keepWork, rememberArrayForm } from './storage.js';
import { buildStrip, renderStrip } from './strip.js';
import { insertText } from './textdialog.js';

// What a paste or a drop brings: a font opens as the set of its glyphs;
// else, as the core routes it, a header or source opens as a set, a drawing
// file, PBM or XBM opens, any other image is imported, code becomes the
// picture it says, or the pictures.
async function take({ file, text }) {
    if (file && await openedAsFont(file))
        return;
    // Values for another display are read as the grid shows them, in its type;
    // values that do not say their layout, in the one the user picks for them all.
    let routed = core.route(false, file ? file.name : '', text, state.type, '', 0, 0);
    if (routed.candidates.length) {
        const chosen = await chooseLayout(routed.candidates);
        if (!chosen)
            return;
        routed = core.route(false, file ? file.name : '', text, state.type, chosen.layout, chosen.width, chosen.height);
    }
    if (routed.kind === 'drawing-file')
        await openDrawingFile(file);
    else if (routed.kind === 'source-file')
        await openSetFrom([file]);
    else if (routed.kind === 'image-file')
        // A PBM or XBM opens at its own size, as Open opens it; Import Image fits it into the picture.
        await (await isBitmapFile(file) ? openDrawingFile(file) : importImage(file));
    else if (routed.problem)
        await messageBox(routed.problem);
    else if (routed.pictures.length) {
        const renamed = session().takePictures('Paste', routed.pictures);
        if (renamed)
            await messageBox(renamed);
    }
    else {
        // Read at the size chosen for it, the picture takes that size; a set of another size refuses it.
        const refused = session().takeDotsOfSize('Paste', routed.dots, routed.width, routed.height);
        if (refused)
            await messageBox(refused);
    }
}

// How the page carries out the commands the core leaves to the faces.
function pageActions() {
    const { CommandId } = core;
    return new Map([
        [CommandId.ImportImage, async () => {
            // XBM and PBM files, which the core reads, have no image type in every browser.
            const file = await chooseFile('image/*,.xbm,.pbm', [{ description: 'Images', accept: { 'image/*': ['.xbm', '.pbm'] } }]);
            if (file)
                await importImage(file);
        }],
        [CommandId.InsertText, insertText],
        [CommandId.NewPicture, newPicture],
        [CommandId.PictureSize, pictureSize],
        [CommandId.Paste, async () => take(await readClipboard())],
        [CommandId.CopyAsCArray, copyAsCArray],
        [CommandId.CopySelection, copySelection],
        // A selection the clipboard did not take stays in the picture.
        [CommandId.CutSelection, async () => {
            if (await copySelection())
                perform(CommandId.DeleteSelection);
        }],
        [CommandId.CopyLink, copyLink],
        [CommandId.SendToModule, sendToModule],
        [CommandId.RenamePicture, renamePicture],
        [CommandId.PictureDelay, pictureDelay],
        [CommandId.Play, togglePlay],
        [CommandId.PlayOnModule, playOnModule],
        [CommandId.OpenSet, openSet],
        [CommandId.SaveSet, saveSet],
        [CommandId.SaveSetAs, saveSetAs],
        [CommandId.SaveSetAsFolder, saveSetAsFolder],
        [CommandId.AddGlyph, addGlyph],
        [CommandId.GlyphsFromText, glyphsFromText],
        [CommandId.SaveFontAs, saveFontAs],
        [CommandId.ZoomIn, () => zoomIn()],
        [CommandId.ZoomOut, () => zoomOut()],
        [CommandId.ZoomToFit, zoomToFit],
    ]);
}

let actions = null;
let table = null; // the core's command table, read once: every key press looks in it

function perform(id) {
    if (core.isCarriedOutByFace(id))
        actions.get(id)();
    else
        session().perform(id);
}

// Without Web Serial these say why instead.
function needsSerial(id) {
    return id === core.CommandId.SendToModule || id === core.CommandId.PlayOnModule;
}

function menuItem(command) {
    if (needsSerial(command.id) && !hasWebSerial())
        return { text: noWebSerial(command.caption), key: '', action: () => {}, enabled: false };
    // The page cannot look at the clipboard before a paste, so Paste is always offered.
    return { text: command.caption, key: command.keys[0] || '', action: () => perform(command.id),
        enabled: session().isEnabled(command.id, true),
        checked: command.checkable ? session().isChecked(command.id) : undefined, oneOfSeveral: command.oneOfSeveral };
}

// The table's commands in its order; those of a submenu gather where its first one stands.
function menuItems() {
    const items = [];
    const submenus = new Map();
    for (const command of table) {
        const opensSubmenu = command.submenu && !submenus.has(command.submenu);
        if (command.startsGroup)
            (command.submenu && !opensSubmenu ? submenus.get(command.submenu) : items).push('-');
        if (opensSubmenu) {
            submenus.set(command.submenu, []);
            items.push({ text: command.submenu, submenu: submenus.get(command.submenu) });
        }
        (command.submenu ? submenus.get(command.submenu) : items).push(menuItem(command));
    }
    return items;
}

const kKeyNames = { ArrowUp: 'Up', ArrowDown: 'Down', ArrowLeft: 'Left', ArrowRight: 'Right', PageUp: 'PgUp',
    PageDown: 'PgDown', Insert: 'Ins', Delete: 'Del', Escape: 'Esc' };

// A key as the core's table writes it: "Ctrl+Shift+Z", "Shift+Up", "Ctrl+Del", "Ctrl++", "P". Shift is
// left out of a sign it is needed to type, as "+" is on many keyboards.
function keyText(event) {
    const sign = event.key.length === 1 && event.key.toLowerCase() === event.key.toUpperCase() && event.key !== ' ';
    const modifiers = [[event.ctrlKey, 'Ctrl'], [event.altKey, 'Alt'], [event.shiftKey && !sign, 'Shift']];
    const key = kKeyNames[event.key] || event.key.toUpperCase();
    return [...modifiers.filter(([held]) => held).map(([, name]) => name), key].join('+');
}

// Answers a key of the table; true when one was. Paste comes through the paste event, which brings what it pastes.
function pressKey(event, inGrid) {
    const text = keyText(event);
    const command = table.find((candidate) => candidate.gridOnly === inGrid
        && candidate.id !== core.CommandId.Paste && candidate.keys.includes(text));
    if (!command)
        return false;
    perform(command.id);
    return true;
}

const commands = {
    new: () => {
        session().newPicture();
        nameFile('');
        update({ code: '' });
    },
    open: openWithFonts,
    save,
    run: () => update({ code: session().run().replace(/\r\n/g, '\n') }),
    about: showAbout,
    copy: copyCode,
    type: (type) => session().setType(type),
    menu: (x, y) => showMenu(x, y, menuItems()),
    key: (event) => pressKey(event, true),
    perform,
};

// Text the user has selected, which Ctrl+C copies as every page does.
function selectsText(target) {
    const inBox = target.id === 'txtData' && target.selectionStart !== target.selectionEnd;
    return inBox || window.getSelection().toString() !== '';
}

function isCopyKey(event) {
    return event.ctrlKey && !event.shiftKey && !event.altKey && !event.metaKey && event.key.toLowerCase() === 'c';
}

function wireKeys() {
    // Ctrl+S and Ctrl+O are the page's Save and Open, not the browser's; in a dialog they do nothing.
    // Ctrl+S saves again to the file chosen before, where the browser lets it.
    const fileKeys = { 'Ctrl+S': () => save(true), 'Ctrl+O': commands.open };
    document.addEventListener('keydown', (event) => {
        const fileKey = fileKeys[keyText(event)];
        if (fileKey)
            event.preventDefault();
        if (dialogIsOpen())
            return;
        if (fileKey) {
            fileKey();
            return;
        }
        // Ctrl+C is the copy button's key, as its caption says.
        if (isCopyKey(event) && !selectsText(event.target)) {
            event.preventDefault();
            copyCodeByKey();
            return;
        }
        // Undo and redo answer anywhere but in the code box, whose own they stay.
        if (event.target.id === 'txtData')
            return;
        if (pressKey(event, false))
            event.preventDefault();
    });
    // On the document: Firefox gives a paste to the body, not to the grid that has the focus.
    document.addEventListener('paste', (event) => {
        const grid = atModuleSize() ? gridElement() : canvasBox();
        if ((document.activeElement !== grid && !grid.contains(event.target)) || dialogIsOpen())
            return;
        event.preventDefault();
        const file = event.clipboardData.files[0];
        take(file ? { file } : { text: event.clipboardData.getData('text/plain') || undefined });
    });
    document.addEventListener('dragover', (event) => event.preventDefault());
    document.addEventListener('drop', (event) => {
        event.preventDefault();
        // A file dropped on an open dialog would open a second one over it, for a picture the first still holds.
        if (dialogIsOpen())
            return;
        // Several files are drawings for a set; one is what a paste of it would be.
        const files = [...event.dataTransfer.files];
        if (files.length > 1)
            openSetFrom(files);
        else if (files.length)
            take({ file: files[0] });
    });
    // Work not saved to a file: the browser asks before the page goes.
    window.addEventListener('beforeunload', (event) => {
        if (!session().isClean())
            event.preventDefault();
    });
}

// Lets the browser paint and take input between the steps of starting, so
// that none holds it long on a slow phone.
function nextTask() {
    return globalThis.scheduler?.yield ? globalThis.scheduler.yield() : new Promise((resolve) => setTimeout(resolve));
}

// The tab's title names the file and marks unsaved work, as the window's does.
function showTitle() {
    document.title = core.shownTitle(state.fileName, !session().isClean());
}

// Draws now and after every change.
function showAlways(render) {
    subscribe(render);
    render();
}

// The grid's menu within a tap's reach: a right click or a long press opens
// it too, but nothing on screen says so. Above the window, whose toolbar stays
// the desktop's.
function buildMenuButton(workspace) {
    const button = element('button', { id: 'menuButton', type: 'button', title: 'The commands of the grid\'s menu' }, [
        element('span', { textContent: '☰', ariaHidden: 'true' }), element('span', { textContent: 'Menu' })]);
    button.setAttribute('aria-haspopup', 'menu');
    button.addEventListener('click', () => {
        const box = button.getBoundingClientRect();
        commands.menu(box.left, box.bottom);
    });
    workspace.before(button);
}

// The window built, drawn and fitted while laid out but unseen, each step a
// task of its own, then shown at once: no half-drawn frame, no shift, and
// nothing to click before it works.
async function showWindow() {
    const main = document.getElementById('frmMain');
    const workspace = main.parentElement;
    buildMainWindow(main, commands);
    buildCanvasGrid(main, commands.menu, commands.key);
    buildMenuButton(workspace);
    await nextTask();
    describeDots();
    await nextTask();
    showAlways(renderMainWindow);
    await nextTask();
    buildStrip(workspace, commands.menu, commands.key, commands.perform);
    await nextTask();
    showAlways(renderStrip);
    buildPreview(workspace);
    showAlways(renderPreview);
    showAlways(followPlaying);
    showAlways(showTitle);
    keepFitted(workspace);
    await nextTask();
    workspace.classList.remove('unseen');
}

// In steps that each take a slow phone a short while.
async function start() {
    await nextTask(); // the script's own running apart from the core's
    await loadCore();
    await nextTask();
    startSession();
    await nextTask();
    const lost = await keepWork();
    rememberArrayForm();
    await nextTask();
    actions = pageActions();
    table = core.commands();
    await nextTask();
    await showWindow();
    wireKeys();
    followLinks();
    document.documentElement.dataset.ready = 'true';
    // What the bench reads: when the page took clicks, the core to time and the session to fill.
    window.tessaldoReadyAt = performance.now();
    window.tessaldoBench = { core, session };
    await nextTask();
    keepForOffline();
    if (lost)
        await messageBox(lost);
}

start();
