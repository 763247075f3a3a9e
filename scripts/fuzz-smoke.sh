#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in build/fuzz and runs each one on its
# seeds for FUZZ_SECONDS (45) seconds, under four minutes for the five; fails on the first
# crash, leak or hang. When clang or libFuzzer is missing it says why and skips.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-45}
build=build/fuzz

skip() {
    echo "fuzz-smoke: skipped: $*"
    exit 0
}
command -v clang >/dev/null && command -v clang++ >/dev/null ||
    skip "clang is not installed (Debian package clang)"
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
    >"$probe/probe.cpp"
clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null ||
    skip "clang cannot link libFuzzer (Debian package libclang-rt-14-dev)"

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSTIPPLE_FUZZ=ON -DSTIPPLE_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_picture_file fuzz_set_file fuzz_bitmap_import \
    fuzz_text_import fuzz_png_import fuzz_make_seeds
"$build/fuzz/fuzz_make_seeds" "$build/seeds"

status=0
for target in picture set bitmap text png; do
    case $target in
        picture) exe=fuzz_picture_file ;;
        set) exe=fuzz_set_file ;;
        bitmap) exe=fuzz_bitmap_import ;;
        text) exe=fuzz_text_import ;;
        png) exe=fuzz_png_import ;;
    esac
    corpus=$build/corpus/$target
    log=$build/$target-smoke.log
    mkdir -p "$corpus" "$build/artifacts"
    echo "fuzz-smoke: $exe for ${seconds}s (log: $log)"
    # The bitmap target also starts from the conformance suite's files.
    seeds=("$build/seeds/$target")
    [ "$target" = bitmap ] && seeds+=(tests/data/bitmaps/g tests/data/bitmaps/q tests/data/bitmaps/b)
    if "$build/fuzz/$exe" "$corpus" "${seeds[@]}" -max_total_time="$seconds" \
        -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 >"$log" 2>&1; then
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' "$log" |
            sed 's/^/    /'
    else
        echo "fuzz-smoke: $exe FAILED; the input is in $build/artifacts/:"
        grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$log" | sed 's/^/    /' || true
        status=1
    fi
done
exit $status
