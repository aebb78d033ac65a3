// The main window as the desktop lays it out, 15 twips to a CSS pixel: the
// toolbar, "LCD Type" with its two options, "LCD Pannel" with the grid, the
// code box and the copy button. The page has no Exit: a page is closed by
// its browser.
import { constants } from './core.js';
import { text } from './texts.js';
import { element, languageOf } from './dialogs.js';
import { renderCanvasGrid } from './canvasfocus.js';
import { buildGrid, renderGrid } from './grid.js';
import { toolbarIcon } from './icons.js';
import { session, state, update } from './state.js';

// Twips as the page's pixels, rounded.
function pixels(twips) {
    return Math.round(twips / constants.twipsPerPixel);
}

// Places at the core's box {left, top, width, height} in twips.
function placed(made, box) {
    made.classList.add('control');
    Object.assign(made.style, Object.fromEntries(['left', 'top', 'width', 'height'].map((side) => [side, `${pixels(box[side])}px`])));
    return made;
}

function frame(id, title, box) {
    return placed(element('div', { id, className: 'frame', role: 'group', ariaLabel: title }, [
        element('span', { className: 'frame-title', textContent: title, ariaHidden: 'true' }),
    ]), box);
}

function toolbar(commands) {
    const bar = placed(element('div', { id: 'tbarMain', role: 'toolbar', ariaLabel: 'Toolbar' }), constants.window.toolbar);
    // The buttons keep the desktop's places; Exit's place stays empty.
    const buttons = [['New', 'new', 0], ['Open', 'open', 1], ['Save', 'save', 2], ['Run', 'run', 3], ['About', 'about', 5]];
    for (const [text, key, place] of buttons) {
        const button = element('button', { className: 'toolbar-button', type: 'button', ariaLabel: text });
        button.append(toolbarIcon(key), element('span', { textContent: text }));
        button.style.left = `${place * 40}px`;
        button.addEventListener('click', () => commands[key]());
        bar.append(button);
    }
    return bar;
}

function typeOptions(onType) {
    const box = frame('Frame2', 'LCD Type', constants.window.typeFrame);
    constants.window.typeOptions.forEach((place, type) => {
        const caption = text(`type${type}`);
        const input = element('input', { type: 'radio', name: 'optType', value: String(type) });
        input.addEventListener('change', () => onType(type));
        box.append(placed(element('label', { id: `optType${type}`, className: 'option' },
            [input, element('span', { textContent: caption })]), place));
    });
    return box;
}

function codeBox() {
    const box = placed(element('textarea', { id: 'txtData', spellcheck: false, ariaLabel: 'Code' }), constants.window.codeBox);
    // What the user types is no longer the code of any picture.
    box.addEventListener('input', () => {
        session().forgetCode();
        update({ code: box.value });
    });
    return box;
}

export function buildMainWindow(root, commands) {
    const { window: layout } = constants;
    root.style.width = `${pixels(layout.width)}px`;
    root.style.height = `${pixels(layout.height)}px`;
    const panel = frame('Frame1', 'LCD Pannel', layout.dotFrame);
    buildGrid(panel, pixels(layout.gridLeft), pixels(layout.gridTop), commands.menu, commands.key);
    const caption = text('copy');
    const copy = placed(element('button', { id: 'cmdCopy', type: 'button', textContent: caption, lang: languageOf(caption) }),
        layout.copyButton);
    copy.addEventListener('click', commands.copy);
    root.append(toolbar(commands), typeOptions(commands.type), panel, codeBox(), copy);
}

export function renderMainWindow() {
    document.querySelector(`#optType${state.type} input`).checked = true;
    const box = document.getElementById('txtData');
    if (box.value !== state.code)
        box.value = state.code;
    const stale = session().codeIsStale();
    box.classList.toggle('stale', stale);
    box.title = stale ? text('codeStale') : '';
    renderGrid();
    renderCanvasGrid();
}

export function codeBoxText() {
    return document.getElementById('txtData').value.replace(/\r?\n/g, '\r\n');
}
