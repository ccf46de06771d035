#!/usr/bin/env bash
# Starts the built game as scripts and launchers start it, with its standard streams or its
# working directory not as a terminal leaves them, and checks that it neither hangs nor dies of
# that, and what it says:
#   stdout_closed         ./quellaris >&-        plays, and a SIGTERM ends it at once with
#                                                status 0, nothing said on standard error
#   stdout_stderr_closed  ./quellaris >&- 2>&-   the same
#   reader_gone           ./quellaris | head -1  plays on once its reader has gone, and ends so
#   other_folder          started from a folder without the game's own: the first line of
#                         standard error says where the game reads its files from, and the
#                         failure that follows is told as before
#   hostile_start.sh <case> <game folder>
# The playing cases need Xvfb: only a real display connection can take a closed descriptor.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/gamefolder.sh"
case=$1
source=$(cd "$2" && pwd)
work=$(mktemp -d "$PWD/hostile_start.XXXXXX")
errors=$work/stderr.txt
: >"$errors"
xvfb=
game=
reader=
cleanup() {
    local pid i
    for pid in $game $reader; do
        kill -KILL "$pid" 2>/dev/null || true
    done
    end_process "$xvfb"
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $case: $1" >&2
    echo "--- standard error of the game:" >&2
    cat "$errors" >&2
    exit 1
}

# True once process $1 holds a socket: the display connection, made as SDL starts its video.
connected() {
    local descriptor
    for descriptor in /proc/"$1"/fd/*; do
        [[ $(readlink "$descriptor" 2>/dev/null) == socket:* ]] && return 0
    done
    return 1
}

start_display() {
    start_display_on_fd "$work" || fail "no virtual display (is Xvfb installed?)"
    unset WAYLAND_DISPLAY SDL_VIDEODRIVER
}

# Once the game has its display, it is let load on past the point where a trace written into
# that connection hung it, or a reader's leaving ended it; then it must still run, end on a
# SIGTERM at once and say it ended well.
expect_play_and_clean_end() {
    local i status
    for ((i = 0; i < 300; ++i)); do
        ! process_ended "$game" || break
        connected "$game" && break
        sleep 0.1
    done
    if process_ended "$game"; then
        status=0
        wait "$game" || status=$?
        game=
        fail "ended with status $status before it was asked to"
    fi
    connected "$game" || fail "no display connection within 30 s"
    sleep 2
    ! process_ended "$game" || fail "ended by itself while loading"
    kill -TERM "$game"
    # A sanitizer build on a busy machine is slow to let go of its memory.
    for ((i = 0; i < 50; ++i)); do
        process_ended "$game" && break
        sleep 0.1
    done
    process_ended "$game" || fail "still runs 5 s after a SIGTERM"
    status=0
    wait "$game" || status=$?
    game=
    [[ $status -eq 0 ]] || fail "exit status $status after a SIGTERM, not 0"
    # An output that takes nothing is no error of the game's.
    [[ ! -s $errors ]] || fail "wrote to standard error"
}

export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
# A sanitizer build of the game lists the third-party leaks it left out; that list is no message.
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0
folder=$work/game
copy_game_folder "$source" "$folder"

case $case in
stdout_closed)
    start_display
    (cd "$folder" && exec ./quellaris >&- 2>"$errors") &
    game=$!
    expect_play_and_clean_end
    ;;
stdout_stderr_closed)
    start_display
    (cd "$folder" && exec ./quellaris >&- 2>&-) &
    game=$!
    expect_play_and_clean_end
    ;;
reader_gone)
    start_display
    mkfifo "$work/output"
    head -n 1 <"$work/output" >"$work/first_line.txt" &
    reader=$!
    (cd "$folder" && exec ./quellaris >"$work/output" 2>"$errors") &
    game=$!
    for ((i = 0; i < 300; ++i)); do
        process_ended "$reader" && break
        sleep 0.1
    done
    process_ended "$reader" || fail "its reader got no line within 30 s"
    reader=
    expect_play_and_clean_end
    ;;
other_folder)
    # Where no box can be shown the game ends as soon as it has told its failure.
    mkdir "$work/elsewhere"
    # As the game finds its working directory: with no link on the way.
    elsewhere=$(cd "$work/elsewhere" && pwd -P)
    status=0
    (cd "$elsewhere" && exec env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen \
        timeout -k 5 30 "$folder/quellaris" >/dev/null 2>"$errors") || status=$?
    [[ $status -ne 124 && $status -ne 137 ]] || fail "still running after 30 s"
    [[ $status -eq 1 ]] || fail "exit status $status, not 1"
    first="The game reads its files from the folder it is started in, $elsewhere, which has no data, mesh,"
    first+=" sounds or textures folder"
    [[ $(head -n 1 "$errors") == "$first" ]] || fail "not a line on the folder it reads its files from first"
    [[ $(wc -l <"$errors") -ge 2 && $(tail -n 1 "$errors") == "Runtime error: "?* ]] ||
        fail "not the error box's text after it"
    ;;
*)
    echo "usage: $0 stdout_closed|stdout_stderr_closed|reader_gone|other_folder <game folder>" >&2
    exit 2
    ;;
esac
