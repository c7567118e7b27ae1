# Shared by the end-to-end test and the screenshot tool: a private X server with a small
# window manager, and the few things a person does with the calculator, done with xdotool.
# Every wait is for a condition, bounded so that a broken program fails the test instead of
# hanging it.

E2E_TIMEOUT=${E2E_TIMEOUT:-20}

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

start_x_session() {
    local display_pipe
    display_pipe=$(mktemp -u)
    mkfifo "$display_pipe"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_pipe" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t "$E2E_TIMEOUT" display_number <"$display_pipe" || fail "Xvfb did not start"
    rm -f "$display_pipe"
    export DISPLAY=":$display_number"
    # Openbox runs its startup command once it manages windows; a window mapped before that
    # can be missed.
    WM_READY=$(mktemp -u)
    openbox --startup "touch $WM_READY" >/dev/null 2>&1 &
    WM_PID=$!
    wait_for "the window manager" test -e "$WM_READY"
    rm -f "$WM_READY"
}

stop_x_session() {
    kill "$WM_PID" "$XVFB_PID" 2>/dev/null || true
    wait "$WM_PID" "$XVFB_PID" 2>/dev/null || true
}

# wait_for DESCRIPTION COMMAND...: runs the command until it succeeds, for E2E_TIMEOUT seconds.
wait_for() {
    local what=$1
    shift
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}

window_id() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(window_id "$1")" ]; }
window_gone() { [ -z "$(window_id "$1")" ]; }

# Waits until the window with this title is shown and active, and prints its id.
wait_for_window() {
    wait_for "window '$1'" window_shown "$1"
    local id
    id=$(window_id "$1")
    wait_for "window '$1' to be active" window_is_active "$id"
    echo "$id"
}

window_is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

inner_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# click WINDOW X Y: a left click at a point of the window's inner area.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

press() { xdotool key --clearmodifiers "$@"; }
type_text() { xdotool type --delay 20 "$1"; }

# Asks the window manager to close the window, as its close box does.
close_window() { wmctrl -i -c "$1"; }

clipboard_text() { xclip -o -selection clipboard 2>/dev/null; }
primary_text() { xclip -o -selection primary 2>/dev/null; }
set_clipboard() { printf '%s' "$1" | xclip -i -selection clipboard; }

clipboard_is() { [ "$(clipboard_text)" = "$1" ]; }
primary_is() { [ "$(primary_text)" = "$1" ]; }

# Widget centres in the main window's inner area.
declare -A AT=(
    [logToggleButton]="12 12" [helpButton]="192 12"
    [originalScaleField]="70 20" [modelScaleField]="140 20"
    [originalSizeField]="47 70" [modelSizeField]="157 70"
    [copyOriginalButton]="22 92" [pasteOriginalButton]="47 92" [clearOriginalButton]="72 92"
    [toOriginalButton]="102 57" [toModelButton]="102 82"
    [copyModelButton]="132 92" [pasteModelButton]="157 92" [clearModelButton]="182 92"
)

click_widget() { click "$1" ${AT[$2]}; }

# Reads a field as a person can: select its whole text, which X offers as the PRIMARY selection.
expect_field() {
    local window=$1 field=$2 expected=$3
    click_widget "$window" "$field"
    press ctrl+a
    wait_for "$field to read '$expected' (it reads '$(primary_text)')" primary_is "$expected"
}

# Replaces a field's text by typing.
set_field() {
    click_widget "$1" "$2"
    press ctrl+a BackSpace
    type_text "$3"
}
