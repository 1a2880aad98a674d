#!/usr/bin/env bash
# Installs what is missing, builds, and runs the simulator's built-in demo session.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
if [ -x build/sim/glidepad-sim ]; then
  exec build/sim/glidepad-sim "$@"
fi
echo "run-demo: built; the simulator is not part of this build yet"
