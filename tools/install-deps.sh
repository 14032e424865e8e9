#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, but only those that are
# missing, so a second run costs one dpkg query per package. Extra package names given as
# arguments are installed as well (the walk benchmark asks for its peers this way).
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev libgl-dev libxcb1-dev libgtest-dev
  qt6-svg-dev                                 # charts exported as SVG drawings
  qt6-wayland                                 # windows in a Wayland session without X
  libqt6sql6-sqlite                           # the trend index of the history
  shared-mime-info fonts-liberation2
  tzdata
  zlib1g-dev                                  # gzipped dumps of other scanners
  xvfb xauth
  librsvg2-bin                                # draws the PNG icons from the SVG
  desktop-file-utils appstream dpkg-dev file  # check the menu entry, build the Debian package
  poppler-utils                               # read the printed PDF pages back in tests
  lintian man-db groff-base                   # check the package and the manual pages
  weston                                      # a headless Wayland session for the tests
  prometheus prometheus-node-exporter         # the monitoring figures read back by the real programs
  dbus-daemon                                 # a private session bus for the file-manager test
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
# apt-get must never stop to ask a question; sudo clears the environment, so the setting goes on
# the command line.
as_root=(env DEBIAN_FRONTEND=noninteractive)
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Not root and no sudo: install ${missing[*]} by hand." >&2; exit 1; }
  as_root=(sudo "${as_root[@]}")
fi
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
