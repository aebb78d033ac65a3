#!/usr/bin/env bash
# The fonts font makes, read by other programs than this one: Pillow's BDF
# reader, and bdftopcf, whose PCF Pillow reads too; every glyph's bitmap must
# be its picture as the window shows it. FontForge opens the font. Then import
# turns the font, and FontForge's BDF of it, back into the very drawings they
# came from, and a damaged font is refused with its reason.
# Usage: font_readers_test.sh BIN_DIR
set -euo pipefail
cli="$1/tessaldo-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Hangul and a narrow Latin letter in type 0, one more syllable in type 1:
# the font holds each picture as it is shown, whatever the type.
"$cli" text '한글A' --each "$work/set"
"$cli" text '가' "$work/U+AC00.Lcd" --type 1
"$cli" font "$work/set" "$work/U+AC00.Lcd" --output "$work/hangul.bdf"
for file in "$work"/set/*.Lcd "$work/U+AC00.Lcd"; do
    name=$(basename "$file" .Lcd)
    "$cli" show "$file" | tail -n +2 >"$work/$name.txt"
done

bdftopcf -o "$work/hangul.pcf" "$work/hangul.bdf" 2>"$work/bdftopcf.err" || fail "bdftopcf refused the font: $(cat "$work/bdftopcf.err")"
[ ! -s "$work/bdftopcf.err" ] || fail "bdftopcf warned: $(cat "$work/bdftopcf.err")"

/usr/bin/python3 - "$work" <<'PYTHON' || fail "Pillow reads other glyphs than the pictures"
import sys
from pathlib import Path
from PIL import BdfFontFile, PcfFontFile

work = Path(sys.argv[1])

def rows(image, box):
    """The 16 x 16 cell as show prints it, the glyph's box of its dots placed
    in it by its offsets from the baseline, 14 rows below the cell's top."""
    left, top = box[0], box[1] + 14
    width, height = image.size
    return ["".join("#" if 0 <= x - left < width and 0 <= y - top < height and image.getpixel((x - left, y - top))
                    else "." for x in range(16)) for y in range(16)]

def expected(code_point):
    return (work / f"U+{code_point:04X}.txt").read_text().split()

with open(work / "hangul.bdf", "rb") as bdf:
    font = BdfFontFile.BdfFontFile(bdf)  # the header and properties, and the glyphs below 256
    _, box, _, image = font.glyph[ord("A")]
    assert rows(image, box) == expected(ord("A"))
    bdf.seek(0)
    while not bdf.readline().startswith(b"ENDPROPERTIES"):
        pass
    # Pillow's own reader of one glyph, for every glyph however large its code point.
    glyphs = list(iter(lambda: BdfFontFile.bdf_char(bdf), None))
assert [glyph[1] for glyph in glyphs] == [0x41, 0xAC00, 0xAE00, 0xD55C], [glyph[1] for glyph in glyphs]
for _, code_point, (advance, box, _), image in glyphs:
    assert advance == (16, 0), advance
    assert rows(image, box) == expected(code_point), hex(code_point)

with open(work / "hangul.pcf", "rb") as pcf:
    font = PcfFontFile.PcfFontFile(pcf)
    metrics = font._load_metrics()  # in the BDF's order, each glyph's left and ascent
    bitmaps = font._load_bitmaps(metrics)
for (_, code_point, _, _), metric, image in zip(glyphs, metrics, bitmaps, strict=True):
    assert rows(image, (metric[2], -metric[5])) == expected(code_point), hex(code_point)
PYTHON

# FontForge opens the font and writes it again as its own BDF, every box
# shrunk to the dots it holds.
fontforge -lang=py -c '
import fontforge, sys
font = fontforge.open(sys.argv[1])
assert sorted(glyph.unicode for glyph in font.glyphs()) == [0x41, 0xAC00, 0xAE00, 0xD55C]
font.generate(sys.argv[2], "bdf")' "$work/hangul.bdf" "$work/fontforge." 2>"$work/fontforge.err" ||
    fail "FontForge: $(cat "$work/fontforge.err")"

# Both fonts import as the very drawings they came from.
for font in hangul fontforge-16; do
    "$cli" import "$work/$font.bdf" --each "$work/$font"
    for file in "$work"/set/*.Lcd; do
        cmp -s "$file" "$work/$font/$(basename "$file")" || fail "$(basename "$file") did not come back from $font.bdf"
    done
    "$cli" show "$work/$font/U+AC00.Lcd" | tail -n +2 | cmp -s - "$work/U+AC00.txt" ||
        fail "U+AC00 did not come back from $font.bdf"
    [ "$(ls "$work/$font" | wc -l)" = 4 ] || fail "import --each wrote other files than the four glyphs"
done

# A header's arrays U_XXXX make the same font as the drawings they came from;
# names that give no character, and characters drawn twice, are refused.
"$cli" header "$work"/set/*.Lcd --output "$work/set.h"
"$cli" font "$work/set" --output "$work/folder.bdf" --name same
"$cli" font "$work/set.h" --output "$work/header.bdf" --name same
cmp -s "$work/folder.bdf" "$work/header.bdf" || fail "the header's font differs from the drawings' font"
cp "$work/set/U+0041.Lcd" "$work/logo.Lcd"
cp "$work/set/U+0041.Lcd" "$work/U+0041.Lcd"
if "$cli" font "$work/set" "$work/logo.Lcd" "$work/U+0041.Lcd" --output "$work/no.bdf" 2>"$work/names.err"; then
    fail "a font was made of pictures without characters"
fi
grep -q 'the picture logo of ".*logo.Lcd" names no character' "$work/names.err" || fail "$(cat "$work/names.err")"
grep -q '/set" and ".*/U+0041.Lcd" both draw U+0041.$' "$work/names.err" || fail "$(cat "$work/names.err")"
[ ! -e "$work/no.bdf" ] || fail "a refused font was written"

sed '/^STARTCHAR uniAE00/,$d' "$work/hangul.bdf" >"$work/cut.bdf"
if "$cli" import "$work/cut.bdf" --each "$work/cut" 2>"$work/cut.err"; then fail "a cut-short font was imported"; fi
grep -q '^Cannot import ".*cut.bdf": it ends before ENDFONT: the file is cut short.$' "$work/cut.err" ||
    fail "the cut-short font's reason: $(cat "$work/cut.err")"
[ ! -e "$work/cut" ] || fail "a refused import wrote files"
# Pictures of another size make a font of that size: 5 x 7 and 8 x 16 glyphs
# read by Pillow from the BDF and bdftopcf's PCF as the pictures, and brought
# back by import from FontForge's BDF, whose box is shrunk to the dots.
# Pictures of two sizes make no font.
mkdir "$work/small" "$work/tall"
printf 'P1\n5 7\n00100\n01010\n10001\n11111\n10001\n10001\n00001\n' >"$work/small/U+0041.pbm"
printf 'P1\n5 7\n11110\n10001\n11110\n10001\n10001\n11110\n00000\n' >"$work/small/U+0042.pbm"
{ printf 'P1\n8 16\n'; for row in $(seq 16); do printf '%s\n' "$([ $((row % 3)) = 0 ] && echo 11111111 || echo 10000001)"; done; } \
    >"$work/tall/U+0049.pbm"
for size in small tall; do
    "$cli" font "$work/$size"/*.pbm --output "$work/$size.bdf"
    bdftopcf -o "$work/$size.pcf" "$work/$size.bdf" 2>"$work/bdftopcf.err" && [ ! -s "$work/bdftopcf.err" ] ||
        fail "bdftopcf on the $size font: $(cat "$work/bdftopcf.err")"
    /usr/bin/python3 - "$work" "$size" <<'PYTHON' || fail "Pillow reads other glyphs than the $size pictures"
import sys
from pathlib import Path
from PIL import BdfFontFile, PcfFontFile

work, size = Path(sys.argv[1]), sys.argv[2]
pictures = {}
for pbm in sorted((work / size).glob("*.pbm")):
    lines = pbm.read_text().split()
    pictures[int(pbm.stem[2:], 16)] = (tuple(map(int, lines[1:3])), lines[3:])

def rows(image, box, size):
    """The picture of `size` the glyph's box of its dots makes, placed by its
    offsets from the baseline, the picture's bottom row on it."""
    width, height = size
    left, top = box[0], box[1] + height
    return ["".join("1" if 0 <= x - left < image.size[0] and 0 <= y - top < image.size[1]
                    and image.getpixel((x - left, y - top)) else "0" for x in range(width)) for y in range(height)]

with open(work / f"{size}.bdf", "rb") as bdf:
    while not bdf.readline().startswith(b"ENDPROPERTIES"):
        pass
    glyphs = list(iter(lambda: BdfFontFile.bdf_char(bdf), None))
assert sorted(glyph[1] for glyph in glyphs) == sorted(pictures)
for _, code_point, (advance, box, _), image in glyphs:
    (width, height), expected = pictures[code_point]
    assert advance == (width, 0), advance
    assert rows(image, box, (width, height)) == expected, hex(code_point)
with open(work / f"{size}.pcf", "rb") as pcf:
    font = PcfFontFile.PcfFontFile(pcf)
    metrics = font._load_metrics()
    bitmaps = font._load_bitmaps(metrics)
for (_, code_point, _, _), metric, image in zip(glyphs, metrics, bitmaps, strict=True):
    assert rows(image, (metric[2], -metric[5]), pictures[code_point][0]) == pictures[code_point][1], hex(code_point)
PYTHON
    fontforge -lang=py -c 'import fontforge, sys; fontforge.open(sys.argv[1]).generate(sys.argv[2], "bdf")' \
        "$work/$size.bdf" "$work/ff-$size." 2>"$work/fontforge.err" || fail "FontForge: $(cat "$work/fontforge.err")"
    "$cli" import "$work"/ff-"$size"-*.bdf --each "$work/$size-back"
    for file in "$work/$size"/*.pbm; do
        cmp -s "$file" "$work/$size-back/$(basename "$file")" || fail "$(basename "$file") did not come back from FontForge's $size font"
    done
done
if "$cli" font "$work"/small/*.pbm "$work/tall/U+0049.pbm" --output "$work/mixed.bdf" 2>"$work/mixed.err"; then
    fail "a font was made of pictures of two sizes"
fi
grep -q '^Cannot make the font: its glyphs share one size, but the picture U_0041 of ".*" is 5 x 7 and U_0049 of ".*U+0049.pbm" is 8 x 16.$' \
    "$work/mixed.err" || fail "the mixed sizes' reason: $(cat "$work/mixed.err")"

echo "font readers: 4 glyphs read alike by Pillow (BDF and PCF), FontForge and back by import, and fonts of 5 x 7 and 8 x 16"
