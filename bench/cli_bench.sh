#!/usr/bin/env bash
# tessaldo-cli code on one drawing file against cat of the same file: the
# cost a build pays per file. Runs alternate; medians of RUNS each, with half
# the interquartile range.
# Usage: cli_bench.sh BIN_DIR FILE [RUNS]
set -euo pipefail
bin=$1 file=$2 runs=${3:-30}
[ -n "$runs" ] || runs=30
elapsed() { # prints nanoseconds for one run of the command
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo $((end - start))
}
tool=() baseline=()
for _ in $(seq "$runs"); do
    tool+=("$(elapsed "$bin/tessaldo-cli" code "$file")")
    baseline+=("$(elapsed cat "$file")")
done
printf '%s\n' "${tool[@]}" >"${TMPDIR:-/tmp}/cli_bench_tool.$$"
printf '%s\n' "${baseline[@]}" >"${TMPDIR:-/tmp}/cli_bench_cat.$$"
/usr/bin/python3 - "${TMPDIR:-/tmp}/cli_bench_tool.$$" "${TMPDIR:-/tmp}/cli_bench_cat.$$" <<'PY'
import statistics, sys
def load(path):
    return [int(line) / 1e6 for line in open(path)]
tool, cat = load(sys.argv[1]), load(sys.argv[2])
def spread(values):
    if len(values) < 2:
        return 0
    q = statistics.quantiles(values, n=4)
    return (q[2] - q[0]) / 2
t, c = statistics.median(tool), statistics.median(cat)
print(f"tessaldo-cli code per file: {t:.2f} ± {spread(tool):.2f} ms ({t / c:.2f} x cat of the same file, {c:.2f} ms)")
PY
rm -f "${TMPDIR:-/tmp}/cli_bench_tool.$$" "${TMPDIR:-/tmp}/cli_bench_cat.$$"
