#!/usr/bin/env bash
# The built game measured from outside while it is played: it runs on a virtual display of its
# own (Xvfb, software GL), a preloaded swap logger stamps every buffer swap, and xdotool plays
# it: the splash screens are skipped, the main menu runs for a while, then a game is started
# and flown with turns and shots. Prints the frames per second of the main menu and of play
# (overall, and the minimum and median of one-second windows) and the game's peak resident
# size. The game itself is not changed for this.
#
#   scripts/measure_play.sh SWAP_LOGGER.so [game folder, default build/run] [seconds of play, default 20]
#
# SWAP_LOGGER.so wraps SDL_GL_SwapWindow and appends one wall-clock time in nanoseconds per
# swap to the file SWAPLOG_FILE names. The game plays in a scratch copy of the game folder, so
# the settings and scores there stay as they were. With SHOTS set to a folder, the screen of
# the main menu and of play are saved there, to see what was measured.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/lib/gamefolder.sh"
shim=$(realpath "${1:?the swap logger (.so) to preload}")
game_dir=$(realpath "${2:-$root/build/run}")
play_seconds=${3:-20}
[[ -x $game_dir/quellaris ]] || { echo "no game in $game_dir" >&2; exit 1; }

work=$(mktemp -d)
copy_game_folder "$game_dir" "$work/game"
swaps=$work/swaps.log
: >"$swaps"

xvfb=
game=
trap 'stop_game_and_display; rm -rf "$work"' EXIT
open_virtual_display 170 /dev/null

echo "load: $(uptime)"
start_logged_game "$work/game" "$swaps" "$shim"
# Loading, then the main menu with its demo flight behind it.
sleep 4
menu_begin=$(now)
sleep 10
menu_end=$(now)
[[ -n ${SHOTS:-} ]] && import -window root "$SHOTS/main-menu.png"

press Escape Escape Escape Return
sleep 2
play_begin=$(now)
turns=(Left Up Right Down)
end=$(($(date +%s) + play_seconds))
i=0
while (($(date +%s) < end)); do
    press "${turns[i % 4]}"
    if ((i % 5 == 0)); then
        xdotool mousedown 1
        sleep 0.4
        xdotool mouseup 1
    fi
    sleep 0.3
    i=$((i + 1))
done
play_end=$(now)
[[ -n ${SHOTS:-} ]] && import -window root "$SHOTS/play.png"
peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$game/status")

python3 - "$swaps" "$menu_begin" "$menu_end" "$play_begin" "$play_end" "$peak_kb" <<'EOF'
import statistics, sys
stamps = [int(line) for line in open(sys.argv[1]) if line.strip()]
menu = (int(sys.argv[2]), int(sys.argv[3]))
play = (int(sys.argv[4]), int(sys.argv[5]))
def phase(name, begin, end):
    inside = [t for t in stamps if begin <= t < end]
    seconds = (end - begin) / 1e9
    windows = []
    t = begin
    while t + 1e9 <= end:
        windows.append(sum(1 for s in inside if t <= s < t + 1e9))
        t += int(1e9)
    print(f"{name:10} {len(inside) / seconds:8.1f} fps overall, one-second windows: "
          f"min {min(windows)} median {statistics.median(windows)} ({len(inside)} swaps in {seconds:.1f} s)")
phase("main menu", *menu)
phase("play", *play)
print(f"peak RSS   {int(sys.argv[6]) / 1024:.1f} MB")
EOF
