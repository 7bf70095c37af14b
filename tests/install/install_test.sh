#!/bin/sh
# Installs the build into a temporary prefix and checks it the way a desktop
# and a packager would: only the expected folders, a valid menu entry and
# AppStream metainfo, clean manual pages, and an installed program that finds
# its own data and no other.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -eu
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/hh-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" --strip >/dev/null

# Packager-ready: nothing outside these places.
find "$prefix" -type f | sed "s|^$prefix/||" | sort >"$work/files"
grep -v -E '^(bin/handlehound(-aliasdb)?|share/handlehound/(Sound/[a-z]+\.wav|Icons/[A-Za-z_]+\.(ico|png)|Handlehound_README\.TXT|handleHound\.cfg)|share/applications/handlehound\.desktop|share/metainfo/[A-Za-z.]+\.metainfo\.xml|share/icons/hicolor/(16x16|32x32|48x48|64x64|128x128|256x256)/apps/handlehound\.png|share/icons/hicolor/scalable/apps/handlehound\.svg|share/man/man1/handlehound(-aliasdb)?\.1\.gz|share/doc/handlehound/(copyright|changelog\.gz))$' \
    "$work/files" >"$work/unexpected" || true
[ -s "$work/unexpected" ] && fail "unexpected files installed: $(tr '\n' ' ' <"$work/unexpected")"
for f in bin/handlehound bin/handlehound-aliasdb share/applications/handlehound.desktop \
    share/icons/hicolor/scalable/apps/handlehound.svg share/icons/hicolor/48x48/apps/handlehound.png \
    share/man/man1/handlehound.1.gz share/man/man1/handlehound-aliasdb.1.gz \
    share/handlehound/handleHound.cfg share/handlehound/Sound/on.wav; do
    [ -f "$prefix/$f" ] || fail "missing $f"
done

# The menu entry: valid, one main category, an icon the theme has.
desktop="$prefix/share/applications/handlehound.desktop"
out=$(desktop-file-validate "$desktop" 2>&1) || true
[ -z "$out" ] || fail "desktop-file-validate: $out"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -n "$(find "$prefix/share/icons/hicolor" -name "$icon.*")" ] || fail "no hicolor icon named '$icon'"

# AppStream: the metainfo alone, then with the menu entry it launches. No
# network: addresses in it are not fetched.
for metainfo in "$prefix"/share/metainfo/*.metainfo.xml; do
    out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
done
out=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) ||
    fail "appstreamcli validate-tree: $out"

# Manual pages render without a warning.
for page in "$prefix"/share/man/man1/*.1.gz; do
    out=$(gzip -dc "$page" | groff -mandoc -ww -z -Tutf8 2>&1) || true
    [ -z "$out" ] || fail "$(basename "$page"): $out"
done

# The installed program, moved away from where it was installed, finds its
# shipped data relative to itself; without that data it finds none anywhere
# else on this machine (no fallback to the source or build folder).
mv "$prefix" "$work/moved"
setup() {
    home="$work/$1"
    mkdir -p "$home/.q3a/baseq3"
    HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
        XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR= DISPLAY= \
        "$work/moved/bin/handlehound" --setup --game-dir "$home/.q3a" --mod baseq3 \
        --engine ioquake3 >"$home/setup.out" 2>&1 || true
}
setup home
[ -f "$home/config/handlehound/handleHound.ini" ] ||
    fail "a fresh user's set-up saved no settings: $(cat "$home/setup.out")"
for f in Sound/on.wav Icons/Handlehound.ico Handlehound_README.TXT; do
    [ -f "$home/data/handlehound/$f" ] ||
        fail "the installed program did not copy $f: $(cat "$home/setup.out")"
done
# (its dump file name edited for ioquake3, its first line as shipped)
[ "$(head -n 1 "$home/.q3a/baseq3/handleHound.cfg" 2>&1)" = "$(head -n 1 "$source/data/handleHound.cfg")" ] ||
    fail "the installed program did not install the shipped game-side script: $(cat "$home/setup.out")"
rm -r "$work/moved/share/handlehound"
setup bare
[ ! -e "$home/data/handlehound/Sound" ] && grep -q "shipped data folder" "$home/setup.out" ||
    fail "without its installed data the program found some elsewhere: $(cat "$home/setup.out")"

[ "$failures" -eq 0 ] || exit 1
echo "install tree OK: $(wc -l <"$work/files") files"
