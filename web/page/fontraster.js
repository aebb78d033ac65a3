// TrueType and OpenType fonts drawn by FreeType, in a module of its own
// (web/raster/) that only such a font needs: started the first time one is
// opened, so that opening the page stays quick. The one-file page carries
// its script compressed in an element; the site keeps it beside the page,
// fetched then.
import { inlineBytes, unpacked } from './packed.js';

let raster = null; // the module to come, once asked for

// The script's address: the site's file, or the one file's copy unpacked into a blob.
async function scriptAddress() {
    const inline = inlineBytes('font-raster');
    if (!inline)
        return 'tessaldo-fontraster.js';
    return URL.createObjectURL(new Blob([await unpacked(inline).blob()], { type: 'text/javascript' }));
}

async function start() {
    const script = document.createElement('script');
    script.src = await scriptAddress();
    await new Promise((resolve, reject) => {
        script.onload = resolve;
        script.onerror = () => reject(new Error(`${script.src} did not load`));
        document.head.append(script);
    });
    return globalThis.TessaldoFontRaster();
}

// The font in `bytes` drawn at `pixelSize`: {bdf, problem}, the BDF text of its glyphs, or
// null where the module could not be started.
export async function rasteriseFont(name, bytes, pixelSize) {
    raster = raster || start();
    try {
        return (await raster).rasterise(name, bytes, pixelSize);
    } catch {
        raster = null; // started again with the next font
        return null;
    }
}
