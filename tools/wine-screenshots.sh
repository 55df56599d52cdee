#!/usr/bin/env bash
# Renders the Win32 dialogs to PNG files under Wine on a private X server,
# for a look by eye beside the Qt screenshots: main-de, main-en, info-de and
# info-en. Not a test: a picture passes whatever it shows.
# Usage: wine-screenshots.sh SCREENSHOT-PROGRAM.exe OUTPUT-FOLDER
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: wine-screenshots.sh PROGRAM.exe OUTPUT-FOLDER" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
mkdir -p "$2"
out=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/sifteron-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The program writes BMP files into its current folder.
(cd "$work" && bash "$here/wine-window-run.sh" "$program")
for name in main-de main-en info-de info-en; do
  convert "$work/$name.bmp" "$out/$name.png"
done
ls "$out"/*.png
