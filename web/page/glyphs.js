// GNU Unifont's glyphs, compressed, unpacked the first time text is inserted
// so that opening the page stays quick. The one-file page carries them in an
// element; the site keeps them in a file beside the page, fetched then.
import { inlineBytes, unpacked } from './packed.js';

let glyphs = null; // the table to come, once asked for

async function packedGlyphs() {
    const inline = inlineBytes('unifont-glyphs');
    if (inline)
        return inline;
    const response = await fetch('unifont.hex.gz');
    if (!response.ok)
        throw new Error(`the web host answered ${response.status}`);
    return new Uint8Array(await response.arrayBuffer());
}

// A host that sends the file as gzip-encoded has the browser unpack it already.
function isGzip(bytes) {
    return bytes[0] === 0x1F && bytes[1] === 0x8B;
}

async function unpack() {
    const packed = await packedGlyphs();
    const text = await (isGzip(packed) ? unpacked(packed) : new Response(packed)).text();
    const table = new Map();
    for (const line of text.split('\n')) {
        const colon = line.indexOf(':');
        if (colon > 0)
            table.set(parseInt(line.slice(0, colon), 16), line.slice(colon + 1).trim());
    }
    return table;
}

// The hex digits of the glyph of each code point, or the first one missing.
export async function glyphsFor(text) {
    glyphs = glyphs || unpack();
    let table;
    try {
        table = await glyphs;
    } catch (error) {
        glyphs = null; // asked again with the next keystroke
        return { problem: `the glyphs of Unifont could not be loaded (${error.message})` };
    }
    const hexes = [];
    for (const character of text) {
        const codePoint = character.codePointAt(0);
        if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0) || codePoint === 0x2028 || codePoint === 0x2029)
            return { problem: 'the text must be one line of characters, without control characters' };
        const hex = table.get(codePoint);
        if (!hex)
            return { problem: `the font "Unifont" has no glyph for U+${codePoint.toString(16).toUpperCase().padStart(4, '0')}` };
        hexes.push(hex);
    }
    return { hexes };
}
