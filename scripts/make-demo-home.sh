#!/usr/bin/env bash
# Prepares the demo program folder: QovCom.ini whose [ports] maps com1 to the simulator,
# the embedded database with its PORT row (port 1, 9600) and a shop's articles (only while
# the article table is empty, so a user's changes stay), and sample link menus.
#   scripts/make-demo-home.sh [FOLDER] [PORT]     (defaults: build/demo 5100)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
demo="${1:-$here/build/demo}"
port="${2:-5100}"

mkdir -p "$demo"

if ! command -v sqlite3 >/dev/null 2>&1; then
    echo "make-demo-home: sqlite3 is needed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi
# The build makes the empty database; make it here when the build has not.
if [ ! -s "$demo/QovCom.db" ]; then
    sqlite3 -bail "$demo/QovCom.db.tmp" ".read '$here/db/sqlite.sql'"
    mv "$demo/QovCom.db.tmp" "$demo/QovCom.db"
fi
sqlite3 -bail "$demo/QovCom.db" \
    "DELETE FROM PORT; INSERT INTO PORT (Port, Qov, tone, phonenm) VALUES (1, '9600', 'ATDP', '');"
if [ "$(sqlite3 "$demo/QovCom.db" "SELECT count(*) FROM QOV_PLU;")" = "0" ]; then
    python3 "$here/scripts/demo-articles.py" | sqlite3 -bail "$demo/QovCom.db"
fi

# The settings file keeps the platform's line ends (the station reads either).
cat > "$demo/QovCom.ini" <<INI
[database]
connectionstring=Driver=SQLite;Database={app.path}\\QovCom.db

[modem]
atdt=ATDT
atdp=ATDP
atdisconnect=ATH0

[application.rules]
maxcena=99999999
maxcek=1000000
maxkartica=1000000
maxkes=1000000
fontcyrilic=Helvetica Ciril
fontlatin=Courier New

[ports]
com1=tcp://127.0.0.1:$port

[link]
trace=0

[web1]
caption=Arvon Cash Registers
url=https://www.example.com/

[kor1]
caption=Uputstvo za kasu
url=https://www.example.com/uputstvo

[vla1]
caption=Zakon o fiskalnim kasama
url=https://www.example.com/zakon
INI

echo "$demo"
