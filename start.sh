#!/usr/bin/env bash
# Builds Sifteron and starts its window. Without a display it says so and runs
# the command-line front end on a small example instead.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-packages.sh

cmake -S . -B build/app -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=(sifteron-cli)
[ -f ui/CMakeLists.txt ] && targets+=(sifteron)
cmake --build build/app -j"$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

window=$(find build/app -maxdepth 3 -type f -name sifteron -perm -u+x | head -n 1)
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -n "$window" ]; then
  exec "$window"
fi

cli=build/app/cli/sifteron-cli
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty), so the window cannot open."
else
  echo "The window is not built yet."
fi
echo "Here is the same extraction from the command line instead:"
example=build/example
rm -rf "$example" && mkdir -p "$example"
printf '<p class="note">Say "hello" to the "world".</p>\r\n' >"$example/page.html"
echo
echo "  \$ $cli $example/page.html $example/quotes.txt"
"$cli" "$example/page.html" "$example/quotes.txt"
echo
echo "  $example/quotes.txt now holds:"
sed 's/\r$//; s/^/    /' "$example/quotes.txt"
