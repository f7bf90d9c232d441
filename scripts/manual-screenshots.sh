#!/usr/bin/env bash
# The manual's pictures: starts a virtual screen (Xvfb), the register simulator with the demo
# shop, and the station on a temporary copy of the demo program folder; opens every screen
# from the navigation panel as a user would (xdotool clicks) and writes one PNG per screen
# into docs/manual/slike/.
#   scripts/manual-screenshots.sh [BUILD_DIR]          (default build/, or $QOV_BUILD_DIR)
# Needs Xvfb, xdotool, ImageMagick (import, convert), python3 and sqlite3. Run it by hand
# after a screen changed (`make manual-screenshots`) and commit the pictures. A screen that
# did not open is named at the end and the exit status is 1.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-${QOV_BUILD_DIR:-$here/build}}" && pwd)"
out="$here/docs/manual/slike"
width=1440
height=900

for tool in Xvfb xdotool import convert python3 sqlite3; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "manual-screenshots: $tool is needed (apt-get install xvfb xdotool imagemagick)" >&2
        exit 1
    fi
done
for program in qovcom qovreg; do
    if [ ! -x "$build/bin/$program" ]; then
        echo "manual-screenshots: $build/bin/$program is not built" >&2
        exit 1
    fi
done

work="$(mktemp -d)"
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[$i]}" 2>/dev/null || true
        wait "${pids[$i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Where things are on the screen, read from the screenshots themselves: the navigation
# panel's group tabs (their border colour), its entries (the icons between two tabs), the
# screens' area (its background), a toolbar's buttons (the icons on one row), and what two
# screenshots differ in.
cat >"$work/locate.py" <<'PY'
import os, sys

PANEL_BG, TAB_BORDER, AREA_BG, SCREEN_BG = 'f4f6f9', 'a9b6c5', '6d839c', 'efefef'
W, H = int(os.environ['SHOT_WIDTH']), int(os.environ['SHOT_HEIGHT'])

def load(shot):
    with open(shot, 'rb') as f:
        return f.read()

def pixel(raw, x, y):
    i = (y * W + x) * 3
    return raw[i:i + 3].hex()

def column(raw, x, top=0, bottom=H):
    return [pixel(raw, x, y) for y in range(top, bottom)]

def row(raw, y, left=0, right=W):
    return [pixel(raw, x, y) for x in range(left, right)]

def runs(values, background, join):
    found = []
    for i, v in enumerate(values):
        if v != background:
            if found and i - found[-1][1] <= join:
                found[-1][1] = i
            else:
                found.append([i, i])
    return found

def tabs(raw):
    borders = [y for y, p in enumerate(column(raw, 8)) if p == TAB_BORDER]
    return [(borders[i], borders[i + 1]) for i in range(0, len(borders) - 1, 2)]

def area(raw):
    r = row(raw, H // 2)
    left = r.index(AREA_BG)
    c = column(raw, left + 20)
    right = W - 1 - r[::-1].index(AREA_BG)
    top, bottom = c.index(AREA_BG), H - 1 - c[::-1].index(AREA_BG)
    return left, top, right - left + 1, bottom - top + 1

def screen(raw, x, y, w, h):
    # The open screen: what is not background in the screens' area (it opens at its corner).
    if pixel(raw, x + 5, y + 5) == AREA_BG:
        return None
    sw = next((i for i in range(w) if pixel(raw, x + i, y + 5) == AREA_BG), w)
    sh = next((i for i in range(h) if pixel(raw, x + 5, y + i) == AREA_BG), h)
    return x, y, sw, sh

def changed(before, after, limit):
    # Rows from `limit` down (the status bar, which menus write into) do not count.
    rows = [y for y in range(min(H, limit)) if before[y * W * 3:(y + 1) * W * 3] != after[y * W * 3:(y + 1) * W * 3]]
    if not rows:
        return None
    xs = []
    for y in rows:
        d = [x for x in range(W) if pixel(before, x, y) != pixel(after, x, y)]
        xs += [d[0], d[-1]]
    return min(xs), rows[0], max(xs) - min(xs) + 1, rows[-1] - rows[0] + 1

def toolbar(raw, count, where):
    # The row through a screen's toolbar icons: the first rows, from the top of the screen,
    # that cut exactly `count` icons; the buttons' centres on the middle one of those rows.
    x, y, w, h = screen(raw, *where)
    hits = []
    for yy in range(y + 20, y + 110):
        r = [(a, b) for a, b in runs(row(raw, yy, x + 2, x + w - 2), SCREEN_BG, 6) if b - a >= 8]
        if len(r) == count:
            hits.append((yy, r))
        elif hits:
            break
    if not hits:
        return ''
    yy, r = hits[len(hits) // 2]
    return ' '.join(f'{x + 2 + (a + b) // 2},{yy}' for a, b in r)

cmd, raw = sys.argv[1], load(sys.argv[2])
if cmd == 'tab':
    a, b = tabs(raw)[int(sys.argv[3]) - 1]
    print((a + b) // 2)
elif cmd == 'entry':
    group, entry = int(sys.argv[3]), int(sys.argv[4])
    t = tabs(raw)
    top = t[group - 1][1] + 1
    bottom = t[group][0] if group < len(t) else H
    icons = [(a, b) for a, b in runs(column(raw, 24, top, bottom), PANEL_BG, 3) if b - a >= 8]
    if entry <= len(icons):
        print(top + sum(icons[entry - 1]) // 2)
elif cmd == 'area':
    print(*area(raw))
elif cmd == 'screen':
    s = screen(raw, *map(int, sys.argv[3:7]))
    if s:
        print('%dx%d+%d+%d' % (s[2], s[3], s[0], s[1]))
elif cmd == 'changed':
    c = changed(raw, load(sys.argv[3]), int(sys.argv[4]))
    if c:
        print('%dx%d+%d+%d' % (c[2], c[3], c[0], c[1]))
elif cmd == 'toolbar':
    print(toolbar(raw, int(sys.argv[3]), tuple(map(int, sys.argv[4:8]))))
elif cmd == 'colour':
    # The middle of the pixels of one colour on the open screen (a key's face).
    x, y, w, h = screen(raw, *map(int, sys.argv[4:8]))
    hits = [(xx, yy) for yy in range(y, y + h) for xx in range(x, x + w)
            if pixel(raw, xx, yy) == sys.argv[3]]
    if hits:
        print(sum(p[0] for p in hits) // len(hits), sum(p[1] for p in hits) // len(hits))
elif cmd == 'menu':
    # The menu bar's titles, left to right.
    r = [(a, b) for a, b in runs(row(raw, 9), SCREEN_BG, 7) if b - a >= 8]
    print(' '.join(str((a + b) // 2) for a, b in r))
PY
locate() { SHOT_WIDTH=$width SHOT_HEIGHT=$height python3 "$work/locate.py" "$@"; }

# A free TCP port for the simulator.
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"

home="$work/QovCom"
"$here/scripts/make-demo-home.sh" "$home" "$port" >/dev/null
"$build/bin/qovreg" --tcp "127.0.0.1:$port" --demo --state "$home/register.json" \
    --log "$work/register.log" >"$work/qovreg.out" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
    grep -q "qovreg listening on" "$work/qovreg.out" && break
    sleep 0.1
done
grep -q "qovreg listening on" "$work/qovreg.out" || {
    echo "manual-screenshots: the simulator did not start:" >&2
    cat "$work/qovreg.out" >&2
    exit 1
}

# A display of its own: Xvfb takes the first free number and writes it to fd 5.
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 "${width}x${height}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 5>&-
for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"

# Per-user values of a first start that is not the first: the window fills the screen at its
# top-left corner (positions in twips, 15 a pixel) and the font installer is not offered.
mkdir -p "$work/config/QovCom" "$work/data" "$work/run"
chmod 700 "$work/run"
printf '[Settings]\nwindowstate=0\nMainLeft=0\nMainTop=0\nMainWidth=%d\nMainHeight=%d\n' \
    $((width * 15)) $((height * 15)) >"$work/config/QovCom/QovCom.conf"
printf '[system.io]\naddfonts=1\n' >"$work/config/QovCom/QovCom Station.conf"

XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run" \
    QOVCOM_HOME="$home" LANG=C.UTF-8 "$build/bin/qovcom" >"$work/qovcom.log" 2>&1 &
pids+=($!)
if ! xdotool search --sync --onlyvisible --name "QovCom Ver" >/dev/null 2>&1; then
    echo "manual-screenshots: the station's window did not show" >&2
    exit 1
fi

# Screenshots are raw RGB bytes, read directly by locate.py.
shot="$work/shot.rgb"
before="$work/before.rgb"
pause() { sleep "${1:-1.5}"; }
# Over the status bar, where the pointer lights nothing up.
away() { xdotool mousemove $((width - 100)) $((height - 8)); }
snap() { away; pause 0.4; import -window root -depth 8 "rgb:${1:-$shot}"; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; }

# Writes the part of the screenshot (geometry WxH+X+Y) as docs/manual/slike/NAME.png, in at
# most 256 colours.
save() {
    local name="$1" geometry="$2"
    mkdir -p "$out"
    convert -size "${width}x${height}" -depth 8 "rgb:$shot" -crop "$geometry" +repage -strip \
        +dither -colors 256 \
        -define png:compression-level=9 "PNG8:$out/$name.png"
    echo "  $name.png ($(identify -format '%wx%h' "$out/$name.png"), $(($(stat -c %s "$out/$name.png") / 1024)) KB)"
}

# The register got frames and then none for three seconds: a run has ended (ten minutes at
# most).
wait_register() {
    local start size quiet=0
    start="$(stat -c %s "$work/register.log")"
    size="$start"
    for _ in $(seq 1 1200); do
        sleep 0.5
        local now
        now="$(stat -c %s "$work/register.log")"
        if [ "$now" = "$size" ] && [ "$now" != "$start" ]; then
            quiet=$((quiet + 1))
            [ "$quiet" -ge 6 ] && return 0
        else
            quiet=0
            size="$now"
        fi
    done
}

failed=()

# Opens the screen of navigation entry GROUP ENTRY; false when no screen came up.
open_entry() {
    local group="$1" entry="$2" y
    snap
    click 60 "$(locate tab "$shot" "$group")"
    pause 0.8
    snap
    y="$(locate entry "$shot" "$group" "$entry")"
    [ -n "$y" ] || return 1
    click 80 "$y"
    pause 2
    snap
    [ -n "$(locate screen "$shot" $area)" ]
}

# Presses toolbar button N of COUNT on the open screen.
press_toolbar() {
    local n="$1" count="$2" at
    snap
    at="$(locate toolbar "$shot" "$count" $area | tr ' ' '\n' | sed -n "${n}p")"
    [ -n "$at" ] || return 1
    click "${at%,*}" "${at#*,}"
}

# NAME GROUP ENTRY [ACTION]: opens the screen, runs ACTION (a function) and saves it.
capture() {
    local name="$1" group="$2" entry="$3" action="${4:-}"
    if ! open_entry "$group" "$entry"; then
        failed+=("$name (group $group, entry $entry)")
        xdotool key Escape
        return 0
    fi
    if [ -n "$action" ] && ! "$action"; then
        failed+=("$name (after opening: $action)")
    fi
    snap
    local geometry
    geometry="$(locate screen "$shot" $area)"
    if [ -z "$geometry" ]; then
        failed+=("$name (closed after: $action)")
        return 0
    fi
    save "$name" "$geometry"
}

# A box or menu: PREPARE (optional) leads to it, ACTION opens it, CLOSE (a key) closes it;
# the picture is what ACTION changed on the screen.
capture_popup() {
    local name="$1" action="$2" close="${3:-Escape}" prepare="${4:-}" geometry
    if [ -n "$prepare" ]; then
        "$prepare"
        pause 0.8
    fi
    snap "$before"
    if ! "$action"; then
        failed+=("$name")
        return 0
    fi
    pause 1.5
    snap
    read -r _ ay _ ah <<<"$area"
    geometry="$(locate changed "$before" "$shot" $((ay + ah)))"
    if [ -z "$geometry" ]; then
        failed+=("$name (nothing showed)")
    else
        save "$name" "$geometry"
    fi
    xdotool key "$close"
    pause 0.8
}

header_lines() {
    xdotool type --delay 40 "PRODAVNICA KOD MILANA"
    xdotool key Tab
    xdotool type --delay 40 "Beograd, Glavna 1"
    xdotool key Tab
    xdotool type --delay 40 "PIB 101234567"
}
receive_all() {
    xdotool key ctrl+a
    press_toolbar 1 4 && wait_register
}
first_blocks() {
    press_toolbar 1 4 && pause 1 && press_toolbar 2 4 && pause 1 && press_toolbar 2 4
}
first_program_block() { press_toolbar 1 3; }
# The red "C" key: the register's display then shows its menu text.
press_clear() {
    local at
    snap
    at="$(locate colour "$shot" e57c6e $area)"
    [ -n "$at" ] && click $at && pause 2
}
read_state() { press_toolbar 5 7 && pause 2 && press_toolbar 6 7; }
# The Communication group with no screen open ("Zatvori", Ctrl+F4, closes the open one).
communication_group() {
    snap
    if [ -n "$(locate screen "$shot" $area)" ]; then
        xdotool key ctrl+F4
        pause 1
    fi
    click 60 "$(locate tab "$shot" 2)"
}
link_test() {
    snap
    click 80 "$(locate entry "$shot" 2 2)"
}
menu_title() {
    snap
    local x
    x="$(locate menu "$shot" | cut -d' ' -f"$1")"
    [ -n "$x" ] && click "$x" 9
}
menu_file() { menu_title 1; }
menu_help() { menu_title 3; }
about_box() { menu_title 3 && pause 1 && xdotool key Up Return; }

echo "manual-screenshots: $DISPLAY, simulator on 127.0.0.1:$port"
pause 2
snap
save glavni-prozor "${width}x${height}+0+0"
# The screens' area (x y width height) while it is empty.
area="$(locate area "$shot")"

capture_popup meni-datoteke menu_file
capture_popup meni-pomoc menu_help
capture_popup o-programu about_box Return

# Everything the register holds is received first, so that the screens show the demo shop.
capture prijem 2 5 receive_all

capture zaglavlje 1 1 header_lines
capture odeljenja 1 2
capture artikli 1 3
capture kasiri 1 4
capture opsti-podaci 1 5
capture valute 1 6
capture reklama 1 7
capture jedinice-mere 1 8
capture tipovi-artikala 1 9
capture funkcije 1 10

capture konekcija 2 1
capture_popup provera-veze link_test Return communication_group
capture graficki-logo 2 3
capture slanje 2 4
capture fiskalna-memorija 2 6 first_blocks
capture programska-memorija 2 7 first_program_block
capture tastatura 2 8 press_clear
capture fiskalni-izvestaji 2 9 read_state

capture primljeni-artikli 3 1
capture prodati-artikli 3 2
capture prodaja-odeljenja 3 3
capture prodaja-kasira 3 4
capture prodaja-stope 3 5

if [ ${#failed[@]} -gt 0 ]; then
    echo "manual-screenshots: not taken:" >&2
    printf '  %s\n' "${failed[@]}" >&2
    exit 1
fi
echo "manual-screenshots: $(ls "$out"/*.png | wc -l) pictures in $out"
