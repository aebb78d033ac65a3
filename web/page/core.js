// The link to the core: the same C++ as the desktop program, compiled to
// WebAssembly. Every rule the page follows is asked of it.
import { inlineBytes, unpacked } from './packed.js';

export const core = {};
// The numbers the page shares with the window (web/binding/Constants.cpp), there once the core is.
export const constants = {};
// What the core's module is started with: the one file's WebAssembly, which it carries compressed, unpacked; the
// site's is fetched beside the core's script. A worker starts its own with the same.
export const coreOptions = {};

export async function loadCore() {
    const inline = inlineBytes('core-wasm');
    if (inline)
        coreOptions.wasmBinary = new Uint8Array(await unpacked(inline).arrayBuffer());
    Object.assign(core, await globalThis.TessaldoCore({ ...coreOptions }));
    Object.assign(constants, core.constants());
}
