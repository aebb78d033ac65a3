// Send to Module through Web Serial: a port the user chooses, 8N1 with no
// flow control, exactly the picture's 33 bytes, the result said as the
// desktop's dialog says it.
import { core } from './core.js';
import { element, row, showDialog } from './dialogs.js';
import { state } from './state.js';

const kWriteTimeoutMs = 2000;
let chosenPort = null; // kept until the page is closed
let chosenBaud = 9600;

export function hasWebSerial() {
    return 'serial' in navigator;
}

export const kNoWebSerial = 'Send to Module… needs Web Serial: Chrome, Edge or Opera';

async function send(port, baud, bytes) {
    await port.open({ baudRate: baud, dataBits: 8, stopBits: 1, parity: 'none', flowControl: 'none' });
    try {
        const writer = port.writable.getWriter();
        try {
            const timeout = new Promise((_, reject) => setTimeout(
                () => reject(new Error(`the bytes did not leave within ${kWriteTimeoutMs / 1000} s`)), kWriteTimeoutMs));
            await Promise.race([writer.write(bytes), timeout]);
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

export async function sendToModule() {
    const bytes = core.moduleBytes(state.dots);
    const baud = element('select', { id: 'baud' });
    for (const rate of core.bauds())
        baud.append(element('option', { value: String(rate), textContent: String(rate), selected: rate === chosenBaud }));
    const result = element('p', { id: 'result' });
    const choose = element('button', { id: 'choosePort', type: 'button', textContent: 'Choose Port…' });
    const sendButton = element('button', { id: 'send', type: 'button', textContent: 'Send' });
    const portLabel = element('span', { id: 'port', textContent: chosenPort ? portName(chosenPort) : 'none chosen' });
    choose.addEventListener('click', async () => {
        try {
            chosenPort = await navigator.serial.requestPort();
            portLabel.textContent = portName(chosenPort);
        } catch {
            // The user closed the browser's chooser.
        }
    });
    sendButton.addEventListener('click', async () => {
        chosenBaud = Number(baud.value);
        if (!chosenPort) {
            result.textContent = 'Choose or type the port the module is on.';
            return;
        }
        try {
            await send(chosenPort, chosenBaud, bytes);
            result.textContent = `Sent ${bytes.length} bytes to ${portName(chosenPort)} at ${chosenBaud} baud.`;
        } catch (error) {
            result.textContent = `Cannot send to "${portName(chosenPort)}": ${error.message}.`;
        }
    });
    const dialog = element('dialog', { ariaLabel: 'Send to Module' }, [element('form', { method: 'dialog' }, [
        element('strong', { textContent: 'Send to Module' }),
        element('p', { textContent: `The picture goes out as ${bytes.length} bytes, 8 data bits, no parity, one stop bit, no flow control.` }),
        row('Port:', element('span', { className: 'dialog-row' }, [portLabel, choose])), row('Baud rate:', baud),
        result, element('div', { className: 'dialog-buttons' }, [sendButton,
            element('button', { type: 'submit', value: '', textContent: 'Close' })])])]);
    await showDialog(dialog);
    chosenBaud = Number(baud.value);
}
