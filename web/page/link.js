// "Copy Link" and the links it makes: the page's address with the document in
// its fragment, which no browser sends to a server. The core writes and reads
// the fragment; an address that brings one shows its document as one step,
// so that Ctrl+Z gives back what was there before, once unsaved work there
// is saved or let go.
import { writeText } from './clipboard.js';
import { announce, messageBox } from './dialogs.js';
import { nameFile, save } from './files.js';
import { mayReplaceWork, saveSet } from './setfiles.js';
import { session } from './state.js';

// A link of any size opens; one longer than mail and chat pass on is copied all the same, said to be too long,
// with the file offered to send instead.
export async function copyLink() {
    const link = session().shareLink(location.href);
    const problem = await writeText(link.address);
    if (problem)
        await messageBox(problem);
    else if (link.tooLong) {
        const told = [link.note, link.tooLong].filter(Boolean).join(' ');
        if (await messageBox(told, [['Save…', 'save'], ['OK', 'ok', { autofocus: true }]]) === 'save')
            await (session().holdsSet() ? saveSet() : save());
    } else if (link.note)
        await messageBox(link.note);
    else
        announce('The link is on the clipboard.');
}

// The fragment leaves the address at once, so that a reload does not bring
// its document again; unsaved work is not replaced unasked.
async function followLink() {
    const fragment = location.hash;
    if (!fragment)
        return;
    history.replaceState(history.state, '', location.href.slice(0, location.href.indexOf('#')));
    if (!await mayReplaceWork())
        return;
    const problem = session().openLink(fragment);
    if (problem)
        await messageBox(problem);
    else
        nameFile('');
}

// The link the page was opened with, and every one given to it later.
export function followLinks() {
    window.addEventListener('hashchange', followLink);
    return followLink();
}
