#!/usr/bin/env bash
# Starts the built game as a player would, lets it load its main menu, switches the display mode
# through SETTINGS › DISPLAY › DISPLAY MODE and clicks QUIT where the player sees it:
#   - on a screen that really switches to 800 x 600: Xorg with its dummy video driver, a
#     1024 x 768 desktop that also offers 800 x 600 and 640 x 480;
#   - on a 1024 x 768 virtual display with that one mode, where full screen scales the picture up;
#   - in a window on an 800 x 600 virtual display.
# Without a window manager (a plain X session, a kiosk) the game starts full screen on the first
# two and goes back to a window. With --window-manager it plays a desktop's road under openbox:
# it starts in a window on the first two (on the first, moved to the desktop's corner as a
# player may put it), goes full screen and back.
# In full screen the game must cover the screen from its corner; in a window of 800 x 600 its
# frame, title bar included, must lie whole on the desktop at the desktop's own size, and come
# back from full screen where it stood before. The game
# must end with status 0 on the click and leave the desktop at its own size. Where Xorg, its
# dummy driver or the window manager is not installed, what needs it is left out, and the exit
# status is 77 (skipped) once the rest has passed; where they are installed but Xorg will not
# start, the test fails with Xorg's log.
#   fullscreen_modes.sh [--window-manager] <game folder> [folder for the screenshots]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/gamefolder.sh"
manager=
if [[ $1 == --window-manager ]]; then
    manager=openbox
    shift
fi
source=$(cd "$1" && pwd)
work=$(mktemp -d "$PWD/fullscreen_modes.XXXXXX")
shots=${2:-$work}
mkdir -p "$shots"
server=
wm=
game=
stop_server() {
    end_process "$wm"
    wm=
    end_process "$server"
    server=
}
cleanup() {
    if [[ -n $game ]]; then
        # Ended here without a word of bash's about its job.
        disown "$game" 2>/dev/null || true
        kill -KILL "$game" 2>/dev/null || true
    fi
    stop_server
    rm -rf "$work"
}
trap cleanup EXIT

what=
fail() {
    echo "FAILED: $what: $1" >&2
    echo "--- standard error of the game:" >&2
    cat "$work/stderr.txt" >&2 2>/dev/null || true
    exit 1
}

if [[ -n $manager ]] && ! command -v "$manager" >/dev/null 2>&1; then
    echo "Left out: everything ($manager, the window manager, is not installed)"
    exit 77
fi

# Xorg with the dummy driver on a display number it picks itself, as DISPLAY. Status 2 where
# it is not installed, 1 where it does not come up.
start_xorg() {
    local xorg=/usr/lib/xorg/Xorg i
    [[ -x $xorg ]] || xorg=$(command -v Xorg) || return 2
    [[ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]] || return 2
    # No input devices of the machine's own (a desktop's keyboard and mouse stay its own):
    # xdotool's are the server's built-in test devices.
    cat >"$work/xorg.conf" <<'EOF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 16384
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 28.0-80.0
    VertRefresh 48.0-75.0
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
    Modeline "640x480" 25.18 640 656 752 800 480 490 492 525 -hsync -vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768" "800x600" "640x480"
        Virtual 1024 768
    EndSubSection
EndSection
EOF
    mkdir -p "$work/xorg.conf.d"
    rm -f "$work/display"
    "$xorg" -displayfd 3 -noreset -nolisten tcp -novtswitch -sharevts -keeptty -config "$work/xorg.conf" \
        -configdir "$work/xorg.conf.d" -logfile "$work/xorg.log" 3>"$work/display" >"$work/xorg.txt" 2>&1 &
    server=$!
    for ((i = 0; i < 100; ++i)); do
        if [[ -s $work/display ]]; then
            DISPLAY=:$(cat "$work/display")
            export DISPLAY
            xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        fi
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    stop_server
    return 1
}

# The window manager on DISPLAY, back once it has taken the screen.
start_window_manager() {
    local i
    # With folders of its own for its settings and its log: the test neither reads the
    # player's nor writes into the home folder.
    XDG_CONFIG_HOME=$work XDG_CACHE_HOME=$work XDG_DATA_HOME=$work "$manager" --sm-disable >"$work/wm.txt" 2>&1 &
    wm=$!
    for ((i = 0; i < 100; ++i)); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    fail "$manager did not take the screen: $(cat "$work/wm.txt")"
}

# Sets X, Y, WIDTH and HEIGHT to the game window's client area on the screen, LEFT, RIGHT, TOP
# and BOTTOM to the frame a window manager drew round it (0 without), and SCREEN to the screen's
# size. Each tool is read once it has ended: one still closing its connection when the server
# goes would say so on standard error.
measure_window() {
    eval "$(xwininfo -id "$window" | awk -F: '/Absolute upper-left X/ { print "X=" $2 }
        /Absolute upper-left Y/ { print "Y=" $2 } /^ *Width/ { print "WIDTH=" $2 }
        /^ *Height/ { print "HEIGHT=" $2 }' | tr -d ' ')"
    read -r LEFT RIGHT TOP BOTTOM <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS |
        awk -F= '/CARDINAL/ { gsub(",", " ", $2); print $2; next } { print "0 0 0 0" }')"
    SCREEN=$(xdotool getdisplaygeometry | tr ' ' x)
}

# shows MODE: true when the game shows MODE as it must: full screen as the run's picture, a
# window with its frame in the desktop's corner, or a window of 800 x 600 on the desktop at its
# own size with its frame, title bar included, whole on it, where it stood before when it stood
# anywhere (under a window manager, only once it has drawn the frame: nothing tells before where
# the title bar will stand). Otherwise false, with what it shows in seen.
shows() {
    measure_window
    seen="client area at $X,$Y ${WIDTH}x$HEIGHT, frame $LEFT $RIGHT $TOP $BOTTOM (left right top bottom), screen $SCREEN"
    case $1 in
    full) [[ $X,$Y:${WIDTH}x$HEIGHT == "$picture" && $SCREEN == "${picture#*:}" ]] ;;
    corner) ((TOP > 0 && X == LEFT && Y == TOP)) ;;
    *)
        [[ ${WIDTH}x$HEIGHT == 800x600 && $SCREEN == "$desktop" && ( -z $stood || $X,$Y == "$stood" ) ]] &&
            { [[ -z $manager ]] || ((TOP > 0)); } &&
            ((X >= LEFT && Y >= TOP && X + WIDTH + RIGHT <= ${SCREEN%x*} && Y + HEIGHT + BOTTOM <= ${SCREEN#*x}))
        ;;
    esac
}

# wait_for MODE: true once the game shows MODE, false when it has not within 10 s.
wait_for() {
    local i
    for ((i = 0; i < 50; ++i)); do
        shows "$1" && return 0
        sleep 0.2
    done
    return 1
}

# The screen's point where the 800 x 600 picture shows its point X Y: scaled to fit the client
# area and centred in it.
on_screen() {
    measure_window
    awk -v x="$X" -v y="$Y" -v w="$WIDTH" -v h="$HEIGHT" -v px="$1" -v py="$2" 'BEGIN {
        s = w / 800 < h / 600 ? w / 800 : h / 600
        printf "%d %d\n", x + (w - 800 * s) / 2 + px * s, y + (h - 600 * s) / 2 + py * s }'
}

# switch_to MODE: DISPLAY MODE turned to its other value as a player does it, from the top of the
# main menu: SETTINGS clicked, then DISPLAY and its first item, DISPLAY MODE, by keys, the
# pointer over the 3D view, where it selects nothing. The menu may still be loading on a slow
# build: while the window and the screen stay as they were, the road is taken again.
switch_to() {
    local i before
    for ((i = 0; i < 4; ++i)); do
        measure_window
        before="${WIDTH}x$HEIGHT $SCREEN"
        xdotool mousemove $(on_screen 400 120)
        press Escape Escape Escape
        xdotool mousemove $(on_screen 235 478)
        sleep 0.2
        xdotool mousedown 1
        sleep 0.1
        xdotool mouseup 1
        xdotool mousemove $(on_screen 400 120)
        press Down Return Right
        wait_for "$1" && return 0
        [[ "${WIDTH}x$HEIGHT $SCREEN" == "$before" ]] || fail "switched to $1 mode, but: $seen"
    done
    fail "no $1 mode through SETTINGS > DISPLAY > DISPLAY MODE: $seen"
}

skipped=
# server, desktop size, the client area in full screen (X,Y:WIDTHxHEIGHT), the display modes
# the game is in, the first from the start (corner: the window moved to the desktop's corner).
if [[ -n $manager ]]; then
    runs=("xorg 1024x768 0,0:800x600 window,corner,full,window" "xvfb 1024x768 0,0:1024x768 window,full,window")
else
    runs=("xorg 1024x768 0,0:800x600 full,window" "xvfb 1024x768 0,0:1024x768 full,window"
        "xvfb 800x600 - window")
fi
for run in "${runs[@]}"; do
    read -r kind desktop picture modes <<<"$run"
    IFS=, read -r -a modes <<<"$modes"
    what="$kind at $desktop${manager:+ under $manager}, ${modes[*]}"
    if [[ $kind == xorg ]]; then
        started=0
        start_xorg || started=$?
        if ((started == 2)); then
            echo "Left out: $what (Xorg or its dummy driver is not installed)"
            skipped=1
            continue
        fi
        ((started == 0)) || fail "Xorg with its dummy driver is installed but did not start: $(tail -n 30 "$work/xorg.log")"
    else
        start_display_on_fd "$work" "$desktop" || fail "no virtual display"
        server=$xvfb
        xvfb=
    fi
    [[ -z $manager ]] || start_window_manager
    folder=$work/game
    rm -rf "$folder"
    copy_game_folder "$source" "$folder"
    fullscreen=0
    [[ ${modes[0]} == window ]] || fullscreen=1
    sed -i "s/^fullscreen .*/fullscreen  $fullscreen/" "$folder/data/vasp.conf"
    (cd "$folder" && exec env -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}" \
        ./quellaris >/dev/null 2>"$work/stderr.txt") &
    game=$!
    timeout 30 xdotool search --sync --name '^Quellaris$' >/dev/null 2>&1 || fail "no game window within 30 s"
    window=$(xdotool search --name '^Quellaris$' | head -n 1)
    skip_splash_screens
    sleep 4
    stood=
    wait_for "${modes[0]}" || fail "not in ${modes[0]} mode as it starts: $seen"
    for ((m = 0; m < ${#modes[@]}; ++m)); do
        if [[ ${modes[m]} == corner ]]; then
            # A window a player put in the desktop's corner, its frame against the screen's
            # edges, must come back there with nothing of the frame off the screen.
            xdotool windowmove "$window" 0 0
            wait_for corner || fail "the window's frame is not in the desktop's corner: $seen"
        elif ((m > 0)); then
            switch_to "${modes[m]}"
        fi
        [[ ${modes[m]} == full ]] || stood=$X,$Y
        # For a person to look at; what is checked is the window's place and the screen's size.
        if command -v import >/dev/null 2>&1; then
            import -window root "$shots/$kind-$desktop${manager:+-$manager}-$m-${modes[m]}.png"
        fi
    done

    # QUIT, the last item of the main menu, where the picture shows it. The menu may still be
    # loading on a slow build: the click is made again until the game ends.
    press Escape Escape Escape
    read -r quit_x quit_y <<<"$(on_screen 235 538)"
    status=
    for ((i = 0; i < 15; ++i)); do
        xdotool mousemove "$quit_x" "$quit_y"
        sleep 0.2
        xdotool mousedown 1
        sleep 0.1
        xdotool mouseup 1
        reap_within "$game" 20 && break
    done
    [[ -n $status ]] || fail "still running 30 s after clicks on QUIT at $quit_x,$quit_y"
    game=
    [[ $status -eq 0 ]] || fail "exit status $status, not 0"
    read -r width height <<<"$(xdotool getdisplaygeometry)"
    [[ ${width}x$height == "$desktop" ]] || fail "the desktop is left at ${width}x$height"
    stop_server
done
[[ -z $skipped ]] || exit 77
