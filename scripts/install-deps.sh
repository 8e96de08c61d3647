#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need, when any is missing.
set -euo pipefail

packages=(cmake make g++ pkg-config libcpprest-dev libssl-dev zlib1g-dev libgtest-dev libgmock-dev
          libbenchmark-dev clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
