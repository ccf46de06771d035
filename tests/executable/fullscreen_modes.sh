#!/usr/bin/env bash
# Starts the built game as a player would on X displays without a window manager (a plain X
# session, a kiosk), lets it load its main menu and clicks QUIT where the player sees it:
#   - full screen on a screen that really switches to 800 x 600: Xorg with its dummy video
#     driver, a 1024 x 768 desktop that also offers 800 x 600 and 640 x 480;
#   - full screen on a 1024 x 768 virtual display with that one mode, where the picture is
#     scaled up to fill it;
#   - in a window on an 800 x 600 virtual display.
# The game must cover the screen from its corner in full screen, end with status 0 on the
# click, and leave the desktop at its own size. Where Xorg or its dummy driver is missing (or
# Xorg will not start), that case alone is left out, and the exit status is 77 (skipped) once
# the others have passed.
#   fullscreen_modes.sh <game folder> [folder for the screenshots]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/gamefolder.sh"
source=$(cd "$1" && pwd)
work=$(mktemp -d "$PWD/fullscreen_modes.XXXXXX")
shots=${2:-$work}
mkdir -p "$shots"
server=
game=
stop_server() {
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

# Xorg with the dummy driver on a display number it picks itself, as DISPLAY; false where it
# is not installed or does not come up.
start_xorg() {
    local xorg=/usr/lib/xorg/Xorg i
    [[ -x $xorg ]] || xorg=$(command -v Xorg) || return 1
    [[ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]] || return 1
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

skipped=
# server, fullscreen setting, desktop size, picture on the screen while the game runs
# (X,Y WIDTHxHEIGHT: its client area, frame left out).
for run in "xorg 1 1024x768 0,0:800x600" "xvfb 1 1024x768 0,0:1024x768" "xvfb 0 800x600 any:800x600"; do
    read -r kind fullscreen desktop picture <<<"$run"
    what="$kind at $desktop, fullscreen $fullscreen"
    if [[ $kind == xorg ]]; then
        if ! start_xorg; then
            echo "Left out: $what (Xorg with its dummy driver is not installed or did not start)"
            skipped=1
            continue
        fi
    else
        start_display_on_fd "$work" "$desktop" || fail "no virtual display"
        server=$xvfb
        xvfb=
    fi
    folder=$work/game
    rm -rf "$folder"
    copy_game_folder "$source" "$folder"
    sed -i "s/^fullscreen .*/fullscreen  $fullscreen/" "$folder/data/vasp.conf"
    (cd "$folder" && exec env -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}" \
        ./quellaris >/dev/null 2>"$work/stderr.txt") &
    game=$!
    timeout 30 xdotool search --sync --name '^Quellaris$' >/dev/null 2>&1 || fail "no game window within 30 s"
    window=$(xdotool search --name '^Quellaris$' | head -n 1)
    skip_splash_screens
    sleep 4
    # For a person to look at; what is checked is the window's place and the screen's size.
    if command -v import >/dev/null 2>&1; then
        import -window root "$shots/$kind-$desktop-fullscreen$fullscreen.png"
    fi

    # X, Y, WIDTH and HEIGHT of the window's client area.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    if [[ ${picture%%:*} != any && ${picture%%:*} != "$X,$Y" ]] || [[ ${picture#*:} != "${WIDTH}x$HEIGHT" ]]; then
        fail "the game's picture stands at $X,$Y ${WIDTH}x$HEIGHT, not at ${picture/:/ }"
    fi
    read -r width height < <(xdotool getdisplaygeometry)
    if ((fullscreen)); then
        [[ ${width}x$height == "${picture#*:}" ]] || fail "the screen is ${width}x$height, not the picture's size"
    fi
    # QUIT, the last item of the main menu, where the 800 x 600 picture shows it: scaled to
    # fit the window and centred in it.
    read -r quit_x quit_y < <(awk -v x="$X" -v y="$Y" -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
        s = w / 800 < h / 600 ? w / 800 : h / 600
        printf "%d %d\n", x + (w - 800 * s) / 2 + 235 * s, y + (h - 600 * s) / 2 + 538 * s }')
    status=
    # The menu may still be loading on a slow build: the click is made again until it ends.
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
    read -r width height < <(xdotool getdisplaygeometry)
    [[ ${width}x$height == "$desktop" ]] || fail "the desktop is left at ${width}x$height"
    stop_server
done
[[ -z $skipped ]] || exit 77
