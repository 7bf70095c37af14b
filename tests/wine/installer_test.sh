#!/bin/bash
# The Windows installer under Wine, in a fresh Wine prefix of its own: a
# silent install for the current user and one for all users, the installed
# program's --version and a set-up that leaves player data, the Start-menu
# and Apps & Features entries, a silent uninstall, and nothing left but the
# player's data. Then the portable zip runs where it is unpacked.
#   installer_test.sh handlehound-VERSION-setup.exe PORTABLE.zip
set -u
setup=$(realpath "$1") zip=$(realpath "$2")
version=$(basename "$setup" | sed -n 's/^handlehound-\(.*\)-setup\.exe$/\1/p')
work=$(mktemp -d "${TMPDIR:-/tmp}/hh-installer.XXXXXX")
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
run() {
    wine "$@"
    local status=$?
    wineserver -w
    return $status
}
run wineboot -i >/dev/null 2>&1
c="$WINEPREFIX/drive_c"
user=$(ls "$c/users" | grep -v -x -i public | head -1)
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Handlehound'
# Every file and folder of the Windows drive but the player's own data, what
# Wine itself keeps changing, and the per-user programs folder that Windows
# has from the start and Wine makes on first use.
snapshot() {
    find "$c" | sed "s|^$c/||" |
        grep -v -E "^users/$user/AppData/(Roaming/Handlehound(/|$)|Local/Programs$)|/Temp/|^windows/(Installer|logs)/" |
        sort
}

for mode in CurrentUser AllUsers; do
    if [ $mode = CurrentUser ]; then
        dir="$c/users/$user/AppData/Local/Programs/Handlehound" hive=HKCU
        menu="$c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
    else
        dir="$c/Program Files/Handlehound" hive=HKLM menu="$c/ProgramData/Microsoft/Windows/Start Menu/Programs"
    fi
    snapshot >"$work/before"
    run "$setup" /S /$mode || fail "$mode: the installer ended with $?"
    [ -f "$menu/Handlehound.lnk" ] || fail "$mode: no Start-menu entry in $menu"
    entry=$(run reg query "$hive\\$uninstall_key" 2>&1)
    grep -q "DisplayVersion *REG_SZ *$version" <<<"$entry" && grep -q "Uninstall.exe" <<<"$entry" ||
        fail "$mode: no Apps & Features entry for $version: $entry"
    out=$(run "$dir/bin/handlehound.exe" --version 2>&1 | tr -d '\r')
    [ "$out" = "Handlehound v$version" ] || fail "$mode: installed --version said '$out'"
    mkdir -p "$work/game/baseq3"
    run "$dir/bin/handlehound.exe" --setup --game-dir "Z:$work/game" --mod baseq3 >"$work/setup.out" 2>&1 ||
        fail "$mode: set-up failed: $(cat "$work/setup.out")"
    [ -d "$c/users/$user/AppData/Roaming/Handlehound" ] || fail "$mode: the set-up left no player data"

    run "$dir/Uninstall.exe" /S || fail "$mode: the uninstaller ended with $?"
    snapshot | diff "$work/before" - >"$work/left" || fail "$mode: the uninstall left or took:
$(cat "$work/left")"
    run reg query "$hive\\$uninstall_key" >/dev/null 2>&1 && fail "$mode: the Apps & Features entry is left"
    [ -d "$c/users/$user/AppData/Roaming/Handlehound" ] || fail "$mode: the uninstall took the player's data"
done

# The portable zip: unpacked anywhere, it runs from there and keeps its
# settings and data in its own folder.
mkdir "$work/portable"
(cd "$work/portable" && cmake -E tar xf "$zip") || fail "the zip does not unpack"
portable="$work/portable/Handlehound/bin"
out=$(run "$portable/handlehound.exe" --version 2>&1 | tr -d '\r')
[ "$out" = "Handlehound v$version" ] || fail "portable --version said '$out'"
rm -rf "$c/users/$user/AppData/Roaming/Handlehound"
run "$portable/handlehound.exe" --setup --game-dir "Z:$work/game" --mod baseq3 >"$work/setup.out" 2>&1
[ -s "$portable/handleHound.ini" ] && [ -f "$portable/Sound/on.wav" ] &&
    [ ! -e "$c/users/$user/AppData/Roaming/Handlehound" ] ||
    fail "the portable copy did not keep to its folder: $(cat "$work/setup.out")"

[ "$failures" -eq 0 ] || exit 1
echo "installer test OK: $(basename "$setup") for the current user and all users, $(basename "$zip")"
