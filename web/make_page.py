#!/usr/bin/env python3
"""Makes the page one HTML file: the core's WebAssembly and script, the style,
the page's modules, Unifont's glyphs and the TrueType drawing module inlined,
so that it opens from disk with nothing fetched.

Usage: make_page.py PAGE_DIR CORE_JS RASTER_JS UNIFONT_HEX VERSION OUT_HTML

CORE_JS is the core built without its WebAssembly inlined, as the site's;
its .wasm file, beside it, is inlined compressed, for web/page/core.js to
unpack.

RASTER_JS is web/raster/'s module, its WebAssembly inlined; the page starts
it only when a TrueType or OpenType font is first opened.

The version, from the project's CMakeLists.txt, replaces @PROJECT_VERSION@.
make_site.py makes the site form from the same pieces.

The modules are plain ES modules with named imports of './name.js'. Each
becomes a function scope of its own, in the order their imports need, that
returns what it exports; an import takes those names from it. So an export
is bound once: a module shares state through the objects it exports.
"""
import base64
import gzip
import re
import sys
from pathlib import Path

IMPORT = re.compile(r"^import\s*\{([^}]*)\}\s*from\s*'\./(\w+)\.js';\s*$", re.M)
DECLARATION = re.compile(r"^export\s+(?:async\s+)?(?:function\*?|const|let|class)\s+(\w+)", re.M)


def ordered_modules(folder):
    sources = {path.stem: path.read_text(encoding="utf-8") for path in folder.glob("*.js")}
    done, order = set(), []

    def visit(name, trail):
        if name in done:
            return
        if name in trail:
            sys.exit(f"make_page: modules import each other in a circle: {' -> '.join(trail + [name])}")
        if name not in sources:
            sys.exit(f"make_page: '{trail[-1]}' imports './{name}.js', which is not in {folder}")
        for imported in IMPORT.findall(sources[name]):
            visit(imported[1], trail + [name])
        done.add(name)
        order.append(name)

    for name in sorted(sources):
        visit(name, [])
    return [(name, sources[name]) for name in order]


def bundled(modules):
    parts = []
    for name, source in modules:
        body = IMPORT.sub(lambda m: f"const {{{m.group(1)}}} = module_{m.group(2)};", source)
        if re.search(r"^\s*import\b", body, re.M):
            sys.exit(f"make_page: {name}.js has an import this page cannot inline")
        exported = DECLARATION.findall(body)
        body = re.sub(r"^export\s+", "", body, flags=re.M)
        parts.append(f"// ---- {name}.js\nconst module_{name} = (() => {{\n{body}\nreturn {{ {', '.join(exported)} }};\n}})();")
    # A classic script, run where it stands: the page starts while the glyph data after it is still being read.
    return "(() => {\n'use strict';\n" + "\n".join(parts) + "\n})();"


def packed(path):
    # Compressed, to be unpacked in the page on first use.
    return gzip.compress(Path(path).read_bytes(), 9, mtime=0)


def inline_data(element_id, path):
    # As text that no script runs, read by web/page/core.js, glyphs.js or fontraster.js when needed.
    data = base64.b64encode(packed(path)).decode("ascii")
    return f'<script type="text/plain" id="{element_id}">{data}</script>'


def inline_script(text):
    return text.replace("</script", "<\\/script")


def page_html(folder, version, pieces):
    """index.html with the version and each marker's piece filled in; the style is inlined in both forms."""
    html = (folder / "index.html").read_text(encoding="utf-8")
    if "@PROJECT_VERSION@" not in html:
        sys.exit("make_page: index.html names no @PROJECT_VERSION@")
    html = html.replace("@PROJECT_VERSION@", version)
    pieces = {"/*STYLE*/": (folder / "style.css").read_text(encoding="utf-8"), **pieces}
    for marker, text in pieces.items():
        if html.count(marker) != 1:
            sys.exit(f"make_page: index.html must hold {marker} exactly once")
        before, after = html.split(marker)
        html = before + text + after
    return html


def main():
    page, core_js, raster_js, unifont, version, out = sys.argv[1:7]
    folder = Path(page)
    scripts = [Path(core_js).read_text(encoding="utf-8"), bundled(ordered_modules(folder))]
    html = page_html(folder, version, {
        "<!--SITE-->": "",
        "<!--SCRIPTS-->": inline_data("core-wasm", Path(core_js).with_suffix(".wasm"))
        + "\n".join(f"<script>{inline_script(script)}</script>" for script in scripts),
        "<!--GLYPHS-->": inline_data("unifont-glyphs", unifont) + inline_data("font-raster", raster_js),
    })
    Path(out).write_text(html, encoding="utf-8")


if __name__ == "__main__":
    main()
