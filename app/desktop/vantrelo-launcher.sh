#!/bin/sh
# Starts the calculator from the menu. The program keeps its ratio and its logs in its current
# directory, so it runs in a folder of the user's own, ~/Vantrelo, which holds the logs they
# want to find. The pictures are copied in once, and never over ones the user has replaced.
set -eu
here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")
folder="$HOME/Vantrelo"
mkdir -p "$folder/Assets"
for picture in "$prefix/share/vantrelo/Assets/"*.bmp; do
    [ -e "$folder/Assets/$(basename "$picture")" ] || cp "$picture" "$folder/Assets/"
done
cd "$folder"
exec "$prefix/lib/vantrelo/vantrelo"
