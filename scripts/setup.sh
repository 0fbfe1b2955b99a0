#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Lumenar need, and any named as
# arguments, but only those that are missing, so a prepared machine pays nothing.
set -eu

packages="build-essential cmake ninja-build ccache pkg-config qtbase5-dev qtbase5-dev-tools
qttools5-dev qttools5-dev-tools qttranslations5-l10n libqt5svg5-dev libgif-dev libbenchmark-dev xvfb xauth x11-utils imagemagick fonts-dejavu-core
librsvg2-bin icnsutils desktop-file-utils appstream libxml2-utils shared-mime-info
bubblewrap python3-gi gir1.2-gnomedesktop-3.0
libglib2.0-bin man-db dpkg-dev file"
packages="$packages $*"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
else
    SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
# A fresh machine has no package lists yet; try without updating first, it is faster.
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing ||
    { $SUDO apt-get update -q && $SUDO apt-get install -y -q --no-install-recommends $missing; }
