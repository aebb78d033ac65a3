// The main window as the desktop lays it out, 15 twips to a CSS pixel: the
// toolbar, "LCD Type" with its two options, "LCD Pannel" with the grid, the
// code box and the copy button. The page has no Exit: a page is closed by
// its browser.
import { constants } from './core.js';
import { text } from './texts.js';
import { element, languageOf } from './dialogs.js';
import { buildGrid, renderGrid } from './grid.js';
import { session, state, update } from './state.js';

const kIcons = {
    new: '<path d="M8 3h11l6 6v20H8z" fill="#fff" stroke="#333"/><path d="M19 3v6h6" fill="none" stroke="#333"/>',
    open: '<path d="M8 3h11l6 6v20H8z" fill="#fff" stroke="#333"/><path d="M10 19h9v-4l6 6-6 6v-4h-9z" fill="#2a6fdb"/>',
    save: '<path d="M4 14l5-6h14l5 6z" fill="#e8c547" stroke="#7a6a20"/><rect x="4" y="14" width="24" height="14" fill="#b8b8b8" stroke="#555"/>',
    run: '<path d="M3 12h16V5l11 11-11 11v-7H3z" fill="#2a6fdb" stroke="#1a4f9b"/>',
    about: '<rect x="5" y="3" width="22" height="26" rx="2" fill="#fff" stroke="#333"/><path d="M12 11a4 4 0 1 1 6 3.5c-1.5.8-2 1.5-2 3.5" fill="none" stroke="#2a6fdb" stroke-width="2.5"/><circle cx="16" cy="23" r="1.6" fill="#2a6fdb"/>',
};

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
        button.innerHTML = `<svg viewBox="0 0 32 32" aria-hidden="true">${kIcons[key]}</svg>`;
        button.append(element('span', { textContent: text }));
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
}

export function codeBoxText() {
    return document.getElementById('txtData').value.replace(/\r?\n/g, '\r\n');
}
