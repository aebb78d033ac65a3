// The grid's context menu: the desktop's items in the desktop's order, a
// submenu where the table gathers commands into one, check marks on those
// that are on or off.
import { element } from './dialogs.js';
import { zoomLikeWindow } from './scale.js';

let open = null; // the menu, its open submenu and what had the focus before

function closeSubmenu() {
    if (!open?.sub)
        return;
    const { menu, parent } = open.sub;
    open.sub = null;
    open.menu.hidden = false; // where the submenu stood in its place
    // The focus goes back before the submenu goes, so that it never leaves the menu.
    parent.setAttribute('aria-expanded', 'false');
    parent.focus();
    menu.remove();
}

// restoreFocus: false where the focus has gone elsewhere already, and stays there.
function close(restoreFocus = true) {
    if (!open)
        return;
    const closed = open;
    open = null;
    closed.sub?.menu.remove();
    closed.menu.remove();
    document.removeEventListener('pointerdown', closed.outside, true);
    document.removeEventListener('keydown', closed.escape);
    if (restoreFocus)
        closed.restore?.focus();
}

// The menu closes as the focus leaves it, as for Tab or another window.
function focusLeft(event) {
    if (!event.relatedTarget?.closest?.('.menu'))
        close(false);
}

// At the window's zoom, a menu taller than the view scrolls within it rather than shrinking.
function zoomMenu(menu) {
    zoomLikeWindow(menu, true);
    menu.style.maxHeight = `${window.innerHeight / menu.currentCSSZoom}px`;
}

// x and y in the view's pixels; the menu's own are zoomed as the window is.
function placeAt(menu, x, y) {
    const box = menu.getBoundingClientRect();
    const zoom = menu.currentCSSZoom;
    menu.style.left = `${Math.max(0, Math.min(x, window.innerWidth - box.width)) / zoom}px`;
    menu.style.top = `${Math.max(0, Math.min(y, window.innerHeight - box.height)) / zoom}px`;
}

function entries(menu) {
    return [...menu.querySelectorAll(':scope > [role^="menuitem"]')];
}

// Where the submenu goes beside the menu, right of it or else left of it, so
// that no tap on the entry that opens it lands on it; null where neither side
// has room, as on a phone.
function besideMenu(submenu, parent) {
    const outer = open.menu.getBoundingClientRect();
    const { width } = submenu.getBoundingClientRect();
    const top = parent.getBoundingClientRect().top - 4 * submenu.currentCSSZoom;
    if (outer.right + width <= window.innerWidth)
        return { x: outer.right, y: top };
    if (outer.left - width >= 0)
        return { x: outer.left - width, y: top };
    return null;
}

function backEntry(name) {
    const entry = element('div', { role: 'menuitem', tabIndex: -1, ariaLabel: `Back from ${name}` }, [
        element('span', { className: 'check', textContent: '◂', ariaHidden: 'true' }),
        element('span', { textContent: name })]);
    entry.addEventListener('click', closeSubmenu);
    return entry;
}

// asPage: where it has no room beside the menu, the submenu may stand in the
// menu's place, a page of its own that leads back to it; else it stays shut.
// Gives the submenu, or null where it stayed shut.
function openSubmenu(parent, items, name, asPage) {
    if (open.sub?.parent === parent)
        return open.sub.menu;
    closeSubmenu();
    const menu = buildMenu(items, true, name);
    document.body.append(menu);
    zoomMenu(menu);
    const beside = besideMenu(menu, parent);
    if (!beside && !asPage) {
        menu.remove();
        return null;
    }
    parent.setAttribute('aria-expanded', 'true');
    open.sub = { menu, parent };
    if (beside) {
        placeAt(menu, beside.x, beside.y);
        return menu;
    }
    menu.prepend(backEntry(name), element('div', { role: 'separator' }));
    const outer = open.menu.getBoundingClientRect();
    placeAt(menu, outer.left, outer.top);
    // The focus moves into the page before the menu goes, so that it never leaves the menus.
    entries(menu)[0].focus();
    open.menu.hidden = true;
    return menu;
}

function commandEntry({ text, key, action, enabled = true, checked, oneOfSeveral = false }) {
    const choice = oneOfSeveral ? 'menuitemradio' : 'menuitemcheckbox';
    const role = checked === undefined ? 'menuitem' : choice;
    const mark = oneOfSeveral ? '•' : '✓';
    const entry = element('div', { role, tabIndex: -1 }, [
        element('span', { className: 'check', textContent: checked ? mark : '', ariaHidden: 'true' }),
        element('span', { textContent: text }), element('span', { className: 'key', textContent: key })]);
    entry.setAttribute('aria-disabled', String(!enabled));
    if (checked !== undefined)
        entry.setAttribute('aria-checked', String(checked));
    entry.addEventListener('click', () => {
        if (!enabled)
            return;
        close();
        action();
    });
    return entry;
}

function submenuEntry({ text, submenu }) {
    const entry = element('div', { role: 'menuitem', tabIndex: -1 }, [
        element('span', { className: 'check' }), element('span', { textContent: text }),
        element('span', { className: 'key', textContent: '▸', ariaHidden: 'true' })]);
    entry.setAttribute('aria-haspopup', 'menu');
    entry.setAttribute('aria-expanded', 'false');
    entry.addEventListener('click', () => entries(openSubmenu(entry, submenu, text, true))[0]?.focus());
    // Only beside the menu: a page in its place would be under the pointer that is about to press.
    entry.addEventListener('pointerenter', () => openSubmenu(entry, submenu, text, false));
    entry.dataset.submenu = 'true';
    return entry;
}

function keyPressed(event, menu, isSubmenu) {
    const list = entries(menu);
    const at = list.indexOf(document.activeElement);
    const focused = list[at];
    if (event.key === 'Escape' || (isSubmenu && event.key === 'ArrowLeft'))
        isSubmenu ? closeSubmenu() : close();
    else if (event.key === 'ArrowDown' || event.key === 'ArrowUp')
        list[(at + (event.key === 'ArrowDown' ? 1 : list.length - 1)) % list.length].focus();
    else if (focused?.dataset.submenu && ['ArrowRight', 'Enter', ' '].includes(event.key))
        focused.click();
    else if (event.key === 'Enter' || event.key === ' ')
        focused?.click();
    else
        return;
    event.preventDefault();
    event.stopPropagation();
}

// name: what a screen reader calls the menu, the entry that opens it for a submenu.
function buildMenu(items, isSubmenu, name) {
    const menu = element('div', { className: 'menu', role: 'menu', ariaLabel: name });
    for (const item of items) {
        if (item === '-')
            menu.append(element('div', { role: 'separator' }));
        else
            menu.append(item.submenu ? submenuEntry(item) : commandEntry(item));
    }
    if (!isSubmenu) {
        menu.id = 'gridMenu';
        // Reaching another entry of the menu closes an open submenu.
        menu.addEventListener('pointerover', (event) => {
            const entry = event.target.closest('[role^="menuitem"]');
            if (entry && entry.parentElement === menu && !entry.dataset.submenu && open?.sub)
                closeSubmenu();
        });
    }
    menu.addEventListener('keydown', (event) => keyPressed(event, menu, isSubmenu));
    menu.addEventListener('focusout', focusLeft);
    // A press on a separator, an edge or a disabled entry leaves the focus where it is.
    menu.addEventListener('mousedown', (event) => event.preventDefault());
    return menu;
}

// items: {text, key, action, enabled, checked, oneOfSeveral} (checked undefined
// for a plain command; oneOfSeveral for one of choices that exclude each other), {text, submenu: items}, or '-' for a separator.
export function showMenu(x, y, items) {
    close();
    const menu = buildMenu(items, false, 'Dots');
    document.body.append(menu);
    zoomMenu(menu);
    placeAt(menu, x, y);
    const outside = (event) => {
        if (!event.target.closest?.('.menu'))
            close();
    };
    // An Escape the menu's own keys did not take, wherever the focus is.
    const escape = (event) => {
        if (event.key !== 'Escape')
            return;
        event.preventDefault();
        close();
    };
    open = { menu, sub: null, restore: document.activeElement, outside, escape };
    entries(menu)[0].focus();
    document.addEventListener('keydown', escape);
    // Not the press that opened the menu. Captured, so that no handler on the way can keep it from closing the menu.
    setTimeout(() => open?.outside === outside && document.addEventListener('pointerdown', outside, true));
}
