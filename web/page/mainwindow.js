// The main window as the desktop lays it out, 15 twips to a CSS pixel: the
// toolbar, "LCD Type" with its two options, "LCD Pannel" with the grid, the
// code box and the copy button. The page has no Exit: a page is closed by
// its browser.
import { text } from './texts.js';
import { element, languageOf } from './dialogs.js';
import { buildGrid, renderGrid } from './grid.js';
import { toolbarIcon } from './icons.js';
import { session, state, update } from './state.js';

// Places in pixels: twips divided by 15, rounded.
function placed(made, left, top, width, height) {
    made.classList.add('control');
    Object.assign(made.style, { left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px` });
    return made;
}

function frame(id, title, ...box) {
    return placed(element('div', { id, className: 'frame', role: 'group', ariaLabel: title }, [
        element('span', { className: 'frame-title', textContent: title, ariaHidden: 'true' }),
    ]), ...box);
}

function toolbar(commands) {
    const bar = placed(element('div', { id: 'tbarMain', role: 'toolbar', ariaLabel: 'Toolbar' }), 0, 0, 243, 57);
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
    const box = frame('Frame2', 'LCD Type', 4, 59, 236, 60);
    [[text('type0'), 19], [text('type1'), 38]].forEach(([caption, top], type) => {
        const input = element('input', { type: 'radio', name: 'optType', value: String(type) });
        input.addEventListener('change', () => onType(type));
        box.append(placed(element('label', { id: `optType${type}`, className: 'option' },
            [input, element('span', { textContent: caption })]), 10, top, 155, 14));
    });
    return box;
}

function codeBox() {
    const box = placed(element('textarea', { id: 'txtData', spellcheck: false, ariaLabel: 'Code' }), 2, 372, 237, 79);
    // What the user types is no longer the code of any picture.
    box.addEventListener('input', () => {
        session().forgetCode();
        update({ code: box.value });
    });
    return box;
}

export function buildMainWindow(root, commands) {
    root.style.width = '243px';
    root.style.height = '513px';
    const panel = frame('Frame1', 'LCD Pannel', 3, 124, 238, 245);
    buildGrid(panel, 13, 20, commands.menu, commands.key);
    const caption = text('copy');
    const copy = placed(element('button', { id: 'cmdCopy', type: 'button', textContent: caption, lang: languageOf(caption) }),
        3, 455, 234, 30);
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
