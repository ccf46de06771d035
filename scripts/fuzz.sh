#!/usr/bin/env bash
# Builds fuzz targets with clang and libFuzzer (in build-fuzz) and fuzzes them all at once,
# spread over the cores, each in fork mode for the given seconds (default 60). Prints one line
# per target and exits non-zero when any target crashed, hung or ran out of memory.
#
#   scripts/fuzz.sh [seconds per target] [target...]
#
# Without targets named, every target runs. QUELLARIS_FUZZ_JOBS sets the fuzzing processes per
# target (default: the cores shared out among the targets); QUELLARIS_BUILD_JOBS the build's.
#
# Each target's growing corpus stays in build-fuzz/fuzz/corpus/<target> (outside git) and grows
# from run to run. Every input that broke a target is minimised into
# fuzz/regressions/<target>/open/, where the test build replays it (expected to fail) until the
# reader is mended; then the input moves up into fuzz/regressions/<target>/ for good.
# A target that still has open regressions is fuzzed and reported, but its known breakage
# does not fail the run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
cores=$(nproc)
mapfile -t known < <(for f in fuzz/*.cpp; do basename "$f" .cpp; done)
targets=("${known[@]}")
if (($# > 0)); then
    targets=("$@")
    for target in "${targets[@]}"; do
        [[ -f "fuzz/$target.cpp" ]] || { echo "no fuzz target $target (there are: ${known[*]})" >&2; exit 2; }
    done
fi

./scripts/install-deps.sh
./scripts/install-deps.sh scripts/fuzz-packages.txt

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUELLARIS_FUZZ=ON \
    -DQUELLARIS_TESTS=OFF -DQUELLARIS_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "${QUELLARIS_BUILD_JOBS:-$cores}" --target fuzz_seed_corpora \
    "${targets[@]/#/fuzz_}"

jobs=${QUELLARIS_FUZZ_JOBS:-$((cores / ${#targets[@]}))}
((jobs >= 1)) || jobs=1

# The largest input each target is given: beyond any file of its kind the game holds, small
# enough that the fuzzer keeps its pace (longer seeds are cut, which makes cut files too).
max_len() {
    case "$1" in
        settings | names | colorfile | soundlist) echo 8192 ;;
        mesh | scorefile) echo 16384 ;;
        *) echo 65536 ;;
    esac
}

# Absolute, since a target may change its working folder while it reads an input.
work="$PWD/$build/fuzz"
declare -A known_open
for target in "${targets[@]}"; do
    compgen -G "fuzz/regressions/$target/open/*" >/dev/null && known_open[$target]=1
done
# The targets feed the readers through files: in memory where the machine has a tmpfs, since
# the settings save waits for the disk.
scratch_root=${TMPDIR:-/tmp}
[[ -d /dev/shm && -w /dev/shm ]] && scratch_root=/dev/shm
scratch=$(mktemp -d "$scratch_root/quellaris-fuzz-run.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

for target in "${targets[@]}"; do
    corpus="$work/corpus/$target"
    artifacts="$work/artifacts/$target"
    rm -rf "$artifacts"
    mkdir -p "$corpus" "$artifacts" "$scratch/$target"
    # Mended regressions seed the corpus; open ones would only be found again at once. The
    # fuzzer reads folders with their subfolders, so the mended ones are gathered apart.
    mended="$scratch/$target-mended"
    mkdir -p "$mended"
    find "fuzz/regressions/$target" -maxdepth 1 -type f -exec cp {} "$mended/" \; 2>/dev/null || true
    seeds=("$mended")
    for dir in "fuzz/seeds/$target" "$work/seeds/$target"; do
        [[ -d "$dir" ]] && seeds+=("$dir")
    done
    dict=()
    [[ -f "fuzz/dictionaries/$target.dict" ]] && dict=("-dict=fuzz/dictionaries/$target.dict")
    # stdout is closed for the target: the settings reader traces every token it reads.
    TMPDIR="$scratch/$target" "$work/fuzz_$target" -fork="$jobs" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -max_len="$(max_len "$target")" \
        -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -close_fd_mask=1 \
        -artifact_prefix="$artifacts/" "${dict[@]}" "$corpus" "${seeds[@]}" \
        >"$work/$target.log" 2>&1 &
done
wait

# Keeps each new input, minimised where libFuzzer can (crashes), under regressions/<target>/open/.
keep_artifacts() {
    local target=$1 artifact name open="fuzz/regressions/$target/open"
    for artifact in "$work/artifacts/$target"/{crash,leak,timeout,oom}-*; do
        [[ -f "$artifact" ]] || continue
        name=$(basename "$artifact")
        mkdir -p "$open"
        if [[ "$name" == crash-* || "$name" == leak-* ]] &&
            TMPDIR="$scratch/$target" "$work/fuzz_$target" -minimize_crash=1 -max_total_time=60 \
                -timeout=10 -close_fd_mask=1 -exact_artifact_path="$open/$name" "$artifact" \
                >>"$work/$target.minimise.log" 2>&1 && [[ -f "$open/$name" ]]; then
            continue
        fi
        cp "$artifact" "$open/$name"
    done
}

status=0
for target in "${targets[@]}"; do
    log="$work/$target.log"
    # Fork mode reports: #<runs>: cov: <edges> ft: <features> corp: ... oom/timeout/crash: a/b/c ...
    first=$(grep -m1 -E '^#[0-9]+: cov: ' "$log" || true)
    last=$(grep -E '^#[0-9]+: cov: ' "$log" | tail -n1 || true)
    runs=$(sed -nE 's/^#([0-9]+):.*/\1/p' <<<"$last")
    cov_start=$(sed -nE 's/.* cov: ([0-9]+) .*/\1/p' <<<"$first")
    cov_end=$(sed -nE 's/.* cov: ([0-9]+) .*/\1/p' <<<"$last")
    IFS=/ read -r ooms hangs crashes < <(sed -nE 's/.*oom\/timeout\/crash: ([0-9]+\/[0-9]+\/[0-9]+).*/\1/p' <<<"$last") || true
    runs=${runs:-0} cov_start=${cov_start:-0} cov_end=${cov_end:-0}
    ooms=${ooms:-0} hangs=${hangs:-0} crashes=${crashes:-0}
    found=$((ooms + hangs + crashes))
    note=""
    if [[ -z "$last" ]]; then
        note="  (no report: see $log)"
        status=1
    elif ((found > 0)) && [[ -n "${known_open[$target]:-}" ]]; then
        note="  (known open faults, see fuzz/regressions/$target/open/; inputs in $work/artifacts/$target/)"
    elif ((found > 0)); then
        keep_artifacts "$target"
        note="  (inputs kept in fuzz/regressions/$target/open/)"
        status=1
    fi
    printf '%-9s %12s executions, coverage %5s -> %5s edges (+%s), %s crashes, %s hangs, %s out-of-memory%s\n' \
        "$target" "$runs" "$cov_start" "$cov_end" "$((cov_end - cov_start))" "$crashes" "$hangs" "$ooms" "$note"
done
exit "$status"
