#!/usr/bin/env bash
# A soak run: the Release game played for a while the way players play it, under the C
# library's checking allocator, until it has spent the minutes given; any sign of damage fails
# the run. The game is driven with xdotool on virtual displays of its own, by keys and mouse
# buttons at random moments and held for random times, some of them within one frame, through
# every screen: the splash screens and loading, the menus and each game speed, flights with
# turns, shots, mouselook, boost, EMP blasts, pauses and the in-game menu, game over and the
# entry of a name, the score tables, the credits, the attract loop left alone, the trick
# trainer, and the settings, where full screen is switched both ways.
#
#   scripts/soak.sh MINUTES [SEED]
#
# The run is a row of sessions of a minute or two each, until MINUTES of play are spent (two
# sessions at least). Each session starts the game from a fresh copy of the game folder
# (build/run, brought up to date with its sources first) on a display of its own, in turn in
# scaled full screen at 1024 x 768, in a window at 800 x 600, in scaled full screen at
# 1280 x 720 and in a window on a 1024 x 768 desktop, and ends it through the main menu's QUIT.
# The game runs with ALSOFT_DRIVERS=null and with glibc's malloc debugging library preloaded
# (MALLOC_CHECK_=3, freed memory overwritten by MALLOC_PERTURB_), where a healthy game prints
# nothing on standard error. A session fails when the game ends other than by QUIT with exit
# status 0 and its window gone in time, is killed by a signal, or prints anything on standard
# error; the run then stops naming the session, the seed that replays it and its last screenshot.
#
# The same SEED drives the same sessions with the same keys, clicks, holds and waits (the
# game's own timing may differ). SEED/N replays only session N of that seed. Without a SEED
# one is drawn and printed. The sessions' screenshots, the game's output and a log of what was
# done are kept under build/soak/. The last line sums the run up: sessions, minutes of play,
# screens seen on the screen, seed, checker and outcome.
#
# The script knows where it has driven the game and, where the game may have gone elsewhere
# (a press shorter than a frame, a game that ends by itself), looks at the screen: every part
# of a session starts from the main menu, reached again and checked on the screen. Only what
# was seen there counts: a screen the script drove towards but did not look at is not counted,
# and a run passes only when every session was seen through to its QUIT and one at least
# reached the main menu and played a game. A game that a stray press QUIT cleanly is started
# again; where the script loses its way, the session ends by closing the game (SIGTERM), which
# must still end it cleanly and in time, and the run goes on but cannot pass.
#
# Exit status:
#   0  passed: every session seen through, no fault of the game.
#   1  a fault of the game (also when the soak's own trouble came after the game had shown it).
#   2  wrong arguments.
#   3  this machine cannot run a soak: no virtual display could be started, or the packages or
#      the checking allocator it needs are missing and cannot be had.
#   4  the soak's own trouble: the screen could not be seen or read, the script lost its way,
#      no session reached the main menu and played a game, build/ is configured otherwise or
#      the game did not build, or an error of the script itself.
#   5  stopped by SIGTERM or SIGINT before its minutes were spent: the game is ended and the
#      summary line so far printed; no verdict on the game.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/lib/gamefolder.sh"

usage() {
    echo "usage: scripts/soak.sh MINUTES [SEED | SEED/SESSION]" >&2
    exit 2
}
[[ $# -ge 1 && $# -le 2 ]] || usage
minutes=$1
[[ $minutes =~ ^[0-9]+([.][0-9]+)?$ ]] || usage
seed_arg=${2:-$(( $(date +%s%N) / 1000 % 1000000 ))}
[[ $seed_arg =~ ^([0-9]+)(/([0-9]+))?$ ]] || usage
seed=$((10#${BASH_REMATCH[1]}))
only_session=${BASH_REMATCH[3]:-}

# summary OUTCOME: the run's last line.
summary() {
    local played
    played=$(awk -v ns="$played_ns" 'BEGIN { printf "%.1f", ns / 6e10 }')
    echo "soak: $sessions session$( ((sessions == 1)) || echo s), $played minutes, $screens screens seen" \
        "(${#kinds[@]} kinds), seed $seed${only_session:+/$only_session}, checker $checker_name: $1"
}

# fault_on_record: FAULT = the fault the game has already shown in this session (a word on
# standard error, an end other than a clean one), or nothing. Only while the display is up: a
# display that went away takes the game's connection with it, and that is no fault of the
# game's.
fault_on_record() {
    FAULT=
    [[ -n $session_dir && -n $xvfb ]] && kill -0 "$xvfb" 2>/dev/null || return 0
    if [[ -s $session_dir/stderr.txt ]]; then
        FAULT="the game wrote to standard error"
    elif [[ -n $game ]] && ! kill -0 "$game" 2>/dev/null; then
        ended
        [[ $ENDED == "exit status 0" ]] || FAULT="the game ended by itself ($ENDED)"
    fi
}

# stop_soak STATUS MESSAGE: the soak cannot run here (3) or cannot go on or pass (4): told
# apart from a fault of the game, unless the game has already shown one, which fails the run
# all the same.
stop_soak() {
    fault_on_record
    [[ -z $FAULT ]] || fail "$FAULT during '$current' (the soak then stopped: $2)"
    echo "soak: $2" >&2
    reported=1
    session_over
    if (($1 == 3)); then
        echo "soak: this machine cannot run a soak; nothing was found in the game" >&2
        summary "cannot run here: $2"
    else
        echo "soak: this is trouble of the soak run itself, not a fault found in the game" >&2
        summary "NOT PASSED, stopped by the soak's own trouble: $2"
    fi
    exit "$1"
}
cannot_run() { stop_soak 3 "$1"; }
trouble() { stop_soak 4 "$1"; }

# session_over: the session under way, if any, counted in the run's sessions and time.
session_over() {
    [[ -n $playing ]] || return 0
    played_ns=$((played_ns + $(date +%s%N) - session_began))
    sessions=$((sessions + 1))
    playing=
}
reported=
sessions=0 played_ns=0 screens=0 restarts=0 games_seen=0 playing=
lost=()
declare -A kinds=()
checker_name="glibc malloc-check (MALLOC_CHECK_=3)"

xvfb=
game=
runtime=
current=set-up
session_name=
session_dir=
# Where the script stops on an error of its own (set -e), from its set-up on, the last line
# says so too; a fault of the game already on record is still the game's.
set -E
trap 'error_line=$LINENO error_command=$BASH_COMMAND' ERR
cleanup() {
    local status=$?
    FAULT=
    if ((status != 0)) && [[ -z $reported ]]; then
        fault_on_record
    fi
    stop_game_and_display
    [[ -z $runtime ]] || rm -rf "$runtime"
    if [[ -n $FAULT ]]; then
        fail "$FAULT during '$current' (the soak script then stopped at line ${error_line:-?}: ${error_command:-?})"
    fi
    if ((status != 0)) && [[ -z $reported ]]; then
        echo "soak: the soak script stopped on an error of its own (status $status) at line ${error_line:-?}:" \
            "${error_command:-?}, in session ${session_name:-none} during '$current'" >&2
        session_over
        summary "NOT PASSED, stopped by an error of the soak script itself, not a fault found in the game"
        exit 4
    fi
}
trap cleanup EXIT

# interrupted SIGNAL: told to stop (CI's time limit, a Ctrl-C), the soak ends its game, sums up
# what it has played so far and ends with a status of its own: an unfinished run says nothing
# of the game. What the game said is not judged either: a Ctrl-C reaches the display server
# too, and the game then loses its display.
interrupted() {
    [[ -z $reported ]] || return 0
    reported=1
    trap - INT TERM
    echo "soak: stopped by SIG$1 in session ${session_name:-none} during '$current'; its game is ended" \
        "${session_dir:+(its output and log so far are in ${session_dir#"$root"/})}" >&2
    end_game
    session_over
    summary "NOT PASSED, stopped by SIG$1 before its minutes were spent: no verdict on the game"
    exit 5
}
trap 'interrupted TERM' TERM
trap 'interrupted INT' INT

"$root/scripts/install-deps.sh" "$root/scripts/playtest-packages.txt" ||
    cannot_run "the packages of scripts/playtest-packages.txt could not be installed"
# An existing build/ is used as it is configured: it must hold the Release game without
# sanitizers, whose own allocator would clash with the checking one.
if [[ -f $root/build/CMakeCache.txt ]]; then
    configured=$(awk -F= '/^CMAKE_BUILD_TYPE:/ { type = $2 }
        /^QUELLARIS_(SANITIZE|TSAN):/ && toupper($2) ~ /^(ON|1|TRUE|YES|Y)$/ { sub(/:.*/, "", $1); type = type " " $1 }
        END { print type }' "$root/build/CMakeCache.txt")
    [[ $configured == Release ]] ||
        trouble "build/ is configured as '$configured', not as the Release game without sanitizers that ./run.sh builds"
fi
build_release_game "$root" || trouble "the Release game did not build in build/"
game_dir=$root/build/run

# The checking allocator of the very C library the game links, whatever the machine's
# architecture; the loader must take it without a word, as the game's standard error is watched.
checker=$(ldd "$game_dir/quellaris" | awk '$1 == "libc.so.6" { print $3 }')
checker=${checker%/*}/libc_malloc_debug.so.0
[[ -f $checker ]] || cannot_run "glibc's $checker (package libc6) is missing"
[[ -z $(LD_PRELOAD=$checker MALLOC_CHECK_=3 /bin/true 2>&1) ]] || cannot_run "the loader does not take $checker quietly"

out=$root/build/soak
rm -rf "$out"
mkdir -p "$out"
# The display libraries want a login session's runtime folder, as a player's desktop has. The
# GL's shader cache starts empty, as a new player's does: the first session fills it, the
# later ones read it.
runtime=$(mktemp -d)
chmod 700 "$runtime"
mkdir -p "$out/cache"


# ---- random numbers ------------------------------------------------------------------------
# Drawn only in the main shell ($RANDOM in a subshell is not the main shell's sequence), and
# reseeded for each part of a session, so that a part's draws never shift another's.

# rnd N: R = a number in 0 .. N - 1.
rnd() { R=$((RANDOM % $1)); }
# pick WORD...: P = one of the words.
pick() {
    local words=("$@")
    P=${words[RANDOM % $#]}
}
# between LOW HIGH: R = a number in LOW .. HIGH.
between() { R=$(($1 + RANDOM % ($2 - $1 + 1))); }
# seconds MS: the milliseconds as seconds, for sleep and xdotool.
seconds() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }
# wait_ms LOW HIGH: a pause of a random length, in milliseconds.
wait_ms() {
    between "$1" "$2"
    sleep "$(seconds "$R")"
}
# hold_ms KIND: R = how long a finger holds a key or button. Some presses end within one frame;
# in the menus no hold reaches the keyboard's repeat delay, in flight some are long.
hold_ms() {
    rnd 20
    if ((R < 4)); then
        R=0
    elif ((R < 14)); then
        between 30 180
    elif [[ $1 == menu ]] || ((R < 18)); then
        between 180 420
    else
        between 500 1800
    fi
}

# ---- the session's record ------------------------------------------------------------------

session_seed=
last_shot=
shots=0
last_seen=''
pressed=''

log() { echo "$(date +%H:%M:%S.%N | cut -c1-12) $*" >>"$session_dir/actions.log"; }

# heading NAME: the game was driven towards the screen NAME; only the log holds it, as the
# screens counted are those seen (see look).
heading() { log "towards screen $1"; }

fail() {
    local reason=$1
    # The display as it failed, besides the last screenshot the script looked at.
    local at_failure=
    if [[ -n $xvfb ]] && kill -0 "$xvfb" 2>/dev/null &&
        import -window root "$session_dir/failure.png" 2>/dev/null; then
        at_failure=$session_dir/failure.png
        last_shot=${last_shot:-$at_failure}
    fi
    log "FAILED: $reason"
    echo "soak: session $session_name FAILED: $reason" >&2
    if [[ -s $session_dir/stderr.txt ]]; then
        echo "soak: the game's standard error:" >&2
        head -n 20 "$session_dir/stderr.txt" | sed 's/^/    /' >&2
    fi
    echo "soak: replay it with: scripts/soak.sh 1 $seed/$session_number" >&2
    echo "soak: its log, output and screenshots are in ${session_dir#"$root"/}" \
        "${at_failure:+(the display as it failed: ${at_failure#"$root"/})}" >&2
    session_over
    reported=1
    summary "FAILED in session $session_name, seed $seed/$session_number, last screenshot ${last_shot#"$root"/}"
    exit 1
}

# ended: ENDED = how the game process ended (it has ended).
ended() {
    local status=0
    wait "$game" || status=$?
    game=
    if ((status > 128)); then
        ENDED="killed by signal $((status - 128)) (SIG$(kill -l $((status - 128)) 2>/dev/null || echo '?'))"
    else
        ENDED="exit status $status"
    fi
}

# The game must still be running and have said nothing on standard error. A game that ended
# cleanly (status 0, not a word said) was QUIT by a press the script aimed elsewhere, as a
# player's stray press may be: it is started again and the session goes on.
check() {
    if ! kill -0 "$game" 2>/dev/null; then
        ended
        [[ ! -s $session_dir/stderr.txt ]] || fail "the game wrote to standard error and ended ($ENDED) during '$current'"
        [[ $ENDED == "exit status 0" ]] || fail "the game ended by itself ($ENDED) during '$current'"
        log "a stray press reached QUIT during '$current': the game is started again"
        echo "soak: session $session_name: a stray press reached QUIT during '$current'; the game is started again"
        restarts=$((restarts + 1))
        launch_game
    fi
    if [[ -s $session_dir/stderr.txt ]]; then
        fail "the game wrote to standard error during '$current'"
    fi
}

# ---- where the picture is ------------------------------------------------------------------
# The game draws an 800 x 600 picture; in a window it is the window, in full screen on a
# larger desktop it is scaled up, centred, with bars where the aspect differs. Positions below
# are the picture's (y downward); they are turned into the display's.

PX=0 PY=0 PW=800 PH=600 WIN_W=0 WIN_H=0

game_window() { xdotool search --onlyvisible --name '^Quellaris$' 2>/dev/null | head -n 1; }

# Reads the window's place and size and works out where the picture stands in it.
locate_picture() {
    local id geometry
    id=$(game_window)
    [[ -n $id ]] || return 1
    geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || return 1
    local X='' Y='' WIDTH='' HEIGHT=''
    eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=' <<<"$geometry")"
    [[ -n $WIDTH && -n $HEIGHT ]] || return 1
    WIN_W=$WIDTH
    WIN_H=$HEIGHT
    read -r PX PY PW PH < <(awk -v x="$X" -v y="$Y" -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
        across = w / 800; down = h / 600; s = across < down ? across : down
        bw = across <= down ? w : int(800 * s + 0.5); bh = across <= down ? int(600 * s + 0.5) : h
        printf "%d %d %d %d\n", x + int((w - bw) / 2), y + int((h - bh) / 2), bw, bh }')
}

# wait_for_mode full|window SECONDS: until the window is as large as the display (full screen)
# or 800 x 600 (a window); false when it is not so in time.
wait_for_mode() {
    local i
    for ((i = 0; i < $2 * 10; ++i)); do
        if locate_picture; then
            if [[ $1 == full && $WIN_W == "$display_w" && $WIN_H == "$display_h" ]] ||
                [[ $1 == window && $WIN_W == 800 && $WIN_H == 600 ]]; then
                return 0
            fi
        fi
        sleep 0.1
    done
    return 1
}

# point X Y: the pointer onto the picture's point.
point() {
    local sx sy
    read -r sx sy < <(awk -v px="$1" -v py="$2" -v ox="$PX" -v oy="$PY" -v w="$PW" -v h="$PH" \
        'BEGIN { printf "%d %d\n", ox + int((px + 0.5) * w / 800), oy + int((py + 0.5) * h / 600) }')
    xdotool mousemove "$sx" "$sy"
}

# The pointer rests over the world above every menu, where it selects nothing.
park() { point 400 120; }

# ---- pressing ------------------------------------------------------------------------------

# press_for KIND WHAT DOWN UP: WHAT (a key or a mouse button) pressed by DOWN and let go by UP
# after a random time of its kind (menu or flight), some within one frame.
press_for() {
    check
    hold_ms "$1"
    pressed=1
    log "$3 $2 ${R}ms"
    if ((R == 0)); then
        xdotool "$3" "$2" "$4" "$2"
    else
        xdotool "$3" "$2" sleep "$(seconds "$R")" "$4" "$2"
    fi
}

# key KIND KEY: a press of KEY held for a random time of its kind.
key() { press_for "$1" "$2" keydown keyup; }

# key_for MS KEY: a press held for that long; for presses the game must see.
key_for() {
    check
    pressed=1
    log "key $2 ${1}ms"
    xdotool keydown "$2" sleep "$(seconds "$1")" keyup "$2"
}

# click KIND BUTTON: a press of a mouse button (1 left, 2 middle, 3 right) where the pointer is.
click() { press_for "$1" "$2" mousedown mouseup; }

# A menu's items stand 20 pixels apart from y = 418 while its bar has its least height (the
# main and in-game menus and the settings' short menus).
item_y() { echo $((418 + 20 * $1)); }

# item ROW [BUTTON]: a click on the item of that row.
item() {
    point 240 "$(item_y "$1")"
    wait_ms 30 200
    click menu "${2:-1}"
}

# ---- looking at the screen -----------------------------------------------------------------

# look: takes a screenshot and sets SEEN to what it shows: main (the main menu itself), ingame
# (the in-game menu itself), panel (a score table's dark panel: the score screens or the entry
# of a name), intro (the trick trainer's intro panel), dark (a splash screen or loading) or
# other. Keeps the session's last screenshots.
look() {
    check
    shots=$((shots + 1))
    local shot
    shot=$(printf '%s/shots/%04d.png' "$session_dir" "$shots")
    SEEN=other
    # The window may have changed its mode or place since it was last measured.
    locate_picture || true
    if ! import -window root "$shot" 2>"$session_dir/look.txt"; then
        trouble "could not see the screen: its grab (import -window root) failed in session $session_name during '$current': $(tool_said)"
    fi
    last_shot=$shot
    rm -f "$(printf '%s/shots/%04d.png' "$session_dir" $((shots - 12)))"
    # Each region is given in the picture's pixels (width, height, left, top) and measured where
    # it stands on the display: the trainer's intro panel (red and blue), the title logo, the
    # bar right of the menu, the score panel's left and right edges (outside, inside), the
    # whole picture, and the rows of a menu's items.
    local regions=("280 120 20 20" "150 30 10 430" "330 110 450 430" "2 300 76 150" "2 300 81 150"
        "2 300 722 150" "2 300 717 150" "800 600 0 0")
    local k
    for ((k = 0; k < 8; ++k)); do
        regions+=("110 12 222 $((412 + 20 * k))")
    done
    local placed=() arguments=() format
    mapfile -t placed < <(printf '%s\n' "${regions[@]}" | awk -v ox="$PX" -v oy="$PY" -v pw="$PW" -v ph="$PH" '{
        s = pw / 800; t = ph / 600; w = int($1 * s); h = int($2 * t)
        printf "%dx%d+%d+%d\n", w < 1 ? 1 : w, h < 1 ? 1 : h, ox + int($3 * s), oy + int($4 * t) }')
    for ((k = 0; k < ${#regions[@]}; ++k)); do
        arguments+=(\( +clone -crop "${placed[k]}" +repage)
        if ((k == 0)); then
            format="%[fx:mean.r] %[fx:mean.b]"
        elif ((k < 8)); then
            format="%[fx:mean]"
        else
            format="%[fx:maxima]"
        fi
        # The whole picture's brightness needs no detail.
        ((k != 7)) || arguments+=(-scale 80x60)
        ((k == 0)) || arguments+=(-colorspace gray)
        arguments+=(-format "$format " -write info: +delete \))
    done
    local features
    features=$(convert "$shot" "${arguments[@]}" null: 2>"$session_dir/look.txt") ||
        trouble "could not see the screen: reading its grab (convert) failed in session $session_name during '$current': $(tool_said)"
    # Two means of the trainer's panel, one of each other region: seventeen numbers.
    [[ $features =~ ^[[:space:]]*([0-9.e+-]+[[:space:]]+){16}[0-9.e+-]+[[:space:]]*$ ]] ||
        trouble "could not see the screen: its grab ${shot#"$root"/} read as '${features:0:120}', not as the seventeen measures looked for, in session $session_name during '$current'"
    # The menus' bar is black at 90 % under the title logo, with a line of text in each row
    # that holds an item: the main menu's seven rows are all full, the in-game menu's third
    # row is its gap. The score panel darkens the world to 40 % between x = 80 and 720.
    SEEN=$(awk 'function darkened(outside, inside) {
            return outside > 0.1 && inside / outside > 0.25 && inside / outside < 0.55
        }
        {
            red = $1; blue = $2; logo = $3; bar = $4; mean = $9
            panel = darkened($5, $6) && darkened($7, $8)
            for (k = 0; k < 8; ++k) row[k] = $(10 + k) > 0.3
            menu = logo > 0.2 && logo < 0.5 && bar < 0.2
            if (menu && row[0] && row[1] && row[2] && row[3] && row[4] && row[5] && row[6] && !row[7]) print "main"
            else if (menu && row[0] && row[1] && !row[2] && row[3] && !row[4] && !row[5] && !row[6]) print "ingame"
            else if (panel) print "panel"
            else if (blue - red > 0.4) print "intro"
            else if (mean < 0.06) print "dark"
            else print "other"
        }' <<<"$features")
    log "look $SEEN ($(basename "$shot"))"
    # Each screen recognised is counted, but once only while nothing was pressed since.
    if [[ $SEEN != other ]] && [[ $SEEN != "$last_seen" || -n $pressed ]]; then
        screens=$((screens + 1))
        kinds[$SEEN]=1
    fi
    last_seen=$SEEN
    pressed=
}

# tool_said: what the screen's tools said as they failed, on one line.
tool_said() {
    local said
    said=$(head -c 300 "$session_dir/look.txt" | tr '\n' ' ')
    echo "${said:-nothing said}"
}

# to_main_menu: back to the main menu itself, from wherever the game is, checked on the screen;
# false when it does not come back: the script has lost its way. ESCAPE leads back from every
# screen but the in-game menu, where it resumes the game; there QUIT CURRENT GAME is clicked.
to_main_menu() {
    local tries
    for ((tries = 0; tries < 25; ++tries)); do
        look
        case $SEEN in
        main) return 0 ;;
        ingame)
            item 3
            ;;
        *)
            park
            key_for 220 Escape
            ;;
        esac
        sleep 0.7
    done
    log "the main menu did not come back during '$current'"
    return 1
}

# ---- the parts of a session ----------------------------------------------------------------
# Each part starts on the main menu itself and may end anywhere: the next one first goes back.

flight_keys=(Left Right Up Down)

# The speed the main menu shows, as the settings file keeps it.
game_speed() {
    local value
    value=$(awk '$1 == "gameSpeed" { print $2 }' "$session_dir/game/data/vasp.conf")
    SPEED=${value:-normal}
}

start_up() {
    current=start-up
    local splash
    for splash in lumisk zindle quendle; do
        heading "splash-$splash"
        rnd 10
        if ((R < 2)); then
            # Left to run its course.
            sleep 6
            continue
        fi
        wait_ms 300 1500
        rnd 4
        if ((R == 0)) && [[ $splash != quendle ]]; then
            # Not on the last one: a click that came after loading would act on the menu.
            park
            rnd 3
            click menu $((R + 1))
        else
            # Keys that do nothing on the main menu, should one come after loading.
            pick space Escape a x Left
            key menu "$P"
        fi
    done
    heading loading
    sleep 2
    to_main_menu || return 1
}

# The main menu's items by hover and by keys.
browse_main_menu() {
    current=main-menu
    local n
    between 3 9
    for ((n = R; n > 0; --n)); do
        rnd 3
        case $R in
        0)
            rnd 7
            point $((225 + RANDOM % 120)) "$(item_y "$R")"
            ;;
        1)
            pick Up Down
            key menu "$P"
            ;;
        2) park ;;
        esac
        wait_ms 50 700
    done
    # START GAME selected again: nothing else acts on a stray click.
    point 240 "$(item_y 0)"
    sleep 0.3
    park
}

# SPEED: the left button steps on to the next speed, the right one back to the one before.
change_speed() {
    current=speed
    local n
    between 1 4
    for ((n = R; n > 0; --n)); do
        rnd 3
        if ((R > 0)); then
            item 1 1
        else
            # The right button acts on the item the pointer selected in an earlier frame.
            point 240 "$(item_y 1)"
            wait_ms 200 400
            click menu 3
        fi
        wait_ms 100 600
    done
    sleep 0.3
    game_speed
    heading "speed-$SPEED"
}

# A value of the selected item stepped by LEFT or RIGHT, a few times.
step_values() {
    local n
    between 1 3
    for ((n = R; n > 0; --n)); do
        pick Left Right
        key menu "$P"
        wait_ms 80 500
    done
}

# down N: the selection N items down, by keys.
down() {
    local n
    for ((n = $1; n > 0; --n)); do
        key menu Down
        wait_ms 60 300
    done
}

# enter N: the item N rows below the first of a menu just entered, by keys: the pointer rests
# away from the items, so the menu came up with its first item selected.
enter() {
    park
    wait_ms 200 500
    down "$1"
    key menu Return
    wait_ms 300 700
}

# back: ESCAPE, one menu up.
back() {
    key_for 200 Escape
    wait_ms 300 700
}

settings() {
    current=settings
    item 3
    park
    heading settings
    wait_ms 300 800
    local parts=(settings_controls settings_display settings_sound) k
    rnd 3
    local first=$R
    for ((k = 0; k < 3; ++k)); do
        rnd 3
        ((R > 0)) || continue
        ${parts[(first + k) % 3]}
        current=settings
        back
    done
    # DISPLAY at least once a session, for the switch of full screen.
    if ((display_switches == 0)); then
        settings_display
    fi
}

settings_controls() {
    current=controls
    enter 0
    heading controls
    rnd 2
    if ((R == 0)); then
        key menu Return
        heading redefine-keys
        wait_ms 200 600
        rnd 4
        down "$R"
        key menu Return
        heading redefine-waiting
        wait_ms 300 1500
        # ESCAPE keeps the old key: the flights of this session need theirs.
        key_for 200 Escape
        wait_ms 200 600
        back
    else
        rnd 3
        down $((R + 1))
        step_values
    fi
}

# DISPLAY MODE is switched and checked by the window's size, then most times switched back;
# some other display items are changed on the way.
settings_display() {
    current=display
    enter 1
    heading display
    switch_display_mode
    rnd 4
    if ((R > 0)); then
        wait_ms 500 3000
        switch_display_mode
    fi
    local n
    between 0 3
    for ((n = R; n > 0; --n)); do
        rnd 4
        down $((R + 1))
        step_values
    done
}

display_switches=0
switch_display_mode() {
    current='display-mode'
    local want
    [[ $mode == full ]] && want=window || want=full
    pick Left Right
    key menu "$P"
    if ! wait_for_mode "$want" 10; then
        # Not a sign of damage: the press may have gone elsewhere. It is told, and play goes on.
        log "DISPLAY MODE did not switch to $want (window ${WIN_W}x$WIN_H)"
        echo "soak: session $session_name: note: DISPLAY MODE did not switch to $want (see ${session_dir#"$root"/}/actions.log)"
        return 0
    fi
    mode=$want
    display_switches=$((display_switches + 1))
    heading "display-$want"
    park
    sleep 0.5
}

settings_sound() {
    current=sound
    enter 2
    heading sound
    rnd 4
    down "$R"
    step_values
}

trainer() {
    current=trick-trainer
    item 2
    park
    heading tricks
    wait_ms 300 900
    rnd 12
    down "$R"
    key menu Return
    wait_ms 300 700
    heading trick-variants
    # The first variant: every trick has one (the row below may be BACK).
    enter 0
    sleep 0.6
    look
    if [[ $SEEN != intro ]]; then
        log "no trainer: the trick list's BACK was chosen"
        return
    fi
    heading trainer-intro
    key_for 200 space
    heading trainer-flight
    fly 4 12 trainer
    rnd 2
    if ((R == 0)); then
        key_for 200 Escape
        heading trainer-intro
        wait_ms 300 1200
        key_for 200 Right
        heading trainer-flight
        fly 2 6 trainer
    fi
}

# aim: the pointer somewhere over the upper part of the picture, where no menu has items: a
# click that comes after the game left the flight selects nothing there.
aim() {
    local x y
    between 40 760
    x=$R
    between 40 360
    y=$R
    point "$x" "$y"
}

# fly LEAST MOST KIND: turns, shots, aiming, mouselook, boost and (in play) EMP blasts at random
# moments, for about LEAST to MOST seconds (counted in actions, so that a seed replays them).
fly() {
    between $((2 * $1)) $((2 * $2))
    local actions
    for ((actions = R; actions > 0; --actions)); do
        rnd 12
        case $R in
        0 | 1 | 2 | 3)
            pick "${flight_keys[@]}"
            key flight "$P"
            ;;
        4 | 5) click flight 1 ;;
        6) aim ;;
        7)
            # Mouselook: looking round while the right button is held.
            check
            xdotool mousedown 3
            aim
            wait_ms 0 1200
            xdotool mouseup 3
            log "mouselook"
            ;;
        8) click flight 2 ;;
        9) [[ $3 == play ]] && key flight Return ;;
        *) ;;
        esac
        wait_ms 50 900
    done
}

start_game() {
    rnd 2
    ((R == 0)) || change_speed
    current=start-game
    game_speed
    item 0
    heading "play-$SPEED"
    wait_ms 500 1500
}

# A game, paused and taken to the in-game menu, then left for the main menu.
play() {
    start_game
    current=play
    fly 5 15 play
    rnd 2
    if ((R == 0)); then
        current=pause
        key_for 200 Control_R
        heading pause
        wait_ms 500 2500
        pick space Left Up a Control_R
        key flight "$P"
        sleep 0.3
    fi
    current=in-game-menu
    ingame_menu || return 0
    rnd 2
    ((R == 0)) || ingame_settings
    rnd 2
    if ((R == 0)); then
        current=resume
        item 0
        heading play-resumed
        current=play
        fly 3 8 play
        ingame_menu || return 0
    fi
    current=quit-current-game
    item 3
    heading main-menu
}

# ingame_menu: ESCAPE in flight, and the in-game menu looked for on the screen; false where the
# game had gone elsewhere (a game over that came first).
ingame_menu() {
    key_for 200 Escape
    park
    sleep 0.5
    look
    [[ $SEEN == ingame ]] || return 1
    games_seen=$((games_seen + 1))
}

ingame_settings() {
    current=ingame-settings
    item 1
    park
    heading ingame-settings
    wait_ms 300 800
    rnd 2
    if ((R == 0)); then
        current=ingame-display
        enter 1
        heading ingame-display
        rnd 3
        down $((R + 2))
        step_values
        back
    fi
    back
}

# A game flown into its own trail until the shields are gone: game over, then the entry of a
# name where the score makes the table, and the main menu.
game_over() {
    start_game
    current=play
    fly 3 8 play
    # Turning the same way again and again closes the craft's path on its own trail.
    current='game-over'
    local turn=${flight_keys[RANDOM % 4]} name_keys=(a b c q u e l l a r i s 7 0 space BackSpace) t
    local end=$(($(date +%s) + 150))
    while (($(date +%s) < end)); do
        for ((t = 0; t < 3; ++t)); do
            # A key cuts the game-over screen short as well.
            key_for 120 "$turn"
            sleep 0.25
        done
        look
        [[ $SEEN == panel || $SEEN == main ]] && break
    done
    case $SEEN in
    panel)
        games_seen=$((games_seen + 1))
        heading score-entry
        local n
        between 1 10
        for ((n = R; n > 0; --n)); do
            pick "${name_keys[@]}"
            key menu "$P"
            wait_ms 50 400
        done
        pick Return Return Escape
        key menu "$P"
        heading main-menu
        ;;
    main)
        # A score that makes no table goes from game over straight to the main menu: the game
        # was seen in flight and the main menu after it, so it was played all the same.
        games_seen=$((games_seen + 1))
        ;;
    *) log "no game over within 150 s" ;;
    esac
}

scores() {
    current=high-scores
    item 4
    heading high-scores
    wait_ms 800 2000
    local n
    between 1 6
    for ((n = R; n > 0; --n)); do
        rnd 3
        if ((R > 0)); then
            pick space Right Return a Down
            key menu "$P"
        else
            rnd 3
            click menu $((R + 1))
        fi
        heading high-scores-next
        wait_ms 300 2500
    done
    key_for 150 Escape
    heading main-menu
}

credits() {
    current=credits
    item 5
    heading credits
    wait_ms 1000 9000
    rnd 3
    if ((R > 0)); then
        pick space Escape x Return
        key flight "$P"
    else
        # Held for a frame at least: a click the credits miss would reach the main menu and
        # act there.
        between 60 400
        check
        log "click 1 ${R}ms"
        xdotool mousedown 1 sleep "$(seconds "$R")" mouseup 1
    fi
    heading main-menu
}

# The main menu left alone: after 20 s it shows the tables, after 20 s more the credits.
attract() {
    current=attract
    park
    between 22 50
    local wait=$R t
    log "left alone for ${wait}s"
    for ((t = 0; t < wait; t += 5)); do
        check
        sleep $((wait - t < 5 ? wait - t : 5))
    done
    heading attract-tables
    ((wait < 42)) || heading attract-credits
    rnd 2
    if ((R == 0)); then
        pick space Escape
        key menu "$P"
    else
        check
        xdotool mousemove_relative -- 30 0
    fi
    sleep 0.5
}

# In the order in which the sessions begin with them, so that a short run has flown, met game
# over and left the main menu alone before anything else.
parts=(game_over play attract settings trainer scores credits change_speed browse_main_menu)
# The seconds a part takes, near enough, so that a session ends near its length.
part_cost=(60 35 45 25 25 12 10 6 6)

# ---- one session ---------------------------------------------------------------------------

modes=("full 1024x768" "window 800x600" "full 1280x720" "window 1024x768")
session_number=0
session_began=$(date +%s%N)

# run_session N: session N of the seed, about a minute of play.
run_session() {
    session_number=$1
    session_seed=$((seed * 1000 + session_number))
    RANDOM=$session_seed
    local length
    between 40 80
    length=$R
    # The session's own first part, then every other part once in a random order, then more
    # at random, until the session's time is spent.
    local first=$(((session_number - 1) % ${#parts[@]}))
    local plan=("$first") k j swap
    for ((k = 0; k < ${#parts[@]}; ++k)); do
        ((k == first)) || plan+=("$k")
    done
    for ((k = ${#plan[@]} - 1; k > 1; --k)); do
        j=$((1 + RANDOM % k))
        swap=${plan[k]}
        plan[k]=${plan[j]}
        plan[j]=$swap
    done
    for ((k = 0; k < 12; ++k)); do
        plan+=($((RANDOM % ${#parts[@]})))
    done
    read -r mode display < <(echo "${modes[(session_number - 1) % ${#modes[@]}]}")
    display_w=${display%x*}
    display_h=${display#*x}
    session_name="$session_number ($mode at $display)"
    session_dir=$(printf '%s/session-%02d' "$out" "$session_number")
    mkdir -p "$session_dir/shots"
    last_shot=
    shots=0
    display_switches=0
    current=start

    # A new player's folder: the settings the game ships with (whatever build/run's player
    # chose), no high scores yet, and the display mode of the session.
    copy_game_folder "$game_dir" "$session_dir/game"
    rm -f "$session_dir/game/data/scores"
    sed "s/^fullscreen .*/fullscreen  $([[ $mode == full ]] && echo 1 || echo 0)/" "$root/assets/data/vasp.conf" \
        >"$session_dir/game/data/vasp.conf"
    # A machine where no display comes up cannot run a soak; one that stops coming up later on
    # is trouble of the run.
    if ! open_virtual_display 160 "$session_dir/xvfb.txt" "$display"; then
        local why="no virtual display came up for session $session_name (see ${session_dir#"$root"/}/xvfb.txt)"
        ((sessions == 0)) || trouble "$why"
        cannot_run "$why"
    fi
    echo "soak: session $session_name, seed $seed/$session_number, about ${length}s"
    session_began=$(date +%s%N)
    playing=1
    launch_game

    # The parts are counted by their usual length, not by the clock, so that a seed replays
    # them; the last one may run past the session's length. Where the script loses its way,
    # the session ends there.
    local spent=0 part astray=0
    start_up || astray=1
    for ((k = 0; !astray && k < ${#plan[@]} && spent < length; ++k)); do
        part=${plan[k]}
        spent=$((spent + part_cost[part]))
        RANDOM=$((session_seed * 100 + k))
        log "part ${parts[part]}"
        ${parts[part]}
        check
        current="after ${parts[part]}"
        to_main_menu || astray=1
    done

    RANDOM=$((session_seed * 100 + 99))
    if ((astray)); then
        close_game
    else
        quit_game
    fi
    session_over
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=
}

# launch_game: the game started in the session's folder on its display, with the checking
# allocator, and its window up in the display mode its settings hold.
launch_game() {
    # SDL_VIDEODRIVER=offscreen, set for the tests, would keep the window off the display.
    (cd "$session_dir/game" && exec env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$runtime" \
        XDG_CACHE_HOME="$out/cache" ALSOFT_DRIVERS=null MALLOC_CHECK_=3 MALLOC_PERTURB_=165 LD_PRELOAD="$checker" \
        ./quellaris >>"$session_dir/stdout.txt" 2>>"$session_dir/stderr.txt") &
    game=$!
    last_seen=
    if ! timeout 30 xdotool search --sync --onlyvisible --name '^Quellaris$' >/dev/null 2>&1; then
        kill -0 "$xvfb" 2>/dev/null || trouble "the virtual display of session $session_name went away"
        if ! kill -0 "$game" 2>/dev/null; then
            ended
            fail "the game ended ($ENDED) before its window came up"
        fi
        fail "the game showed no window within 30 s"
    fi
    mode=$(awk '$1 == "fullscreen" { print $2 == 1 ? "full" : "window" }' "$session_dir/game/data/vasp.conf")
    if ! wait_for_mode "$mode" 20; then
        log "the window (${WIN_W}x$WIN_H) is not in the $mode mode of the settings"
        echo "soak: session $session_name: note: the window (${WIN_W}x$WIN_H) is not in the $mode mode of the settings"
    fi
    park
}

# ends_cleanly HOW: the game, told to end by HOW, must be gone within 30 s with exit status 0
# and nothing said on standard error.
ends_cleanly() {
    local i
    for ((i = 0; i < 300; ++i)); do
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$game" 2>/dev/null; then
        fail "the game was still running 30 s after $1"
    fi
    ended
    [[ $ENDED == "exit status 0" ]] || fail "the game ended after $1 with $ENDED"
    [[ ! -s $session_dir/stderr.txt ]] || fail "the game wrote to standard error"
    log "ended after $1 with exit status 0"
}

# close_game: where the script has lost its way, the game is closed as a desktop closes a
# window (SIGTERM, which SDL turns into a request to quit); a hung game shows here. The session
# was not seen through: the run cannot pass.
close_game() {
    lost+=("$session_number (during '$current')")
    echo "soak: session $session_name: the script lost its way during '$current' (see ${last_shot#"$root"/});" \
        "the game is closed instead of QUIT, and this run cannot pass"
    check
    # Gone by itself since the check, it is judged by how it ended all the same.
    kill -TERM "$game" 2>/dev/null || true
    ends_cleanly "it was told to close"
}

# end_game: the game, where it runs, told to close and killed should it not be gone in 10 s.
end_game() {
    end_process "$game" 10
    game=
}

# QUIT, clicked on the main menu; the window must go and the game end with status 0.
quit_game() {
    local attempt end
    for ((attempt = 0; attempt < 3; ++attempt)); do
        current=quit
        if ! to_main_menu; then
            close_game
            return
        fi
        item 6
        heading quit
        # By the clock: a search for the window takes a while on a busy machine.
        end=$(($(date +%s) + 15))
        while (($(date +%s) < end)); do
            [[ -n $(game_window) ]] || break
            kill -0 "$game" 2>/dev/null || break
            sleep 0.1
        done
        [[ -z $(game_window) ]] && break
        log "the window is still there 15 s after QUIT"
    done
    if [[ -n $(game_window) ]]; then
        close_game
    else
        ends_cleanly QUIT
    fi
}

# ---- the run -------------------------------------------------------------------------------

budget=$(awk -v m="$minutes" 'BEGIN { printf "%d", m * 60 + 0.5 }')
started=$(date +%s)
if [[ -n $only_session ]]; then
    run_session "$only_session"
else
    # Sessions follow one another until the minutes are spent, the last one played whole; at
    # least two, one in full screen and one in a window.
    n=0
    while ((n < 2 || $(date +%s) - started < budget - 20)); do
        n=$((n + 1))
        run_session "$n"
    done
fi
# Only a run seen through passes: every session to its QUIT, and a game played in one at least.
if ((${#lost[@]} > 0)); then
    astray=$(printf '%s, ' "${lost[@]}")
    trouble "the script lost its way in session$( ((${#lost[@]} == 1)) || echo s) ${astray%, }; not seen through, the run cannot pass (see ${out#"$root"/})"
fi
((games_seen > 0)) || trouble "no session reached the main menu and played a game (see ${out#"$root"/})"
notes=
((restarts == 0)) || notes+=", $restarts started again after a stray QUIT"
reported=1
summary "passed$notes"
