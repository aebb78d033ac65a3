#!/usr/bin/env bash
# A set of 1,000 pictures opened from its header and saved again
# (tessaldo-cli header icons.h --output icons.h: the header read as a set and
# written) against the way without sets: decode --each into 1,000 drawing
# files, then header of those files. Runs alternate; medians of RUNS each,
# with half the interquartile range.
# Usage: set_bench.sh BIN_DIR [RUNS]
set -euo pipefail
bin=$1 runs=${2:-15}
[ -n "$runs" ] || runs=15
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work/drawings" <<'PY'
import os, random, sys
random.seed(1)
os.makedirs(sys.argv[1])
for i in range(1000):
    dots = "".join(random.choice("01") for _ in range(256))
    with open(os.path.join(sys.argv[1], f"icon_{i:04}.Lcd"), "w", newline="") as f:
        f.write(f" 0\r\n{dots}\r\n")
PY
"$bin/tessaldo-cli" header "$work"/drawings/*.Lcd --output "$work/icons.h"
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
tool=() baseline=()
for _ in $(seq "$runs"); do
    tool+=("$(elapsed '"$bin/tessaldo-cli" header "$work/icons.h" --output "$work/icons.h"')")
    baseline+=("$(elapsed 'rm -rf "$work/each" && "$bin/tessaldo-cli" decode "$work/icons.h" --each "$work/each" &&
        "$bin/tessaldo-cli" header "$work"/each/*.Lcd --output "$work/files.h"')")
done
report "set of 1000 pictures, open and save" "decode --each and header of the same set" "${tool[*]}" "${baseline[*]}"
