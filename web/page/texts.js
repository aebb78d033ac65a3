// The program's texts, from the core's one catalogue, which the window shows
// too: text('sendToModule'), or text('cannotSendTo', port, reason) for a
// sentence whose parts vary, filled by the core as the window's is.
import { core } from './core.js';

let table = null;

export function text(key, ...parts) {
    table ??= core.texts();
    const found = table[key];
    if (found === undefined)
        throw new Error(`No text "${key}" in the catalogue.`);
    return parts.length ? core.fillText(found, parts.map(String)) : found;
}
