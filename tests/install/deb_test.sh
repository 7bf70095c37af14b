#!/bin/sh
# Installs the Debian package as a player does, runs the installed programs,
# purges it and shows the machine as it was: no file of the package left and
# the same packages installed as before. Meant for a test machine run as root
# (CI): packages that the install pulled in are purged again by name, and
# nothing else is removed (no autoremove, which could take the build's own
# dependencies).
#   deb_test.sh PACKAGE.deb
set -eu
if [ "$(id -u)" -ne 0 ]; then
    echo "deb test skipped: installing a package needs root"
    exit 0
fi
if dpkg-query -W -f='${Status}' handlehound 2>/dev/null | grep -q "ok installed"; then
    echo "FAIL: handlehound is installed on this machine already; the test leaves it alone"
    exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/hh-deb.XXXXXX")
chmod 755 "$work" # apt reads the package as its own user
cp "$1" "$work/"
deb="$work/$(basename "$1")"
version=$(dpkg-deb -f "$deb" Version)
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
export DEBIAN_FRONTEND=noninteractive
packages() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort; }
files() { find /usr /etc /opt /var/lib/dpkg/info -xdev 2>/dev/null | sort; }
added_packages() { packages | comm -13 "$work/packages.before" -; }
purge() {
    added=$(added_packages | tr '\n' ' ')
    [ -z "$added" ] || apt-get purge -y -qq $added >"$work/purge.out" 2>&1 ||
        fail "apt-get purge $added: $(cat "$work/purge.out")"
}
cleanup() {
    [ -z "${pid:-}" ] || kill "$pid" 2>/dev/null || true
    [ -z "$(added_packages)" ] || purge
    rm -rf "$work"
}
packages >"$work/packages.before"
files >"$work/files.before"
trap cleanup EXIT

apt-get install -y -qq --no-install-recommends "$deb" >"$work/install.out" 2>&1 || {
    fail "apt-get install: $(cat "$work/install.out")"
    exit 1
}
added=$(added_packages | grep -v '^handlehound$' | tr '\n' ' ')
[ -z "$added" ] || echo "note: the install pulled in $added (purged again at the end)"
dpkg -L handlehound | sort >"$work/package.files"

for program in handlehound handlehound-aliasdb; do
    [ "$(command -v $program)" = "/usr/bin/$program" ] || fail "$program is not /usr/bin/$program"
done
out=$(handlehound --version 2>&1) || true
[ "$out" = "Handlehound v$version" ] || fail "handlehound --version: '$out', package $version"
out=$(handlehound-aliasdb --version 2>&1) || true
[ "$out" = "handlehound-aliasdb $version" ] || fail "handlehound-aliasdb --version: '$out'"

# A headless start on a fresh user's folders: set up, switched on (the
# answer script says so), its own alias database started, and an orderly
# end on SIGTERM.
home="$work/home"
mkdir -p "$home/.q3a/baseq3"
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
    XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$home/run" DISPLAY=
mkdir -m 700 "$XDG_RUNTIME_DIR"
handlehound --setup --game-dir "$home/.q3a" --mod baseq3 --engine ioquake3 >"$work/setup.out" 2>&1 ||
    fail "handlehound --setup: $(cat "$work/setup.out")"
handlehound --headless --always-on >"$work/headless.out" 2>&1 &
pid=$!
started=no
for _ in $(seq 100); do
    if grep -q ENABLED "$home/.q3a/baseq3/hh.cfg" 2>/dev/null &&
        [ -f "$XDG_DATA_HOME/handlehound/aliases.sqlite" ]; then
        started=yes
        break
    fi
    sleep 0.1
done
[ "$started" = yes ] || fail "the headless start did not switch on with its database: $(cat "$work/headless.out")"
kill -TERM "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "handlehound ended with $status on SIGTERM: $(cat "$work/headless.out")"
for _ in $(seq 50); do
    pgrep -f -- "--db $XDG_DATA_HOME/" >/dev/null || break
    sleep 0.1
done
pgrep -af -- "--db $XDG_DATA_HOME/" && fail "the alias database outlived the program"
grep -qF "Not ^3Running" "$home/.q3a/baseq3/hh.cfg" 2>/dev/null ||
    fail "the answer script does not say it ended: $(cat "$home/.q3a/baseq3/hh.cfg" "$work/headless.out" 2>&1)"

apt-get purge -y -qq handlehound >"$work/purge.out" 2>&1 || fail "apt-get purge: $(cat "$work/purge.out")"
purge
while read -r path; do
    [ -d "$path" ] || [ ! -e "$path" ] || fail "left after purge: $path"
done <"$work/package.files"
files | diff "$work/files.before" - >"$work/files.diff" || fail "files changed by install and purge:
$(cat "$work/files.diff")"
packages | diff "$work/packages.before" - >/dev/null || fail "the installed packages changed"

[ "$failures" -eq 0 ] || exit 1
echo "deb test OK: $(basename "$deb") installed $(grep -c . "$work/package.files") paths, ran, purged without a trace"
