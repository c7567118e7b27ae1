#!/usr/bin/env bash
# Plays a person's whole session with the installed program under a real X server and checks
# what they see and what they keep on disk. Usage: run.sh BUILD_FOLDER
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$here/x_session.sh"

scratch=$(mktemp -d)
trap 'stop_x_session; kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
export HOME="$scratch/home"
mkdir -p "$HOME"
folder="$HOME/Vantrelo"
cmake --install "$build" --prefix "$prefix" >/dev/null
launcher="$prefix/bin/vantrelo"
program="$prefix/lib/vantrelo/vantrelo"

# start_program [COMMAND]: starts the calculator (by default from its menu entry's launcher)
# and waits for its window; sets PROGRAM_PID and MAIN.
start_program() {
    "${1:-$launcher}" >>"$scratch/program.log" 2>&1 &
    PROGRAM_PID=$!
    MAIN=$(wait_for_window "Vantrelo 1.10")
}

expect_exit() {
    local pid=${2:-$PROGRAM_PID} status=0
    wait "$pid" || status=$?
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1: $(cat "$scratch/program.log")"
}

settings_for() { printf 'Korvane Init File\r\nOriginal-Scale:\r\n%s\r\nModel-Scale:\r\n%s\r\n' "$1" "$2"; }
expect_settings() {
    [ "$(od -An -c "$folder/Assets/Korvane.ini")" = "$(settings_for "$1" "$2" | od -An -c)" ] ||
        fail "settings file: $(od -c "$folder/Assets/Korvane.ini")"
}

log_header=$'Original-Ma\xc3\x9fstab\tModell-Ma\xc3\x9fstab\tOriginal-Ma\xc3\x9f\tModell-Ma\xc3\x9f\r'

# Checks a log's bytes: the header, then one row per argument (without its CR LF).
expect_log() {
    local file=$1
    shift
    local expected="$log_header"
    for row in "$@"; do expected+=$'\n'"$row"$'\r'; done
    [ "$(od -An -c "$file")" = "$(printf '%s\n' "$expected" | od -An -c)" ] ||
        fail "log $file: $(od -c "$file")"
}

start_log() {
    click_widget "$MAIN" logToggleButton
    wait_for_window "Hinweis" >/dev/null
    press Return
    wait_for "the notice to close" window_gone "Hinweis"
    wait_for "the main window to be active again" window_is_active "$MAIN"
}

convert_to_model() {
    set_field "$MAIN" originalSizeField "$1"
    press Return
    expect_field "$MAIN" modelSizeField "$2"
}

check_install() {
    desktop-file-validate "$prefix/share/applications/vantrelo.desktop" ||
        fail "the menu entry does not validate"
    for size in 16 24 32 48 256; do
        [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/vantrelo.png" ] || fail "no ${size} px icon"
    done
    [ "$(ls "$prefix/share/vantrelo/Assets" | wc -l)" -eq 12 ] || fail "pictures not installed"
    pass "installed: program, launcher, twelve pictures, icons at five sizes, a valid menu entry"
}

check_no_display() {
    local status=0 message
    mkdir -p "$scratch/empty" && cd "$scratch/empty"
    message=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" 2>&1) || status=$?
    cd "$scratch"
    [ "$status" -eq 1 ] || fail "without a display the exit status is $status"
    [ "$message" = "vantrelo: cannot open a window: no display available" ] ||
        fail "without a display it said: $message"
    [ -z "$(ls -A "$scratch/empty")" ] || fail "something was written without a window"
    pass "no display: one line on stderr, exit status 1, nothing written"
}

check_first_conversion_and_copy() {
    start_program
    [ -d "$folder/Assets" ] && [ "$(ls "$folder/Assets" | wc -l)" -eq 12 ] ||
        fail "the launcher did not lay out ~/Vantrelo"
    [ "$(inner_size "$MAIN")" = "205x120" ] || fail "inner size is $(inner_size "$MAIN")"
    click_widget "$MAIN" originalSizeField
    type_text 250
    press Return
    expect_field "$MAIN" originalScaleField "1,0"
    click_widget "$MAIN" modelSizeField
    press ctrl+c
    wait_for "the clipboard to hold 2,87" clipboard_is "2,87"
    pass "1: from the menu's launcher, 250 and Return give 2,87, and Ctrl+C copies it"
}

check_paste_and_convert_back() {
    set_clipboard "12,5"
    click_widget "$MAIN" pasteModelButton
    expect_field "$MAIN" modelSizeField "12,50"
    click_widget "$MAIN" toOriginalButton
    expect_field "$MAIN" originalSizeField "1087,50"
    click_widget "$MAIN" originalSizeField
    press Escape ctrl+c
    wait_for "the cleared field to copy as 0,00" clipboard_is "0,00"
    pass "2: 12,5 pasted from the X clipboard converts back to 1087,50; Escape clears"
}

check_unanswering_clipboard_owner() {
    # A program that owns the clipboard but has stopped answering: the paste gives up after
    # Qt's clipboard timeout and counts as no text, and the calculator goes on.
    printf '42' | xclip -i -selection clipboard -quiet &
    local owner=$!
    wait_for "xclip to own the clipboard" clipboard_is "42"
    kill -STOP "$owner"
    click_widget "$MAIN" pasteOriginalButton
    expect_field "$MAIN" originalSizeField "0,00"
    kill -CONT "$owner"
    kill "$owner" 2>/dev/null || true
    pass "a clipboard owner that does not answer pastes as 0,00 and blocks nothing for long"
}

check_log() {
    rm -f "$folder"/Liste_*.csv
    start_log
    convert_to_model 100 "1,15"
    convert_to_model 1234567 "14190,42"
    convert_to_model 87 "1,00"
    click_widget "$MAIN" logToggleButton
    local logs=("$folder"/Liste_*.csv)
    [ "${#logs[@]}" -eq 1 ] || fail "expected one log, found ${logs[*]}"
    expect_log "${logs[0]}" $'1,0\t87,0\t100,00\t1,15' $'1,0\t87,0\t1234567,00\t14190,42' \
        $'1,0\t87,0\t87,00\t1,00'
    pass "3: a log of three conversions, byte for byte"
}

check_ratio_survives_restart() {
    set_field "$MAIN" modelScaleField 160
    close_window "$MAIN"
    expect_exit 0
    expect_settings 1 160
    start_program
    expect_field "$MAIN" modelScaleField "160,0"
    pass "4: 1 : 160 is saved on close (exit status 0) and comes back at the next start"
}

check_help_window() {
    click_widget "$MAIN" helpButton
    local help
    help=$(wait_for_window "Hilfe")
    [ "$(inner_size "$help")" = "305x425" ] || fail "help window is $(inner_size "$help")"
    close_window "$help"
    wait_for "the help window to close" window_gone "Hilfe"
    wait_for "the main window to be active again" window_is_active "$MAIN"
    # The focus is on the help button again: the space bar presses it.
    press space
    help=$(wait_for_window "Hilfe")
    close_window "$help"
    wait_for "the help window to close" window_gone "Hilfe"
    convert_to_model 870 "5,44"
    pass "5: the help window opens at 305 x 425, closes, and gives the focus back to its button"
}

check_termination_keeps_everything() {
    rm -f "$folder"/Liste_*.csv
    start_log
    convert_to_model 320 "2,00"
    convert_to_model 16 "0,10"
    kill -TERM "$PROGRAM_PID"
    expect_exit 0
    expect_log "$folder"/Liste_*.csv $'1,0\t160,0\t320,00\t2,00' $'1,0\t160,0\t16,00\t0,10'
    expect_settings 1 160
    pass "SIGTERM with a log open: both rows are kept and the ratio saved"

    rm -f "$folder"/Liste_*.csv
    start_program
    set_field "$MAIN" originalScaleField 2
    click_widget "$MAIN" logToggleButton
    wait_for_window "Hinweis" >/dev/null
    kill -HUP "$PROGRAM_PID"
    expect_exit 0
    expect_log "$folder"/Liste_*.csv
    expect_settings 2 160
    pass "SIGHUP while the notice shows: the log keeps its header, the ratio 2 : 160 is saved"

    start_program
    set_field "$MAIN" originalScaleField 1
    click_widget "$MAIN" helpButton
    wait_for_window "Hilfe" >/dev/null
    kill -INT "$PROGRAM_PID"
    expect_exit 0
    expect_settings 1 160
    pass "SIGINT while the help window is open: the ratio typed before, 1 : 160, is saved"
}

check_no_pictures() {
    mkdir -p "$scratch/bare" && cd "$scratch/bare"
    start_program "$program"
    set_field "$MAIN" originalSizeField 87
    click_widget "$MAIN" toModelButton
    expect_field "$MAIN" modelSizeField "1,00"
    click_widget "$MAIN" modelSizeField
    press Escape ctrl+c
    wait_for "the cleared field to copy as 0,00" clipboard_is "0,00"
    close_window "$MAIN"
    expect_exit 0
    cd "$scratch"
    pass "6: without any picture every button and key still works"
}

two_main_windows() { [ "$(xdotool search --onlyvisible --name '^Vantrelo 1.10$' | wc -l)" -eq 2 ]; }

check_two_copies() {
    rm -f "$folder"/Liste_*.csv
    start_program
    local first=$PROGRAM_PID first_window=$MAIN
    start_log
    convert_to_model 174 "1,09"
    local first_log=("$folder"/Liste_*.csv)
    # The second copy's window has the same title; wait for a second one to be shown.
    "$launcher" >>"$scratch/program.log" 2>&1 &
    local second=$!
    wait_for "a second window" two_main_windows
    MAIN=$(xdotool search --onlyvisible --name '^Vantrelo 1.10$' | grep -v "^$first_window\$")
    wait_for "the second window to be active" window_is_active "$MAIN"
    start_log
    convert_to_model 87 "0,54"
    close_window "$MAIN"
    expect_exit 0 "$second"
    MAIN=$first_window
    xdotool windowactivate --sync "$MAIN"
    click_widget "$MAIN" logToggleButton
    close_window "$MAIN"
    expect_exit 0 "$first"
    expect_log "${first_log[0]}" $'1,0\t160,0\t174,00\t1,09'
    [ "$(ls "$folder"/Liste_*.csv | wc -l)" -eq 2 ] || fail "the second copy's log is missing"
    expect_settings 1 160
    pass "7: two copies at once keep their own logs, and the settings file stays valid"
}

cd "$scratch"
check_install
check_no_display
start_x_session
check_first_conversion_and_copy
check_paste_and_convert_back
check_unanswering_clipboard_owner
check_log
check_ratio_survives_restart
check_help_window
check_termination_keeps_everything
check_no_pictures
check_two_copies
echo "end-to-end: all checks passed"
