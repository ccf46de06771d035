#!/usr/bin/env bash
# Starts the built game as a player would on a desktop (a virtual display of its own), with a
# file it needs missing, so that it stops with its "Runtime error" box on the screen; then sends
# the signal that a terminal's Ctrl-C or the end of a session sends. The game must end at once
# with status 1 and take the box's process with it, both when it failed before its window was
# made and after.
#   error_box.sh <game folder>
# Needs Xvfb, and X's core fonts (xfonts-base), without which no box can be shown.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/gamefolder.sh"
source=$(cd "$1" && pwd)
work=$(mktemp -d "$PWD/error_box.XXXXXX")
# Job control: a game started in the background of a script would ignore SIGINT otherwise.
set -m
xvfb=
game=
box=
cleanup() {
    local pid i
    # Ended here without a word of bash's about its jobs.
    disown -a
    for pid in $box $game; do
        kill -KILL "$pid" 2>/dev/null || true
    done
    end_process "$xvfb"
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $1" >&2
    echo "--- standard error of the game:" >&2
    cat "$work/stderr.txt" >&2 2>/dev/null || true
    exit 1
}

# A child of process $1, or nothing.
child_of() {
    local stat line parent
    for stat in /proc/[0-9]*/stat; do
        read -r line 2>/dev/null <"$stat" || continue
        # After the name in brackets (which may hold blanks): the state, then the parent.
        read -r _ parent _ <<<"${line##*) }"
        if [[ $parent == "$1" ]]; then
            stat=${stat#/proc/}
            echo "${stat%/stat}"
            return 0
        fi
    done
    return 0
}

start_display_on_fd "$work" || fail "no virtual display (is Xvfb installed?)"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
# A sanitizer build of the game lists the third-party leaks it left out; that list is no message.
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0

# Signal, then the file taken away: the name file stops the game before it has a window, the
# first splash picture once it has one.
for run in "TERM data/english_mf.txt" "INT textures/splash_lumisk.png"; do
    read -r signal missing <<<"$run"
    what="SIG$signal with $missing missing"
    folder=$work/game.$signal
    copy_game_folder "$source" "$folder"
    # A linked folder becomes a folder of links, so the file goes from the copy alone.
    top=${missing%%/*}
    if [[ -L $folder/$top ]]; then
        rm "$folder/$top"
        mkdir "$folder/$top"
        ln -s "$source/$top"/* "$folder/$top/"
    fi
    rm "$folder/$missing"

    (cd "$folder" && exec ./quellaris >/dev/null 2>"$work/stderr.txt") &
    game=$!
    box=
    for ((i = 0; i < 300; ++i)); do
        ! process_ended "$game" || fail "$what: the game ended before it showed its box"
        box=$(child_of "$game")
        [[ -n $box ]] && break
        sleep 0.1
    done
    [[ -n $box ]] || fail "$what: no box within 30 s"
    sleep 1
    ! process_ended "$box" || fail "$what: the box could not be shown (are X's core fonts, xfonts-base, installed?)"

    kill "-$signal" "$game"
    # A few seconds: a sanitizer build on a busy machine is slow to let go of its memory.
    for ((i = 0; i < 50; ++i)); do
        process_ended "$game" && break
        sleep 0.1
    done
    process_ended "$game" || fail "$what: the game still runs 5 s after the signal"
    status=0
    wait "$game" || status=$?
    game=
    [[ $status -eq 1 ]] || fail "$what: exit status $status, not 1"
    for ((i = 0; i < 10; ++i)); do
        process_ended "$box" && break
        sleep 0.1
    done
    process_ended "$box" || fail "$what: the box's process $box outlived the game"
    box=
done
