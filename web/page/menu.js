// The grid's context menu: the desktop's items in the desktop's order.
import { element } from './dialogs.js';

let open = null;

function close() {
    if (!open)
        return;
    open.menu.remove();
    open.restore?.focus();
    open = null;
}

// items: [text, key, action, enabled] or '-' for a separator.
export function showMenu(x, y, items) {
    close();
    const menu = element('div', { className: 'menu', role: 'menu', id: 'gridMenu' });
    for (const item of items) {
        if (item === '-') {
            menu.append(element('div', { role: 'separator' }));
            continue;
        }
        const [text, key, action, enabled = true] = item;
        const entry = element('div', { role: 'menuitem', tabIndex: -1 },
            [element('span', { textContent: text }), element('span', { textContent: key })]);
        entry.setAttribute('aria-disabled', String(!enabled));
        entry.addEventListener('click', () => {
            if (!enabled)
                return;
            close();
            action();
        });
        menu.append(entry);
    }
    menu.addEventListener('keydown', (event) => {
        const entries = [...menu.querySelectorAll('[role="menuitem"]')];
        const at = entries.indexOf(document.activeElement);
        if (event.key === 'Escape')
            close();
        else if (event.key === 'ArrowDown' || event.key === 'ArrowUp')
            entries[(at + (event.key === 'ArrowDown' ? 1 : entries.length - 1)) % entries.length].focus();
        else if (event.key === 'Enter' || event.key === ' ')
            document.activeElement.click();
        else
            return;
        event.preventDefault();
    });
    document.body.append(menu);
    menu.style.left = `${Math.min(x, window.innerWidth - menu.offsetWidth)}px`;
    menu.style.top = `${Math.min(y, window.innerHeight - menu.offsetHeight)}px`;
    open = { menu, restore: document.activeElement };
    menu.querySelector('[role="menuitem"]').focus();
    setTimeout(() => document.addEventListener('pointerdown', (event) => {
        if (!menu.contains(event.target))
            close();
    }, { once: true }));
}
