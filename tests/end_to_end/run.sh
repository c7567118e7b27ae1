#!/usr/bin/env bash
# Plays a person's session with the real program under a real X server and checks what they
# see and what stays on disk. Usage: run.sh PROGRAM ASSETS_FOLDER
set -euo pipefail
program=$(realpath "$1")
assets=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
source "$here/x_session.sh"

work=$(mktemp -d)
trap 'stop_x_session; rm -rf "$work"' EXIT
mkdir -p "$work/Assets"
cp "$assets"/*.bmp "$work/Assets/"
cd "$work"

start_program() {
    "$program" >"$work/program.log" 2>&1 &
    PROGRAM_PID=$!
    MAIN=$(wait_for_window "Vantrelo 1.10")
}

# Waits for the program to end and checks its exit status.
expect_exit() {
    local status=0
    wait "$PROGRAM_PID" || status=$?
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1: $(cat "$work/program.log")"
}

settings_for() { printf 'Korvane Init File\r\nOriginal-Scale:\r\n%s\r\nModel-Scale:\r\n%s\r\n' "$1" "$2"; }

check_no_display() {
    local status=0 message
    message=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" 2>&1) || status=$?
    [ "$status" -eq 1 ] || fail "without a display the exit status is $status"
    [ "$message" = "vantrelo: cannot open a window: no display available" ] ||
        fail "without a display it said: $message"
    [ ! -e Assets/Korvane.ini ] || fail "a settings file was written without a window"
    pass "no display: one line, exit status 1, nothing written"
}

check_window_and_conversion() {
    start_program
    [ "$(inner_size "$MAIN")" = "205x120" ] || fail "inner size is $(inner_size "$MAIN")"
    pass "the window 'Vantrelo 1.10' opens with a 205 x 120 inner area"
    click_widget "$MAIN" originalSizeField
    type_text 250
    press Return
    expect_field "$MAIN" modelSizeField "2,87"
    expect_field "$MAIN" originalScaleField "1,0"
    pass "250 and Return give 2,87 at 1 : 87"
}

check_clipboard() {
    click_widget "$MAIN" modelSizeField
    press ctrl+c
    wait_for "the clipboard to hold 2,87" clipboard_is "2,87"
    pass "Ctrl+C puts 2,87 on the X clipboard"
    set_clipboard "12,5"
    click_widget "$MAIN" pasteOriginalButton
    expect_field "$MAIN" originalSizeField "12,50"
    click_widget "$MAIN" toModelButton
    expect_field "$MAIN" modelSizeField "0,14"
    pass "12,5 pasted from the X clipboard converts to 0,14"
    click_widget "$MAIN" originalSizeField
    press Escape ctrl+c
    wait_for "the cleared field to copy as 0,00" clipboard_is "0,00"
    pass "Escape clears the field and keeps the focus there"
}

check_help_window() {
    click_widget "$MAIN" helpButton
    local help
    help=$(wait_for_window "Hilfe")
    [ "$(inner_size "$help")" = "305x425" ] || fail "help window is $(inner_size "$help")"
    close_window "$help"
    wait_for "the help window to close" window_gone "Hilfe"
    wait_for "the main window to be active again" window_is_active "$MAIN"
    press Return  # the focus is on the help button: nothing happens
    set_field "$MAIN" originalSizeField 870
    press Return
    expect_field "$MAIN" modelSizeField "10,00"
    pass "the help window opens at 305 x 425, closes, and the calculator works again"
}

check_ratio_survives_restart() {
    set_field "$MAIN" modelScaleField 160
    close_window "$MAIN"
    expect_exit 0
    [ "$(cat Assets/Korvane.ini)" = "$(settings_for 1 160)" ] || fail "settings: $(od -c Assets/Korvane.ini)"
    pass "closing the window saves 1 : 160, exit status 0"
    start_program
    expect_field "$MAIN" modelScaleField "160,0"
    pass "the next start shows 1 : 160 again"
}

check_log_and_termination() {
    click_widget "$MAIN" logToggleButton
    wait_for_window "Hinweis" >/dev/null
    press Return
    wait_for "the notice to close" window_gone "Hinweis"
    set_field "$MAIN" originalSizeField 320
    press Return
    expect_field "$MAIN" modelSizeField "2,00"
    set_field "$MAIN" modelSizeField 5
    press Return
    expect_field "$MAIN" originalSizeField "800,00"
    local log
    log=$(ls Liste_*.csv)
    kill -TERM "$PROGRAM_PID"
    expect_exit 0
    local expected
    expected=$(printf 'Original-Ma\xc3\x9fstab\tModell-Ma\xc3\x9fstab\tOriginal-Ma\xc3\x9f\tModell-Ma\xc3\x9f\r\n1,0\t160,0\t320,00\t2,00\r\n1,0\t160,0\t800,00\t5,00\r\n')
    [ "$(cat "$log")" = "$expected" ] || fail "log $log: $(od -c "$log")"
    [ "$(cat Assets/Korvane.ini)" = "$(settings_for 1 160)" ] || fail "settings after SIGTERM"
    pass "a log of two rows, and SIGTERM still closes it and saves the ratio"
}

check_no_pictures() {
    rm -rf Assets
    start_program
    set_field "$MAIN" originalSizeField 87
    click_widget "$MAIN" toModelButton
    expect_field "$MAIN" modelSizeField "1,00"
    close_window "$MAIN"
    expect_exit 0
    pass "without any picture every button still works"
}

check_no_display
start_x_session
check_window_and_conversion
check_clipboard
check_help_window
check_ratio_survives_restart
check_log_and_termination
check_no_pictures
echo "end-to-end: all checks passed"
