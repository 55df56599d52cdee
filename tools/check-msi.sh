#!/usr/bin/env bash
# The Windows installers: builds build/windows/packages/sifteron-<version>-win64.msi
# and -win32.msi with wixl (msitools) from dist/windows/sifteron.wxs and the
# programs of tools/check-windows.sh's build folders, then tests each under
# Wine in a prefix of its own: install, files, shortcut, Apps and features
# entry, PATH, the command line from its folder and through PATH, an upgrade
# to a later version, and an uninstall that leaves nothing behind.
set -euo pipefail
cd "$(dirname "$0")/.."
root=build/windows
version=$(sed -n 's/^project(Sifteron VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
work=$root/msi-test
rm -rf "$work"
mkdir -p "$work" "$root/packages"

# build_msi ARCH WIXL-ARCH VERSION OUTPUT
build_msi() {
  wixl -a "$2" -D Arch="$2" -D Version="$3" -D BuildDir="$root/$1" -D SourceDir=. \
    -o "$4" dist/windows/sifteron.wxs
  # The install folder at the end of the machine's PATH, taken off again on
  # removal ("=-*": set, remove on uninstall, system): wixl writes no
  # Environment table, so it is added with the standard actions' places.
  msibuild "$4" -q 'CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL,
      `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE,
      `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)' \
    -q "INSERT INTO \`Environment\` (\`Environment\`, \`Name\`, \`Value\`, \`Component_\`)
      VALUES ('PATH', '=-*PATH', '[~];[INSTALLDIR]', 'Programs')" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`)
      VALUES ('RemoveEnvironmentStrings', 3300)" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`)
      VALUES ('WriteEnvironmentStrings', 5200)"
}

export WINEDEBUG=-all
# No desktop entries for the shortcut in this machine's menus.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export WINELOADER=/usr/lib/wine/wine64
wine=/usr/lib/wine/wine64
end_wine() { wineserver -k 2>/dev/null || true; }
trap end_wine EXIT
# Each architecture in a fresh prefix: Wine's removal of a PATH entry leaves
# its separator behind, and Wine's cmd stops searching PATH at an empty entry,
# so a second install in the same prefix would not be found through PATH.
new_prefix() {
  end_wine
  export WINEPREFIX=$PWD/$root/msi-prefix-$1
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1
  $wine wineboot --init </dev/null >/dev/null 2>&1
  drive_c=$WINEPREFIX/drive_c
}
runs_32_bit=no
/usr/lib/wine/wine --version >/dev/null 2>&1 && runs_32_bit=yes

failures=0
check() {
  local what=$1; shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}
windows_path() { echo "Z:${1//\//\\}"; }
msiexec() { $wine msiexec "$1" "$(windows_path "$PWD/$2")" /qn </dev/null; }
reg_query() { $wine reg query "$@" 2>/dev/null | tr -d '\r'; }
# The Apps and features entries named Sifteron: "version|publisher|uninstall".
# A 32-bit package's entry is in the 32-bit view of the registry.
entries() {
  { reg_query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s
    reg_query 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall' /s; } | awk '
    /^HKEY/ { if (name == "Sifteron") print version "|" publisher "|" uninstall
              name = version = publisher = uninstall = "" }
    $1 == "DisplayName" { name = $3 }
    $1 == "DisplayVersion" { version = $3 }
    $1 == "Publisher" { sub(/^ *Publisher +REG_SZ +/, ""); publisher = $0 }
    $1 == "UninstallString" { sub(/^ *UninstallString +REG_EXPAND_SZ +/, ""); uninstall = $0 }
    END { if (name == "Sifteron") print version "|" publisher "|" uninstall }'
}
machine_path() {
  reg_query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH |
    sed -n 's/^ *PATH *REG_[A-Z_]* *//p' | tr ';' '\n'
}
# How often the folder stands in the machine's PATH.
on_path() { machine_path | grep -cixF -e "$1" -e "$1\\" || true; }
shortcuts() {
  find "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
    "$drive_c/users"/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs \
    -name Sifteron.lnk 2>/dev/null
}
# The shortcut starts the window in its folder, with the icon the package
# published for Apps and features (icon 102).
shortcut_right() {
  local lnk strings icon
  lnk=$(shortcuts)
  [ -n "$lnk" ] && [ "$(wc -l <<<"$lnk")" -eq 1 ] || return 1
  strings=$(strings -a "$lnk" && strings -a -el "$lnk")
  grep -qF "$1\\sifteron.exe" <<<"$strings" || return 1
  icon=$(grep -oE 'C:\\windows\\Installer\\\{[-0-9A-F]+\}\\sifteron\.ico$' <<<"$strings" | head -1)
  [ -n "$icon" ] && cmp -s res/sifteron.ico "$drive_c/$(tr '\\' / <<<"${icon#C:\\}")"
}
product_code() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }'; }
product_icon_published() {
  reg_query 'HKLM\Software\Classes\Installer\Products' /s | grep -q 'ProductIcon.*\\sifteron\.ico$'
}
cli_version_from_folder() { [ "$(tools/wine-run.sh "$1/sifteron-cli.exe" --version)" = "$expected" ]; }
# A new console's search through PATH, started in a folder without the program.
cli_version_through_path() {
  [ "$( (cd "$drive_c/users" && $wine cmd /c 'sifteron-cli.exe --version' </dev/null) | tr -d '\r')" = "$expected" ]
}

expected=$("$root/host/cli/sifteron-cli" --version)
later=$version.1
for arch in x86_64 i686; do
  case $arch in
    x86_64) wixl_arch=x64 name=win64 folder='C:\Program Files\Sifteron' ;;
    i686) wixl_arch=x86 name=win32 folder='C:\Program Files (x86)\Sifteron' ;;
  esac
  new_prefix "$arch"
  msi=$root/packages/sifteron-$version-$name.msi
  build_msi "$arch" "$wixl_arch" "$version" "$msi"
  build_msi "$arch" "$wixl_arch" "$later" "$work/sifteron-$later-$name.msi"
  unix_folder=$drive_c/${folder#C:\\}
  unix_folder=${unix_folder//\\//}
  echo "== $msi =="

  check "msiexec /i" msiexec /i "$msi"
  for f in app/sifteron.exe cli/sifteron-cli.exe; do
    check "$folder\\${f#*/}" cmp -s "$root/$arch/$f" "$unix_folder/${f#*/}"
  done
  for f in README.md LICENSE; do
    check "$folder\\$f" cmp -s "$f" "$unix_folder/$f"
  done
  check "Start menu shortcut Sifteron with icon 102" shortcut_right "$folder"
  check "Apps and features: Sifteron $version by the publisher, removed by msiexec" \
    test "$(entries)" = "$version|The Sifteron developers|MsiExec.exe /X$(product_code "$msi")"
  check "Apps and features: icon 102" product_icon_published
  check "$folder on the machine's PATH once" test "$(on_path "$folder")" -eq 1
  if [ $arch = x86_64 ] || [ $runs_32_bit = yes ]; then
    check "sifteron-cli.exe --version from $folder" cli_version_from_folder "$unix_folder"
    check "sifteron-cli.exe --version through PATH in a new console" cli_version_through_path
  else
    echo "NOT RUN: sifteron-cli.exe --version (this machine runs no 32-bit x86 code)"
  fi

  check "msiexec /i $later replaces $version" msiexec /i "$work/sifteron-$later-$name.msi"
  check "one Apps and features entry, now $later" test "$(entries | cut -d'|' -f1)" = "$later"
  check "$folder on the machine's PATH once after the upgrade" test "$(on_path "$folder")" -eq 1

  check "msiexec /x" msiexec /x "$work/sifteron-$later-$name.msi"
  check "no $folder" test ! -e "$unix_folder"
  check "no shortcut" test -z "$(shortcuts)"
  check "no Apps and features entry" test -z "$(entries)"
  check "no icon published" eval '! product_icon_published'
  check "$folder off the machine's PATH" test "$(on_path "$folder")" -eq 0
done
ls "$root"/packages/*.msi
if [ "$failures" -gt 0 ]; then
  echo "$failures installer check(s) failed" >&2
  exit 1
fi
