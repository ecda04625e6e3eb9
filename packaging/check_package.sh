#!/usr/bin/env bash
# The package end to end under Wine: builds it plain, with an organisation's two files, and with those files and
# signed by a throwaway certificate; reads its tables; installs, starts, upgrades and uninstalls it silently in a
# Wine prefix of its own. Needs the program built and a display (scripts/test's kavlo_build and
# kavlo_virtual_display); run through kavlo_package_checks.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

work="$KAVLO_BUILD/package-checks"
rm -rf "$work"; mkdir -p "$work"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# --- The organisation's files, and a throwaway certificate authority and code-signing certificate.
printf '\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n[CheckBox2: TcxPropertiesStoreComponent]\r\n=\r\nChecked="True"\r\n\r\n[Edit2: TcxPropertiesStoreComponent]\r\n=\r\nText="Kavlo"\r\n\r\n[Edit5: TcxPropertiesStoreComponent]\r\n=\r\nText="rdp.example.test"\r\n\r\n' \
  >"$work/setup_a.ini"
# As rdpsign leaves it: UTF-16 LE with a byte-order mark, the two signature lines last.
{
  printf '\xFF\xFE'
  printf 'full address:s:rdp.example.test\r\nredirectprinters:i:1\r\nsignscope:s:Full Address\r\nsignature:s:AQABAAEAAAA=\r\n' |
    iconv -f ASCII -t UTF-16LE
} >"$work/Kavlo.rdp"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kavlo Test CA" -keyout "$work/ca.key" \
  -out "$work/ca.pem" -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj "/CN=Kavlo Test Publisher" -keyout "$work/signer.key" \
  -out "$work/signer.csr" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$work/signer.ext"
openssl x509 -req -in "$work/signer.csr" -CA "$work/ca.pem" -CAkey "$work/ca.key" -CAcreateserial -days 2 \
  -extfile "$work/signer.ext" -out "$work/signer.pem" 2>/dev/null
export KAVLO_SIGN_PASSWORD="throwaway pass"
openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" -certfile "$work/ca.pem" \
  -passout env:KAVLO_SIGN_PASSWORD -out "$work/signer.pfx"

# --- The three packages.
exe="$KAVLO_BUILD/bin/Kavlo_Connect.exe"
package() { "$KAVLO_ROOT/scripts/package" --exe "$exe" --output "$work/$1.msi" "${@:2}" >"$work/$1.log" 2>&1 ||
  { cat "$work/$1.log" >&2; fail "scripts/package ${*:2}"; }; }
kavlo_say "Building the packages"
package plain
package baked --settings "$work/setup_a.ini" --rdp "$work/Kavlo.rdp"
package signed --settings "$work/setup_a.ini" --rdp "$work/Kavlo.rdp" --sign "$work/signer.pfx"

# --- Their tables.
kavlo_say "Reading the packages' tables"
version=$(sed -n 's/^PRODUCTVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' \
  "$KAVLO_ROOT/resources/Kavlo_Connect.rc")
row() { msiinfo export "$work/$1.msi" "$2" | tr -d '\r' | awk -F'\t' -v k="$3" 'NR > 3 && $1 == k'; }
tab() { local IFS=$'\t'; printf '%s' "$*"; }
for msi in plain baked signed; do
  check "$msi: ALLUSERS 2" test "$(row $msi Property ALLUSERS)" = "$(tab ALLUSERS 2)"
  check "$msi: MSIINSTALLPERUSER 1" test "$(row $msi Property MSIINSTALLPERUSER)" = "$(tab MSIINSTALLPERUSER 1)"
  check "$msi: version $version" test "$(row $msi Property ProductVersion)" = "$(tab ProductVersion "$version")"
  check "$msi: the fixed upgrade code" test "$(row $msi Property UpgradeCode)" = \
    "$(tab UpgradeCode '{347BB4B5-BEB8-4F13-9236-662E478767E1}')"
  check "$msi: the icon in Apps & features" test "$(row $msi Property ARPPRODUCTICON)" = \
    "$(tab ARPPRODUCTICON KavloConnectIcon.exe)"
  check "$msi: publisher" test -n "$(row $msi Property Manufacturer | cut -f2)"
  check "$msi: into LocalAppData\\Programs\\Kavlo Connect" test \
    "$(row $msi Directory INSTALLDIR)$(row $msi Directory UserPrograms)" = \
    "$(tab INSTALLDIR UserPrograms 'Kavlo Connect')$(tab UserPrograms LocalAppDataFolder Programs)"
  check "$msi: the shortcut, its icon and working folder" test \
    "$(row $msi Shortcut KavloConnectShortcut | cut -f2,3,5,9,12)" = \
    "$(tab ProgramMenuFolder 'Kavlo Connect' '[INSTALLDIR]Kavlo_Connect.exe' KavloConnectIcon.exe INSTALLDIR)"
  check "$msi: installs without elevation (word count bit 8)" \
    test $(( $(msiinfo suminfo "$work/$msi.msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p') & 8 )) -eq 8
  check "$msi: a same-version package upgrades too" test "$(row $msi Upgrade '{347BB4B5-BEB8-4F13-9236-662E478767E1}' |
    awk -F'\t' '$7 == "WIX_UPGRADE_DETECTED" { print $3, $5 }')" = "$version 513"
done
check "plain: no baked file" test -z "$(row plain File BakedSettingsFile)$(row plain File BakedConnectionFileFile)"
for msi in baked signed; do
  for component in BakedSettings BakedConnectionFile; do
    check "$msi: $component NeverOverwrite and Permanent" test "$(row $msi Component $component | cut -f4)" = 144
  done
done

kavlo_say "Verifying the signatures"
verify() { osslsigncode verify -CAfile "$work/ca.pem" -in "$1" >"$work/verify.log" 2>&1 ||
  { cat "$work/verify.log" >&2; return 1; }; }
check "signed: the package's signature" verify "$work/signed.msi"
check "plain: no signature" bash -c "! osslsigncode verify -CAfile '$work/ca.pem' -in '$work/plain.msi' >/dev/null 2>&1"

# --- Installed under Wine, in a prefix of its own made as the tests' prefix is.
export KAVLO_WINEPREFIX="$KAVLO_BUILD/package-wineprefix"
rm -rf "$KAVLO_WINEPREFIX"
kavlo_prefix
export WINEPREFIX="$KAVLO_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
msiexec() {  # msiexec /i|/x PACKAGE: silently, then waits for Wine to settle
  env LC_ALL=en_US.UTF-8 wine msiexec "$1" "$(winepath -w "$2")" /qn >"$work/msiexec.log" 2>&1
  local status=$?
  wineserver -w
  return $status
}
user_folder="$KAVLO_WINEPREFIX/drive_c/users/$(id -un)"
folder="$user_folder/AppData/Local/Programs/Kavlo Connect"
menus=("$user_folder/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
  "$KAVLO_WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs")
shortcut() { local m; for m in "${menus[@]}"; do [ -f "$m/Kavlo Connect.lnk" ] && echo "$m/Kavlo Connect.lnk"; done; }
# The Apps & features records of Kavlo Connect, one line each: publisher and version. (Wine writes them per machine:
# it has no per-user context.)
uninstall_records() {
  awk '/^\[/ { flush(); section = $0; name = publisher = version = "" }
       /^"DisplayName"=/ { name = $0 } /^"Publisher"=/ { publisher = $0 } /^"DisplayVersion"=/ { version = $0 }
       function flush() { if (section ~ /CurrentVersion\\\\Uninstall\\\\/ && name == "\"DisplayName\"=\"Kavlo Connect\"")
                            print publisher, version }
       END { flush() }' "$KAVLO_WINEPREFIX"/*.reg
}
products() { uninstall_records | wc -l; }
registered_once() {
  [ "$(uninstall_records)" = "\"Publisher\"=\"Kavlo\" \"DisplayVersion\"=\"$version\"" ] &&
    # The product's icon, kept by Windows Installer for Apps & features.
    compgen -G "$KAVLO_WINEPREFIX/drive_c/windows/Installer/{*}/KavloConnectIcon.exe" >/dev/null
}
same_bytes() { cmp -s "$1" "$2"; }

# Starts the installed program as the shortcut does (its target, in its working folder), waits for the launcher
# window (it stands at 891, 77 on a 1920 x 1080 screen) and closes it again as the title bar's close box would.
starts_from_shortcut() {
  local lnk; lnk=$(shortcut)
  # The link names the program in its folder; its working folder is that folder.
  iconv -f UTF-8 -t UTF-16LE <<<"$(winepath -w "$folder")" | head -c -2 >"$work/folder.utf16"
  grep -qF -f <(od -An -tx1 -v "$work/folder.utf16" | tr -d ' \n') <(od -An -tx1 -v "$lnk" | tr -d ' \n') ||
    { echo "the shortcut does not name $(winepath -w "$folder")" >&2; return 1; }
  (cd "$folder" && env LC_ALL=en_US.UTF-8 wine "$folder/Kavlo_Connect.exe" >/dev/null 2>&1) &
  local program=$! seen=""
  for _ in $(seq 150); do
    xwininfo -root -children 2>/dev/null | grep -q '+891+77' && { seen=yes; break; }
    sleep 0.2
  done
  env LC_ALL=en_US.UTF-8 wine taskkill /IM Kavlo_Connect.exe >/dev/null 2>&1 || true
  wait "$program" || true
  wineserver -w
  [ -n "$seen" ]
}

kavlo_say "Installing the plain package"
check "plain: msiexec /i /qn" msiexec /i "$work/plain.msi"
check "plain: the program in LocalAppData\\Programs\\Kavlo Connect" same_bytes "$exe" "$folder/Kavlo_Connect.exe"
check "plain: one Start-menu shortcut" test "$(shortcut | wc -l)" -eq 1
check "plain: registered once, with publisher, version and icon" registered_once
check "plain: no settings file, no connection file" test ! -e "$folder/setup_a.ini" -a ! -e "$folder/Kavlo.rdp"
check "plain: starts from the shortcut and shows its launcher" starts_from_shortcut
check "plain: msiexec /x /qn" msiexec /x "$work/plain.msi"
check "plain: uninstalled, the folder and the shortcut gone" test ! -e "$folder" -a -z "$(shortcut)" -a "$(products)" -eq 0

kavlo_say "Installing the package with the organisation's files"
check "baked: msiexec /i /qn" msiexec /i "$work/baked.msi"
check "baked: setup_a.ini byte for byte" same_bytes "$work/setup_a.ini" "$folder/setup_a.ini"
check "baked: Kavlo.rdp byte for byte" same_bytes "$work/Kavlo.rdp" "$folder/Kavlo.rdp"
check "baked: starts from the shortcut and shows its launcher" starts_from_shortcut
# The user saves other settings; the next package must leave them.
printf '\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n[Edit5: TcxPropertiesStoreComponent]\r\n=\r\nText="saved.example.test"\r\n\r\n' \
  >"$work/saved.ini"
cp "$work/saved.ini" "$folder/setup_a.ini"

kavlo_say "Upgrading to the signed package"
check "signed: msiexec /i /qn over the installed package" msiexec /i "$work/signed.msi"
check "signed: replaced the installed package (registered once)" registered_once
check "signed: the installed program's signature" verify "$folder/Kavlo_Connect.exe"
check "signed: the user's saved setup_a.ini kept" same_bytes "$work/saved.ini" "$folder/setup_a.ini"
check "signed: Kavlo.rdp kept byte for byte" same_bytes "$work/Kavlo.rdp" "$folder/Kavlo.rdp"
check "signed: starts from the shortcut and shows its launcher" starts_from_shortcut
check "signed: msiexec /x /qn" msiexec /x "$work/signed.msi"
check "signed: uninstalled: program and shortcut gone, registration gone" \
  test ! -e "$folder/Kavlo_Connect.exe" -a -z "$(shortcut)" -a "$(products)" -eq 0
check "signed: uninstalled: the user's setup_a.ini and Kavlo.rdp left in place" \
  bash -c "cmp -s '$work/saved.ini' '$folder/setup_a.ini' && cmp -s '$work/Kavlo.rdp' '$folder/Kavlo.rdp'"
check "signed: uninstalled: nothing else left in the folder" test "$(ls -A "$folder" | wc -l)" -eq 2

if [ "$failures" -gt 0 ]; then
  echo "package checks: $failures failed" >&2
  exit 1
fi
echo "package checks: all passed"
