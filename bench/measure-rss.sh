#!/usr/bin/env bash
# Starts the program, waits until its main window is up and prints its resident memory
# (VmRSS), then does the same with a bare Qt Widgets window of the same size and prints the
# difference. Fails when the program's memory is RSS_LIMIT_MB (80) or more. Runs on a
# private Xvfb display when Xvfb is installed, else on Qt's offscreen platform.
#
#   bench/measure-rss.sh [path/to/stippleworkshop [path/to/bare_window]]
#   (defaults: build/bench/stippleworkshop and build/bench/bench/bare_window)
set -euo pipefail
cd "$(dirname "$0")/.."
binary=${1:-build/bench/stippleworkshop}
bare=${2:-build/bench/bench/bare_window}
limit_mb=${RSS_LIMIT_MB:-80}
[ -x "$binary" ] || {
    echo "measure-rss: no program at $binary; build it first" >&2
    exit 2
}

pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

if command -v Xvfb >/dev/null; then
    displayFile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayFile" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 50); do
        [ -s "$displayFile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(cat "$displayFile")"
    rm -f "$displayFile"
    export QT_QPA_PLATFORM=xcb
    platform="Xvfb $DISPLAY"
else
    export QT_QPA_PLATFORM=offscreen
    platform="offscreen"
fi

# Resident memory in kB of a program started here, once its window "$2" is up.
residentAfterStart() {
    "$1" &
    local app=$!
    pids=("$app" "${pids[@]}")
    # The window is up when the window system knows it; without xdotool, give it time.
    if [ "$QT_QPA_PLATFORM" = xcb ] && command -v xdotool >/dev/null; then
        for _ in $(seq 100); do
            xdotool search --name "$2" >/dev/null 2>&1 && break
            sleep 0.1
        done
    fi
    sleep "${RSS_SETTLE_SECONDS:-2}"
    awk '/^VmRSS:/ { print $2 }' "/proc/$app/status"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
}
megabytes() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }

rss_kb=$(residentAfterStart "$binary" "Vexlan Tarn Stippleworkshop")
echo "resident memory after start ($platform): $(megabytes "$rss_kb") MB (limit $limit_mb MB)"
if [ -x "$bare" ]; then
    bare_kb=$(residentAfterStart "$bare" "Bare window")
    echo "bare Qt Widgets window of the same size: $(megabytes "$bare_kb") MB;" \
        "the editor's own: $(megabytes $((rss_kb - bare_kb))) MB"
fi
awk -v kb="$rss_kb" -v limit="$limit_mb" 'BEGIN { exit !(kb < limit * 1024) }'
