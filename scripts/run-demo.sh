#!/usr/bin/env bash
# `make run`: the station against the register simulator, in the demo program folder.
# Starts qovreg in the background on 127.0.0.1:$QOV_DEMO_PORT (default 5100), starts the
# station with QOVCOM_HOME=build/demo, and stops the simulator when the station exits.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QOV_BUILD_DIR:-$here/build}"
demo="$build/demo"
port="${QOV_DEMO_PORT:-5100}"
qovreg="$build/bin/qovreg"
qovcom="$build/bin/qovcom"

if [ ! -x "$qovreg" ]; then
    echo "run-demo: $qovreg is not built (make build)" >&2
    exit 1
fi
if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
    echo "run-demo: port $port on 127.0.0.1 is taken; choose another with QOV_DEMO_PORT=NNNN" >&2
    exit 1
fi

"$here/scripts/make-demo-home.sh" "$demo" "$port" >/dev/null

out="$demo/qovreg.out"
"$qovreg" --tcp "127.0.0.1:$port" --demo --state "$demo/register.json" \
    --log "$demo/register.log" >"$out" 2>&1 &
sim=$!
stop_simulator() {
    if kill -0 "$sim" 2>/dev/null; then
        kill "$sim" 2>/dev/null || true
        wait "$sim" 2>/dev/null || true
    fi
}
trap stop_simulator EXIT
trap 'exit 130' INT TERM

for _ in $(seq 1 50); do
    if grep -q "qovreg listening on" "$out" 2>/dev/null; then
        break
    fi
    if ! kill -0 "$sim" 2>/dev/null; then
        echo "run-demo: the simulator did not start:" >&2
        cat "$out" >&2
        exit 1
    fi
    sleep 0.1
done
if ! grep -q "qovreg listening on" "$out"; then
    echo "run-demo: the simulator did not start listening on 127.0.0.1:$port" >&2
    exit 1
fi
echo "run-demo: register simulator on tcp://127.0.0.1:$port (state $demo/register.json)"

export QOVCOM_HOME="$demo"
if [ -x "$qovcom" ]; then
    "$qovcom" "$@"
else
    echo "run-demo: the station ($qovcom) is not built yet."
    echo "run-demo: meanwhile the command-line station works against the simulator:"
    echo "    $build/bin/qovctl --home $demo test-link"
    echo "    $build/bin/qovctl --home $demo send departments"
    if [ -t 0 ]; then
        read -r -p "run-demo: press Enter to stop the simulator. " _
    fi
fi
