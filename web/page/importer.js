// Import Image: any image the browser decodes, refused by its declared size
// before it is decoded when it is too large, and when its data is cut short,
// which the browser would show blank; previewed with the desktop's
// fit, threshold, dithering and invert, and taken as one step. An animated
// image opens as a set of its frames, each at its own delay, made with the
// options last chosen here.
import { core } from './core.js';
import { buttons, element, messageBox, row, showDialog } from './dialogs.js';
import { drawPicture, makePreview } from './picture.js';
import { session, state } from './state.js';

// A JPEG's size may stand after its EXIF data; this much of the start holds it.
const kHeaderBytes = 1 << 18;
// Kept until the page is closed, as the desktop keeps them until the program ends.
const options = { fit: 'contain', threshold: 128, dither: 'none', invert: false };

// Refuses a file too large to decode, or whose data is cut short, which the browser would show blank.
async function checkData(file) {
    const declared = core.declaredSize(new Uint8Array(await file.slice(0, kHeaderBytes).arrayBuffer()));
    if (declared && declared.problem)
        throw new Error(declared.problem);
    const cutShort = core.cutShortImage(new Uint8Array(await file.arrayBuffer()));
    if (cutShort)
        throw new Error(cutShort);
}

// The greys of a decoded image or frame, kept for the options to be tried on.
function greysOf(source, width, height) {
    const tooMany = core.tooManyPixels(width, height);
    if (tooMany)
        throw new Error(tooMany);
    const canvas = new OffscreenCanvas(width, height);
    const context = canvas.getContext('2d', { willReadFrequently: true });
    context.drawImage(source, 0, 0);
    const pixels = context.getImageData(0, 0, width, height).data;
    return { image: new core.ImportedImage(pixels, width, height), width, height };
}

async function decode(file) {
    await checkData(file);
    let bitmap;
    try {
        bitmap = await createImageBitmap(file, { premultiplyAlpha: 'none', colorSpaceConversion: 'none' });
    } catch {
        throw new Error('it is not an image in a format this browser can read');
    }
    return greysOf(bitmap, bitmap.width, bitmap.height);
}

function select(id, choices, value) {
    const made = element('select', { id });
    for (const [name, text] of choices)
        made.append(element('option', { value: name, textContent: text, selected: name === value }));
    return made;
}

// The import dialog on the decoded image: the dots the chosen options give, or null when cancelled.
async function chooseDots(file, decoded) {
    const preview = makePreview('preview');
    const fit = select('fit', [['contain', 'Contain: all of the image, white margins'],
        ['cover', 'Cover: fill every cell, cut the rest'], ['stretch', 'Stretch: fill every cell, change the aspect']], options.fit);
    const slider = element('input', { id: 'thresholdSlider', type: 'range', min: 0, max: 255, value: options.threshold });
    const threshold = element('input', { id: 'threshold', type: 'number', min: 0, max: 255, value: options.threshold,
        title: 'A cell darker than this is set (0 to 255)' });
    const dither = select('dither', [['none', 'None'], ['floyd-steinberg', 'Floyd-Steinberg'], ['atkinson', 'Atkinson'],
        ['bayer', 'Bayer 4 x 4']], options.dither);
    const invert = element('input', { id: 'invert', type: 'checkbox', checked: options.invert });
    let dots = state.dots;
    const redraw = () => {
        const value = Math.min(255, Math.max(0, Number(threshold.value) || 0));
        dots = decoded.image.dots(state.type, fit.value, value, dither.value, invert.checked);
        drawPicture(preview, dots, state.type);
    };
    slider.addEventListener('input', () => { threshold.value = slider.value; redraw(); });
    threshold.addEventListener('input', () => { slider.value = threshold.value; redraw(); });
    for (const control of [fit, dither, invert])
        control.addEventListener('input', redraw);
    const dialog = element('dialog', { ariaLabel: 'Import Image' }, [element('form', { method: 'dialog' }, [
        element('strong', { textContent: 'Import Image' }), preview,
        element('span', { textContent: `${file.name}: ${decoded.width} x ${decoded.height} pixels` }),
        row('Fit:', fit), row('Threshold:', element('span', { className: 'dialog-row' }, [slider, threshold])),
        row('Dithering:', dither), row('Invert', invert),
        buttons(['OK', 'ok', { autofocus: true }], ['Cancel', ''])])]);
    redraw();
    const answer = await showDialog(dialog);
    decoded.image.delete();
    if (answer !== 'ok')
        return null;
    Object.assign(options, { fit: fit.value, threshold: Number(threshold.value), dither: dither.value, invert: invert.checked });
    return dots;
}

export async function importImage(file) {
    let decoded;
    try {
        decoded = await decode(file);
    } catch (error) {
        await messageBox(`Cannot import "${file.name}": ${error.message}.`);
        return;
    }
    const dots = await chooseDots(file, decoded);
    if (dots)
        session().takeDots('Import', dots);
}

// Frames only where the browser decodes them one by one (WebCodecs).
export function decodesFrames() {
    return 'ImageDecoder' in window;
}

// Every frame of an animated image, each as a viewer shows it at that moment, with its delay.
async function openFrames(file) {
    await checkData(file);
    const unreadable = new Error('it is not an image in a format this browser can read');
    let decoder;
    try {
        decoder = new ImageDecoder({ data: await file.arrayBuffer(), type: file.type });
        await decoder.tracks.ready;
        await decoder.completed;
    } catch {
        decoder?.close();
        throw unreadable;
    }
    return {
        count: decoder.tracks.selectedTrack.frameCount,
        async frame(index) {
            const image = await decoder.decode({ frameIndex: index }).then((decoded) => decoded.image, () => {
                throw unreadable;
            });
            try {
                return { ...greysOf(image, image.displayWidth, image.displayHeight), delayMs: Math.round((image.duration ?? 0) / 1000) };
            } finally {
                image.close();
            }
        },
        close: () => decoder.close(),
    };
}

// An animated image as a set of frames, turned into dots with the import options last used, as the desktop does.
export async function openAnimation(file) {
    let frames;
    try {
        frames = await openFrames(file);
        const taken = [];
        for (let index = 0; index < frames.count; ++index) {
            const frame = await frames.frame(index);
            taken.push({ dots: frame.image.dots(state.type, options.fit, options.threshold, options.dither, options.invert),
                delayMs: frame.delayMs });
            frame.image.delete();
        }
        session().openFrames(file.name, taken, file.type === 'image/gif');
    } catch (error) {
        await messageBox(`Cannot open "${file.name}": ${error.message}.`);
    } finally {
        frames?.close();
    }
}
