#!/usr/bin/env bash
# Installs what is missing, builds the Linux program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux --target quorvel
exec build/linux/src/app/quorvel "$@"
