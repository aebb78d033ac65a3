// The link to the core: the same C++ as the desktop program, compiled to
// WebAssembly. Every rule the page follows is asked of it.
export const core = {};
// The numbers the page shares with the window (web/binding/Constants.cpp), there once the core is.
export const constants = {};

export async function loadCore() {
    Object.assign(core, await globalThis.TessaldoCore());
    Object.assign(constants, core.constants());
}
