// The link to the core: the same C++ as the desktop program, compiled to
// WebAssembly. Every rule the page follows is asked of it.
export const core = {};

export async function loadCore() {
    Object.assign(core, await globalThis.TessaldoCore());
}

// A picture crosses as its type and 256 characters, '1' for a set dot.
export const kClearDots = '0'.repeat(256);
