#!/usr/bin/env bash
# Exports 1,000 generated 96 x 92 pictures to ASM 2bpp with stipple, (a) one call per file
# and (b) one call for all, beside ImageMagick turning the same pictures, as BMP, into XBM
# C source with one convert per file; then the start-up time of stipple --version against
# /bin/true. Prints the times and the targets; measures, asserts nothing.
#
#   bench/cli-batch.sh [path/to/stipple]     (default: build/bench/stipple)
set -euo pipefail
cd "$(dirname "$0")/.."
stipple=$(realpath "${1:-build/bench/stipple}")
count=${PICTURES:-1000}
[ -x "$stipple" ] || { echo "cli-batch: no stipple at $stipple; build it first" >&2; exit 2; }
command -v convert >/dev/null || { echo "cli-batch: ImageMagick's convert is missing" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" "$count" <<'PY'
import random, struct, sys
folder, count = sys.argv[1], int(sys.argv[2])
W, H = 96, 92
grays = [(0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)]
for n in range(count):
    rnd = random.Random(n)
    cells = [rnd.randrange(5) for _ in range(W * H)]
    body = struct.pack("<ii", 1, 6) + b"sprite" + struct.pack("<ii", W, H)
    body += b"".join(struct.pack("<i", c) for c in cells)
    with open(f"{folder}/p{n:04}.stw", "wb") as f:
        f.write(body.replace(b"\n", b"\r\n"))
    rows = []
    for y in reversed(range(H)):
        rows.append(b"".join(bytes(reversed(grays[min(cells[y * W + x], 3)])) for x in range(W)))
    data = b"".join(rows)
    header = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
    header += struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(f"{folder}/p{n:04}.bmp", "wb") as f:
        f.write(header + data)
PY

# The shell's own clock: starting `date` would take longer than some of what is measured.
seconds() { echo "$EPOCHREALTIME"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

start=$(seconds)
for f in "$work"/*.stw; do "$stipple" export --format asm2 -o "${f%.stw}.s" "$f"; done
each=$(elapsed "$start" "$(seconds)")

# The best of five runs of the one call.
inputs=("$work"/*.stw)
batch=
for _ in 1 2 3 4 5; do
    start=$EPOCHREALTIME
    "$stipple" export --format asm2 "${inputs[@]}" >"$work/all.s"
    took=$(elapsed "$start" "$EPOCHREALTIME")
    batch=$(awk -v a="$took" -v b="${batch:-$took}" 'BEGIN { print (a < b ? a : b) }')
done

start=$(seconds)
for f in "$work"/*.bmp; do convert "$f" "${f%.bmp}.xbm"; done
magick=$(elapsed "$start" "$(seconds)")

runs=500
start=$(seconds)
for _ in $(seq $runs); do "$stipple" --version >/dev/null; done
version=$(elapsed "$start" "$(seconds)")
start=$(seconds)
for _ in $(seq $runs); do /bin/true; done
truth=$(elapsed "$start" "$(seconds)")

awk -v n="$count" -v each="$each" -v batch="$batch" -v magick="$magick" \
    -v version="$version" -v truth="$truth" -v runs="$runs" 'BEGIN {
    printf "%d pictures of 96 x 92 to ASM 2bpp\n", n
    printf "  (a) one stipple per file:   %7.3f s, %6.2f ms a file (%.1f x faster than convert; target 10 x)\n", each, 1000 * each / n, magick / each
    printf "  (b) one stipple for all:    %7.3f s, %8.0f pictures a second (target 20,000)\n", batch, n / batch
    printf "  ImageMagick, one convert per file to XBM: %7.3f s, %6.2f ms a file\n", magick, 1000 * magick / n
    printf "start-up: stipple --version %.2f ms, /bin/true %.2f ms (%d runs each)\n", 1000 * version / runs, 1000 * truth / runs, runs
}'
