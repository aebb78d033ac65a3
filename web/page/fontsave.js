// Save Font As…: the set of a font's glyphs written as the font file its
// name's ending asks for, BDF, u8g2's C source or a GFXfont header, a u8g2
// font in the build mode the user picks. The file's text is the core's, the
// very text the command line's font writes.
import { core } from './core.js';
import { announce, buttons, element, messageBox, row, showDialog } from './dialogs.js';
import { askFileName, download, downloaded, pickSaveFile, saveFailure, writeTo } from './files.js';
import { session, state } from './state.js';
import { text } from './texts.js';

function fontTypes() {
    return [{ description: text('bdfFontFilter'), accept: { 'application/octet-stream': ['.bdf'] } },
        { description: text('u8g2FontFilter'), accept: { 'text/plain': ['.c'] } },
        { description: text('gfxFontFilter'), accept: { 'text/plain': ['.h'] } }];
}

// u8g2's build mode, as bdfconv's -b numbers it; null when cancelled.
async function askU8g2Mode(title) {
    const modes = ['u8g2Proportional', 'u8g2CommonHeight', 'u8g2Monospace'];
    const mode = element('select', { id: 'u8g2Mode', autofocus: true },
        modes.map((key, value) => element('option', { value: String(value), textContent: text(key) })));
    const form = element('form', { method: 'dialog' }, [element('strong', { textContent: title }),
        row(text('u8g2ModeLabel'), mode), buttons(['OK', 'ok'], ['Cancel', ''])]);
    const answer = await showDialog(element('dialog', { ariaLabel: title, className: 'narrow' }, [form]));
    return answer === 'ok' ? Number(mode.value) : null;
}

// Where the font goes: {name, handle}, the handle only with the save picker; null when cancelled.
async function chooseFontFile(title) {
    const suggested = `${state.fileName.replace(/\.[^.]*$/, '') || 'font'}.bdf`;
    if (window.showSaveFilePicker) {
        const handle = await pickSaveFile(suggested, fontTypes());
        return handle && { name: handle.name, handle };
    }
    const name = await askFileName(title, suggested, '.bdf');
    return name && { name };
}

export async function saveFontAs() {
    // The command's caption, without the ellipsis that says a dialog follows.
    const title = core.commands().find((command) => command.id === core.CommandId.SaveFontAs).caption.replace(/…$/, '');
    const target = await chooseFontFile(title);
    if (!target)
        return;
    const mode = target.name.toLowerCase().endsWith('.c') ? await askU8g2Mode(title) : 0;
    if (mode === null)
        return;
    const made = session().fontFile(target.name, mode);
    if (made.problem) {
        await messageBox(made.problem);
        return;
    }
    if (!target.handle) {
        download(target.name, made.text);
        downloaded(target.name);
        return;
    }
    try {
        await writeTo(target.handle, made.text);
    } catch (error) {
        await messageBox(saveFailure(target.name, error));
        return;
    }
    // The font written holds the work whole, as a set's header does: leaving asks nothing until the next change.
    session().setSaved();
    announce(`Saved "${target.name}".`);
}
