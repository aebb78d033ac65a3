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
elapsed() { # prints nanoseconds for one run of the commands given as one shell text
    local start end
    start=$(date +%s%N)
    eval "$1" >/dev/null
    end=$(date +%s%N)
    echo $((end - start))
}
tool=() baseline=()
for _ in $(seq "$runs"); do
    tool+=("$(elapsed '"$bin/tessaldo-cli" header "$work/icons.h" --output "$work/icons.h"')")
    baseline+=("$(elapsed 'rm -rf "$work/each" && "$bin/tessaldo-cli" decode "$work/icons.h" --each "$work/each" &&
        "$bin/tessaldo-cli" header "$work"/each/*.Lcd --output "$work/files.h"')")
done
printf '%s\n' "${tool[@]}" >"$work/tool"
printf '%s\n' "${baseline[@]}" >"$work/baseline"
/usr/bin/python3 - "$work/tool" "$work/baseline" <<'PY'
import statistics, sys
def load(path):
    return [int(line) / 1e6 for line in open(path)]
tool, base = load(sys.argv[1]), load(sys.argv[2])
def spread(values):
    if len(values) < 2:
        return 0
    q = statistics.quantiles(values, n=4)
    return (q[2] - q[0]) / 2
t, b = statistics.median(tool), statistics.median(base)
print(f"set of 1000 pictures, open and save: {t:.2f} ± {spread(tool):.2f} ms "
      f"({t / b:.2f} x decode --each and header of the same set, {b:.2f} ms)")
PY
