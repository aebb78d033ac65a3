#!/usr/bin/env bash
# import FONT.bdf --each FOLDER with a font of 4,121 of Unifont's glyphs:
# into a fresh folder against cp -r of the folder it writes, and again over
# the same drawings against cat of them all, the least a rerun must read.
# Runs alternate; medians of RUNS each, with half the interquartile range.
# Usage: each_bench.sh BIN_DIR [RUNS]
set -euo pipefail
bin=$1 runs=${2:-5}
[ -n "$runs" ] || runs=5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - /usr/share/unifont/unifont.hex 4121 "$work/unifont.bdf" <<'PY'
import sys
hex_file, count, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
glyphs = []
with open(hex_file) as lines:
    for line in lines:
        code, bits = line.strip().split(":")
        glyphs.append((int(code, 16), bits))
        if len(glyphs) == count:
            break
with open(out, "w") as font:
    font.write("STARTFONT 2.1\nFONT -gnu-Unifont-Medium-R-Normal--16-160-75-75-c-80-iso10646-1\nSIZE 16 75 75\n"
               "FONTBOUNDINGBOX 16 16 0 -2\nSTARTPROPERTIES 2\nFONT_ASCENT 14\nFONT_DESCENT 2\nENDPROPERTIES\n"
               f"CHARS {len(glyphs)}\n")
    for code, bits in glyphs:
        digits = len(bits) // 16  # 2 for a narrow glyph, 4 for a wide one
        font.write(f"STARTCHAR U+{code:04X}\nENCODING {code}\nSWIDTH 500 0\nDWIDTH {digits * 4} 0\n"
                   f"BBX {digits * 4} 16 0 -2\nBITMAP\n")
        font.writelines(bits[row * digits:(row + 1) * digits] + "\n" for row in range(16))
        font.write("ENDCHAR\n")
    font.write("ENDFONT\n")
PY
"$bin/tessaldo-cli" import "$work/unifont.bdf" --each "$work/glyphs"
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
fresh=() copy=() again=() read=()
for _ in $(seq "$runs"); do
    rm -rf "$work/fresh" "$work/copy"
    fresh+=("$(elapsed '"$bin/tessaldo-cli" import "$work/unifont.bdf" --each "$work/fresh"')")
    copy+=("$(elapsed 'cp -r "$work/glyphs" "$work/copy"')")
    again+=("$(elapsed '"$bin/tessaldo-cli" import "$work/unifont.bdf" --each "$work/glyphs"')")
    read+=("$(elapsed 'cat "$work"/glyphs/*.Lcd')")
done
report "import of 4121 glyphs --each, fresh folder" "cp -r of the folder" "${fresh[*]}" "${copy[*]}"
report "import of 4121 glyphs --each, again" "cat of the drawings" "${again[*]}" "${read[*]}"
