# Shell helpers for scripts that start the built game. Source this file.
# shellcheck shell=bash

# build_release_game ROOT: the game in ROOT/build/run brought up to date with its sources (an
# up-to-date game is left as it is). Where build/ is not configured yet, it is configured as
# ./run.sh does: Release, without tests and benchmarks. CMAKE_BUILD_PARALLEL_LEVEL, where set,
# limits the build's jobs (on a shared machine); otherwise Ninja uses every core.
build_release_game() {
    if [[ ! -f $1/build/CMakeCache.txt ]]; then
        "$1/scripts/install-deps.sh"
        cmake -S "$1" -B "$1/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELLARIS_TESTS=OFF \
            -DQUELLARIS_BENCH=OFF >/dev/null
    fi
    cmake --build "$1/build" --target quellaris game_content game_folder
}

# copy_game_folder SOURCE DEST: a game folder of its own at DEST (made if missing), whose data/
# is copied so that the game's saves never touch SOURCE, the rest linked.
copy_game_folder() {
    local entry
    mkdir -p "$2"
    for entry in "$1"/*; do
        if [[ $(basename "$entry") == data ]]; then
            cp -r "$entry" "$2/"
        else
            ln -s "$entry" "$2/"
        fi
    done
}

# free_display FIRST: prints the first X display number from FIRST up to :199 that no server
# holds, as ":N"; fails when there is none.
free_display() {
    local n
    for ((n = $1; n < 200; ++n)); do
        if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
            echo ":$n"
            return 0
        fi
    done
    echo "No free display number between :$1 and :199" >&2
    return 1
}

# open_virtual_display FIRST LOG [SIZE]: a virtual display on the first free number from FIRST,
# made the DISPLAY of what follows (see start_virtual_display). Where another server takes the
# number first, the next free one is tried; false when no display comes up.
open_virtual_display() {
    local first=$1 attempt
    for ((attempt = 0; attempt < 5; ++attempt)); do
        DISPLAY=$(free_display "$first") || return 1
        export DISPLAY
        start_virtual_display "$DISPLAY" "$2" "${3:-800x600}" && return 0
        first=$((${DISPLAY#:} + 1))
    done
    echo "No virtual display came up (see $2)" >&2
    return 1
}

# stop_game_and_display: ends the game ($game) and the virtual display ($xvfb), where started;
# for an EXIT trap.
stop_game_and_display() {
    [[ -n ${game:-} ]] && kill "$game" 2>/dev/null || true
    [[ -n ${xvfb:-} ]] && kill "$xvfb" 2>/dev/null || true
}

# start_virtual_display DISPLAY LOG [SIZE]: an Xvfb of SIZE pixels (WIDTHxHEIGHT, 800x600 when
# not given) on DISPLAY, its output in LOG; sets xvfb to its process id and returns once
# clients can connect. False, with nothing left running, when it is not up within 10 s or
# another server holds the number. A screen of another size is where full screen has to scale
# the game's 800 × 600 picture.
start_virtual_display() {
    local i
    Xvfb "$1" -screen 0 "${3:-800x600}x24" -nolisten tcp >"$2" 2>&1 &
    xvfb=$!
    for ((i = 0; i < 100; ++i)); do
        # The lock file names the server that holds the number: ours, not one that came first.
        if [[ $(tr -d ' ' 2>/dev/null <"/tmp/.X${1#:}-lock") == "$xvfb" ]] &&
            DISPLAY=$1 xdotool getdisplaygeometry >/dev/null 2>&1; then
            return 0
        fi
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.1
    done
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=
    return 1
}

# start_display_on_fd WORK [SIZE]: an Xvfb of SIZE pixels (800x600 when not given) on a display
# number the server picks itself, so that no two tests race for one; sets xvfb to its process
# id and DISPLAY to its display, its output in WORK/xvfb.txt. False when none is up in 10 s.
start_display_on_fd() {
    local i
    # The number a server before it wrote must not be read as this one's.
    rm -f "$1/display"
    Xvfb -displayfd 3 -screen 0 "${2:-800x600}x24" -nolisten tcp 3>"$1/display" >"$1/xvfb.txt" 2>&1 &
    xvfb=$!
    for ((i = 0; i < 100; ++i)); do
        [[ -s $1/display ]] && break
        sleep 0.1
    done
    [[ -s $1/display ]] || return 1
    DISPLAY=:$(cat "$1/display")
    export DISPLAY
}

# end_process PID [SECONDS]: asks PID to end (SIGTERM), kills it should it not be gone within
# SECONDS (5 when not given) and reaps it. Asked to end, an X server takes its lock and socket
# away (and Xorg gives the screen its mode back); killed, it would leave them behind in /tmp.
end_process() {
    local i
    [[ -n $1 ]] || return 0
    kill -TERM "$1" 2>/dev/null || true
    for ((i = 0; i < ${2:-5} * 10; ++i)); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# reap_within PID TENTHS: waits up to TENTHS tenths of a second for the child PID to end; true
# once it has, with its exit status in status, false while it still runs.
reap_within() {
    local i
    for ((i = 0; i < $2; ++i)); do
        if ! kill -0 "$1" 2>/dev/null; then
            status=0
            wait "$1" || status=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# process_ended PID: true once PID is gone, or only a zombie that nobody has reaped yet.
process_ended() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 0
    [[ -z $state || $state == Z ]]
}

# skip_splash_screens: with the game's window just up, the three splash screens skipped as a
# player does, leaving the game loading its main menu.
skip_splash_screens() {
    xdotool mousemove 400 120
    sleep 1.5
    press space
    sleep 0.6
    press space
    sleep 0.6
    press space
}

# press KEY...: taps each key as a player does, held long enough for a frame's poll to see it.
press() {
    local key
    for key in "$@"; do
        xdotool keydown "$key"
        sleep 0.1
        xdotool keyup "$key"
        sleep 0.2
    done
}

# start_logged_game FOLDER SWAPS SHIM: starts the game in FOLDER with the swap logger SHIM
# stamping its buffer swaps into SWAPS, sets game to its process id, and once its window is up
# skips the three splash screens, leaving it loading the main menu.
start_logged_game() {
    (cd "$1" && exec env ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}" SWAPLOG_FILE="$2" LD_PRELOAD="$3" \
        ./quellaris >/dev/null 2>&1) &
    game=$!
    timeout 10 xdotool search --sync --name '^Quellaris$' >/dev/null 2>&1 || { echo "no game window" >&2; return 1; }
    skip_splash_screens
}

# now: the wall clock in nanoseconds, as the swap logger stamps its swaps.
now() { date +%s%N; }
