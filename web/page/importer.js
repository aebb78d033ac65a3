// Import Image: any image the browser decodes, refused by its declared size
// before it is decoded when it is too large, and when its data is cut short,
// which the browser would show blank; previewed with the desktop's
// fit, threshold, dithering and invert, and taken as one step. An animation
// plays in the preview at its own delays and OK takes the frame shown; Open
// Set opens it as a set of its frames, made with the options last chosen here.
import { constants, core } from './core.js';
import { text } from './texts.js';
import { buttons, clampedNumber, element, messageBox, numberBox, row, showDialog } from './dialogs.js';
import { drawPicture, makePreview } from './picture.js';
import { session, state } from './state.js';
import { drawThumbnail } from './thumbnail.js';

// A JPEG's size may stand after its EXIF data; this much of the start holds it.
const kHeaderBytes = 1 << 18;
// The side, in CSS pixels, of the preview a picture of another size than the module's is scaled to fit.
const kPreviewSide = 209;
// Kept until the page is closed, as the desktop keeps them until the program ends; the core's defaults at first.
let lastOptions = null;

function importOptions() {
    lastOptions ??= { ...constants.importDefaults };
    return lastOptions;
}

// Refuses a file too large to decode, or whose data is cut short, which the browser would show blank.
async function checkData(file) {
    const declared = core.declaredSize(new Uint8Array(await file.slice(0, kHeaderBytes).arrayBuffer()));
    if (declared && declared.problem)
        throw new Error(declared.problem);
    const cutShort = core.cutShortImage(new Uint8Array(await file.arrayBuffer()));
    if (cutShort)
        throw new Error(cutShort);
}

// Rows are turned into greys a band at a time, each band a short task, so
// that the page answers between them however large the image.
const kBandPixels = 1 << 20;
// The page answers within about this long while an import goes on: a frame at 60 Hz.
const kAnswerWithinMs = 16;
const kCancelled = new Error('cancelled');

// The progress of a long import, shown once it has lasted, with Cancel.
// `step` lets the page answer, and throws kCancelled once Cancel is pressed.
function importProgress(name) {
    const bar = element('progress', { max: 1, ariaLabel: 'Progress' }); // busy until the first rows are in
    const dialog = element('dialog', { ariaLabel: text('importImage') }, [element('form', { method: 'dialog' }, [
        element('strong', { textContent: text('importImage') }), element('span', { textContent: text('importing', name) }), bar,
        buttons(['Cancel', ''])])]);
    let cancelled = false;
    let shown = false;
    let answered = performance.now(); // when the page last answered
    const timer = setTimeout(() => {
        shown = true;
        showDialog(dialog).then((answer) => { cancelled = answer !== 'done'; });
    }, constants.progressAfterMs); // a quick import shows no progress, as on the desktop
    return {
        async step(fraction) {
            bar.value = fraction;
            if (performance.now() - answered < kAnswerWithinMs)
                return; // many small frames need not each wait for a timer
            await new Promise((resolve) => setTimeout(resolve));
            answered = performance.now();
            if (cancelled)
                throw kCancelled;
        },
        close() {
            clearTimeout(timer);
            if (shown)
                dialog.close('done');
        },
    };
}

const kUnreadable = 'it is not an image in a format this browser can read';

// The rows of an image drawn whole (drawn in bands, a JPEG's colours could
// differ at the bands' edges), as the canvas gives them, a band at a time.
function* bandsOf(context, width, height, bandPixels) {
    const rows = Math.max(1, Math.floor(bandPixels / width));
    for (let top = 0; top < height; top += rows)
        yield context.getImageData(0, top, width, Math.min(rows, height - top)).data;
}

function drawnWhole(source, width, height) {
    const context = new OffscreenCanvas(width, height).getContext('2d', { willReadFrequently: true });
    context.drawImage(source, 0, 0);
    return context;
}

// Run in a worker: decodes a still image and draws it off the page's thread,
// which a large photo would hold up for seconds, then sends its size and its
// rows a band at a time.
function decodeInWorker() {
    onmessage = async ({ data: { file, bandPixels } }) => {
        let bitmap;
        try {
            bitmap = await createImageBitmap(file, { premultiplyAlpha: 'none', colorSpaceConversion: 'none' });
        } catch {
            postMessage({ unreadable: true });
            return;
        }
        const { width, height } = bitmap;
        postMessage({ width, height });
        for (const pixels of bandsOf(drawnWhole(bitmap, width, height), width, height, bandPixels))
            postMessage({ pixels }, [pixels.buffer]);
    };
}

// The greys of an image whose rows come a band at a time, kept for the
// options to be tried on; `step` hears how much is done.
async function greysFromBands(nextBand, width, height, step) {
    const image = new core.ImportedImage(width, height);
    try {
        for (let done = 0; done < height;) {
            const pixels = await nextBand();
            image.addRows(pixels);
            done += pixels.length / 4 / width;
            await step(done / height);
        }
    } catch (error) {
        image.delete();
        throw error;
    }
    return { image, width, height };
}

function refuseTooMany(width, height) {
    const tooMany = core.tooManyPixels(width, height);
    if (tooMany)
        throw new Error(tooMany);
}

// A decoded frame's greys, drawn on the page's thread.
function greysOf(source, width, height, step) {
    refuseTooMany(width, height);
    const bands = bandsOf(drawnWhole(source, width, height), width, height, kBandPixels);
    return greysFromBands(async () => bands.next().value, width, height, step);
}

// What the worker sends, in turn; a worker that fails says the image cannot be read.
function messagesOf(worker) {
    const arrived = [];
    const waiting = [];
    const arrive = (data) => (waiting.length ? waiting.shift()(data) : arrived.push(data));
    worker.onmessage = ({ data }) => arrive(data);
    worker.onerror = () => arrive({ unreadable: true });
    return async () => {
        const data = arrived.length ? arrived.shift() : await new Promise((resolve) => waiting.push(resolve));
        if (data.unreadable)
            throw new Error(kUnreadable);
        return data;
    };
}

// Types whose files may hold an animation, which only a frame decoder reveals.
const kMayAnimate = ['image/gif', 'image/png', 'image/apng', 'image/webp', 'image/avif'];

// The type the file's data says, for a decoder that must be told: a dropped file may come with none.
async function sniffedType(file) {
    const start = new Uint8Array(await file.slice(0, 12).arrayBuffer());
    const text = String.fromCharCode(...start);
    if (text.startsWith('GIF8'))
        return 'image/gif';
    if (text.startsWith('\x89PNG'))
        return 'image/png';
    if (text.startsWith('RIFF') && text.endsWith('WEBP'))
        return 'image/webp';
    return file.type;
}

// A still image, or the first frame of an animation where the browser has no frame decoder.
async function decodeStill(file, progress) {
    const url = URL.createObjectURL(new Blob([`${bandsOf}\n${drawnWhole}\n(${decodeInWorker})();`], { type: 'text/javascript' }));
    const worker = new Worker(url);
    let still;
    try {
        const next = messagesOf(worker);
        worker.postMessage({ file, bandPixels: kBandPixels });
        const { width, height } = await next();
        refuseTooMany(width, height);
        still = await greysFromBands(async () => (await next()).pixels, width, height, progress.step);
    } finally {
        worker.terminate();
        URL.revokeObjectURL(url);
    }
    return still;
}

const kInflatePiece = 1 << 14;

// A PNG's rows as the desktop reads them, decoded by the core: a canvas keeps
// only the high byte of a 16-bit sample, and some browsers premultiply a
// half-transparent pixel. The browser only inflates the data, as a stream.
async function decodePng(file, progress) {
    const png = new core.PngImage(new Uint8Array(await file.arrayBuffer()));
    try {
        if (png.damaged())
            throw new Error(kUnreadable);
        const compressed = png.compressed();
        const inflate = new DecompressionStream('deflate');
        const rows = inflate.readable.getReader();
        let written = 0;
        // In small pieces, each inflated at once: deflate shrinks up to a thousandfold.
        const feed = async (writer) => {
            for (; written < compressed.length; written += kInflatePiece) {
                await writer.ready;
                writer.write(compressed.subarray(written, written + kInflatePiece)).catch(() => {});
            }
            await writer.close();
        };
        feed(inflate.writable.getWriter()).catch(() => {});
        // To the stream's end, whose checksum must hold, as on the desktop.
        for (;;) {
            const next = await rows.read().catch(() => null);
            if (next === null)
                throw new Error(kUnreadable);
            if (next.done)
                break;
            // Highly compressed data inflates to large pieces: each is taken a band at a time.
            for (let at = 0; at < next.value.length; at += kBandPixels) {
                png.add(next.value.subarray(at, at + kBandPixels));
                await progress.step(Math.min(written / compressed.length, 1));
            }
        }
        if (!png.complete())
            throw new Error(kUnreadable);
        return { image: png.greys(), width: png.width(), height: png.height() };
    } finally {
        png.delete();
    }
}

// An XBM or PBM, read by the core as the desktop reads it, not by the browser.
async function decodeBitmap(file) {
    const { width, height } = session().size();
    const read = core.bitmapImage(new Uint8Array(await file.arrayBuffer()), width, height);
    if (read.problem)
        throw new Error(read.problem);
    const moduleSized = width === constants.gridSide && height === constants.gridSide;
    const note = read.image.dotForDot() ? text(moduleSized ? 'dotForDot' : 'sizedDotForDot') : '';
    return { frames: [{ image: read.image, delayMs: 0 }], width: read.width, height: read.height, gif: false, note };
}

// A GIF whose screen is too large around frames that are not (65535 x 65535
// around a 16 x 16 frame) is read on its frames' screen, as the desktop reads
// it; every other file as it is.
async function onItsFramesScreen(file) {
    const declared = core.declaredSize(new Uint8Array(await file.slice(0, kHeaderBytes).arrayBuffer()));
    if (!declared || !declared.problem)
        return file;
    const fitted = core.gifOnItsFramesScreen(new Uint8Array(await file.arrayBuffer()));
    return fitted ? new File([fitted], file.name, { type: 'image/gif' }) : file;
}

// A PBM or an XBM by its first bytes, whatever its name says.
export async function isBitmapFile(file) {
    return core.isBitmapFile(new Uint8Array(await file.slice(0, kHeaderBytes).arrayBuffer()));
}

// Every frame with its greys and delay ({frames, width, height, gif, note}), or the still image as one frame.
async function decode(given, progress) {
    if (await isBitmapFile(given))
        return decodeBitmap(given);
    const file = await onItsFramesScreen(given);
    await checkData(file);
    const type = await sniffedType(file);
    const mayAnimate = decodesFrames() && kMayAnimate.includes(type);
    const animation = mayAnimate ? await openFrames(file).catch(() => null) : null;
    if (!animation || animation.count < 2) {
        animation?.close();
        const still = await (type === 'image/png' ? decodePng : decodeStill)(file, progress);
        const note = !decodesFrames() && kMayAnimate.includes(type)
            ? 'This browser cannot decode an image\'s frames one by one: an animation shows its first frame only.' : '';
        return { frames: [{ image: still.image, delayMs: 0 }], width: still.width, height: still.height, gif: false, note };
    }
    const frames = [];
    try {
        for (let index = 0; index < animation.count; ++index)
            frames.push(await animation.frame(index, (done) => progress.step((index + done) / animation.count)));
        return { frames, width: frames[0].width, height: frames[0].height, gif: animation.gif, note: '' };
    } catch (error) {
        for (const frame of frames)
            frame.image.delete();
        throw error;
    } finally {
        animation.close();
    }
}

function select(id, choices, value) {
    const made = element('select', { id });
    for (const [name, text] of choices)
        made.append(element('option', { value: name, textContent: text, selected: name === value }));
    return made;
}

// Play and the frame slider over an animation's frames, as the desktop's
// dialog has them; `show` draws the frame chosen.
function frameControls(decoded, show) {
    const count = decoded.frames.length;
    const play = element('button', { id: 'play', type: 'button', textContent: text('play') });
    const slider = element('input', { id: 'frame', type: 'range', min: 0, max: count - 1, value: 0, ariaLabel: 'Frame' });
    const label = element('span', { id: 'frameLabel' });
    let timer = null;
    const shown = () => Number(slider.value);
    // A frame that asks for less than 20 ms stays as long as a GIF's would, as viewers show it.
    const shownMs = () => core.frameDelay(decoded.frames[shown()], true);
    const showFrame = (index) => {
        slider.value = index;
        const delay = core.frameDelay(decoded.frames[index], decoded.gif);
        label.textContent = `Frame ${index + 1} of ${count}, ${delay} ms`;
        show(decoded.frames[index]);
        if (timer !== null)
            timer = setTimeout(() => showFrame((shown() + 1) % count), shownMs());
    };
    const stop = () => {
        clearTimeout(timer);
        timer = null;
        play.textContent = text('play');
    };
    play.addEventListener('click', () => {
        if (timer !== null) {
            stop();
            return;
        }
        play.textContent = text('pause');
        timer = setTimeout(() => showFrame((shown() + 1) % count), shownMs());
    });
    slider.addEventListener('input', () => {
        clearTimeout(timer);
        showFrame(shown());
    });
    const box = element('div', { className: 'dialog-body' }, [
        element('div', { className: 'dialog-row' }, [play, slider]), label]);
    return { box, showFrame, stop };
}

// The import dialog on the decoded image: the dots the chosen options give
// for the frame shown, or null when cancelled.
async function chooseDots(file, decoded) {
    const options = importOptions();
    const preview = makePreview('preview');
    const fit = select('fit', [['contain', text('fitContain')],
        ['cover', text('fitCover')], ['stretch', text('fitStretch')]], options.fit);
    const slider = element('input', { id: 'thresholdSlider', type: 'range', min: 0, max: 255, value: options.threshold,
        ariaLabel: text('threshold') });
    const threshold = numberBox({ id: 'threshold', min: 0, max: 255, value: options.threshold, ariaLabel: text('threshold'),
        title: text('thresholdTip') });
    const dither = select('dither', [['none', text('ditherNone')], ['floyd-steinberg', text('ditherFloydSteinberg')], ['atkinson', text('ditherAtkinson')],
        ['bayer', text('ditherBayer')]], options.dither);
    const invert = element('input', { id: 'invert', type: 'checkbox', checked: options.invert });
    let dots = state.dots;
    let frame = decoded.frames[0];
    const size = session().size();
    const moduleSized = size.width === constants.gridSide && size.height === constants.gridSide;
    const redraw = () => {
        dots = frame.image.dots(state.type, fit.value, clampedNumber(threshold), dither.value, invert.checked,
            size.width, size.height);
        if (moduleSized)
            drawPicture(preview, dots, state.type);
        else
            drawThumbnail(preview, dots, size, state.type, kPreviewSide);
    };
    const frames = frameControls(decoded, (shown) => {
        frame = shown;
        redraw();
    });
    slider.addEventListener('input', () => { threshold.value = slider.value; redraw(); });
    threshold.addEventListener('input', () => { slider.value = clampedNumber(threshold); redraw(); });
    for (const control of [fit, dither, invert])
        control.addEventListener('input', redraw);
    // A bitmap of the picture's size is taken as it stands: the options stay in sight, disabled, and the note says why.
    for (const control of [fit, slider, threshold, dither, invert])
        control.disabled = frame.image.dotForDot();
    const note = decoded.note ? [element('p', { id: 'note', textContent: decoded.note })] : [];
    const animation = decoded.frames.length > 1 ? [frames.box] : [];
    // noValidate: a number typed out of range is taken as the preview takes it, not held up by the browser.
    const dialog = element('dialog', { ariaLabel: text('importImage') }, [element('form', { method: 'dialog', noValidate: true }, [
        element('strong', { textContent: text('importImage') }), preview,
        element('span', { textContent: `${file.name}: ${decoded.width} x ${decoded.height} pixels` }), ...note, ...animation,
        row(text('fitLabel'), fit), row(text('thresholdLabel'), element('span', { className: 'dialog-row' }, [slider, threshold])),
        row(text('ditheringLabel'), dither), row(text('invert'), invert),
        buttons(['OK', 'ok', { autofocus: true }], ['Cancel', ''])])]);
    frames.showFrame(0);
    const answer = await showDialog(dialog);
    frames.stop();
    for (const each of decoded.frames)
        each.image.delete();
    if (answer !== 'ok')
        return null;
    Object.assign(options, { fit: fit.value, threshold: clampedNumber(threshold), dither: dither.value, invert: invert.checked });
    return dots;
}

export async function importImage(file) {
    const progress = importProgress(file.name);
    let decoded;
    try {
        decoded = await decode(file, progress);
    } catch (error) {
        progress.close();
        if (error !== kCancelled)
            await messageBox(text('cannotImport', file.name, error.message));
        return;
    }
    progress.close();
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
    const unreadable = new Error(kUnreadable);
    const type = await sniffedType(file);
    let decoder;
    try {
        decoder = new ImageDecoder({ data: await file.arrayBuffer(), type });
        // Both are awaited together: where the data is no image, both fail, and one left alone is an uncaught error.
        await Promise.all([decoder.tracks.ready, decoder.completed]);
    } catch {
        decoder?.close();
        throw unreadable;
    }
    return {
        count: decoder.tracks.selectedTrack.frameCount,
        gif: type === 'image/gif',
        async frame(index, step) {
            const image = await decoder.decode({ frameIndex: index }).then((decoded) => decoded.image, () => {
                throw unreadable;
            });
            try {
                return { ...await greysOf(image, image.displayWidth, image.displayHeight, step), delayMs: Math.round((image.duration ?? 0) / 1000) };
            } finally {
                image.close();
            }
        },
        close: () => decoder.close(),
    };
}

// An animated image as a set of frames, turned into dots with the import
// options last used, as the desktop does; true once opened.
export async function openAnimation(file) {
    const progress = importProgress(file.name);
    let frames;
    try {
        await checkData(file);
        frames = await openFrames(file);
        const taken = [];
        const options = importOptions();
        const size = session().size();
        for (let index = 0; index < frames.count; ++index) {
            const frame = await frames.frame(index, (done) => progress.step((index + done) / frames.count));
            taken.push({ dots: frame.image.dots(state.type, options.fit, options.threshold, options.dither, options.invert,
                size.width, size.height),
                delayMs: frame.delayMs });
            frame.image.delete();
        }
        progress.close();
        session().openFrames(file.name, taken, frames.gif);
        return true;
    } catch (error) {
        progress.close();
        if (error !== kCancelled)
            await messageBox(`Cannot open "${file.name}": ${error.message}.`);
        return false;
    } finally {
        frames?.close();
    }
}
