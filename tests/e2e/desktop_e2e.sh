#!/usr/bin/env bash
# Drives the real program in a real X server as a person would: clicks dots,
# Run and Copy, reads the clipboard, saves and opens through the real file
# dialog. Usage: desktop_e2e.sh BIN_DIR [SCREENSHOT_DIR]
set -euo pipefail

bin_dir=$(cd "$1" && pwd)
shots=${2:-}
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

wait_for() { # wait_for SECONDS COMMAND...: until the command succeeds
    local deadline=$((SECONDS + $1)); shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# --- a display of our own -------------------------------------------------
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# The main window's title, as an xdotool pattern: "Tessaldo" and the version,
# after the file it names ("smiley.Lcd - "), "*" while the work is not saved.
title="(^|- )Tessaldo $("$bin_dir/tessaldo-cli" --version | cut -d ' ' -f 2 | sed 's/\./\\./g')\\*?\$"

"$bin_dir/tessaldo" 2>"$work/tessaldo.log" &
app=$!
pids+=($app)
wait_for 15 xdotool search --onlyvisible --name "$title" || fail "the main window did not appear"
window=$(xdotool search --onlyvisible --name "$title" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")" # sets X, Y, WIDTH, HEIGHT
# The designed client area is 243 x 513, below the menu bar.
menu=$((HEIGHT - 513))
[ "$WIDTH" = 243 ] && [ "$menu" -ge 15 ] && [ "$menu" -le 40 ] \
    || fail "window is ${WIDTH}x${HEIGHT}, not 243 x 513 below a menu bar"
[ "$X" = $(((1024 - 243) / 2)) ] && [ "$Y" = $(((768 - HEIGHT) / 2)) ] || fail "window not centred: $X,$Y"
Y=$((Y + menu)) # places from here on are the client area's

# The server hands the program its input in order, so a step needs no pause
# after it, nor a wait for the pointer (mousemove --sync waits for ever when it
# is there already); only what the program sends back out is waited for.
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; }
# Cells are 13 px; the grid starts 13,20 inside the panel frame at 3,124.
click_cell() { click $((3 + 13 + 13 * $1 + 6)) $((124 + 20 + 13 * $2 + 6)); }
toolbar() { click $((40 * ($1 - 1) + 20)) 28; }
copy() { xclip -selection clipboard </dev/null >/dev/null 2>&1; click 120 470; } # emptied first: no earlier copy passes
column_type() { click 34 85; }
row_type() { click 34 104; }
key() { xdotool key --clearmodifiers "$@"; }
focused() { [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$1" ]; }

expect_same() { cmp -s "$1" "$2" || { od -c "$1" | head; od -c "$2" | head; fail "$3"; }; }
clipboard_holds() { xclip -o -selection clipboard 2>/dev/null | cmp -s - "$1"; }
expect_clipboard() { # expect_clipboard FILE MESSAGE: once Copy has put it there
    wait_for 10 clipboard_holds "$1" && return
    xclip -o -selection clipboard >"$work/clipboard" 2>/dev/null || true
    expect_same "$work/clipboard" "$1" "$2"
}

# The picture: in the column layout dots 0, 9, 10 and 255, then dot 17 in the row layout.
click_cell 0 0
click_cell 0 9
click_cell 0 10
click_cell 15 15
row_type
click_cell 1 1
toolbar 4 # Run
copy

# The same picture written by hand as a drawing file gives the expected code.
dots=$(printf '1%.0s' $(seq 256) | sed 's/./0/1; s/./0/10; s/./0/11; s/./0/18; s/./0/256')
printf ' 1\r\n%s\r\n' "$dots" >"$work/expected.Lcd"
"$bin_dir/tessaldo-cli" code "$work/expected.Lcd" | head -c -2 >"$work/expected.code"
expect_clipboard "$work/expected.code" "the clipboard does not hold the generated code"

save_or_open() { # save_or_open BUTTON TITLE PATH
    toolbar "$1"
    wait_for 10 focused "$2" || fail "the dialog '$2' did not take the keyboard"
    xdotool type --delay 20 "$3"
    xdotool key Return
    wait_for 10 sh -c "! xdotool search --name '^$2\$'" || fail "the dialog '$2' did not close"
}

save_or_open 3 "Save Graphic LCD File" "$work/saved"
wait_for 10 test -f "$work/saved" || fail "Save did not write the file under the name typed"
expect_same "$work/saved" "$work/expected.Lcd" "the saved file differs from the drawing"

toolbar 1 # New
save_or_open 2 "Open Graphic LCD File" "$work/saved"
toolbar 4 # Run
copy
expect_clipboard "$work/expected.code" "the reopened picture gives other code"

# The history: a mistaken New taken back, a dot undone and redone, a shift by
# key, and a type switch undone; the code is the edited file's.
toolbar 1 # New
key ctrl+z
click_cell 2 0 # dot 2 in the row layout
key ctrl+z
key ctrl+y
key shift+Right # the grid has the focus from the click
column_type
key ctrl+z
toolbar 4 # Run
copy
dots=$(printf '%s' "$dots" | sed 's/./0/3')
printf ' 1\r\n%s\r\n' "$dots" >"$work/edited.Lcd"
"$bin_dir/tessaldo-cli" edit "$work/edited.Lcd" - shift-right | "$bin_dir/tessaldo-cli" code - | head -c -2 >"$work/edited.code"
expect_clipboard "$work/edited.code" "undo, redo and the shift gave other code"

# Exit asks before the edited picture is lost; Escape answers Cancel and the window stays.
windows() { [ "$(xdotool search --name "$title" | wc -l)" -eq "$1" ]; }
toolbar 5 # Exit
wait_for 10 windows 2 || fail "Exit did not ask about the unsaved picture"
xdotool key Escape
wait_for 10 windows 1 || fail "Cancel did not close the question"
kill -0 "$app" || fail "Cancel ended the program"
save_or_open 3 "Save Graphic LCD File" "$work/history.Lcd"

if [ -n "$shots" ]; then
    save_or_open 2 "Open Graphic LCD File" "$(dirname "$0")/../../samples/smiley.Lcd"
    toolbar 4 # Run
    xdotool mousemove 0 0
    sleep 0.3
    import -window "$window" "$shots/main-window.png"
    toolbar 6 # About
    wait_for 10 xdotool search --name '^frmAbout$' --onlyvisible || true
    sleep 0.5
    import -window root -crop 353x467+$((X + (243 - 353) / 2))+$((Y + (513 - 467) / 2)) "$shots/about-window.png"
    click $(((243 - 353) / 2 + 4170 / 15 + 30)) $(((513 - 467) / 2 + 6450 / 15 + 15)) # 닫기
fi

exit_program() { # exit_program PID LOG
    toolbar 5 # Exit
    wait_for 10 sh -c "! kill -0 $1" || fail "Exit did not end the program"
    wait "$1" || fail "the program ended with status $?"
    grep -v -e XDG_RUNTIME_DIR -e '^$' "$2" && fail "the program printed warnings"
    return 0
}
exit_program "$app" "$work/tessaldo.log"

# A drawing named on the command line opens at start, as a double click would open it.
"$bin_dir/tessaldo" "$work/saved" 2>"$work/second.log" &
app=$!
pids+=($app)
wait_for 15 xdotool search --onlyvisible --name "$title" || fail "the window did not appear for a file"
toolbar 4 # Run
copy
expect_clipboard "$work/expected.code" "the file named at start was not opened"
exit_program "$app" "$work/second.log"

# A refused one is named in a warning over a blank window, which then works on.
printf ' 7\r\n' >"$work/bad.Lcd"
"$bin_dir/tessaldo" "$work/bad.Lcd" 2>"$work/third.log" &
app=$!
pids+=($app)
wait_for 15 windows 2 || fail "no warning for a refused file named at start"
xdotool key Return
wait_for 10 windows 1 || fail "the warning did not close"

# A dot drawn there and Exit: Enter answers Save, and the program ends once the picture is saved.
click_cell 0 0
toolbar 5 # Exit
wait_for 10 windows 2 || fail "Exit did not ask about the unsaved picture"
xdotool key Return
wait_for 10 focused "Save Graphic LCD File" || fail "Save did not open the save dialog"
xdotool type --delay 20 "$work/on-exit.Lcd"
xdotool key Return
wait_for 10 sh -c "! kill -0 $app" || fail "the program did not end after saving"
wait "$app" || fail "the program ended with status $?"
printf ' 0\r\n0%s\r\n' "$(printf '1%.0s' $(seq 255))" >"$work/on-exit.expected"
expect_same "$work/on-exit.Lcd" "$work/on-exit.expected" "Save on Exit wrote another picture"
grep -v -e XDG_RUNTIME_DIR -e '^$' "$work/third.log" && fail "the program printed warnings"
echo "1 passed, 0 failed"
