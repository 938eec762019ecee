#!/bin/sh
# Quillmere driven over the session bus from a shell with gdbus, as a script would: the
# registration switches, a start by activation, walking, reading and changing the outline,
# two objects with cursors of their own, the README's client session, the end on the last
# Release with the outline saved, and a second program that finds the name taken.
#
# Usage: automation_session_test.sh QUILLMERE README.md
# It runs itself again inside a session bus of its own, with a private XDG_DATA_HOME and
# private data directories, so the user's bus, registration and contacts are never touched.
set -eu

program=$1
readme=$2

if [ -z "${QUILL_SESSION_DIR-}" ]; then
    QUILL_SESSION_DIR=$(mktemp -d)
    export QUILL_SESSION_DIR
    export XDG_DATA_HOME="$QUILL_SESSION_DIR/xdg data"
    export QT_QPA_PLATFORM=offscreen
    status=0
    dbus-run-session -- sh "$0" "$@" || status=$?
    rm -rf "$QUILL_SESSION_DIR"
    exit $status
fi

# Whatever the outcome, no program of this test outlives it: the one the bus started and
# the ones started here are ended (killed when a dialog holds one up).
started=""
end_programs() {
    owner=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetConnectionUnixProcessID Quil.Application 2>/dev/null |
        sed 's/^(uint32 \([0-9]*\),)$/\1/') || true
    for pid in $owner $started; do
        kill "$pid" 2>/dev/null || continue
        tries=0
        while kill -0 "$pid" 2>/dev/null && [ $tries -lt 50 ]; do
            tries=$((tries + 1))
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
    done
}
trap end_programs EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
expect() { # expect WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}

bus() {
    gdbus call --session --dest Quil.Application "$@"
}
call() { # call OBJECT METHOD ARGS...
    object=$1
    shift
    bus --object-path "$object" --method Quil.Application."$@"
}
owned() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner Quil.Application
}
wait_for_owner() { # wait_for_owner (true,)|(false,)
    tries=0
    while [ "$(owned)" != "$1" ]; do
        tries=$((tries + 1))
        [ $tries -le 200 ] || fail "the bus name's owner did not become $1"
        sleep 0.1
    done
}
create() {
    bus --object-path /Quil/Application --method Quil.Application.Factory.CreateObject |
        sed "s/^(objectpath '\(.*\)',)\$/\1/"
}

home="$QUILL_SESSION_DIR/home with blank"
mkdir -p "$home"
printf '%s\r\n' '{Params}' '{0 11 }My Contacts~~~~~~32892645' \
    '{1 0 }Friends~~~~~~100' '{Fold}0' \
    '{2 3 }Ann Lee~~Ann Lee~~~~200' '{Pers}Ms.~~Ann~~~~Lee~~~~Home~~~~~~~~0' \
    '{3 6 }Home~~555-0100~~~~201' '{Phon}~~0' \
    "{2 3 }Bob O'Neil~~Bob O'Neil~~~~300" '{Pers}~~Bob~~~~O'"'"'Neil~~~~~~~~~~~~0' \
    '{1 1 }Zeta Corp~~~~~~400' '{Orgn}~~~~~~~~~~0' >"$home/quil.dat"
service="$XDG_DATA_HOME/dbus-1/services/Quil.Application.service"

# Registering needs no display and ends at once; the switch may be written with "/".
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM QUILLMERE_HOME="$home" \
    "$program" /regserver || fail "registering"
[ -f "$service" ] || fail "no activation file after /regserver"
program_path=$(readlink -f "$program")
expect "activation command" "$(grep '^Exec=' "$service")" \
    "Exec=/usr/bin/env 'QUILLMERE_HOME=$home' $program_path -AUTOMATION"
expect "name before the first call" "$(owned)" "(false,)"

# The first call starts the program from the activation file.
first=$(create)
expect "first object" "$first" "/Quil/Application/1"
expect "name after the first call" "$(owned)" "(true,)"
expect "fresh index" "$(call "$first" CurrentItemIndex)" "(0,)"
expect "fresh class" "$(call "$first" quilClass)" "(11,)"
expect "fresh title" "$(call "$first" quilTitle)" "('My Contacts',)"
expect "fresh id" "$(call "$first" quilID)" "(32892645,)"

# Walk the whole outline.
expect "node count" "$(call "$first" ItemCount)" "(5,)"
titles=""
i=0
while [ $i -lt 5 ]; do
    expect "Items $i" "$(call "$first" Items $i)" "(true,)"
    titles="$titles|$(call "$first" quilTitle)"
    i=$((i + 1))
done
expect "titles in tree order" "$titles" \
    "|('My Contacts',)|('Friends',)|('Ann Lee',)|(\"Bob O'Neil\",)|('Zeta Corp',)"
expect "Items past the end" "$(call "$first" Items 5)" "(false,)"
expect "cursor after a failed Items" "$(call "$first" CurrentItemIndex)" "(4,)"

# Read fields: Ann's first name and her phone.
expect "ItemWithId" "$(call "$first" ItemWithId 200)" "(true,)"
expect "first name" "$(call "$first" quilField 'First Name')" "('\"Ann\",',)"
expect "Child" "$(call "$first" Child 0)" "(true,)"
expect "phone" "$(call "$first" quilTarget)" "('555-0100',)"
expect "by dispatch identifier" "$(call "$first" Invoke 7 2 '@av []')" "([<'555-0100'>],)"

# Insert a folder under the top node, find it and rename it.
expect "back to the top" "$(call "$first" Items 0)" "(true,)"
call "$first" Insert 0 Scripted '' 'made by a script' '' >/dev/null
expect "node count after Insert" "$(call "$first" ItemCount)" "(6,)"
expect "cursor stays after Insert" "$(call "$first" CurrentItemIndex)" "(0,)"
expect "NextItemWithTitle" "$(call "$first" NextItemWithTitle scripted)" "(true,)"
expect "found" "$(call "$first" quilTitle)" "('Scripted',)"
call "$first" SetquilTitle 'Scripted and renamed' >/dev/null
expect "renamed" "$(call "$first" quilComment)" "('made by a script',)"
error=$(call "$first" Insert 11 x '' '' '' 2>&1 || true)
case "$error" in
*Quil.Application.Error*) ;;
*) fail "inserting a second root: $error" ;;
esac

# A second object has a cursor of its own.
second=$(create)
expect "second object" "$second" "/Quil/Application/2"
expect "second cursor" "$(call "$second" quilTitle)" "('My Contacts',)"
call "$second" ItemWithId 400 >/dev/null
expect "second moved" "$(call "$second" quilTitle)" "('Zeta Corp',)"
expect "first unmoved" "$(call "$first" quilTitle)" "('Scripted and renamed',)"

# The README's client session prints every person's title.
readme_session=$(sed -n '/<!-- client session begins -->/,/<!-- client session ends -->/p' \
    "$readme" | grep '^    ' | sed 's/^    //')
[ -n "$readme_session" ] || fail "no client session in the README"
expect "README session" "$(sh -c "$readme_session")" "Ann Lee
Bob O'Neil"

# The last Release ends the program, which saves the outline.
expect "Release" "$(call "$second" Release)" "()"
error=$(call "$second" quilTitle 2>&1 || true)
case "$error" in
*UnknownObject* | *"No such object"*) ;;
*) fail "a released object still answers: $error" ;;
esac
expect "name after one of two Releases" "$(owned)" "(true,)"
expect "last Release" "$(call "$first" Release)" "()"
wait_for_owner "(false,)"
grep -q 'Scripted and renamed~~~~made by a script' "$home/quil.dat" ||
    fail "the outline was not saved"

# Unregistering removes the file.
env -u DISPLAY -u WAYLAND_DISPLAY "$program" -unregserver || fail "unregistering"
[ ! -e "$service" ] || fail "activation file still there after -unregserver"

# A normal start registers; another program with other data finds the name taken, says so
# and leaves the registration alone.
other="$QUILL_SESSION_DIR/other"
mkdir -p "$other"
QUILLMERE_HOME="$home" "$program" HIDEWIN >/dev/null 2>&1 &
running=$!
started="$started $running"
wait_for_owner "(true,)"
tries=0
while [ ! -f "$service" ]; do
    tries=$((tries + 1))
    [ $tries -le 100 ] || fail "a normal start did not register"
    sleep 0.1
done
registered=$(cat "$service")
QUILLMERE_HOME="$other" "$program" HIDEWIN >/dev/null 2>"$QUILL_SESSION_DIR/other.err" &
second_program=$!
started="$started $second_program"
tries=0
while ! grep -q 'owned by another program; running without automation' \
    "$QUILL_SESSION_DIR/other.err"; do
    tries=$((tries + 1))
    [ $tries -le 100 ] || fail "the second program did not say the name was taken"
    sleep 0.1
done
kill $second_program
wait $second_program || true
expect "registration left alone" "$(cat "$service")" "$registered"
# The first program still serves, and does not end with its objects: it was not started by
# a client.
third=$(create)
call "$third" Release >/dev/null
sleep 0.5
expect "a normal run goes on" "$(owned)" "(true,)"
kill $running
wait $running || true
echo "PASS"
