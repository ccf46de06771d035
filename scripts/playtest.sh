#!/usr/bin/env bash
# The whole game as a player meets it, played for eyes: starts the built game (build/run, as
# ./run.sh builds it) on a virtual display of its own, drives it with xdotool from the splash
# screens through the menus, the settings, the trick trainer, a game with its pause and in-game
# menu, the game over, the score entry, the score tables and the credits, and ends it through
# its own QUIT item. Each screen is saved as a PNG under build/playtest/; the frame times of the
# run are logged by tools/swaplog and summed up at the end (build/playtest/frames.txt). Then the
# game is started and quit in full screen and in a window on displays without a window manager
# (tests/executable/fullscreen_modes.sh), among them Xorg's dummy driver, whose screen really
# switches to 800 x 600.
#
# The game plays in a copy of the game folder (build/playtest/game), so the player's own
# settings and high scores in build/run stay as they were.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/lib/gamefolder.sh"
cd "$root"
"$root/scripts/install-deps.sh" "$root/scripts/playtest-packages.txt"

game_dir=$root/build/run
shim=$root/build/tools/swaplog/swaplog.so
if [[ ! -x $game_dir/quellaris ]]; then
    echo "No game in build/run yet: building it as ./run.sh does"
    build_release_game "$root"
fi
[[ -f $shim ]] || cmake --build build --target swaplog

out=$root/build/playtest
rm -rf "$out"
copy_game_folder "$game_dir" "$out/game"
swaps=$out/swaps.log
steps=$out/steps.log
: >"$steps"

# ---- the display and the game ---------------------------------------------------------------

xvfb=
game=
trap stop_game_and_display EXIT
open_virtual_display 140 "$out/xvfb.txt"

current=start
fail() {
    echo "PLAYTEST FAILED at '$current': $1" >&2
    echo "(screenshots so far, the game's output and its frame log are in build/playtest/)" >&2
    exit 1
}

(cd "$out/game" && exec env ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}" SWAPLOG_FILE="$swaps" LD_PRELOAD="$shim" \
    ./quellaris >"$out/stdout.txt" 2>"$out/stderr.txt") &
game=$!
timeout 10 xdotool search --sync --name '^Quellaris$' >/dev/null 2>&1 || fail "no game window within 10 s"
# The pointer rests over the 3D view, above every menu, so it selects nothing by itself.
xdotool mousemove 400 120

# ---- the driving ----------------------------------------------------------------------------

alive() {
    kill -0 "$game" 2>/dev/null || fail "the game has ended (standard error: $(tr '\n' ' ' <"$out/stderr.txt"))"
}

# Everything the game does from here until the next step is filed under this name.
step() {
    alive
    current=$1
    echo "$(now) step $1" >>"$steps"
}

shots=0
shot() {
    alive
    shots=$((shots + 1))
    local file
    file=$(printf '%02d-%s.png' "$shots" "$1")
    echo "$(now) shot-begin $file" >>"$steps"
    import -window root "$out/$file"
    echo "$(now) shot-end $file" >>"$steps"
}

# A key held for a few frames, as a finger presses it.
press() {
    local key
    for key in "$@"; do
        alive
        xdotool keydown "$key"
        sleep 0.06
        xdotool keyup "$key"
        sleep 0.25
    done
}

click() {
    xdotool mousedown "$1"
    sleep 0.06
    xdotool mouseup "$1"
    sleep 0.25
}

# An item of the main menu, by its place from the top, clicked with the mouse: the menu keeps
# its selection between visits, so counting key presses would depend on the way there. ESCAPE
# first climbs out of any submenu; the pointer then goes back over the 3D view.
main_menu_item() {
    press Escape Escape Escape
    sleep 0.6
    xdotool mousemove 235 $((418 + 20 * $1))
    sleep 0.2
    click 1
    xdotool mousemove 400 120
    sleep 0.3
}

# Splash screens: each waits for its own time or a key.
step splash
sleep 1.5
shot splash-lumisk
press space
sleep 0.6
shot splash-zindle
press space
sleep 0.6
shot splash-quendle
# The loading screen stands for a fraction of a second: the picture is taken the moment the
# key is let go.
xdotool keydown space
sleep 0.03
xdotool keyup space
step loading
shot loading
shot loading-later
sleep 3
step main-menu
shot main-menu

# The settings, each menu of them.
step settings
main_menu_item 3
shot settings
press Return
shot settings-controls
press Return
shot settings-redefine-keys
press Return
shot settings-redefine-waiting
# ESCAPE keeps the old key, then leads back up through the controls.
press Escape Escape Escape
press Down
press Return
shot settings-display
# Back in the settings the selection starts at the top again.
press Escape
press Down Down
press Return
shot settings-sound
press Escape Escape

# The trick trainer: the list of tricks, one trick's variants, the trainer's panels.
step trick-trainer
main_menu_item 2
shot tricks
press Return
shot trick-variants
press Return
sleep 1
shot trainer-intro
press space
sleep 2
shot trainer-flying
sleep 6
shot trainer-later
press Escape
sleep 1
shot trainer-again
press Escape
sleep 1
shot trainer-left

# A game: flight with the HUD, turns, fire, an EMP blast.
step play
main_menu_item 0
sleep 2
shot play
press Left
sleep 0.3
press Up
sleep 0.5
shot play-turns
xdotool mousedown 1
sleep 1
shot play-fire
xdotool mouseup 1
press Return
sleep 0.2
shot play-emp
sleep 2
shot play-on

step pause
press Control_R
sleep 0.5
shot pause
press space
step ingame-menu
press Escape
# Out of flight the pointer shows again where the game last had it: over the 3D view it
# selects nothing.
xdotool mousemove 400 120
sleep 0.5
shot ingame-menu
press Down Return
shot ingame-settings
press Down Return
shot ingame-display
# COCKPIT TYPE: SIMPLE BAR, the other set of gauges.
press Down Down Right
shot ingame-display-changed
press Escape Escape
press Escape
step play-simple-bar
sleep 1
shot play-simple-bar
# Back to the HUD gauges for the rest of the game.
press Escape
xdotool mousemove 400 120
sleep 0.5
press Down Return Down Return Down Down Left
shot ingame-display-back
press Escape Escape Escape

# Left alone, the craft flies on into the trails until its shields are gone; the game-over
# screen stands for ten seconds, then the score entry opens. A key would cut the game-over
# screen short, so from here the game is only watched: a picture a second, until the score
# table's panel shows.
step game-over
watch=$out/watch
mkdir -p "$watch"
# The panel darkens the world behind it to 40 %: its left edge shows as a step in brightness
# all the way down, whatever the world looks like.
panel_shown() {
    local outside inside
    outside=$(convert "$1" -crop 2x300+76+150 +repage -colorspace gray -format "%[fx:mean]" info:)
    inside=$(convert "$1" -crop 2x300+81+150 +repage -colorspace gray -format "%[fx:mean]" info:)
    awk -v o="$outside" -v i="$inside" 'BEGIN { exit !(o > 0.1 && i / o > 0.25 && i / o < 0.55) }'
}
found=
for ((i = 0; i < 240; ++i)); do
    alive
    frame=$(printf '%s/%03d.png' "$watch" "$i")
    echo "$(now) shot-begin watch" >>"$steps"
    import -window root "$frame"
    echo "$(now) shot-end watch" >>"$steps"
    if panel_shown "$frame"; then
        found=$i
        break
    fi
    sleep 1
done
[[ -n $found ]] || fail "no score entry within 4 minutes of play"
# The first picture shows the flight as the trails have grown.
shots=$((shots + 1))
cp "$watch/000.png" "$(printf '%s/%02d-play-later.png' "$out" "$shots")"
# Five pictures back the game-over screen was still up.
shots=$((shots + 1))
cp "$(printf '%s/%03d.png' "$watch" $((found > 5 ? found - 5 : 0)))" "$(printf '%s/%02d-game-over.png' "$out" "$shots")"
step score-entry
sleep 1
shot score-entry
press p l a y t e s t
shot score-entry-typed
press Return
sleep 1

step scores
main_menu_item 4
sleep 1.5
shot scores
press space
sleep 2
shot scores-next
press Escape

step credits
main_menu_item 5
sleep 3
shot credits
sleep 5
shot credits-later
press space

# Left alone for twenty seconds, the main menu shows the score tables by itself.
step attract
sleep 22
shot attract-scores
press space
sleep 1
shot main-menu-again

step quit
main_menu_item 6
status=
if ! reap_within "$game" 50; then
    import -window root "$out/quit-not-yet.png"
    reap_within "$game" 250 || true
fi
game_ended=$(now)
[[ -n $status ]] || fail "the game did not end within 30 s of QUIT"
game=
[[ $status -eq 0 ]] || fail "the game ended with exit status $status"
echo "$game_ended step ended" >>"$steps"

# ---- frame times ----------------------------------------------------------------------------

# Each frame is filed under the step in force when it ended and marked when a screenshot ran
# meanwhile (the X server is busy copying the screen, so those frames measure the camera).
report=$out/frames.txt
sort -n "$steps" | awk -v swaps="$swaps" '
    { at[NR] = $1; kind[NR] = $2; name[NR] = $3; events = NR }
    END {
        e = 1; step = "start"; shooting = 0
        while ((getline line < swaps) > 0) {
            t = line + 0
            while (e <= events && at[e] <= t) {
                if (kind[e] == "step") step = name[e]
                else if (kind[e] == "shot-begin") { shooting = 1 }
                else if (kind[e] == "shot-end") { shooting = 0; shotEnded = at[e] }
                ++e
            }
            if (previous > 0) {
                ms = (t - previous) / 1e6
                marked = shooting || shotEnded > previous
                printf "%.3f %s %s\n", ms, step, marked ? "screenshot" : "-"
            }
            previous = t
            shotEnded = 0
        }
    }' >"$out/frame-list.txt"

{
    echo "Frames: $(wc -l <"$out/frame-list.txt") in all; machine load $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
    echo
    echo "Per step (frames without a screenshot running): frames, median ms (fps), slowest ms, over 1/30 s"
    awk '$3 == "-" { print $2, $1 }' "$out/frame-list.txt" | sort -k1,1 -k2,2n | awk '
        function flush() {
            if (n == 0) return
            median = v[int((n + 1) / 2)]
            printf "  %-18s %6d  %7.2f (%5.1f)  %8.2f  %d\n", step, n, median, 1000 / median, v[n], over
        }
        $1 != step { flush(); step = $1; n = 0; over = 0 }
        { v[++n] = $2; if ($2 > 1000 / 30) ++over }
        END { flush() }'
    echo
    play=$(awk '$3 == "-" && $2 ~ /^play/ { print $1 }' "$out/frame-list.txt" | sort -n |
        awk '{ v[++n] = $1 } END { if (n) printf "%.2f ms, %.1f fps over %d frames", v[int((n + 1) / 2)], 1000 / v[int((n + 1) / 2)], n }')
    echo "Median frame in play: $play"
    echo
    echo "Slowest ten frames (ms, step, screenshot running):"
    sort -rn "$out/frame-list.txt" | awk 'NR <= 10' | awk '{ printf "  %8.2f  %-18s %s\n", $1, $2, $3 }'
    echo
    echo "Slowest ten frames with no screenshot running:"
    awk '$3 == "-"' "$out/frame-list.txt" | sort -rn | awk 'NR <= 10' | awk '{ printf "  %8.2f  %s\n", $1, $2 }'
} >"$report"
cat "$report"
rm -rf "$watch"

# ---- full screen and window, without a window manager and under one ---------------------------

# On a screen that really switches to 800 x 600 (Xorg's dummy driver), scaled on a larger one
# and in a window, on a bare X display and under openbox: the menu seen whole from the screen's
# corner, back in a window with its title bar on the screen, QUIT clicked where it shows.
for manager in none openbox; do
    current=fullscreen-modes
    flags=()
    if [[ $manager == openbox ]]; then
        current=fullscreen-modes-wm
        flags=(--window-manager)
    fi
    echo
    modes=0
    (cd "$out" && "$root/tests/executable/fullscreen_modes.sh" "${flags[@]}" "$game_dir" "$out/$current") || modes=$?
    if ((modes == 77)); then
        echo "Part of the full-screen check left out: Xorg's dummy driver or openbox is not installed here"
    elif ((modes != 0)); then
        fail "full screen or window, window manager: $manager (screenshots in build/playtest/$current/)"
    fi
done
echo
echo "Playtest passed: the game quit through its menu with exit status 0, in full screen and"
echo "in a window alike."
echo "Screenshots: build/playtest/*.png and build/playtest/fullscreen-modes*/; frame times: build/playtest/frames.txt"
