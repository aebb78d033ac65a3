#!/usr/bin/env bash
# tessaldo-cli code on one drawing file against cat of the same file: the
# cost a build pays per file. Runs alternate; medians of RUNS each, with half
# the interquartile range.
# Usage: cli_bench.sh BIN_DIR FILE [RUNS]
set -euo pipefail
bin=$1 file=$2 runs=${3:-30}
[ -n "$runs" ] || runs=30
source "$(dirname "${BASH_SOURCE[0]}")/timing.sh"
tool=() baseline=()
for _ in $(seq "$runs"); do
    tool+=("$(elapsed '"$bin/tessaldo-cli" code "$file"')")
    baseline+=("$(elapsed 'cat "$file"')")
done
report "tessaldo-cli code per file" "cat of the same file" "${tool[*]}" "${baseline[*]}"
