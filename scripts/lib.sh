# Helpers the scripts share; sourced, never run:  source scripts/lib.sh
# shellcheck shell=bash

# Runs a command as root: directly when this is root, through sudo otherwise, or says plainly
# that it cannot.
run_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "${0##*/}: '$1' must run as root, and sudo is not installed: run this as root" >&2
        return 1
    fi
}

# What makes a build's downloads the same bytes from the same source, whoever builds them and
# wherever: every tool that writes a date writes the last commit's time (SOURCE_DATE_EPOCH,
# unless the caller gives one), in UTC, with the same messages and the same modes for the files
# it makes, whatever the builder's time zone, locale and umask.
reproducible_build() {
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
            fail "SOURCE_DATE_EPOCH is not set and this is not a git checkout to take it from"
    fi
    export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
    umask 022
}

# True when the Debian package is installed.
package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# What the script started and made, ended and removed when it ends, however it ends: the
# processes first, then the files. A script with more to undo defines a function
# undo_at_exit, which runs last.
pids_to_end=()
paths_to_remove=()
end_at_exit() { pids_to_end+=("$@"); }
remove_at_exit() { paths_to_remove+=("$@"); }
clean_up() {
    local i
    for ((i = ${#pids_to_end[@]} - 1; i >= 0; i--)); do
        kill "${pids_to_end[i]}" 2>/dev/null || true
    done
    [ ${#paths_to_remove[@]} -eq 0 ] || rm -rf "${paths_to_remove[@]}"
    if declare -F undo_at_exit >/dev/null; then
        undo_at_exit
    fi
}
trap clean_up EXIT

fail() {
    echo "${0##*/}: FAILED: $*" >&2
    exit 1
}

# Runs a command every 0.1 s until it succeeds, for up to SECONDS; false when it never did.
wait_until() {
    local tries=$(($1 * 10))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# Starts a virtual display of its own, with a window manager, for the rest of the script; both
# end with it; its screen WIDTHxHEIGHTxDEPTH.
start_display() {
    local number_file
    number_file=$(mktemp)
    # Xvfb picks a free display and writes its number once it takes connections.
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$number_file" \
        >/dev/null 2>&1 &
    end_at_exit $!
    wait_until 10 test -s "$number_file" || fail "the virtual display did not start"
    DISPLAY=:$(head -n1 "$number_file")
    export DISPLAY
    rm -f "$number_file"
    openbox >/dev/null 2>&1 &
    end_at_exit $!
    wait_until 5 wmctrl -m >/dev/null 2>&1 || fail "no window manager on the virtual display"
}

# Prints the id of the first visible window titled exactly TITLE, waiting up to SECONDS for one
# (0: looks once); prints nothing when there is none. xdotool ends with an X error when a window
# goes away while it walks the window tree (wine makes and drops helper windows while a program
# starts), so it is simply asked again.
window_titled() {
    local title=$1 tries=$((${2:-0} * 5)) id
    while :; do
        id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
        [ -z "$id" ] || { echo "$id"; return 0; }
        [ "$tries" -gt 0 ] || return 0
        tries=$((tries - 1))
        sleep 0.2
    done
}

# Starts a program in the background (the arguments: its command line) and waits up to 60 s
# for its window titled "ZAV UDP Test"; sets program_pid and window.
start_program() {
    "$@" &
    program_pid=$!
    end_at_exit "$program_pid"
    window=$(window_titled "ZAV UDP Test" 60)
    [ -n "$window" ] || fail "no window titled ZAV UDP Test"
}

# Closes the program's window the way a user does, and requires the program to end within 30 s
# with exit status 0.
close_program() {
    wmctrl -c "ZAV UDP Test"
    wait_until 30 program_ended || fail "closing the window left the program running"
    local status=0
    wait "$program_pid" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status when its window closed"
}
program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }

# Wine as every Windows check runs it: quiet, without offering to install .NET or a browser
# engine, in the given prefix (a folder of its own; made on first use).
use_wine_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# Runs a command in a network namespace of its own, where only its loopback (brought up)
# exists: whatever it sends to or receives on 127.0.0.1 is nobody else's.
in_private_network() {
    local unshare=(unshare --net)
    [ "$(id -u)" -eq 0 ] || unshare+=(--map-root-user)
    "${unshare[@]}" bash -c 'ip link set lo up && exec "$@"' private-network "$@"
}

# True on Debian 13, where the Windows program is built and the Debian 13 checks run directly.
# Prints the address of the Debian archive with this label (Debian, or Debian-Security) that
# this machine's apt takes its packages from, as its own sources name it (a mirror, a proxy of
# its own); says so and fails when apt knows none.
debian_archive() {
    local label=${1:-Debian} site
    # shellcheck disable=SC2016 # apt-get expands the format's fields
    site=$(apt-get indextargets --format '$(LABEL) $(SITE)' 2>/dev/null |
        awk -v label="$label" '$1 == label { print $2; exit }')
    if [ -z "$site" ]; then
        echo "${0##*/}: this machine's apt has no $label archive in its sources (apt-get" \
            "indextargets lists none): add one, run apt-get update, and try again" >&2
        return 1
    fi
    echo "$site"
}

# Exports the proxy this machine's apt uses, if any, for tools that fetch from its archive.
export_apt_proxy() {
    local proxy=
    eval "$(apt-config shell proxy Acquire::http::Proxy)"
    if [ -n "$proxy" ]; then
        export http_proxy=$proxy
    fi
}

on_debian_13() { [ "$(. /etc/os-release && echo "${VERSION_ID:-}")" = 13 ]; }
