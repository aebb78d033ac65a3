// Send to Module and Play on Module through Web Serial: a port the user
// chooses, 8N1 with no flow control, exactly each picture's 33 bytes, the
// result said as the desktop's dialog says it.
import { constants, core } from './core.js';
import { text } from './texts.js';
import { element, row, showDialog } from './dialogs.js';
import { session, state, subscribe } from './state.js';

let chosenPort = null; // kept until the page is closed
let chosenBaud = null; // the core's default until the user picks another

export function hasWebSerial() {
    return 'serial' in navigator;
}

// Why a command that talks to the module cannot, where the browser has no Web Serial.
export function noWebSerial(caption) {
    return `${caption} needs Web Serial: Chrome, Edge or Opera`;
}

function openPort(port, baud) {
    return port.open({ baudRate: baud, dataBits: 8, stopBits: 1, parity: 'none', flowControl: 'none' });
}

function writeWithin(writer, bytes) {
    const timeout = new Promise((_, reject) => setTimeout(
        () => reject(new Error(`the bytes did not leave within ${constants.writeTimeoutMs / 1000} s`)), constants.writeTimeoutMs));
    return Promise.race([writer.write(bytes), timeout]);
}

async function send(port, baud, bytes) {
    await openPort(port, baud);
    try {
        const writer = port.writable.getWriter();
        try {
            await writeWithin(writer, bytes);
        } finally {
            writer.releaseLock();
        }
    } finally {
        await port.close();
    }
}

function portName(port) {
    const info = port.getInfo ? port.getInfo() : {};
    return info.usbVendorId ? `USB ${info.usbVendorId.toString(16)}:${(info.usbProductId || 0).toString(16)}` : 'the chosen port';
}

// A port the user allowed on an earlier visit needs no choosing again: the last one allowed is offered.
async function offerGrantedPort(portLabel) {
    const granted = await navigator.serial.getPorts();
    if (chosenPort || !granted.length)
        return;
    chosenPort = granted[granted.length - 1];
    portLabel.textContent = portName(chosenPort);
}

// The port and rate rows both dialogs show; the choices are kept until the page is closed.
function portRows() {
    chosenBaud ??= constants.defaultBaud;
    const baud = element('select', { id: 'baud' });
    for (const rate of core.bauds())
        baud.append(element('option', { value: String(rate), textContent: String(rate), selected: rate === chosenBaud }));
    const choose = element('button', { id: 'choosePort', type: 'button', textContent: 'Choose Port…' });
    const portLabel = element('span', { id: 'port', textContent: chosenPort ? portName(chosenPort) : 'none chosen' });
    if (!chosenPort)
        offerGrantedPort(portLabel);
    choose.addEventListener('click', async () => {
        try {
            chosenPort = await navigator.serial.requestPort();
            portLabel.textContent = portName(chosenPort);
        } catch {
            // The user closed the browser's chooser.
        }
    });
    baud.addEventListener('change', () => { chosenBaud = Number(baud.value); });
    return [row(text('portLabel'), element('span', { className: 'dialog-row' }, [portLabel, choose])), row(text('baudLabel'), baud)];
}

const kNoPort = 'Choose the port the module is on.';

// Where the dialog says what became of the bytes, read out as it changes.
function resultLine() {
    return element('p', { id: 'result', role: 'status' });
}

function serialDialog(title, about, action, result) {
    return element('dialog', { ariaLabel: title }, [element('form', { method: 'dialog' }, [
        element('strong', { textContent: title }), element('p', { textContent: about }), ...portRows(),
        result, element('div', { className: 'dialog-buttons' }, [action,
            element('button', { type: 'submit', value: '', textContent: 'Close' })])])]);
}

export async function sendToModule() {
    const bytes = core.moduleBytes(state.dots);
    const result = resultLine();
    const sendButton = element('button', { id: 'send', type: 'button', textContent: 'Send' });
    sendButton.addEventListener('click', async () => {
        if (!chosenPort) {
            result.textContent = kNoPort;
            return;
        }
        try {
            await send(chosenPort, chosenBaud, bytes);
            result.textContent = text('sentBytes', bytes.length, portName(chosenPort), chosenBaud);
        } catch (error) {
            result.textContent = text('cannotSendTo', portName(chosenPort), error.message);
        }
    });
    await showDialog(serialDialog(text('sendToModule'),
        text('pictureGoesOut', bytes.length),
        sendButton, result));
}

// The set played on the page, each picture sent to the module as it is shown.
// The port stays open while it plays; Stop, Close or an error ends both.
export async function playOnModule() {
    const result = resultLine();
    const playButton = element('button', { id: 'play', type: 'button', textContent: text('play') });
    let playing = null; // {port, baud, writer, sent, shown, queue, unsubscribe} while it plays
    const stop = async (problem) => {
        const ended = playing;
        playing = null;
        ended.unsubscribe();
        session().setPlaying(false);
        playButton.textContent = text('play');
        try {
            await ended.queue;
        } catch {
            // Said already.
        }
        ended.writer.releaseLock();
        await ended.port.close().catch(() => {});
        result.textContent = problem ? text('cannotSendTo', portName(ended.port), problem)
            : `Sent ${ended.sent} picture${ended.sent === 1 ? '' : 's'} to ${portName(ended.port)} at ${ended.baud} baud.`;
    };
    const sendShown = () => {
        const bytes = core.moduleBytes(state.dots);
        const now = playing;
        now.shown = state.current;
        now.queue = now.queue.then(() => writeWithin(now.writer, bytes)).then(() => { now.sent += 1; },
            (error) => { if (playing === now) stop(error.message); throw error; });
    };
    const start = async () => {
        if (!chosenPort) {
            result.textContent = kNoPort;
            return;
        }
        const port = chosenPort;
        try {
            await openPort(port, chosenBaud);
        } catch (error) {
            result.textContent = text('cannotSendTo', portName(port), error.message);
            return;
        }
        playing = { port, baud: chosenBaud, writer: port.writable.getWriter(), sent: 0, queue: Promise.resolve(), shown: -1 };
        playing.unsubscribe = subscribe(() => {
            if (!state.playing)
                stop();
            else if (state.current !== playing.shown)
                sendShown();
        });
        playButton.textContent = text('stop');
        result.textContent = text('playingOn', portName(port), chosenBaud);
        session().setPlaying(true); // which the listener hears, and sends the picture shown
    };
    playButton.addEventListener('click', () => (playing ? stop() : start()));
    await showDialog(serialDialog(text('playOnModule'),
        'Each picture goes out as the page shows it, 8 data bits, no parity, one stop bit, no flow control.',
        playButton, result));
    if (playing)
        await stop();
}
