// GNU Unifont's glyphs, carried in the page compressed and unpacked the first
// time text is inserted, so that opening the page stays quick.
let glyphs = null;

async function unpack() {
    const packed = Uint8Array.from(atob(document.getElementById('unifont-glyphs').textContent.trim()), (c) => c.charCodeAt(0));
    const text = await new Response(new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'))).text();
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
    glyphs = glyphs || await unpack();
    const hexes = [];
    for (const character of text) {
        const codePoint = character.codePointAt(0);
        if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0) || codePoint === 0x2028 || codePoint === 0x2029)
            return { problem: 'the text must be one line of characters, without control characters' };
        const hex = glyphs.get(codePoint);
        if (!hex)
            return { problem: `the font "Unifont" has no glyph for U+${codePoint.toString(16).toUpperCase().padStart(4, '0')}` };
        hexes.push(hex);
    }
    return { hexes };
}
