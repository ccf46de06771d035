#!/usr/bin/env bash
# Starts the built game as a player would on a machine that lacks a display or a sound device,
# in a scratch copy of its game folder, and checks what the player is told and the exit status.
#   without_devices.sh display|sound <game folder>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/gamefolder.sh"
case=$1
source=$(cd "$2" && pwd)
folder=$(mktemp -d "$PWD/without_devices.XXXXXX")
trap 'rm -rf "$folder"' EXIT
copy_game_folder "$source" "$folder"
cd "$folder"
# A sanitizer build of the game lists the third-party leaks it left out; that list is no message.
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0
errors=$folder/stderr.txt

fail() {
    echo "FAILED: $1" >&2
    echo "--- standard error of the game:" >&2
    cat "$errors" >&2
    exit 1
}

case $case in
display)
    # A runtime folder of its own: a desktop's holds its compositor's socket, which SDL would
    # find without WAYLAND_DISPLAY, and without any the Wayland client library that SDL probes
    # writes a complaint of its own.
    export XDG_RUNTIME_DIR=$folder/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # As a player over a remote shell starts it (SDL would fall back to a driver that shows
    # nothing), and with the desktop's driver asked for by name. A game that runs unseen is
    # stopped by the time limit.
    for driver in "" x11; do
        status=0
        env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ${driver:+SDL_VIDEODRIVER=$driver} \
            timeout -k 5 30 ./quellaris >/dev/null 2>"$errors" || status=$?
        what="with SDL_VIDEODRIVER ${driver:-not set}"
        [[ $status -ne 124 && $status -ne 137 ]] || fail "$what, still running after 30 s with nothing shown"
        [[ $status -eq 1 ]] || fail "$what, exit status $status, not 1"
        # The variables looked at and SDL's answer, then the error box's text.
        looked="DISPLAY not set, WAYLAND_DISPLAY not set${driver:+, SDL_VIDEODRIVER=$driver}"
        looked="No display to show the game on ($looked): "
        [[ $(wc -l <"$errors") -eq 2 && $(head -n 1 "$errors") == "$looked"?* ]] ||
            fail "$what, not a line on the display looked for and SDL's answer first"
        [[ $(tail -n 1 "$errors") == "Runtime error: Couldn't register Windows Class" ]] ||
            fail "$what, not the error box's text after it"
    done
    ;;
sound)
    # No driver of that name exists, so no sound device opens.
    SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=none ./quellaris >/dev/null 2>"$errors" &
    game=$!
    # The sound starts while the game is built; once it has said so, the game runs a moment of
    # frames and is asked to quit (SDL turns SIGTERM into the window's close). The offscreen
    # driver's swap does not wait for the drawing, so the frames queue up and the exit waits
    # for them all: the run is kept short.
    for ((waited = 0; waited < 600; ++waited)); do
        [[ -s $errors ]] && break
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    sleep 0.2
    kill -TERM "$game" 2>/dev/null || true
    status=0
    wait "$game" || status=$?
    [[ $status -eq 0 ]] || fail "exit status $status, not 0"
    told="The sound device could not be opened: none of the sound outputs that ALSOFT_DRIVERS=none names"
    told="$told can be used; the game runs without sound"
    [[ $(cat "$errors") == "$told" ]] || fail "not exactly the line on the sound device that did not open"
    ;;
*)
    echo "usage: $0 display|sound <game folder>" >&2
    exit 2
    ;;
esac
