#!/usr/bin/env bash
# Installs the Debian packages of tools/debian-packages.txt that are missing.
# Usage: tools/install-packages.sh [--release-fallback]
#   --release-fallback: for a throwaway machine (CI), see below.
set -euo pipefail
release_fallback=no
[ "${1:-}" = --release-fallback ] && release_fallback=yes
list="$(dirname "$0")/debian-packages.txt"
mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$list")
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# wine32 is a package of the i386 architecture.
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi

# A mirror caught mid-sync serves an index of the wrong size ("Mirror sync in
# progress?"); that passes when tried again later, so apt-get update is tried
# a few times. If in the end only i386 indexes fail, the rest is installed
# without the i386 packages: the Windows pass then says loudly that the 32-bit
# tests did not run. (i386 packages from a partial index could pull libraries
# older than their amd64 twins, which apt refuses for the whole install.) An
# i386 index that fails twice in the same way is stale, not syncing: waiting
# longer for it only makes CI slower.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Whether the indexes that failed to fetch ($1) are all i386 ones.
only_i386() { [ -n "$1" ] && ! grep -qv 'binary-i386' <<<"$1"; }
updated=no
failed=''
for wait in 15 30 60 end; do
  if $sudo apt-get -o Acquire::Retries=3 update 2>&1 | tee "$log"; [ "${PIPESTATUS[0]}" -eq 0 ]; then
    updated=yes
    break
  fi
  failed_before=$failed
  failed=$(grep '^E: Failed to fetch' "$log" || true)
  [ "$wait" = end ] && break
  if only_i386 "$failed" && [ "$failed" = "$failed_before" ]; then
    echo "the same i386 index failed twice; not waiting for it" >&2
    break
  fi
  echo "apt-get update failed; trying again in $wait s" >&2
  sleep "$wait"
done
if [ "$updated" = no ]; then
  if ! only_i386 "$failed"; then
    echo "apt-get update failed" >&2
    exit 1
  fi
  # Without the update's i386 index, the i386 packages exist only at the
  # release's versions; on a throwaway machine the libraries they share with
  # amd64 may follow them there (downgrades) for the 32-bit tests to run.
  if [ "$release_fallback" = yes ]; then
    . /etc/os-release
    pin=/etc/apt/preferences.d/sifteron-release-fallback
    printf 'Package: *\nPin: release n=%s\nPin-Priority: 1001\n' "$VERSION_CODENAME" | $sudo tee "$pin" >/dev/null
    echo "WARNING: the mirror's i386 index cannot be read; installing from the release $VERSION_CODENAME itself, downgrades allowed" >&2
    installed=no
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --allow-downgrades "${missing[@]}" && installed=yes
    $sudo rm -f "$pin"
    [ "$installed" = yes ] && exit 0
  fi
  mapfile -t missing < <(printf '%s\n' "${missing[@]}" | grep -v ':i386$')
  echo "WARNING: the mirror's i386 index cannot be read; installing without the i386 packages" >&2
fi
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
