#!/usr/bin/env bash
# Runs every benchmark of the calculator on this machine and writes the results, with the
# machine they came from, as Markdown. Usage: run.sh BUILD_FOLDER OUTPUT_FILE
# STARTUP_RUNS and CONVERSIONS set the sample sizes.
set -euo pipefail
build=$(realpath "$1")
output=$2
here=$(dirname "$(realpath "$0")")
source=$(dirname "$here")
source "$source/tests/end_to_end/x_session.sh"

startup_runs=${STARTUP_RUNS:-30}
conversions=${CONVERSIONS:-100}

scratch=$(mktemp -d)
trap 'if [ -n "${XVFB_PID:-}" ]; then stop_x_session; fi; rm -rf "$scratch"' EXIT

# Each program runs as a person runs it: in a folder of its own beside a copy of its pictures.
new_folder() {
    local folder="$scratch/$1"
    mkdir -p "$folder/Assets"
    cp "$source"/Assets/*.bmp "$folder/Assets/"
    echo "$folder"
}

# The system calls between the two markers of one operation in a trace.
calls_of() {
    awk -v op="$1" '
        index($0, "vantrelo-bench: begin " op) { inside = 1; next }
        index($0, "vantrelo-bench: end " op) { inside = 0 }
        inside { sub(/^[0-9]+ +/, ""); print }' "$2" | sed "s|$scratch/||g"
}

section() { printf '\n## %s\n\n' "$1"; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "bench: number texts" >&2
numbers=$("$build/bench/number_text_bench" --benchmark_min_time=0.05)

echo "bench: files" >&2
folder=$(new_folder files)
(cd "$folder" && strace -f -y -qq -o "$scratch/files.trace" "$build/bench/file_writes_bench" \
    -platform offscreen 2>"$scratch/files.log") || fail "file_writes_bench: $(cat "$scratch/files.log")"
settings_calls=$(calls_of SaveSettings "$scratch/files.trace")
row_calls=$(calls_of AppendLogRow "$scratch/files.trace")
settings_writes=$(grep -c '^write(' <<<"$settings_calls" || true)
row_writes=$(grep -c '^write(' <<<"$row_calls" || true)

start_x_session
echo "bench: conversions" >&2
folder=$(new_folder conversion)
conversion=$(cd "$folder" && QT_QPA_PLATFORM=xcb "$build/bench/conversion_bench" "$conversions")

echo "bench: start-up ($startup_runs runs each)" >&2
folder=$(new_folder startup)
startup=$(cd "$folder" && QT_QPA_PLATFORM=xcb "$build/bench/startup_bench" "$startup_runs" \
    "vantrelo=$build/app/vantrelo" "bare Qt window=$build/bench/bare_window")

load_after=$(cut -d' ' -f1-3 /proc/loadavg)
qt_version=$(pkg-config --modversion Qt6Core 2>/dev/null || echo 6)
{
    echo "# Performance"
    echo
    echo "Written by \`make bench\` (which runs \`bench/run.sh\`) on $(date -u '+%Y-%m-%d %H:%M UTC')."
    echo "Machine: $(nproc) cores ($(lscpu | sed -n 's/^Model name: *//p' | head -n 1)), Linux $(uname -r);"
    echo "Qt $qt_version, $(g++ --version | head -n 1), build type"
    echo "$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")."
    echo "Load average (1, 5, 15 min) before the run: $load_before; after it: $load_after."
    echo "The times are this machine's and wander with its load: compare the programs measured in"
    echo "one run with each other, not with another run's figures."

    section "Start-up to the first painted window"
    cat "$here/notes/startup.md"
    echo
    echo "$startup"

    section "One conversion"
    cat "$here/notes/conversion.md"
    echo
    echo "$conversion"

    section "Number texts"
    cat "$here/notes/number_text.md"
    echo
    echo "$numbers"

    section "Files: the system calls of one SaveSettings and of one log row"
    cat "$here/notes/files.md"
    echo
    echo "One \`SaveSettings\`: **$settings_writes** write(2) call(s) (target 1). All its system calls:"
    echo
    echo '```'
    echo "$settings_calls"
    echo '```'
    echo
    echo "One log row (\`AppendLogRow\` with a log open): **$row_writes** write(2) call(s) (target 1):"
    echo
    echo '```'
    echo "$row_calls"
    echo '```'

    if [ -f "$here/notes/findings.md" ]; then
        section "What was found"
        cat "$here/notes/findings.md"
    fi
} >"$output"
echo "bench: wrote $output" >&2
