#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it. Arguments are
# handed to the program (PDF files or folders to add at start-up).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default -DZELTO_BUILD_TESTS=OFF -DZELTO_BUILD_BENCH=OFF >/dev/null
cmake --build --preset default --target zelto-extractor
exec ./build/default/src/zelto-extractor "$@"
