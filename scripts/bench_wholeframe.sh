#!/usr/bin/env bash
# Runs the whole-frame benchmark (bench/bench_wholeframe.cpp) in three processes, one after
# the other, on the offscreen software GL, and prints for every case the minimum and median
# frames per second over all repetitions of the three, the median wall time and processor time
# of all threads (the GL's too) per frame, the peak resident size, and the machine's load
# before the first run. Cases timed frame by frame (the explosion burst) also get the median
# over all runs of their median, 99th percentile and worst frame.
#
#   scripts/bench_wholeframe.sh [build folder, default build] [extra benchmark arguments...]
#
# The build folder is a Release build with -DQUELLARIS_BENCH=ON.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${1:-build}
shift || true
program="$build/bench/bench_wholeframe"
[ -x "$program" ] || { echo "no $program: build it with -DQUELLARIS_BENCH=ON" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
echo "load before: $(cat /proc/loadavg)"
for run in 1 2 3; do
    SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null "$program" --benchmark_repetitions=3 \
        --benchmark_format=json --benchmark_out="$out/run$run.json" --benchmark_out_format=json "$@" \
        >/dev/null 2>&1
done
echo "load after: $(cat /proc/loadavg)"
python3 - "$out" <<'EOF'
import glob, json, statistics, sys
cases = {}
for path in sorted(glob.glob(sys.argv[1] + "/run*.json")):
    for b in json.load(open(path))["benchmarks"]:
        if b.get("run_type") != "iteration" or "error_occurred" in b:
            continue
        case = cases.setdefault(b["run_name"], {"fps": [], "ms": [], "cpu": [], "peakMB": 0.0})
        case["fps"].append(b["fps"])
        case["cpu"].append(b["allThreadsMs"])
        case["ms"].append(b["real_time"])
        case["peakMB"] = max(case["peakMB"], b.get("peakMB", 0.0))
        for key in ("medianMs", "p99Ms", "worstMs"):
            if key in b:
                case.setdefault(key, []).append(b[key])
print(f"{'case':52} {'fps min':>8} {'median':>8} {'ms med':>8} {'cpu ms':>8} {'peak MB':>8}")
for name, c in cases.items():
    print(f"{name.replace('/real_time', ''):52} {min(c['fps']):8.1f} {statistics.median(c['fps']):8.1f} "
          f"{statistics.median(c['ms']):8.2f} {statistics.median(c['cpu']):8.2f} {c['peakMB']:8.1f}")
for name, c in cases.items():
    if "medianMs" in c:
        print(f"{name.replace('/real_time', '')}: frame median {statistics.median(c['medianMs']):.2f} ms, "
              f"p99 {statistics.median(c['p99Ms']):.2f} ms, worst {statistics.median(c['worstMs']):.2f} ms "
              f"(largest worst {max(c['worstMs']):.2f} ms)")
EOF
