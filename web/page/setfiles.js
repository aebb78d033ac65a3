// The set's files: Open Set reads a header or C source, several drawing
// files, or an animated image; Save Set writes the set as one header. The
// reading and the writing are the core's; here are the pickers and downloads.
import { messageBox } from './dialogs.js';
import { chooseFiles } from './files.js';
import { decodesFrames, openAnimation } from './importer.js';
import { session } from './state.js';

const kOpenAccept = '.h,.hpp,.c,.cpp,.cc,.ino,.txt,.Lcd,.lcd,image/*';
const kOpenTypes = [{ description: 'Sets: C headers and sources, drawing files, animated images',
    accept: { 'text/plain': ['.h', '.hpp', '.c', '.cpp', '.cc', '.ino', '.txt', '.Lcd', '.lcd'], 'image/*': [] } }];

function isImage(file) {
    return file.type.startsWith('image/');
}

// What a drop or Open Set brings, as a set.
export async function openSetFrom(files) {
    if (files.length === 1 && isImage(files[0])) {
        if (decodesFrames())
            await openAnimation(files[0]);
        else
            await messageBox(`Cannot open "${files[0].name}" as a set: this browser cannot decode an image's frames one by one.`);
        return;
    }
    await messageBox('Not yet');
}

export async function openSet() {
    const files = await chooseFiles(kOpenAccept, kOpenTypes, true);
    if (files.length)
        await openSetFrom(files);
}
