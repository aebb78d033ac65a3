// The link to the core: the same C++ as the desktop program, compiled to
// WebAssembly. Every rule the page follows is asked of it.
export const core = {};

export async function loadCore() {
    Object.assign(core, await globalThis.TessaldoCore());
}
