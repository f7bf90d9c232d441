#!/usr/bin/env bash
# The soak at every fault rate (1 %, 5 %, 20 %; three seeds each, 1,000 articles, 50 receipts):
# qovctl against faulty simulators; prints one row a fault rate. `make test` runs its short
# version (5 %, one seed, 100 articles).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QOV_BUILD_DIR:-$PWD/build}
exec "$build/tests/test_soak" --gtest_also_run_disabled_tests --gtest_filter='Soak.DISABLED_*'
