// The window and the set beside it, zoomed to fill the browser's view and
// centred in it. The zoom is the largest at which a grid cell is a whole
// number of device pixels, so that the grid (grid.js) draws every line the
// same width; the window's origin sits on a device pixel.
import { fitGrid } from './grid.js';
import { kPitch } from './picture.js';

// Below this the window's text is too small to read: the page scrolls instead.
const kSmallestZoom = 0.5;
// What a dialog or menu keeps clear of each edge of the view, in its own
// pixels: a dialog's own bounds leave 6 px and two lines' height in all.
const kViewMargin = 20;
// The least height a canvas with the tools, the preview and the code around it is usable at, in CSS pixels.
const kLeastFilledHeight = 480;

let windowZoom = 1; // the window's, as last fitted

// The zoom for a window of `size` in a view of `room`, at `ratio` device pixels to a CSS pixel.
function crispZoom(room, size, ratio) {
    const fit = Math.min(room.width / size.width, room.height / size.height);
    const cell = Math.max(Math.floor(kPitch * fit * ratio), Math.ceil(kPitch * kSmallestZoom * ratio));
    return cell / (kPitch * ratio);
}

function onDevicePixel(length, ratio) {
    return Math.round(length * ratio) / ratio;
}

// The workspace is moved by its relative offsets; its home is where it would be without them.
function homeOf(workspace, box) {
    return { left: box.left + window.scrollX - (parseFloat(workspace.style.left) || 0),
        top: box.top + window.scrollY - (parseFloat(workspace.style.top) || 0) };
}

// The menu button and the restore offer above the window zoom with it, so
// that their text is as large as the window's: where they begin, and their
// height at a zoom of 1, the window's zoom being `zoom` now.
function zoomedAbove(workspace, homeTop, zoom) {
    const tops = [...document.querySelectorAll('#menuButton, #restoreOffer')]
        .filter(element => element.compareDocumentPosition(workspace) & Node.DOCUMENT_POSITION_FOLLOWING)
        .map(element => element.getBoundingClientRect().top + window.scrollY);
    const top = Math.min(homeTop, ...tops);
    return { top, height: (homeTop - top) / zoom };
}

// Any size but 16 x 16 fills the view unzoomed, from where it stands down to
// the view's foot; what is taller, as on a phone, scrolls down.
function fill(workspace) {
    workspace.style.setProperty('--zoom', '1');
    document.documentElement.style.setProperty('--window-zoom', '1');
    windowZoom = 1;
    Object.assign(workspace.style, { left: '', top: '' });
    const margin = parseFloat(getComputedStyle(document.body).marginBottom);
    const top = workspace.getBoundingClientRect().top + window.scrollY;
    workspace.style.minHeight = `${Math.max(kLeastFilledHeight, document.documentElement.clientHeight - top - margin)}px`;
}

function fit(workspace) {
    if (workspace.classList.contains('any-size')) {
        fill(workspace);
        return;
    }
    workspace.style.minHeight = '';
    const ratio = window.devicePixelRatio;
    const box = workspace.getBoundingClientRect();
    const zoom = Number(workspace.style.getPropertyValue('--zoom')) || 1;
    const size = { width: box.width / zoom, height: box.height / zoom };
    const home = homeOf(workspace, box);
    const above = zoomedAbove(workspace, home.top, zoom);
    const margin = parseFloat(getComputedStyle(document.body).marginLeft);
    const view = { width: document.documentElement.clientWidth, height: document.documentElement.clientHeight };
    const room = { width: view.width - 2 * margin, height: view.height - above.top - margin };
    const whole = { width: size.width, height: size.height + above.height };
    const fitted = crispZoom(room, whole, ratio);
    const left = onDevicePixel(Math.max(margin, (view.width - size.width * fitted) / 2), ratio);
    // Where the window's home is once what stands above it has this zoom too.
    const homeTop = above.top + above.height * fitted;
    const top = onDevicePixel(homeTop + Math.max(0, (room.height - whole.height * fitted) / 2), ratio);
    workspace.style.setProperty('--zoom', String(fitted));
    document.documentElement.style.setProperty('--window-zoom', String(fitted));
    windowZoom = fitted;
    workspace.style.left = `${left - home.left}px`;
    workspace.style.top = `${top - homeTop}px`;
    // The display preview hangs under the window from its left edge, and keeps within the view.
    workspace.style.setProperty('--room-right', `${view.width - margin - left}px`);
    fitGrid();
}

// Fits now and again whenever the view, the screen's pixels or what the workspace holds change.
export function keepFitted(workspace) {
    const refit = () => fit(workspace);
    const watchRatio = () => {
        matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
            refit();
            watchRatio();
        }, { once: true });
    };
    // Refitting changes the workspace's size by the zoom, after which it fits the same again; in the
    // next frame, so that the observer is not still delivering the change it makes.
    // The body's size changes too as the restore offer above the window comes and goes.
    const observer = new ResizeObserver(() => requestAnimationFrame(refit));
    observer.observe(workspace);
    observer.observe(document.body);
    window.addEventListener('resize', refit);
    watchRatio();
    refit();
}

// A dialog, menu or note shown over the window, at the window's zoom so that
// its text is as large as the window's, but never larger than the view holds
// nor smaller than unzoomed. Measured as it is shown. scrolls: its height is
// kept within the view by the caller, who lets it scroll, as a menu of many
// commands is: its text then stays as large as the window's.
export function zoomLikeWindow(element, scrolls = false) {
    element.style.zoom = '1';
    const box = element.getBoundingClientRect();
    const room = Math.min(window.innerWidth / (box.width + 2 * kViewMargin),
        scrolls ? Infinity : window.innerHeight / (box.height + 2 * kViewMargin));
    element.style.zoom = String(Math.max(1, Math.min(windowZoom, room)));
}
