#!/usr/bin/env bash
# Runs a Windows program that opens windows: under Wine, on a private
# X server, in a Wine prefix of its own. Wine shows the windows of a prefix
# through the desktop process that its first program started, so in a
# prefix shared with console tests, whose desktop may have started without
# a display, no window could be made. The X server, the prefix and every
# Wine process of it end with the program, whatever happens.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: wine-window-run.sh PROGRAM.exe [ARGS...]" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d "${TMPDIR:-/tmp}/sifteron-wine.XXXXXX")
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
end() {
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap end EXIT
# The server and the prefix's background programs start with no pipe of the
# caller's open, and with the display; wine64 makes the prefix, for both
# architectures (as in check-windows.sh).
xvfb-run -a bash -c '
  wineserver -p </dev/null >/dev/null 2>&1
  WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1
  exec "$@"' bash "$here/wine-run.sh" "$@"
