#!/usr/bin/env bash
# Starts the built game unseen, as the tests and scripts that need no screen run it
# (SDL_VIDEODRIVER=offscreen), in a scratch copy of its game folder, and after 10 s asks it to
# end with a SIGTERM, as a time limit does. Its resident memory must stay under 1 GB on the
# way, and it must end with status 0 within 20 s of the signal: far from what the game takes
# (about 120 MB in a Release build, 500 MB with the sanitizers, and an end at once), and far
# from a game that queues its frames without bound.
#   unseen_run.sh <game folder>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/gamefolder.sh"
source=$(cd "$1" && pwd)
folder=$(mktemp -d "$PWD/unseen_run.XXXXXX")
game=
cleanup() {
    [[ -z $game ]] || kill -KILL "$game" 2>/dev/null || true
    rm -rf "$folder"
}
trap cleanup EXIT
copy_game_folder "$source" "$folder"
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0

fail() {
    echo "FAILED: $1 (resident memory up to $((most / 1024)) MB)" >&2
    echo "--- standard error of the game:" >&2
    cat "$folder/stderr.txt" >&2
    exit 1
}

(cd "$folder" && exec env SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}" \
    ./quellaris >/dev/null 2>"$folder/stderr.txt") &
game=$!
most=0
for ((i = 0; i < 100; ++i)); do
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$game/status" 2>/dev/null) || rss=
    ! process_ended "$game" && [[ -n $rss ]] || fail "ended by itself before the SIGTERM"
    ((rss <= most)) || most=$rss
    ((most <= 1024 * 1024)) || fail "resident memory past 1 GB before the SIGTERM"
    sleep 0.1
done
kill -TERM "$game"
status=
reap_within "$game" 200 || fail "still running 20 s after the SIGTERM"
game=
[[ $status -eq 0 ]] || fail "exit status $status after the SIGTERM, not 0"
