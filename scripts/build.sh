#!/usr/bin/env bash
# Configures and builds into a build folder: build.sh [FOLDER [CMAKE OPTIONS...]]. Warnings on
# the project's own code are errors here (GLIDEPAD_WERROR), as in CI; a plain CMake build only
# shows them.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-build}
shift || true
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIDEPAD_WERROR=ON "$@" >/dev/null
ninja -C "$folder" -j"$(nproc)"
