// A font's glyphs: Add Glyph… by the character typed, and Glyphs from
// Text…, which keeps only those a text draws and names the characters the
// font lacks. The core does both, each as one step.
import { element, messageBox } from './dialogs.js';
import { askFor } from './setdialogs.js';
import { session } from './state.js';
import { text } from './texts.js';

export function addGlyph() {
    const character = element('input', { id: 'glyphCharacter', autofocus: true, spellcheck: false });
    return askFor(text('addGlyph'), text('addGlyphQuestion'), character,
        (typed) => session().addGlyph(typed.codePointAt(0) ?? 0));
}

export async function glyphsFromText() {
    const line = element('input', { id: 'glyphsText', autofocus: true, spellcheck: false });
    let missing = '';
    await askFor(text('glyphsFromText'), text('glyphsFromTextQuestion'), line, (typed) => {
        missing = session().keepGlyphsForText(typed);
        return '';
    });
    if (missing)
        await messageBox(missing);
}
