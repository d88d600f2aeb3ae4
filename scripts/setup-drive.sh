#!/usr/bin/env bash
# Prepares a folder that stands for drive C: on this system: ZEP/work for the
# exchange files and ZEP/Link with the stand-in message box program, taken
# from a build folder or from an installation (e.g. /usr after installing
# the Debian package, where it is libexec/holechart/info_msgbox.exe).
# Usage: setup-drive.sh DRIVE_FOLDER BUILD_FOLDER|INSTALL_PREFIX
set -euo pipefail
drive=$1
from=$2
msgbox=
for candidate in "$from/platform/info_msgbox.exe" "$from/libexec/holechart/info_msgbox.exe"; do
    if [ -f "$candidate" ]; then
        msgbox=$candidate
        break
    fi
done
if [ -z "$msgbox" ]; then
    echo "setup-drive.sh: no info_msgbox.exe in $from/platform/ or $from/libexec/holechart/" >&2
    exit 1
fi
mkdir -p "$drive/ZEP/work" "$drive/ZEP/Link"
cp "$msgbox" "$drive/ZEP/Link/info_msgbox.exe"
