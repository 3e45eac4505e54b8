#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages zelto-extractor (the window) and zelto-extract
# (the command) into build/package/ with CPack, from the install rules, with
# Debian's hardening flags. Installs what is missing first.
#
# With --check, the packages are also tried for real: lintian must find no
# error, both are installed with apt-get, the installed command converts a
# real PDF with no display, the installed window comes up offscreen, the
# installed desktop entry and metainfo validate, the watch service passes
# systemd-analyze verify without being enabled, and both are purged, after
# which none of their files may be left.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
check=false
[[ ${1:-} == --check ]] && check=true

bash scripts/install-deps.sh
tools=(dpkg-dev fakeroot file)
$check && tools+=(lintian groff systemd man-db)
missing=()
for pkg in "${tools[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
sudo=
[[ $(id -u) -ne 0 ]] && sudo=sudo
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The flags Debian builds its own packages with, every hardening included;
# the optimisation comes from them too.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
export LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
build=build/package
cmake -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
  -DZELTO_BUILD_TESTS=OFF -DZELTO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
window_deb=$(ls "$root/$build"/zelto-extractor_*.deb)
command_deb=$(ls "$root/$build"/zelto-extract_*.deb)
for deb in "$window_deb" "$command_deb"; do
  echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KB"
  dpkg-deb -f "$deb" Depends Recommends | sed 's/^/  /'
done
$check || exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "package check: $*" >&2
  exit 1
}

echo "lintian:"
lintian --fail-on error --suppress-tags-from-file /dev/null "$window_deb" "$command_deb" |
  tee "$work/lintian.txt" | sed 's/^/  /' || fail "lintian found errors"

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -qq "$window_deb" "$command_deb" >/dev/null ||
  { $sudo apt-get update -qq && $sudo apt-get install -y -qq "$window_deb" "$command_deb" >/dev/null; } ||
  fail "the packages could not be installed"
dpkg -L zelto-extractor zelto-extract | sort -u >"$work/files"

# The command, installed, with no display and no session bus: the manual
# page set as a PDF by groff converts to exactly pdftotext's text.
/usr/bin/zelto-extract --version
groff -man -Tpdf res/zelto-extract.1 >"$work/manual.pdf"
env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
  /usr/bin/zelto-extract --quiet --report "$work/report.csv" "$work/manual.pdf" ||
  fail "the installed command did not convert $work/manual.pdf"
pdftotext -layout "$work/manual.pdf" "$work/expected.txt"
cmp "$work/manual.txt" "$work/expected.txt" || fail "the installed command's text differs"
echo "installed zelto-extract converted a real PDF: $(wc -c <"$work/manual.txt") bytes of text"
# The installed extraction worker, where the command and window look for it,
# starts with its libraries and greets.
worker=/usr/libexec/zelto-extractor/zelto-extract-worker
[[ $(head -c 1 < <("$worker" </dev/null)) == H ]] || fail "the installed worker does not start"
echo "installed zelto-extract-worker starts and greets"

# The watch service, installed and not enabled, passes systemd's check; its
# settings file is kept across upgrades.
unit=/lib/systemd/system/zelto-extract-watch.service
systemd-analyze verify "$unit" || fail "systemd-analyze verify rejects $unit"
[[ -z $(find /etc/systemd -name zelto-extract-watch.service 2>/dev/null) ]] ||
  fail "zelto-extract-watch.service was enabled on installation"
dpkg-query -W -f='${Conffiles}' zelto-extract | grep -q /etc/default/zelto-extract ||
  fail "/etc/default/zelto-extract is not a configuration file of the package"
echo "installed zelto-extract-watch.service passes systemd-analyze verify and is not enabled"

# The window, installed, offscreen: still running when it is ended means it
# came up and stayed up. It keeps its settings in the check's folder.
status=0
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/zelto-extractor \
  2>"$work/window.err" || status=$?
[[ $status -eq 124 ]] || fail "the installed window ended with status $status: $(cat "$work/window.err")"
echo "installed zelto-extractor came up offscreen and ran until it was ended"

desktop-file-validate /usr/share/applications/zelto-extractor.desktop ||
  fail "the installed desktop entry does not validate"
appstreamcli validate --no-net /usr/share/metainfo/com.orrinval.Zelto.metainfo.xml >/dev/null ||
  fail "the installed metainfo does not validate"

$sudo apt-get purge -y -qq zelto-extractor zelto-extract >/dev/null || fail "purge failed"
left=0
while IFS= read -r path; do
  # /lib, where systemd units lie, is a link to /usr/lib on merged systems:
  # a folder, not a file of the package.
  if [[ (-f $path || -L $path) && ! -d $path ]]; then
    echo "left after purge: $path" >&2
    left=1
  fi
done <"$work/files"
((left == 0)) || fail "files were left after purging"
echo "both packages installed, tried and purged; $(grep -c . "$work/files") paths of theirs are gone"
