// Import Image: any image the browser decodes, refused by its declared size
// before it is decoded when it is too large, and when its data is cut short,
// which the browser would show blank; previewed with the desktop's
// fit, threshold, dithering and invert, and taken as one step.
import { core } from './core.js';
import { buttons, element, messageBox, row, showDialog } from './dialogs.js';
import { drawPicture, makePreview } from './picture.js';
import { session, state } from './state.js';

// A JPEG's size may stand after its EXIF data; this much of the start holds it.
const kHeaderBytes = 1 << 18;
// Kept until the page is closed, as the desktop keeps them until the program ends.
const options = { fit: 'contain', threshold: 128, dither: 'none', invert: false };

async function decode(file) {
    const declared = core.declaredSize(new Uint8Array(await file.slice(0, kHeaderBytes).arrayBuffer()));
    if (declared && declared.problem)
        throw new Error(declared.problem);
    const cutShort = core.cutShortImage(new Uint8Array(await file.arrayBuffer()));
    if (cutShort)
        throw new Error(cutShort);
    let bitmap;
    try {
        bitmap = await createImageBitmap(file, { premultiplyAlpha: 'none', colorSpaceConversion: 'none' });
    } catch {
        throw new Error('it is not an image in a format this browser can read');
    }
    const tooMany = core.tooManyPixels(bitmap.width, bitmap.height);
    if (tooMany)
        throw new Error(tooMany);
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext('2d', { willReadFrequently: true });
    context.drawImage(bitmap, 0, 0);
    const pixels = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
    return { image: new core.ImportedImage(pixels, bitmap.width, bitmap.height), width: bitmap.width, height: bitmap.height };
}

function select(id, choices, value) {
    const made = element('select', { id });
    for (const [name, text] of choices)
        made.append(element('option', { value: name, textContent: text, selected: name === value }));
    return made;
}

export async function importImage(file) {
    let decoded;
    try {
        decoded = await decode(file);
    } catch (error) {
        await messageBox(`Cannot import "${file.name}": ${error.message}.`);
        return;
    }
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
        return;
    Object.assign(options, { fit: fit.value, threshold: Number(threshold.value), dither: dither.value, invert: invert.checked });
    session().takeDots('Import', dots);
}
