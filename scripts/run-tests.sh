#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: the unit tests and session
# scripts under CTest, then the playground's tests in a real browser.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
(cd build && ctest --output-on-failure -j"$(nproc)")
bash scripts/run-browser-tests.sh
