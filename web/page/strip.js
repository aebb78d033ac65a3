// The set's pictures beside the window, while it holds more than one: each
// drawn at its real dots with its name (a font's glyph with its character),
// the edited one marked. A listbox for screen readers; only the pictures in
// view are in the page, so that a set of a thousand scrolls and switches as
// fast as one of three. Click selects, a drag reorders, the arrows, Home and
// End walk, the table's keys act. Under it, the desktop's buttons for the
// set's commands.
import { core } from './core.js';
import { text } from './texts.js';
import { element } from './dialogs.js';
import { session, state } from './state.js';
import { drawThumbnail } from './thumbnail.js';

const kItemHeight = 88;
let panel = null;         // the strip and its buttons, shown together
let strip = null;
let setButtons = [];      // [{id, control}] under the strip
let space = null;
let marker = null;        // the line where a dragged picture would land
const shown = new Map();  // index -> the option drawn for it
let shownCurrent = -1;
let shownCount = -1;
// Where the strip is scrolled to and how much it shows, kept here so that a
// switch of pictures reads no layout in the middle of changing the page.
const view = { top: 0, height: 0 };
let dragged = -1;
let onMenuRequest = () => {};
let onCommandKey = () => false;
let onCommand = () => {};

const kThumbnailSide = 48; // CSS pixels, the picture scaled to fit it

function makeOption() {
    const canvas = element('canvas', { className: 'strip-thumbnail', ariaHidden: 'true' });
    const option = element('div', { role: 'option', className: 'strip-picture', draggable: true },
        [canvas, element('span', { className: 'strip-name' }), element('span', { className: 'strip-delay' })]);
    option.style.height = `${kItemHeight}px`;
    option.drawn = { dots: '', type: -1, label: '', description: '' };
    return option;
}

// Names whose text changed, looked at once the frame is laid out: where one
// is cut to fit, its whole name is its tooltip.
const cutNames = new Set();

function titleCutNames() {
    for (const label of cutNames)
        label.title = label.scrollWidth > label.clientWidth ? label.textContent : '';
    cutNames.clear();
}

function drawOption(option, index) {
    const name = session().pictureName(index);
    const caption = session().stripCaption(index);
    const delay = session().pictureDelay(index);
    const dots = session().pictureDots(index);
    const label = session().pictureAccessibleName(index);
    const description = session().pictureAccessibleDescription(index);
    const { drawn } = option;
    if (drawn.dots !== dots || drawn.type !== state.type) {
        drawThumbnail(option.querySelector('canvas'), dots, session().pictureSize(index), state.type, kThumbnailSide);
        Object.assign(drawn, { dots, type: state.type });
    }
    if (drawn.label !== label || drawn.description !== description) {
        option.id = `picture-${index}`;
        option.style.top = `${index * kItemHeight}px`;
        option.setAttribute('aria-label', label);
        option.setAttribute('aria-description', description);
        option.setAttribute('aria-posinset', String(index + 1));
        option.setAttribute('aria-setsize', String(state.count));
        // A glyph's character, large enough to read, its picture's name the tooltip.
        const nameLabel = option.querySelector('.strip-name');
        const character = caption !== name;
        nameLabel.textContent = caption;
        nameLabel.classList.toggle('strip-character', character);
        nameLabel.title = character ? name : '';
        if (!character)
            cutNames.add(nameLabel);
        option.querySelector('.strip-delay').textContent = state.animation ? `${delay} ms` : '';
        option.dataset.index = String(index);
        Object.assign(drawn, { label, description });
    }
    const selected = String(index === state.current);
    if (option.getAttribute('aria-selected') !== selected)
        option.setAttribute('aria-selected', selected);
}

function visibleRange() {
    const first = Math.max(0, Math.floor(view.top / kItemHeight) - 1);
    const last = Math.min(state.count - 1, Math.ceil((view.top + view.height) / kItemHeight));
    return [first, last];
}

// The pictures in view, and the edited one wherever it is: the listbox's active option is always there.
function drawVisible() {
    const [first, last] = visibleRange();
    const wanted = (index) => (index >= first && index <= last) || index === state.current;
    const spare = [];
    for (const [index, option] of shown) {
        if (!wanted(index) || index >= state.count) {
            shown.delete(index);
            spare.push(option);
        }
    }
    const indexes = Array.from({ length: last - first + 1 }, (_, i) => first + i);
    if (state.current < first || state.current > last)
        indexes.push(state.current);
    for (const index of indexes) {
        let option = shown.get(index);
        if (!option) {
            option = spare.pop() || space.appendChild(makeOption());
            option.drawn.label = ''; // another picture's now
            shown.set(index, option);
        }
        drawOption(option, index);
    }
    spare.forEach((option) => option.remove());
    if (cutNames.size)
        requestAnimationFrame(titleCutNames);
}

function scrollTo(top) {
    strip.scrollTop = top;
    view.top = top;
}

function scrollToCurrent() {
    const top = state.current * kItemHeight;
    if (top < view.top)
        scrollTo(top);
    else if (top + kItemHeight > view.top + view.height)
        scrollTo(top + kItemHeight - view.height);
}

// The buttons as the session says: what can be done now, Play as Stop while playing, the onion skin's check.
function renderButtons() {
    for (const { id, control } of setButtons) {
        control.disabled = !session().isEnabled(id, true);
        if (control.type === 'checkbox')
            control.checked = session().isChecked(id);
    }
    setButtons.find(({ id }) => id === core.CommandId.Play).control.textContent = text(state.playing ? 'stop' : 'play');
}

export function renderStrip() {
    panel.hidden = !session().holdsSet();
    if (panel.hidden) {
        shownCount = -1;
        return;
    }
    renderButtons();
    if (state.count !== shownCount)
        space.style.height = `${state.count * kItemHeight}px`;
    if (shownCount < 0)
        Object.assign(view, { top: strip.scrollTop, height: strip.clientHeight }); // just shown
    if (state.current !== shownCurrent || state.count !== shownCount) {
        scrollToCurrent();
        strip.setAttribute('aria-activedescendant', `picture-${state.current}`);
    }
    shownCurrent = state.current;
    shownCount = state.count;
    drawVisible();
}

function indexAt(event) {
    return Number(event.target.closest('[role="option"]')?.dataset.index ?? -1);
}

// The gap a drop at the pointer lands in: 0 before the first picture, count after the last.
function gapAt(event) {
    const y = (event.clientY - space.getBoundingClientRect().top) / space.currentCSSZoom; // the pointer is in the view's pixels
    return Math.max(0, Math.min(state.count, Math.round(y / kItemHeight)));
}

function wireDrag() {
    strip.addEventListener('dragstart', (event) => {
        dragged = indexAt(event);
        event.dataTransfer.effectAllowed = 'move';
        event.dataTransfer.setData('text/plain', String(dragged + 1)); // some browsers start no drag without data
    });
    strip.addEventListener('dragover', (event) => {
        if (dragged < 0)
            return;
        event.preventDefault();
        event.stopPropagation();
        marker.hidden = false;
        marker.style.top = `${gapAt(event) * kItemHeight - 1}px`;
    });
    strip.addEventListener('drop', (event) => {
        if (dragged < 0)
            return; // a file: the page's own drop opens it
        event.preventDefault();
        event.stopPropagation();
        const gap = gapAt(event);
        const from = dragged;
        dragged = -1;
        marker.hidden = true;
        session().movePicture(from, gap > from ? gap - 1 : gap);
    });
    strip.addEventListener('dragend', () => {
        dragged = -1;
        marker.hidden = true;
    });
}

const kWalks = { ArrowUp: -1, ArrowLeft: -1, ArrowDown: 1, ArrowRight: 1 };

function keyPressed(event) {
    const plain = !event.ctrlKey && !event.altKey && !event.shiftKey && !event.metaKey;
    if (plain && event.key in kWalks)
        session().select(Math.max(0, state.current + kWalks[event.key]));
    else if (plain && (event.key === 'Home' || event.key === 'End'))
        session().select(event.key === 'Home' ? 0 : state.count - 1);
    else if (event.key === 'ContextMenu' || (event.shiftKey && event.key === 'F10')) {
        const box = shown.get(state.current).getBoundingClientRect();
        onMenuRequest(box.left + box.width / 2, box.top + box.height / 2);
    } else if (!onCommandKey(event))
        return;
    event.preventDefault();
}

// Captions short enough for the buttons, as the desktop's; the menu keeps the commands' own.
function buildButtons() {
    const { CommandId } = core;
    const button = (id, caption) => ({ id, control: element('button', { type: 'button', textContent: caption }) });
    const onion = element('input', { type: 'checkbox' });
    setButtons = [button(CommandId.AddPicture, 'Add'), button(CommandId.CopyPicture, 'Copy'),
        button(CommandId.DeletePicture, 'Delete'), button(CommandId.Play, text('play')), { id: CommandId.OnionSkin, control: onion }];
    for (const { id, control } of setButtons)
        control.addEventListener(control === onion ? 'change' : 'click', () => onCommand(id));
    const [add, copy, remove, play] = setButtons.map(({ control }) => control);
    return element('div', { className: 'set-buttons' }, [add, copy, remove, play,
        element('label', {}, [onion, element('span', { textContent: 'Onion Skin' })])]);
}

// menuRequested(x, y) shows the grid's menu; commandKey(event) answers a key of the table, true when it did;
// command(id) carries out one of the table's commands.
export function buildStrip(parent, menuRequested, commandKey, command) {
    onMenuRequest = menuRequested;
    onCommandKey = commandKey;
    onCommand = command;
    marker = element('div', { className: 'strip-marker', hidden: true });
    space = element('div', { className: 'strip-space' }, [marker]);
    strip = element('div', { id: 'setStrip', role: 'listbox', tabIndex: 0, ariaLabel: 'Pictures of the set' }, [space]);
    strip.addEventListener('scroll', () => {
        view.top = strip.scrollTop;
        drawVisible();
    });
    strip.addEventListener('click', (event) => {
        const index = indexAt(event);
        if (index >= 0)
            session().select(index);
    });
    strip.addEventListener('contextmenu', (event) => {
        event.preventDefault();
        const index = indexAt(event);
        if (index >= 0)
            session().select(index);
        onMenuRequest(event.clientX, event.clientY);
    });
    strip.addEventListener('keydown', keyPressed);
    wireDrag();
    panel = element('div', { id: 'setPanel', hidden: true }, [strip, buildButtons()]);
    parent.append(panel);
}
