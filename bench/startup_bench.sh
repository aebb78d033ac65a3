#!/usr/bin/env bash
# Start-up time to the window being mapped and to its first frame, and peak
# resident memory, of bin/tessaldo against a bare Qt window and against a
# window that shows only the copy button's Korean caption, interleaved in one
# Xvfb inside a D-Bus session, as on a desktop. The clocks stop at the X
# server's map event and at its first damage report on the mapped window.
# A start that fails is tried again and counted, never fatal.
# Usage: startup_bench.sh BIN_DIR [RUNS]
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
    # The bus daemon's complaint that it may not raise its file limit says nothing about the figures.
    dbus-run-session -- "$0" "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
    exit $?
fi
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

failed=0
# measure NAME PROGRAM: appends "map-ms first-frame-ms kilobytes" to $work/NAME
measure() {
    local tries
    for tries in 1 2 3; do
        if "$bin_dir/map_timer" "$2" >>"$work/$1" 2>>"$work/failures"; then
            return
        fi
        failed=$((failed + 1))
    done
    echo "startup_bench: $2 failed to start three times running:" >&2
    cat "$work/failures" >&2
    exit 1
}

programs=(tessaldo bare_window caption_window)
for i in $(seq "$runs"); do
    # A different order every run, so no program always follows the same one.
    for k in 0 1 2; do
        name=${programs[$(( (i + k) % 3 ))]}
        measure "$name" "$bin_dir/$name"
    done
done

# median COLUMN FILE and the spread as half the distance between the quartiles
stats() {
    cut -d' ' -f"$1" "$2" | sort -n | awk '{ v[NR] = $1 } END {
        median = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        q1 = v[int((NR + 3) / 4)]; q3 = v[int((3 * NR + 1) / 4)]
        print median, (q3 - q1) / 2 }'
}
read -r app_ms app_ms_spread < <(stats 1 "$work/tessaldo")
read -r bare_ms bare_ms_spread < <(stats 1 "$work/bare_window")
read -r caption_ms caption_ms_spread < <(stats 1 "$work/caption_window")
read -r app_frame app_frame_spread < <(stats 2 "$work/tessaldo")
read -r bare_frame bare_frame_spread < <(stats 2 "$work/bare_window")
read -r caption_frame caption_frame_spread < <(stats 2 "$work/caption_window")
read -r app_kb app_kb_spread < <(stats 3 "$work/tessaldo")
read -r bare_kb _ < <(stats 3 "$work/bare_window")
read -r caption_kb _ < <(stats 3 "$work/caption_window")
awk -v a="$app_ms" -v as="$app_ms_spread" -v b="$bare_ms" -v n="$runs" \
    'BEGIN { printf "start-up to window mapped: %g ± %g ms (%.2f x bare Qt window, %d runs each)\n", a, as, a / b, n }'
awk -v a="$app_ms" -v as="$app_ms_spread" -v c="$caption_ms" \
    'BEGIN { printf "start-up against the caption window: %g ± %g ms (%.2f x caption window)\n", a, as, a / c }'
awk -v a="$app_frame" -v as="$app_frame_spread" -v c="$caption_frame" \
    'BEGIN { printf "start-up to first frame: %g ± %g ms (%.2f x caption window)\n", a, as, a / c }'
awk -v a="$app_kb" -v as="$app_kb_spread" -v b="$bare_kb" \
    'BEGIN { printf "peak resident memory: %.1f ± %.1f MiB (%.2f x bare Qt window)\n", a / 1024, as / 1024, a / b }'
awk -v a="$app_kb" -v as="$app_kb_spread" -v c="$caption_kb" \
    'BEGIN { printf "memory against the caption window: %.1f ± %.1f MiB (%.2f x caption window)\n", a / 1024, as / 1024, a / c }'
echo "(bare Qt window: $bare_ms ± $bare_ms_spread ms to the map, $bare_frame ± $bare_frame_spread to the first frame, $(awk -v b="$bare_kb" 'BEGIN { printf "%.1f", b / 1024 }') MiB;" \
    "caption window: $caption_ms ± $caption_ms_spread ms, $caption_frame ± $caption_frame_spread, $(awk -v c="$caption_kb" 'BEGIN { printf "%.1f", c / 1024 }') MiB;" \
    "failed starts tried again: $failed)"
