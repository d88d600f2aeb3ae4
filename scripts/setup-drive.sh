#!/usr/bin/env bash
# Prepares a folder that stands for drive C: on this system: ZEP/work for the
# exchange files and ZEP/Link with the stand-in message box program.
# Usage: setup-drive.sh DRIVE_FOLDER BUILD_FOLDER
set -euo pipefail
drive=$1
build=$2
mkdir -p "$drive/ZEP/work" "$drive/ZEP/Link"
cp "$build/platform/info_msgbox.exe" "$drive/ZEP/Link/info_msgbox.exe"
