#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/screenshot.png, the main window with a few files listed, and
# docs/options.png, the Options dialog, without a display (Qt's offscreen
# platform).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target zelto_screenshot
QT_QPA_PLATFORM=offscreen ./build/default/tests/zelto_screenshot docs/screenshot.png
QT_QPA_PLATFORM=offscreen ./build/default/tests/zelto_screenshot --options docs/options.png
