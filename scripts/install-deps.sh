#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every package needed to build, test and run Zelto Extractor on
# Debian 12. Does nothing when all of them are present already.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  # poppler-data holds the encodings of Chinese, Japanese and Korean PDFs;
  # without it pdftotext loses their characters ("Missing language pack").
  poppler-utils poppler-data
  # The extraction worker is built on the poppler library pdftotext uses;
  # qpdf encrypts the test PDFs that need a password, groff sets a manual
  # page as a real PDF.
  libpoppler-private-dev qpdf groff
  # Reading scanned pages, when the person turns it on: tesseract and its
  # English data (other languages come with tesseract-ocr-<language>).
  tesseract-ocr tesseract-ocr-eng
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-qpa-plugins
  qt6-svg-dev libqt6svg6 qt6-l10n-tools
  dbus-daemon dbus-x11 xdg-utils
  desktop-file-utils appstream
  python3
  # The test of a run spread over several hosts hands out its work with
  # GNU parallel, as users of zelto-extract do.
  parallel
)

missing=()
for pkg in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  sudo=sudo
else
  sudo=
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
