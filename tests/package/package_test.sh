#!/usr/bin/env bash
# The Debian package as a shop gets it: CPack makes it from the build tree's install step,
# dpkg-deb -x unpacks it into a temporary root, and the unpacked qovreg and qovctl run with a
# fresh HOME and no QOVCOM_HOME: the per-user folder is set up at the first start, a department
# send reaches the simulator, and the simulator's memory kept there survives a restart.
#   package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$1
source=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/qovpkg-XXXXXX")
sim=""
cleanup() {
    if [ -n "$sim" ] && kill -0 "$sim" 2>/dev/null; then
        kill "$sim" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# --- the package -----------------------------------------------------------------------------
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$work/out/qovcom_${version}_amd64.deb"
[ -f "$deb" ] || { ls "$work/out" >&2; echo "FAIL: no $deb" >&2; exit 1; }

dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/contents"
expected=(
    ./usr/bin/qovcom ./usr/bin/qovctl ./usr/bin/qovreg ./usr/bin/zlfontman
    ./usr/share/qovcom/fonts/HelveticaCiril.ttf
    ./usr/share/qovcom/db/sqlite.sql ./usr/share/qovcom/db/postgresql.sql
    ./usr/share/applications/qovcom.desktop
    ./usr/share/icons/hicolor/scalable/apps/qovcom.svg
    ./usr/share/man/man1/qovctl.1.gz
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/qovcom.png")
done
# The manual goes whole, whatever docs/manual/ holds.
while IFS= read -r page; do
    expected+=("./usr/share/qovcom/manual/${page#./}")
done < <(cd "$source/docs/manual" && find . -type f | sort)
for path in "${expected[@]}"; do
    grep -qxF "$path" "$work/contents" || fail "the package lacks $path"
done
programs=$(grep '^\./usr/bin/.' "$work/contents" | sort | tr '\n' ' ')
[ "$programs" = "./usr/bin/qovcom ./usr/bin/qovctl ./usr/bin/qovreg ./usr/bin/zlfontman " ] ||
    fail "usr/bin holds other than the four programs: $programs"

depends=$(dpkg-deb -f "$deb" Depends)
# Linked libraries (found by the library scan) and what Qt loads at run time (named by hand).
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 libqt6network6 \
               libqt6sql6-sqlite libqt6sql6-psql qt6-qpa-plugins libqt6serialport6 libqt6charts6; do
    grep -qE "(^|, )$package( \(|,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
if grep -qE -- '-dev( |,|$)' <<<"$depends"; then
    fail "Depends names a development package: $depends"
fi

# --- the unpacked files ----------------------------------------------------------------------
root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop="$root/usr/share/applications/qovcom.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "the desktop entry starts $exec_name, not in usr/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon $icon.png"
zcat "$root/usr/share/man/man1/qovctl.1.gz" | grep -q '^usage: qovctl' ||
    fail "the man page lacks qovctl's usage"

# --- a first start with a fresh HOME ---------------------------------------------------------
export HOME="$work/home"
unset QOVCOM_HOME XDG_DATA_HOME
mkdir -p "$HOME"
folder="$HOME/.local/share/QovCom"

start_simulator() {
    "$root/usr/bin/qovreg" --tcp 127.0.0.1:0 --keep >"$work/sim.out" 2>&1 &
    sim=$!
    address=""
    for _ in $(seq 1 100); do
        address=$(sed -n 's/^qovreg listening on //p' "$work/sim.out")
        [ -n "$address" ] && return 0
        kill -0 "$sim" 2>/dev/null || break
        sleep 0.05
    done
    cat "$work/sim.out" >&2
    echo "FAIL: the unpacked qovreg did not start" >&2
    exit 1
}
stop_simulator() {
    kill "$sim"
    wait "$sim" || fail "qovreg ended with status $?"
    sim=""
}

start_simulator
"$root/usr/bin/qovctl" --device "tcp://$address" send departments >"$work/send.out" 2>&1 ||
    fail "the department send failed: $(cat "$work/send.out")"
stop_simulator

[ -f "$folder/QovCom.ini" ] || fail "no $folder/QovCom.ini"
grep -qxF 'connectionstring=Driver=SQLite;Database={app.path}\QovCom.db' "$folder/QovCom.ini" ||
    fail "QovCom.ini lacks the embedded database"
for table in QOV_PLU QOV_PLU_RCV QOV_PLU_RCV_SOLD PORT; do
    [ "$(sqlite3 "$folder/QovCom.db" "SELECT count(*) FROM $table" 2>&1)" = "0" ] ||
        fail "QovCom.db lacks an empty $table"
done
[ -s "$folder/register.json" ] || fail "qovreg --keep wrote no $folder/register.json"

# The departments sent come back from a restarted simulator: its memory was kept.
start_simulator
"$root/usr/bin/qovctl" --device "tcp://$address" --save "$work/got.ini" receive departments \
    >"$work/receive.out" 2>&1 || fail "the department receive failed: $(cat "$work/receive.out")"
stop_simulator
grep -q 'Odeqewe  1' "$work/got.ini" ||
    fail "the departments sent did not come back: $(grep -i -m2 'odel\|odeq' "$work/got.ini")"

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, $(wc -l <"$work/contents") entries"
