#!/usr/bin/env bash
# Start-up time to the window being mapped, and peak resident memory, of
# bin/tessaldo against the bare Qt window, alternating the two in one Xvfb.
# Usage: startup_bench.sh BIN_DIR [RUNS]
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
runs=${2:-20}
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT

Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# measure NAME PROGRAM TITLE: appends "milliseconds kilobytes" to $work/NAME
measure() {
    local start end timer
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/memory" "$2" 2>/dev/null &
    timer=$!
    until xwininfo -name "$3" 2>/dev/null | grep -q IsViewable; do
        if (( $(date +%s%N) - start > 20000000000 )); then
            echo "startup_bench: $2 showed no window within 20 s" >&2
            exit 1
        fi
    done
    end=$(date +%s%N)
    sleep 0.3 # let it paint, so the memory figure includes drawing
    pkill -TERM -P "$timer"
    wait "$timer" || true
    echo "$(( (end - start) / 1000000 )) $(tail -n 1 "$work/memory")" >>"$work/$1"
}

for i in $(seq "$runs"); do
    if (( i % 2 )); then
        measure tessaldo "$bin_dir/tessaldo" "Tessaldo 1.1"
        measure bare "$bin_dir/bare_window" "Bare Window"
    else
        measure bare "$bin_dir/bare_window" "Bare Window"
        measure tessaldo "$bin_dir/tessaldo" "Tessaldo 1.1"
    fi
done

# median COLUMN FILE and the spread as half the distance between the quartiles
stats() {
    cut -d' ' -f"$1" "$2" | sort -n | awk '{ v[NR] = $1 } END {
        median = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        q1 = v[int((NR + 3) / 4)]; q3 = v[int((3 * NR + 1) / 4)]
        print median, (q3 - q1) / 2 }'
}
read -r app_ms app_ms_spread < <(stats 1 "$work/tessaldo")
read -r bare_ms bare_ms_spread < <(stats 1 "$work/bare")
read -r app_kb app_kb_spread < <(stats 2 "$work/tessaldo")
read -r bare_kb bare_kb_spread < <(stats 2 "$work/bare")
awk -v a="$app_ms" -v as="$app_ms_spread" -v b="$bare_ms" -v n="$runs" \
    'BEGIN { printf "start-up to window mapped: %g ± %g ms (%.2f x bare Qt window, %d runs each)\n", a, as, a / b, n }'
awk -v a="$app_kb" -v as="$app_kb_spread" -v b="$bare_kb" \
    'BEGIN { printf "peak resident memory: %.1f ± %.1f MiB (%.2f x bare Qt window)\n", a / 1024, as / 1024, a / b }'
echo "(bare Qt window: $bare_ms ± $bare_ms_spread ms, $(awk -v b="$bare_kb" 'BEGIN { printf "%.1f", b / 1024 }') MiB)"
