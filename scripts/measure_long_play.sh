#!/usr/bin/env bash
# A long flight of the built game measured from outside, as scripts/measure_play.sh measures a
# short one: a game is started on a virtual display of its own and flown for about 270 s with
# turns, shots and now and then an EMP blast, while a preloaded swap logger stamps every buffer
# swap and the field's density (the game's _density, the figure of the density dial) is read
# from the game's memory once a second. Prints, per 30 s window of play, the frames per second
# and the density, then the median, 99th percentile and worst frame of the whole flight and
# the worst frame within 2 s after each blast.
#
#   scripts/measure_long_play.sh SWAP_LOGGER.so [build folder, default build] [seconds of play, default 270]
#
# The build folder is a Release build; its game folder run/ is played (in a scratch copy) and
# its compile_commands.json gives the flags with which a small probe finds where _density lies
# in the game object. The game itself is not changed for this: the density is read through
# /proc/PID/mem, which does not stop it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/lib/gamefolder.sh"
shim=$(realpath "${1:?the swap logger (.so) to preload}")
build=$(realpath "${2:-$root/build}")
play_seconds=${3:-270}
game_dir=$build/run
[[ -x $game_dir/quellaris ]] || { echo "no game in $game_dir" >&2; exit 1; }
[[ -f $build/compile_commands.json ]] || { echo "no $build/compile_commands.json" >&2; exit 1; }

work=$(mktemp -d)
copy_game_folder "$game_dir" "$work/game"
swaps=$work/swaps.log
densities=$work/density.log
events=$work/events.log
: >"$swaps"
: >"$events"
: >"$densities"

# Where _density lies in the game object, and the game class's vtable, by which the object is
# found in the running game.
python3 - "$build/compile_commands.json" "$root" "$work" <<'EOF'
import json, shlex, subprocess, sys
commands, root, work = json.load(open(sys.argv[1])), sys.argv[2], sys.argv[3]
entry = next(c for c in commands if c["file"].endswith("/game/game.cpp"))
words = shlex.split(entry["command"])
# A compiler launcher (ccache) before the compiler is left out.
if words[0].endswith("ccache"):
    words = words[1:]
flags = [w for i, w in enumerate(words[1:], 1)
         if w.startswith(("-I", "-D", "-std", "-isystem")) or words[i - 1] == "-isystem"]
probe = work + "/probe.cpp"
open(probe, "w").write('#include <cstddef>\n#include <cstdio>\n#include "game/game.h"\n'
                       'int main() { std::printf("%zu\\n", offsetof(Vortel::Game, _density)); }\n')
subprocess.run([words[0], *flags, "-Wno-invalid-offsetof", probe, "-o", work + "/probe"],
               check=True, cwd=entry["directory"])
EOF
density_offset=$("$work/probe")
vtable=$(nm "$game_dir/quellaris" | awk '$3 == "_ZTVN6Vortel4GameE" {print $1}')
[[ -n $vtable ]] || { echo "no symbols in $game_dir/quellaris" >&2; exit 1; }

xvfb=
game=
sampler=
trap 'stop_game_and_display; [[ -n $sampler ]] && kill "$sampler" 2>/dev/null; rm -rf "$work"' EXIT
open_virtual_display 170 /dev/null

echo "load before: $(cat /proc/loadavg)"
start_logged_game "$work/game" "$swaps" "$shim"
sleep 4

# Once a second: the wall clock and the density, read from the game object found by its
# vtable pointer in the game's writable memory.
python3 - "$game" "$vtable" "$density_offset" "$densities" <<'EOF' &
import re, struct, sys, time
pid, vtable, offset, out = int(sys.argv[1]), int(sys.argv[2], 16), int(sys.argv[3]), sys.argv[4]
maps = open(f"/proc/{pid}/maps").read().splitlines()
exe = open(f"/proc/{pid}/cmdline").read().split("\0")[0].lstrip("./")
base = min(int(l.split("-")[0], 16) for l in maps if l.endswith("/" + exe) or l.endswith(exe))
needle = struct.pack("<Q", base + vtable + 16)
mem = open(f"/proc/{pid}/mem", "rb", 0)
where = None
for line in maps:
    fields = line.split()
    if "rw" not in fields[1] or (len(fields) > 5 and not fields[5].startswith("[heap")):
        continue
    lo, hi = (int(x, 16) for x in fields[0].split("-"))
    try:
        mem.seek(lo)
        data = mem.read(hi - lo)
    except OSError:
        continue
    at = data.find(needle)
    while at >= 0 and at % 8 != 0:
        at = data.find(needle, at + 1)
    if at >= 0:
        where = lo + at
        break
if where is None:
    sys.exit("the game object was not found")
with open(out, "w", buffering=1) as log:
    while True:
        try:
            mem.seek(where + offset)
            value = mem.read(4)
        except OSError:
            break
        if len(value) < 4:  # the game has ended
            break
        density = struct.unpack("<i", value)[0]
        log.write(f"{time.time_ns()} {density}\n")
        time.sleep(1.0)
EOF
sampler=$!

press Escape Escape Escape Return
sleep 2
play_begin=$(now)
turns=(Left Up Right Down)
blasts=(45 110 180 240)
end=$(($(date +%s) + play_seconds))
start=$(date +%s)
i=0
b=0
while (($(date +%s) < end)); do
    press "${turns[i % 4]}"
    if ((i % 5 == 0)); then
        xdotool mousedown 1
        sleep 0.4
        xdotool mouseup 1
    fi
    if ((b < ${#blasts[@]} && $(date +%s) - start >= blasts[b])); then
        echo "$(now)" >>"$events"
        press Return
        b=$((b + 1))
    fi
    sleep 0.3
    i=$((i + 1))
done
play_end=$(now)
echo "load after: $(cat /proc/loadavg)"

python3 - "$swaps" "$densities" "$events" "$play_begin" "$play_end" <<'EOF'
import statistics, sys
stamps = [int(l) for l in open(sys.argv[1]) if l.strip()]
samples = [tuple(int(x) for x in l.split()) for l in open(sys.argv[2]) if l.strip()]
blasts = [int(l) for l in open(sys.argv[3]) if l.strip()]
begin, end = int(sys.argv[4]), int(sys.argv[5])
window = 30 * 10**9
print(f"{'window':>10} {'fps':>8} {'density %':>10}")
t = begin
while t + window <= end:
    n = sum(1 for s in stamps if t <= s < t + window)
    inside = [d for s, d in samples if t <= s < t + window]
    density = statistics.median(inside) if inside else float("nan")
    print(f"{(t - begin) // 10**9:4d}-{(t + window - begin) // 10**9:<4d} {n / 30:8.1f} {density:10}")
    t += window
play = [s for s in stamps if begin <= s < end]
gaps = sorted((b - a) / 1e6 for a, b in zip(play, play[1:]))
if gaps:
    print(f"play: {len(play) / ((end - begin) / 1e9):.1f} fps, frame p50 {gaps[len(gaps) // 2]:.2f} ms, "
          f"p99 {gaps[min(len(gaps) - 1, int(0.99 * len(gaps)))]:.2f} ms, worst {gaps[-1]:.2f} ms")
for blast in blasts:
    after = [s for s in play if blast <= s < blast + 2 * 10**9]
    worst = max(((b - a) / 1e6 for a, b in zip(after, after[1:])), default=float("nan"))
    print(f"blast at {(blast - begin) / 1e9:6.1f} s: worst frame in the 2 s after {worst:.2f} ms")
EOF
