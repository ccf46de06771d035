#!/usr/bin/env bash
# Starts the built game as scripts and launchers start it, with its standard streams or its
# working directory not as a terminal leaves them, and checks that it neither hangs nor dies of
# that, and what it says:
#   stdout_closed         ./quellaris >&-        plays, and a SIGTERM ends it at once with
#                                                status 0, nothing said on standard error
#   stdout_stderr_closed  ./quellaris >&- 2>&-   the same
#   reader_gone           ./quellaris | head -1  plays on once its reader has gone, and ends so
#   other_folder          started by its path from a fresh empty folder, as a launcher does:
#                         it plays on its own folder's files, saves its settings there and
#                         ends on a SIGTERM with status 0; alone in its folder, it tells, and its
#                         error box says before the error, that neither folder has its files;
#                         the folder it was started in stays empty
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
    # A copy of the program, not a link, so that its own folder is the copy's. Paths as the game
    # finds them: with no link on the way.
    own=$folder
    cp --remove-destination "$source/quellaris" "$own/quellaris"
    mkdir "$work/alone"
    alone=$(cd "$work/alone" && pwd -P)
    cp "$source/quellaris" "$alone/"
    # Only its own folder's settings say fast; a right click on SPEED steps them back to normal.
    sed -i 's/^gameSpeed .*/gameSpeed  fast/' "$own/data/vasp.conf"
    start_display
    # The program's folder (the variable that holds it) and the display: where none is, no box
    # can show and the game ends once it has told its failure. Each starts in a new empty folder.
    while read -r program display then; do
        mkdir "$work/from_$program"
        start=$(cd "$work/from_$program" && pwd -P)
        shown=()
        [[ $display == x ]] || shown=(-u DISPLAY SDL_VIDEODRIVER=offscreen)
        (cd "$start" && exec env "${shown[@]}" "${!program}/quellaris" >/dev/null 2>"$errors") &
        game=$!
        case $then in
        plays)
            window=$(timeout 30 xdotool search --sync --name '^Quellaris$' | head -n 1) ||
                fail "no game window within 30 s"
            skip_splash_screens
            # Tried until saved: the menu may still be loading or sliding in. A move points the menu
            # at the item under the mouse; a right click elsewhere than on SPEED changes nothing.
            for ((i = 0; i < 30; ++i)); do
                xdotool mousemove --window "$window" 600 300 sleep 0.1 mousemove --window "$window" 260 438 \
                    sleep 0.1 mousedown 3 sleep 0.1 mouseup 3
                for ((j = 0; j < 20; ++j)); do
                    grep -q '^gameSpeed  fast$' "$own/data/vasp.conf" || break 2
                    sleep 0.1
                done
            done
            grep -qx 'gameSpeed  normal' "$own/data/vasp.conf" ||
                fail "its own folder's settings hold no step back from fast: $(grep gameSpeed "$own/data/vasp.conf")"
            expect_play_and_clean_end
            ;;
        fails)
            reap_within "$game" 600 || fail "still running after 60 s"
            game=
            [[ $status -eq 1 ]] || fail "exit status $status, not 1"
            note="The game cannot find its files: it looks for its data, mesh, sounds and textures folders
in the folder it was started in,
    $start,
which has none of them, and in its own folder,
    $alone,
which has none of them."
            # Told at once, and in the box, whose text follows "Runtime error: ", before the error.
            thrown="NameGenerator::buildStats - cannot open requested source file"
            [[ $(<"$errors") == "$note"$'\n'*$'\n'"Runtime error: $note"$'\n\n'"$thrown" ]] ||
                fail "not told, and then in the box before the error, where it looked for its files"
            ;;
        esac
        [[ -z $(ls -A "$start") ]] || fail "left $(ls -A "$start") in the folder it was started in"
    done <<'ROWS'
own    x     plays
alone  none  fails
ROWS
    ;;
*)
    echo "usage: $0 stdout_closed|stdout_stderr_closed|reader_gone|other_folder <game folder>" >&2
    exit 2
    ;;
esac
