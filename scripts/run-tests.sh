#!/usr/bin/env bash
# Runs every test: starts a throw-away PostgreSQL server for the database tests,
# runs CTest, and stops the server again whatever the outcome.
set -uo pipefail
cd "$(dirname "$0")/.."

export QOV_BUILD_DIR="$PWD/build"
if [ -x scripts/pg-test-server.sh ]; then
    scripts/pg-test-server.sh start || { echo "PostgreSQL test server did not start"; exit 1; }
    trap 'scripts/pg-test-server.sh stop' EXIT
    source build/pg/env.sh
fi

ctest --test-dir build --output-on-failure -j2 --timeout 300
