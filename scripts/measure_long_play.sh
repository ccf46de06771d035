#!/usr/bin/env bash
# A long flight of the built game measured from outside, as scripts/measure_play.sh measures a
# short one: a game is started on a virtual display of its own and flown with turns, shots and
# now and then an EMP blast, while a preloaded swap logger stamps every buffer swap and the
# field's density (the game's _density, the figure of the density dial) is read from the
# game's memory once a second. Prints, per 30 s window of play, the frames per second and the
# density, then the median, 99th percentile and worst frame of the whole flight, the worst
# frame within 2 s after each blast, and the frame rate of the first window at a density of
# 7 % or more against that of the windows at about 1 %.
#
#   scripts/measure_long_play.sh SWAP_LOGGER.so [build folder, default build]
#                                [least seconds of play, default 270] [most seconds, default 420]
#
# The flight is one game, never restarted (a new game empties the field). It lasts the least
# seconds, and on from there in whole windows until a window's density is 7 % or more, but no
# longer than the most seconds. A craft crashes, losing a shield point, where the cell it is
# about to enter holds a trail cube, and the game is over once its shields are gone; a fixed
# round of turns brings the craft back across its own trail again and again in the wrapping
# field (and straight on, it meets its trail after one lap). So the pilot reads the craft's
# cell, heading and the cells round it from the game's memory and steers: it makes a turn of
# the round Left, Up, Right, Down about once a second where that way is clear, else the
# clearest way, and turns off early where a trail lies ahead. A game that ends all the same
# is reported with the window and the density it ended at.
#
# The build folder is a Release build; its game folder run/ is played (in a scratch copy) and
# its compile_commands.json gives the flags with which a small probe finds where the fields
# read lie in the game object. The game itself is not changed for this: its memory is read
# through /proc/PID/mem, which does not stop it, and it is flown by keys and the mouse only.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/lib/gamefolder.sh"
shim=$(realpath "${1:?the swap logger (.so) to preload}")
build=$(realpath "${2:-$root/build}")
least_seconds=${3:-270}
most_seconds=${4:-420}
game_dir=$build/run
[[ -x $game_dir/quellaris ]] || { echo "no game in $game_dir" >&2; exit 1; }
[[ -f $build/compile_commands.json ]] || { echo "no $build/compile_commands.json" >&2; exit 1; }

work=$(mktemp -d)
copy_game_folder "$game_dir" "$work/game"
swaps=$work/swaps.log
densities=$work/density.log
events=$work/events.log
flight=$work/flight.log
: >"$swaps"
: >"$events"
: >"$densities"
: >"$flight"

# Where the fields the pilot reads lie in the game object, the game's state numbers and the
# cell kinds it tells apart, and the game class's vtable, by which the object is found in the
# running game.
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
open(probe, "w").write(r'''
#include <bits/stdc++.h>
// The playfield's cells and the gun's ammunition are private: the probe only learns where
// they lie, so it opens every class up (the library is already in, unchanged). g++ lays a
// class out the same whatever its members' access, so the offsets are the game's own.
#define private public
#define protected public
#include "game/game.h"
#include "world/octree.h"
using G = Vortel::Game;
using P = Vortel::Player;
using T = Vortel::OcTree;
static_assert(sizeof(Vector3<int>) == 12, "a cell is three ints");
#define AT(name, value) std::printf("%s %zu\n", name, static_cast<std::size_t>(value))
int main() {
    AT("density", offsetof(G, _density));
    AT("state", offsetof(G, _state));
    AT("stage", offsetof(G, _stage));
    AT("score", offsetof(G, _score));
    AT("bombs", offsetof(G, _bombs));
    AT("ammo", offsetof(G, _gun) + offsetof(Vortel::Gun, _ammo));
    AT("player", offsetof(G, _player));
    AT("cell", offsetof(P, _cell));
    AT("forward", offsetof(P, _forward));
    AT("up", offsetof(P, _up));
    AT("progress", offsetof(P, _progress));
    AT("requested", offsetof(P, _requestedDirection));
    AT("hitpoints", offsetof(P, _hitpoints));
    AT("player_size", sizeof(P));
    AT("depth", offsetof(G, _octree) + offsetof(T, _depth));
    AT("cells", offsetof(G, _octree) + offsetof(T, _cells));
    AT("node_size", sizeof(T::Node));
    AT("node_kind", offsetof(T::Node, _count));
    AT("state_play", G::STATE_PLAY);
    AT("state_game_over", G::STATE_GAME_OVER);
    AT("state_ingame_menu", G::STATE_INGAME_MENU);
    AT("state_enter_score", G::STATE_ENTER_SCORE);
    AT("cell_empty", T::CELL_EMPTY);
    AT("cell_melting", T::CELL_MELTING);
    AT("cell_collectable", T::CELL_COLLECTABLE);
}
''')
subprocess.run([words[0], *flags, "-Wno-invalid-offsetof", probe, "-o", work + "/probe"],
               check=True, cwd=entry["directory"])
EOF
"$work/probe" >"$work/offsets"
vtable=$(nm "$game_dir/quellaris" | awk '$3 == "_ZTVN6Vortel4GameE" {print $1}')
[[ -n $vtable ]] || { echo "no symbols in $game_dir/quellaris" >&2; exit 1; }

xvfb=
game=
pilot=
trap 'stop_game_and_display; [[ -n $pilot ]] && kill "$pilot" 2>/dev/null; rm -rf "$work"' EXIT
open_virtual_display 170 /dev/null

echo "load before: $(cat /proc/loadavg)"
start_logged_game "$work/game" "$swaps" "$shim"
sleep 4

# The pilot: finds the game object by its vtable pointer in the game's writable memory, waits
# for the game started below, then flies it and samples the density once a second until the
# flight is over. Its flight log holds the begin and end of play and what happened.
python3 - "$game" "$vtable" "$work/offsets" "$densities" "$events" "$flight" \
    "$least_seconds" "$most_seconds" <<'EOF' &
import os, random, statistics, struct, subprocess, sys, time
pid, vtable = int(sys.argv[1]), int(sys.argv[2], 16)
at = {k: int(v) for k, v in (l.split() for l in open(sys.argv[3]) if l.strip())}
density_log, event_log, flight_log = sys.argv[4], sys.argv[5], sys.argv[6]
least, most = int(sys.argv[7]) * 10**9, int(sys.argv[8]) * 10**9
WINDOW = 30 * 10**9
TARGET = 7              # density in %, to be reached in a whole window
BLASTS = (45, 110, 180, 240)  # seconds of play
# Shots come a tap of the fire button at a time, spaced so that the ammunition lasts the
# flight's least seconds and a window more, as for a player who keeps firing; a pick-up's
# ammunition brings them closer.
SHOTS_PER_TAP = 1.0
SHOT_SPACING = (2.0, 10.0)  # seconds between taps, at least and at most
STATE_PLAY = at["state_play"]
STATE_NAMES = {at["state_game_over"]: "GAME OVER", at["state_ingame_menu"]: "in-game menu",
               at["state_enter_score"]: "score entry"}
LOOK = 12               # cells looked ahead along a way
CLEAR = 6               # a way this many cells free is clear
# Keys and the directions of Player::direction they turn the craft in.
KEYS = {"Left": 1, "Right": 2, "Up": 3, "Down": 4}
ROUND = ("Left", "Up", "Right", "Down")

maps = open(f"/proc/{pid}/maps").read().splitlines()
exe = os.readlink(f"/proc/{pid}/exe")
base = min(int(l.split("-")[0], 16) for l in maps if l.split()[-1] == exe)
needle = struct.pack("<Q", base + vtable + 16)
fd = os.open(f"/proc/{pid}/mem", os.O_RDONLY)
game = None
for line in maps:
    fields = line.split()
    if "rw" not in fields[1] or (len(fields) > 5 and not fields[5].startswith("[heap")):
        continue
    lo, hi = (int(x, 16) for x in fields[0].split("-"))
    try:
        data = os.pread(fd, hi - lo, lo)
    except OSError:
        continue
    found = data.find(needle)
    while found >= 0 and found % 8 != 0:
        found = data.find(needle, found + 1)
    if found >= 0:
        game = lo + found
        break
if game is None:
    sys.exit("the game object was not found")

def read(address, form):
    data = os.pread(fd, struct.calcsize(form), address)
    if len(data) < struct.calcsize(form):
        raise EOFError
    return struct.unpack(form, data)

def game_field(name, form="<i"):
    return read(game + at[name], form)[0]

player = game + at["player"]
cells = read(game + at["cells"], "<Q")[0]
size = 1 << game_field("depth")
node_size, node_kind = at["node_size"], at["node_kind"]

def kind(c):
    x, y, z = (v % size for v in c)
    return read(cells + (((z * size) + y) * size + x) * node_size + node_kind, "<i")[0]

def solid(c):
    # What a crash is: any filled cell but a melting one or a pick-up.
    return kind(c) not in (at["cell_empty"], at["cell_melting"], at["cell_collectable"])

def craft():
    raw = os.pread(fd, at["player_size"], player)
    if len(raw) < at["player_size"]:
        raise EOFError
    ints = lambda name: struct.unpack_from("<3i", raw, at[name])
    return (ints("cell"), ints("forward"), ints("up"), struct.unpack_from("<f", raw, at["progress"])[0],
            struct.unpack_from("<i", raw, at["requested"])[0], struct.unpack_from("<f", raw, at["hitpoints"])[0])

add = lambda a, b: tuple(p + q for p, q in zip(a, b))
neg = lambda a: tuple(-p for p in a)
cross = lambda a, b: (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])

def heading_after(key, forward, up):
    # As the craft turns at a cell boundary.
    return {None: forward, "Left": cross(up, forward), "Right": cross(forward, up),
            "Up": up, "Down": neg(up)}[key]

def free_run(cell, heading):
    run = 0
    for _ in range(LOOK):
        cell = add(cell, heading)
        if solid(cell):
            break
        run += 1
    return run

log = open(flight_log, "w", buffering=1)
densities = open(density_log, "w", buffering=1)
events = open(event_log, "w", buffering=1)
helpers = []

def xdotool(*words):
    helpers.append(subprocess.Popen(["xdotool", *words]))
    helpers[:] = [h for h in helpers if h.poll() is None]

def tap(key):
    xdotool("keydown", key, "sleep", "0.1", "keyup", key)

# The game starts once the main menu has taken its keys.
deadline = time.time() + 30
while game_field("state") != STATE_PLAY:
    if time.time() > deadline:
        sys.exit("the game did not start")
    time.sleep(0.1)
time.sleep(2)

rng = random.Random(305)
begin = time.time_ns()
log.write(f"begin {begin}\n")
next_sample = next_shot = next_turn = 0
blast = 0
window_samples = []
windows_done = 0
reached = None
decided_for = None
awaiting = None
round_at = 0
turns = steers = taps = 0
out_of_ammo = False
last_hitpoints = None
crashes = 0
stage = game_field("stage")
outcome = None
try:
    while True:
        now = time.time_ns()
        t = (now - begin) / 1e9
        state = game_field("state")
        if state != STATE_PLAY:
            outcome = f"ended {now} {STATE_NAMES.get(state, 'state %d' % state)}"
            break
        if now >= next_sample:
            density = game_field("density")
            densities.write(f"{now} {density}\n")
            window_samples.append((now, density))
            next_sample = now + 10**9
        # A window just completed: is it the first at the target, and is the flight over?
        if now - begin >= (windows_done + 1) * WINDOW:
            windows_done += 1
            low = begin + (windows_done - 1) * WINDOW
            inside = [d for s, d in window_samples if low <= s < low + WINDOW]
            if reached is None and inside and statistics.median(inside) >= TARGET:
                reached = windows_done
                log.write(f"note the density of {TARGET} % was reached in the window "
                          f"{(windows_done - 1) * 30}-{windows_done * 30} s\n")
            if (reached is not None and now - begin >= least) or now - begin >= most:
                outcome = f"done {begin + windows_done * WINDOW}"
                break
        new_stage = game_field("stage")
        if new_stage != stage:
            log.write(f"note stage {new_stage} began at {t:.0f} s, its field melted, "
                      f"score {game_field('score', '<I')}\n")
            stage = new_stage

        cell, forward, up, progress, requested, hitpoints = craft()
        if last_hitpoints is not None and hitpoints < last_hitpoints:
            crashes += round(last_hitpoints - hitpoints)
        last_hitpoints = hitpoints

        if blast < len(BLASTS) and t >= BLASTS[blast]:
            if game_field("bombs") > 0:
                events.write(f"{time.time_ns()}\n")
                tap("Return")
            else:
                log.write(f"note no EMP left for the blast due at {BLASTS[blast]} s\n")
            blast += 1
        if t >= next_shot:
            ammo = game_field("ammo")
            if ammo > 0:
                xdotool("mousedown", "1", "sleep", "0.1", "mouseup", "1")
                taps += 1
                spacing = (least / 1e9 + 30 - t) * SHOTS_PER_TAP / ammo
                next_shot = t + min(max(spacing, SHOT_SPACING[0]), SHOT_SPACING[1])
            else:
                if not out_of_ammo:
                    log.write(f"note the ammunition ran out at {t:.0f} s\n")
                    out_of_ammo = True
                next_shot = t + SHOT_SPACING[0]

        # The turn for the boundary into the next cell, decided once per cell while there is
        # time for the key to arrive before it; a turn still waiting is left to be taken.
        ahead = add(cell, forward)
        if awaiting is not None and (requested != 0 or forward != awaiting[0] or now > awaiting[1]):
            awaiting = None
        if requested == 0 and awaiting is None and decided_for != cell:
            straight = free_run(ahead, forward)
            urgent = straight == 0
            if progress < 0.6 or urgent:
                decided_for = cell
                runs = {key: free_run(ahead, heading_after(key, forward, up)) for key in ROUND}
                choice = None
                if t >= next_turn:
                    # The round's next turn where its way is clear, else the clearest turn.
                    wanted = ROUND[round_at % 4]
                    best = max(ROUND, key=lambda k: (runs[k], k == wanted))
                    if runs[wanted] >= CLEAR:
                        choice = wanted
                        round_at += 1
                    elif runs[best] >= min(CLEAR, straight + 1):
                        choice = best
                elif straight < CLEAR:
                    best = max(ROUND, key=lambda k: runs[k])
                    if runs[best] > straight:
                        choice = best
                        steers += 1
                if choice is not None:
                    tap(choice)
                    # Until the game has the key, the craft's fields say nothing of it.
                    awaiting = (forward, now + 3 * 10**8)
                    turns += 1
                    next_turn = t + rng.uniform(0.6, 1.6)
        time.sleep(0.02)
except (EOFError, OSError):
    outcome = f"ended {time.time_ns()} the game's process ended"
try:
    standing = (f"; {taps} taps of fire, {game_field('ammo')} shots left; "
                f"stage {game_field('stage')}, score {game_field('score', '<I')}")
except (EOFError, OSError):
    standing = ""
log.write(f"flight {turns} turns, {steers} of them only to dodge a trail ahead; {crashes} crash{'es' if crashes != 1 else ''}, "
          f"{last_hitpoints if last_hitpoints is not None else float('nan'):.0f} shield points left"
          f"{standing}\n")
log.write(outcome + "\n")
for h in helpers:
    h.wait()
EOF
pilot=$!

press Escape Escape Escape Return
wait "$pilot" || { echo "the pilot failed" >&2; exit 1; }
pilot=
echo "load after: $(cat /proc/loadavg)"

python3 - "$swaps" "$densities" "$events" "$flight" <<'EOF'
import statistics, sys
stamps = [int(l) for l in open(sys.argv[1]) if l.strip()]
samples = [tuple(int(x) for x in l.split()) for l in open(sys.argv[2]) if l.strip()]
blasts = [int(l) for l in open(sys.argv[3]) if l.strip()]
flight = [l.split(maxsplit=1) for l in open(sys.argv[4]) if l.strip()]
begin = int(next(v for k, v in flight if k == "begin"))
how, rest = next((k, v.split(maxsplit=1)) for k, v in flight if k in ("done", "ended"))
end = int(rest[0])
TARGET = 7
window = 30 * 10**9
print(f"{'window':>10} {'fps':>8} {'density %':>10}")
rows = []
t = begin
while t < end:
    stop = min(t + window, end)
    n = sum(1 for s in stamps if t <= s < stop)
    inside = [d for s, d in samples if t <= s < stop]
    density = statistics.median(inside) if inside else float("nan")
    part = "" if stop == t + window else f"  (partial: {(stop - t) / 1e9:.0f} s)"
    name = f"{(t - begin) / 1e9:.0f}-{(stop - begin) / 1e9:.0f}"
    print(f"{name:>10} {n / ((stop - t) / 1e9):8.1f} {density:10.1f}{part}")
    if not part:
        rows.append((name, n / 30, density))
    t += window
for k, v in flight:
    if k in ("note", "flight"):
        print(f"{k}: {v.strip()}")
last = [d for s, d in samples if s < end]
if how == "ended":
    print(f"THE FLIGHT ENDED EARLY: {rest[1].strip()} at {(end - begin) / 1e9:.0f} s of play, in the window "
          f"{(end - begin) // window * 30}-{(end - begin) // window * 30 + 30}, "
          f"at density {last[-1] if last else 'unknown'} %")
else:
    print(f"the flight ended at {(end - begin) / 1e9:.0f} s of play, density {last[-1] if last else 'unknown'} %")
play = [s for s in stamps if begin <= s < end]
gaps = sorted((b - a) / 1e6 for a, b in zip(play, play[1:]))
if gaps:
    print(f"play: {len(play) / ((end - begin) / 1e9):.1f} fps, frame p50 {gaps[len(gaps) // 2]:.2f} ms, "
          f"p99 {gaps[min(len(gaps) - 1, int(0.99 * len(gaps)))]:.2f} ms, worst {gaps[-1]:.2f} ms")
for blast in blasts:
    after = [s for s in play if blast <= s < blast + 2 * 10**9]
    worst = max(((b - a) / 1e6 for a, b in zip(after, after[1:])), default=float("nan"))
    print(f"blast at {(blast - begin) / 1e9:6.1f} s: worst frame in the 2 s after {worst:.2f} ms")
# The frame rate at the target density against that at about 1 %: the first whole window at
# the target, and the whole windows whose median density rounds to 1 % (else the nearest).
dense = next((r for r in rows if r[2] >= TARGET), None)
known = [r for r in rows if r[2] == r[2]]
sparse = [r for r in known if round(r[2] + 1e-9) == 1] or \
    sorted(known, key=lambda r: abs(r[2] - 1))[:1]
if dense is None:
    print(f"ratio: no whole window reached a density of {TARGET} %")
elif not sparse:
    print("ratio: no window with a density to compare with")
else:
    low = statistics.mean(r[1] for r in sparse)
    print(f"ratio: window {dense[0]} s ({dense[2]:.1f} %) {dense[1]:.1f} fps / "
          f"window{'s' if len(sparse) > 1 else ''} {', '.join(r[0] for r in sparse)} s "
          f"({', '.join(f'{r[2]:.1f}' for r in sparse)} %) {low:.1f} fps = {dense[1] / low:.2f}")
EOF
