#!/usr/bin/env bash
# Makes the Debian package of a build with cpack, unpacks it into a temporary
# root and checks it as a user's machine would receive it: the file list,
# owners and modes, the control fields, the programs; then runs
# desktop-file-validate, appstreamcli and lintian where they are installed
# (tools/debian-packages.txt has them). Ends with 77, CTest's "skipped", when
# one of them is missing and everything else passed.
# Usage: check_package.sh BUILD_DIR SOURCE_DIR VERSION RELEASE_DATE APP_ID
set -euo pipefail
build=$1 source=$2 version=$3 date=$4 id=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack could not make the package" >&2
  exit 1
fi
shopt -s nullglob
debs=("$work"/out/sifteron_"$version"_*.deb)
if [ ${#debs[@]} -ne 1 ]; then
  echo "FAIL: expected one sifteron_${version}_*.deb, found: $(ls "$work/out")" >&2
  exit 1
fi
deb=${debs[0]}
echo "package: $(basename "$deb")"

# Every file the package installs, and nothing else.
expected=(
  /usr/bin/sifteron
  /usr/bin/sifteron-cli
  "/usr/share/applications/$id.desktop"
  /usr/share/doc/sifteron/changelog.gz
  /usr/share/doc/sifteron/copyright
  "/usr/share/metainfo/$id.metainfo.xml"
  /usr/share/man/man1/sifteron-cli.1.gz
  /usr/share/man/man1/sifteron.1.gz
  "/usr/share/icons/hicolor/scalable/apps/$id.svg"
)
for size in 16 32 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x$size/apps/$id.png")
done
dpkg-deb -c "$deb" >"$work/contents"
awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' "$work/contents" | sort >"$work/files"
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
diff -u "$work/expected" "$work/files" >&2 || fail "the package's files differ from the list (+ packaged, - expected)"

# Owned by root; programs 0755, other files 0644, as Debian's policy has it.
awk '$2 != "root/root" { print "owner " $2 ": " $6 }
     $1 ~ /^-/ && $6 ~ /\/bin\// && $1 != "-rwxr-xr-x" { print "mode " $1 ": " $6 }
     $1 ~ /^-/ && $6 !~ /\/bin\// && $1 != "-rw-r--r--" { print "mode " $1 ": " $6 }' \
  "$work/contents" >"$work/modes"
[ ! -s "$work/modes" ] || fail "owners or modes: $(cat "$work/modes")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = sifteron ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = text ] || fail "Section: $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority: $(field Priority)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
# Depends comes from dpkg-shlibdeps: the C library and the Qt widgets.
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6widgets6; do
  [[ "$depends" == *"$lib "* ]] || fail "Depends lacks $lib: $depends"
done
[ "$(field Recommends)" = qt6-translations-l10n ] || fail "Recommends: $(field Recommends)"
[ "$(field Description | wc -l)" -gt 5 ] || fail "no extended description"

dpkg-deb -x "$deb" "$work/root"
root=$work/root
for program in sifteron sifteron-cli; do
  file -b "$root/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
done
cli_version=$("$root/usr/bin/sifteron-cli" --version | head -n 1)
[[ "$cli_version" == *" $version" ]] || fail "sifteron-cli --version says '$cli_version', not $version"
# The changelog's newest entry is the release the metadata names.
grep -m 1 '^## \[' "$source/CHANGELOG.md" | grep -qx "## \[$version\] - $date" ||
  fail "the newest entry of CHANGELOG.md is not '## [$version] - $date'"
zcat "$root/usr/share/doc/sifteron/changelog.gz" | head -n 1 | grep -q "^sifteron ($version) " ||
  fail "changelog.gz does not start with version $version"
cmp -s "$source/dist/linux/copyright" "$root/usr/share/doc/sifteron/copyright" ||
  fail "the copyright file differs from dist/linux/copyright"

missing=()
if command -v man >/dev/null; then
  for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $(basename "$page"): $warnings"
  done
else
  missing+=(man)
fi
if command -v desktop-file-validate >/dev/null; then
  # It passes with warnings and hints; any of them counts.
  report=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1) || true
  [ -z "$report" ] || fail "desktop-file-validate: $report"
else
  missing+=(desktop-file-validate)
fi
if command -v appstreamcli >/dev/null; then
  # The record together with the desktop entry and icon it names.
  appstreamcli validate-tree --no-net --no-color "$root" >&2 || fail "appstreamcli validate-tree"
else
  missing+=(appstreamcli)
fi
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$deb" >&2 || fail "lintian"
  # The hardening tags are informational, so only the full report shows them:
  # the programs must be built as Debian hardens its own.
  hardening=$(lintian -I --pedantic "$deb" 2>&1 | grep -E 'hardening-no-' || true)
  [ -z "$hardening" ] || fail "lintian: $hardening"
else
  missing+=(lintian)
fi

[ "$failures" -eq 0 ] || exit 1
if [ ${#missing[@]} -gt 0 ]; then
  echo "not run: ${missing[*]} (not installed)"
  exit 77
fi
echo "package checks passed"
