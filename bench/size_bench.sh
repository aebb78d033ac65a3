#!/usr/bin/env bash
# The command line on pictures of other sizes, each against the tool people
# use for the same work, in alternating runs (median ± half the
# interquartile range):
# - code FILE.pbm --format xbm of an 800 x 480 picture against netpbm's pbmtoxbm of the same file;
# - import of a 24-megapixel JPEG into 800 x 480 with Floyd-Steinberg against ImageMagick's convert;
# - a set of 1,000 pictures of 128 x 64 opened from its header and saved again against decode --each
#   and header of the same set.
# Each has a target ratio, and the script fails when one is missed or cannot
# be measured, once every figure is printed; --quick runs each once and
# asserts nothing.
# Usage: size_bench.sh BIN_DIR [--quick]
set -euo pipefail
bin=$1 quick=""
[ "${2:-}" = "--quick" ] && quick=1
cli=$bin/tessaldo-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
missed=0

# Runs the commands, given as one shell text, once; where they fail, says
# why the figure LABEL cannot be measured, in the words of the first line
# they wrote to standard error.
runs_now() { # LABEL COMMANDS
    local said
    if ! said=$(eval "$2" 2>&1 >/dev/null); then
        echo "$1: cannot be measured yet: ${said%%$'\n'*}"
        [ -n "$quick" ] || missed=1
        return 1
    fi
}

# Times the tool's commands against the baseline's, alternating, RUNS times,
# and reports the ratio against TARGET (none with --quick).
measure() { # LABEL BASELINE_NAME RUNS TARGET TOOL BASELINE
    local tool=() baseline=() target=("$4")
    [ -z "$quick" ] || target=()
    for _ in $(seq "$3"); do
        tool+=("$(elapsed "$5")")
        baseline+=("$(elapsed "$6")")
    done
    report "$1" "$2" "${tool[*]}" "${baseline[*]}" "${target[@]}" || missed=1
}

runs() { # the runs of a figure whose commands take TIME: "fast" or "slow"
    [ -n "$quick" ] && echo 1 && return
    [ "$1" = fast ] && echo 15 || echo 5
}

# A photograph's size and detail: a fractal landscape, made small and enlarged, as making it at 24
# megapixels takes ImageMagick most of a minute.
convert -size 600x400 -seed 1 plasma:fractal -resize '6000x4000!' -quality 90 "$work/photo.jpg"
# An 800 x 480 e-paper picture from it, dithered as a real one is, in the binary form netpbm writes.
convert "$work/photo.jpg" -resize '800x480!' -dither FloydSteinberg -monochrome "$work/screen.pbm"

code='"$cli" code "$work/screen.pbm" --format xbm'
# Each figure first checks that the work is done at the size asked, or it would time other work.
xbm="$code"' | grep "_width 800" >/dev/null || { echo "code --format xbm does not write an 800 x 480 XBM." >&2; false; }'
if runs_now "code --format xbm of an 800 x 480 picture" "$xbm"; then
    measure "code --format xbm of an 800 x 480 picture" "pbmtoxbm of the same file" "$(runs fast)" 1.0 \
        "$code" 'pbmtoxbm "$work/screen.pbm"'
fi

import='"$cli" import "$work/photo.jpg" "$work/imported.pbm" --size 800x480 --dither floyd-steinberg'
imported="$import"' && [ "$(identify -format %wx%h "$work/imported.pbm")" = 800x480 ] ||
    { echo "import --size 800x480 does not make an 800 x 480 picture." >&2; false; }'
if runs_now "import of a 24-megapixel JPEG into 800 x 480" "$imported"; then
    measure "import of a 24-megapixel JPEG into 800 x 480, Floyd-Steinberg" \
        "convert -resize 800x480 -dither FloydSteinberg -monochrome" "$(runs slow)" 0.5 "$import" \
        'convert "$work/photo.jpg" -resize 800x480 -dither FloydSteinberg -monochrome "$work/converted.pbm"'
fi

/usr/bin/python3 - "$work/pictures" <<'PY'
import os, random, sys
random.seed(1)
os.makedirs(sys.argv[1])
for i in range(1000):
    rows = ("".join(random.choice("01") for _ in range(128)) for _ in range(64))
    with open(os.path.join(sys.argv[1], f"icon_{i:04}.pbm"), "w") as f:
        f.write("P1\n128 64\n" + "\n".join(rows) + "\n")
PY
label="set of 1000 pictures of 128 x 64, open and save"
sized='"$cli" decode "$work/icons.h" --each "$work/each" &&
    [ "$(identify -format %wx%h "$work"/each/icon_0000.* 2>/dev/null)" = 128x64 ] ||
    { echo "The header does not give its pictures back at 128 x 64." >&2; false; }'
if runs_now "$label" '"$cli" header "$work"/pictures/*.pbm --output "$work/icons.h"' && runs_now "$label" "$sized"; then
    measure "$label" "decode --each and header of the same set" "$(runs fast)" 1.5 \
        '"$cli" header "$work/icons.h" --output "$work/icons.h"' \
        'rm -rf "$work/each" && "$cli" decode "$work/icons.h" --each "$work/each" &&
            "$cli" header "$work"/each/* --output "$work/files.h"'
fi
exit "$missed"
