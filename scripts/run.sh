#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program and starts it. Arguments are
# handed to the program (PDF files or folders to add at start-up), relative
# ones taken from the folder this script was started in.
set -euo pipefail
caller=$(pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target zelto-extractor zelto-extract
cd "$caller"
exec "$root/build/default/src/zelto-extractor" "$@"
