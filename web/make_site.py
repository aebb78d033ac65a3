#!/usr/bin/env python3
"""Makes the page's site form: a folder for any static web host, under any
path, every address in it relative. The first document is small, with the
style inlined; the scripts (the core's and the page's modules) and the
WebAssembly come beside it, fetched at once; Unifont's glyphs wait in a file
of their own until text is first inserted, and the TrueType drawing module
(its script and WebAssembly) until such a font is first opened. A web app manifest with its icons
lets browsers install the site, and a service worker keeps every file for use
with no network.

Usage: make_site.py PAGE_DIR SITE_DIR CORE_JS RASTER_JS UNIFONT_HEX ICON_SVG VERSION OUT_DIR

CORE_JS and RASTER_JS are the core and web/raster/'s module built without
their WebAssembly inlined; each one's .wasm file stands beside it. SITE_DIR holds the manifest and the service worker, whose
['@FILES@'] and @VERSION@ are filled in here (the list's marker is a list, so
that the worker's source parses as it is).
"""
import hashlib
import json
import shutil
import sys
from pathlib import Path

from make_icons import make_icons
from make_page import bundled, ordered_modules, packed, page_html

# The core's script, then the page's modules: two files, so that the browser
# runs each in a task of its own, neither long on a slow phone.
SCRIPTS = ("tessaldo-core.js", "tessaldo.js")
GLYPHS = "unifont.hex.gz"  # the name web/page/glyphs.js fetches
RASTER = "tessaldo-fontraster.js"  # the name web/page/fontraster.js fetches


def head(core_wasm, manifest):
    theme = json.loads(manifest.read_text(encoding="utf-8"))["theme_color"]
    # The WebAssembly is asked for with the document, not once the script has run: it is the longest download.
    return "\n".join([
        f'<meta name="theme-color" content="{theme}">',
        '<link rel="manifest" href="manifest.webmanifest">',
        '<link rel="icon" href="favicon.svg" type="image/svg+xml">',
        '<link rel="apple-touch-icon" href="maskable-192.png">',
        f'<link rel="preload" href="{core_wasm}" as="fetch" type="application/wasm" crossorigin>',
    ] + [f'<script src="{script}" defer></script>' for script in SCRIPTS])


def version(out):
    digest = hashlib.sha256()
    for path in sorted(out.iterdir()):
        digest.update(path.name.encode() + b"\0" + path.read_bytes())
    return digest.hexdigest()[:16]


def service_worker(site, out):
    """sw.js with the list of every other file; the first document by its folder's address, as it is opened."""
    files = sorted("./" if path.name == "index.html" else path.name for path in out.iterdir())
    text = (site / "sw.js").read_text(encoding="utf-8")
    for marker in ("['@FILES@']", "@VERSION@"):
        if text.count(marker) != 1:
            sys.exit(f"make_site: sw.js must hold {marker} exactly once")
    return text.replace("['@FILES@']", json.dumps(files)).replace("@VERSION@", version(out))


def main():
    page, site, core_js, raster_js, unifont, icon, project_version, out = (Path(a) for a in sys.argv[1:9])
    core_wasm = core_js.with_suffix(".wasm")
    if out.exists():
        shutil.rmtree(out)  # no file of an earlier build stays to be kept by the service worker
    out.mkdir(parents=True)
    html = page_html(page, str(project_version), {
        "<!--SITE-->": head(core_wasm.name, site / "manifest.webmanifest"),
        "<!--SCRIPTS-->": "",
        "<!--GLYPHS-->": "",
    })
    (out / "index.html").write_text(html, encoding="utf-8")
    for script, text in zip(SCRIPTS, (core_js.read_text(encoding="utf-8"), bundled(ordered_modules(page)))):
        (out / script).write_text(text, encoding="utf-8")
    shutil.copyfile(core_wasm, out / core_wasm.name)
    if raster_js.name != RASTER:
        sys.exit(f"make_site: the TrueType drawing module must be named {RASTER}")
    for path in (raster_js, raster_js.with_suffix(".wasm")):
        shutil.copyfile(path, out / path.name)
    (out / GLYPHS).write_bytes(packed(unifont))
    shutil.copyfile(site / "manifest.webmanifest", out / "manifest.webmanifest")
    shutil.copyfile(icon, out / "favicon.svg")
    make_icons(icon, out)
    (out / "sw.js").write_text(service_worker(site, out), encoding="utf-8")


if __name__ == "__main__":
    main()
