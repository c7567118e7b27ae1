#!/usr/bin/env bash
# Takes the README's screenshots of the real program under Xvfb: the main window after a
# conversion, and the help window. Usage: tools/take-screenshots.sh [PROGRAM] (after `make`).
set -euo pipefail
root=$(dirname "$(realpath "$0")")/..
program=$(realpath "${1:-$root/build/app/vantrelo}")
source "$root/tests/end_to_end/x_session.sh"

work=$(mktemp -d)
trap 'stop_x_session; rm -rf "$work"' EXIT
mkdir -p "$work/Assets"
cp "$root"/Assets/*.bmp "$work/Assets/"
cd "$work"
start_x_session

# Grabs a window with its frame, as a person sees it.
shoot() {
    local frame
    frame=$(xwininfo -id "$1" -frame | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
    local extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r left right top bottom <<<"$extents"
    read -r x y <<<"$frame"
    local size
    size=$(inner_size "$1")
    local width=$((${size%x*} + left + right)) height=$((${size#*x} + top + bottom))
    import -window root -crop "${width}x${height}+$((x - left))+$((y - top))" +repage "$2"
}

"$program" >/dev/null 2>&1 &
main=$(wait_for_window "Vantrelo 1.10")
click_widget "$main" originalSizeField
type_text 250
press Return
expect_field "$main" modelSizeField "2,87"
click_widget "$main" originalSizeField
shoot "$main" "$root/docs/main-window.png"
click_widget "$main" helpButton
help=$(wait_for_window "Hilfe")
shoot "$help" "$root/docs/help-window.png"
close_window "$help"
wait_for "the help window to close" window_gone "Hilfe"
close_window "$main"
echo "wrote docs/main-window.png and docs/help-window.png"
