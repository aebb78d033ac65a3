// What the one-file page carries compressed, each in an element of its own
// as base64 of gzip (web/make_page.py), unpacked where it is first needed;
// the site has the same as files instead.

// The bytes of element `id`, still compressed; null where the page has no such element, as the site has not.
export function inlineBytes(id) {
    const inline = document.getElementById(id);
    if (!inline)
        return null;
    const binary = atob(inline.textContent.trim());
    const bytes = new Uint8Array(binary.length);
    for (let at = 0; at < binary.length; ++at)
        bytes[at] = binary.charCodeAt(at);
    return bytes;
}

// Gzip-compressed bytes unpacked, to be read as the Response's body.
export function unpacked(bytes) {
    return new Response(new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip')));
}
