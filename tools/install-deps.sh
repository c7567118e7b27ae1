#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when they are missing,
# and the German locale that the number-text tests switch to. Safe to run again. Packages named
# as arguments are installed too (the benchmarks name theirs).
set -euo pipefail

packages=(
    build-essential cmake qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev
    qt6-translations-l10n
    xvfb xauth xdotool xclip x11-utils wmctrl openbox imagemagick
    locales desktop-file-utils dpkg-dev
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Generating the de_DE.UTF-8 locale"
    as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
fi
