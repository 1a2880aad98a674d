#!/usr/bin/env bash
# Configures and builds into a build folder: build.sh [FOLDER [CMAKE OPTIONS...]].
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-build}
shift || true
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
ninja -C "$folder" -j"$(nproc)"
