#!/usr/bin/env bash
# Installs what is missing (Debian's chromium; node and npm if absent; the pinned playwright-core,
# which downloads no browser), builds, and runs the playground's tests in a real browser.
set -euo pipefail
cd "$(dirname "$0")/.."
extra=(chromium)
command -v node >/dev/null && command -v npm >/dev/null || extra+=(nodejs npm)
bash scripts/install-deps.sh "${extra[@]}"
bash scripts/build.sh build
cd tests/browser
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
GLIDEPAD_SIM="$PWD/../../build/sim/glidepad-sim" timeout 300 npm test
