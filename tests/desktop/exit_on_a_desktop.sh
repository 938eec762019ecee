#!/usr/bin/env bash
# The end of the program on a real X desktop with a window manager (openbox) and a tray
# (tint2), where closing, hiding and quitting differ from the offscreen tests.
#
#   exit_on_a_desktop.sh CASE QUILLMERE
#
# CASE: altx      a hand-over changes the outline, Alt+X ends the program and saves
#       sigterm   the same, ended by SIGTERM
#       tray      the window closed into the tray, then the tray menu's Exit
#       latetray  the same with the panel started after the program, as at a session's start
#       fulldisk  Exit with the data directory on a full disk: the program stays and says
#                 why; once there is room, Try Again saves and ends (needs root for a mount)
# Exit status 77 when the desktop tools (or, for fulldisk, the mount) are not there.
set -u

case_name=${1:?case}
program=${2:?program}
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

for tool in Xvfb openbox tint2 xdotool xwininfo xprop; do
    command -v "$tool" > /dev/null || skip "$tool is not installed"
done

work=$(mktemp -d)
pids=()
mounted=""
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2> /dev/null
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2> /dev/null
    done
    [ -n "$mounted" ] && umount "$mounted" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# A display of our own: the server picks a free number and tells it.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -1 "$work/display")

openbox > "$work/openbox.log" 2>&1 &
pids+=($!)
# The window manager is up once it names its check window on the root.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q "window id" && break
    sleep 0.1
done
start_panel() {
    tint2 > "$work/tint2.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        xdotool search --class tint2 > /dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 1 # the panel takes the tray selection after its window appears
}
[ "$case_name" = latetray ] || start_panel

home=$work/data
mkdir -p "$home"
if [ "$case_name" = fulldisk ]; then
    [ "$(id -u)" = 0 ] || skip "mounting a small file system needs root"
    mount -t tmpfs -o size=64k quillmere-full "$home" 2> /dev/null || skip "cannot mount a tmpfs here"
    mounted=$home
fi
printf '{Params}\r\n{0 11 }My Contacts~~~~~~32892645\r\n{1 0 }Family~~~~~~1\r\n{Fold}0\r\n' \
    > "$home/quil.dat"
printf '{1 3 }Handed Over~~~~~~77\r\n{Pers}~~~~~~~~~~~~~~~~~~0\r\n' > "$work/add.qld"
export QUILLMERE_HOME=$home

"$program" > "$work/quillmere.log" 2>&1 &
app=$!
pids+=($app)

# A shown window of that caption, larger than the tray icon (which is captioned too).
shown_window() {
    local id
    for id in $(xdotool search --name "^$1\$" 2> /dev/null); do
        xwininfo -id "$id" 2> /dev/null | awk '/Map State:/ { viewable = ($3 == "IsViewable") }
            /Width:/ { width = $2 } END { exit !(viewable && width > 64) }' && echo "$id" && return
    done
}
wait_for_window() {
    local id=""
    for _ in $(seq 100); do
        id=$(shown_window "$1")
        [ -n "$id" ] && break
        sleep 0.1
    done
    echo "$id"
}
running() { kill -0 "$app" 2> /dev/null; }
wait_gone() {
    for _ in $(seq "${1:-300}"); do
        running || return 0
        sleep 0.1
    done
    return 1
}
saved() { grep -q "Handed Over" "$home/quil.dat"; }
press() {
    # XTest keys (not sent to a window id), pressed and released.
    xdotool windowactivate --sync "$1" 2> /dev/null
    xdotool key --clearmodifiers "$2"
}
log() {
    cat "$work/quillmere.log"
    echo "windows:"
    xwininfo -root -tree | grep -i '"quillmere'
}
# QUILL_DESKTOP_SHOTS=DIR keeps a picture of the screen at the interesting moments.
shot() {
    [ -n "${QUILL_DESKTOP_SHOTS:-}" ] && command -v import > /dev/null &&
        import -window root "$QUILL_DESKTOP_SHOTS/$case_name-$1.png"
}

main=$(wait_for_window "Quillmere:")
[ -n "$main" ] || fail "no main window; $(log)"
[ "$case_name" = latetray ] && start_panel

# A second start hands its exchange file over: the outline changes in the running program.
"$program" "$work/add.qld" || fail "the hand-over failed"
for _ in $(seq 50); do
    grep -q "Handed Over" "$home/quil.dat.autosave" 2> /dev/null && break
    sleep 0.1
done
saved && fail "saved before the end"
# Found again: on a loaded machine the first window seen may have been replaced since.
main=$(wait_for_window "Quillmere:")
[ -n "$main" ] || fail "no main window after the hand-over; $(log)"

case "$case_name" in
altx)
    press "$main" alt+x
    wait_gone || fail "still running after Alt+X; $(log)"
    saved || fail "Alt+X did not save"
    ;;
sigterm)
    kill -TERM "$app"
    wait_gone || fail "still running after SIGTERM; $(log)"
    saved || fail "SIGTERM did not save"
    ;;
tray | latetray)
    # The icon in the panel first: without a tray, closing the window ends the program.
    tray_icon() {
        xwininfo -root -tree | awk '/"Quillmere": \("quillmere"/ {
            split($(NF-1), size, /[x+]/); split($NF, at, /\+/);
            if (size[1] <= 64) { print at[2], at[3], size[1], size[2]; exit } }'
    }
    for _ in $(seq 100); do
        [ -n "$(tray_icon)" ] && break
        sleep 0.1
    done
    [ -n "$(tray_icon)" ] || fail "no tray icon; $(log)"
    # Hidden: no main window is shown any more, whichever window the program now has. A
    # loaded machine may lose the key while the window is being activated: pressed again, on
    # the window shown at that moment.
    for _ in 1 2 3 4 5 6; do
        shown=$(shown_window "Quillmere:")
        [ -n "$shown" ] || break
        press "$shown" alt+F4
        for _ in $(seq 50); do
            [ -z "$(shown_window "Quillmere:")" ] && break 2
            sleep 0.1
        done
    done
    [ -z "$(shown_window "Quillmere:")" ] || fail "closing did not hide the window"
    sleep 0.5
    running || fail "closing the window ended the program"
    saved && fail "closing the window saved"
    # The tray icon: a small window of ours inside the panel.
    read -r x y w h < <(tray_icon)
    [ -n "${x:-}" ] || fail "no tray icon"
    # A loaded machine may show the menu late: open it again until "&Exit" is taken.
    for attempt in 1 2 3 4 5; do
        xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
        sleep $((attempt))
        shot tray-menu
        xdotool key e # the menu's "&Exit"
        wait_gone 50 && break
        xdotool key Escape
    done
    wait_gone || fail "still running after the tray's Exit; $(log)"
    saved || fail "the tray's Exit did not save"
    ;;
fulldisk)
    dd if=/dev/zero of="$home/filler" bs=1k count=100 2> /dev/null # fills the file system
    press "$main" alt+x
    box=$(wait_for_window Quillmere)
    [ -n "$box" ] || fail "no message about the failed save; $(log)"
    sleep 1
    shot failed-save
    running || fail "the program ended although nothing was saved"
    saved && fail "saved on a full disk?"
    ls "$home" | grep -q '\.tmp-' && fail "a temporary file was left: $(ls "$home")"
    rm -f "$home/filler"
    press "$box" Return # Try Again
    wait_gone || fail "still running after Try Again; $(log)"
    saved || fail "Try Again did not save"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
[ -e "$home/quil.dat.autosave" ] && fail "the autosave copy outlived a clean Exit"
echo "PASS: $case_name"
exit 0
