#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, if any is missing. Run as root.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libplist-dev libgtest-dev libgmock-dev
  libmicrohttpd-dev nlohmann-json3-dev)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
