#!/usr/bin/env bash
# All 27,990 glyphs of Debian's 18x18ko into a u8g2 font (font ... --output
# x.c) against writing the same glyphs as BDF (--output x.bdf) in the same
# run: weighing u8g2's run-length widths is the cost over reading and
# writing the font. Runs alternate; medians of RUNS each, with half the
# interquartile range. The target is at most 3 x; --quick (RUNS given)
# asserts nothing.
# Usage: font_bench.sh BIN_DIR [RUNS]
set -euo pipefail
bin=$1 runs=${2:-5}
target=3.0
[ -n "$runs" ] || runs=5
[ -n "${2:-}" ] && target=""
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
label="18x18ko's 27990 glyphs as a u8g2 font"
pcf=/usr/share/fonts/X11/misc/18x18ko.pcf.gz
if [ ! -f "$pcf" ] || ! command -v pcf2bdf >/dev/null; then
    echo "$label: cannot be measured: it needs Debian's xfonts-base and pcf2bdf"
    [ -n "$target" ] && exit 1
    exit 0
fi
zcat "$pcf" >"$work/18x18ko.pcf"
pcf2bdf -o "$work/18x18ko.bdf" "$work/18x18ko.pcf"
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
tool=() baseline=()
for _ in $(seq "$runs"); do
    tool+=("$(elapsed '"$bin/tessaldo-cli" font "$work/18x18ko.bdf" --output "$work/u8g2_font_18x18ko.c"')")
    baseline+=("$(elapsed '"$bin/tessaldo-cli" font "$work/18x18ko.bdf" --output "$work/18x18ko_again.bdf"')")
done
report "$label" "the same glyphs as BDF" "${tool[*]}" "${baseline[*]}" $target
