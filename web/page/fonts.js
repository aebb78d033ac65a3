// Fonts opened as the set of their glyphs, by Open and by a drop: BDF, u8g2
// fonts in C source, GFXfont headers, and TrueType and OpenType drawn at the
// pixel size the user gives, by the same FreeType as the window's (in a
// module of its own, fontraster.js). Which kind a file is, and its glyphs,
// are the core's.
import { constants, core } from './core.js';
import { buttons, clampedNumber, element, messageBox, numberBox, row, showDialog } from './dialogs.js';
import { nameSetFile, open, openDrawingFile, readFile } from './files.js';
import { rasteriseFont } from './fontraster.js';
import { mayReplaceWork } from './setfiles.js';
import { places, session } from './state.js';
import { text } from './texts.js';

// As much of a file's start as tells a BDF or a TrueType font; a C source is told by all of it.
const kStartBytes = 4096;

// What Open offers beside drawings and bitmaps: the endings of the fonts the core reads.
function fontPickerTypes() {
    return [{ description: text('fontsFilter'), accept: { 'application/octet-stream': constants.fontFileEndings } }];
}

// The kind of font the file is, as the core names it; '' for none, and for a source too large to read.
async function fontKindOf(file) {
    const whole = core.isSourceFileName(file.name);
    if (whole && core.refuseSourceSize(file.name, file.size))
        return '';
    try {
        return core.fontKind(file.name, new Uint8Array(await file.slice(0, whole ? file.size : kStartBytes).arrayBuffer()));
    } catch {
        return ''; // unreadable here, it is told so where it is opened as what its name says
    }
}

// The size last given, offered again, as the window offers it.
let lastPixelSize = 16;

// The pixel size to draw a TrueType or OpenType font at, 0 when cancelled.
async function askPixelSize(name) {
    const size = numberBox({ id: 'fontPixelSize', min: 1, max: core.maxFontPixelSize, value: String(lastPixelSize),
        autofocus: true });
    const title = text('fontPixelSize');
    const form = element('form', { method: 'dialog' }, [element('strong', { textContent: title }),
        row(text('fontPixelSizeQuestion', name), size), buttons(['OK', 'ok'], ['Cancel', ''])]);
    const answer = await showDialog(element('dialog', { ariaLabel: title, className: 'narrow' }, [form]));
    if (answer !== 'ok')
        return 0;
    lastPixelSize = clampedNumber(size);
    return lastPixelSize;
}

// The font opened in the session, a TrueType or OpenType one (a pixel size given) drawn first: {problem, note}.
async function readFont(name, bytes, pixelSize) {
    if (!pixelSize)
        return session().openFont(name, bytes, false);
    const drawn = await rasteriseFont(name, bytes, pixelSize);
    if (!drawn)
        return { problem: text('cannotImport', name, text('fontNeedsFreeType')), note: '' };
    return drawn.problem ? drawn : session().openFont(name, new TextEncoder().encode(drawn.bdf), true);
}

async function openFont(file, kind) {
    const pixelSize = kind === 'truetype' ? await askPixelSize(file.name) : 0;
    if (kind === 'truetype' && !pixelSize)
        return;
    const bytes = await readFile(file, 'arrayBuffer');
    if (!bytes || !await mayReplaceWork(true))
        return;
    const read = await readFont(file.name, new Uint8Array(bytes), pixelSize);
    if (read.problem) {
        await messageBox(read.problem);
        return;
    }
    // The glyphs are saved to no file yet: Save Font As… asks where.
    places.setSavedAs = null;
    places.setOpenedName = '';
    nameSetFile(file.name);
    if (read.note)
        await messageBox(read.note);
}

// Opens the file as the set of its glyphs where it is a font: false where it is none.
export async function openedAsFont(file) {
    const kind = await fontKindOf(file);
    if (kind)
        await openFont(file, kind);
    return kind !== '';
}

async function openFontOrDrawing(file, handle) {
    if (!await openedAsFont(file))
        await openDrawingFile(file, handle);
}

// Open, which takes fonts too.
export function openWithFonts() {
    return open(openFontOrDrawing, fontPickerTypes());
}
