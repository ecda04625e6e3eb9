#!/usr/bin/env bash
# The package end to end under Wine: builds it plain, with an organisation's two files, and with those files and
# signed by a throwaway certificate (from a .pfx, twice to one output, and from a software token through PKCS#11);
# refuses or warns of baked files as it should; reads its tables; installs, starts, upgrades and uninstalls it
# silently in a Wine prefix of its own, with and without settings on msiexec's command line, whose files it compares
# with those the program's own "Save" writes through its dialog. Needs the program built and a display
# (scripts/test's kavlo_build and kavlo_virtual_display); run through kavlo_package_checks.
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
# The same key on a software token, as a company's key on a token or an HSM is: softhsm2, a token of this run's own.
export SOFTHSM2_CONF="$work/softhsm2.conf"
mkdir -p "$work/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$work/tokens" >"$SOFTHSM2_CONF"
token_pin=4711
softhsm2-util --init-token --free --label kavlo-test --pin "$token_pin" --so-pin 2468 >/dev/null
softhsm2-util --import "$work/signer.key" --token kavlo-test --label publisher --id 01 --pin "$token_pin" >/dev/null
# A setup_a.ini holding a VPN password, and a Kavlo.rdp for another server than setup_a.ini's.
sed 's/^\(\[Edit5\)/[Edit4: TcxPropertiesStoreComponent]\r\n=\r\nText="baked secret"\r\n\r\n\1/' "$work/setup_a.ini" \
  >"$work/with_password.ini"
printf 'full address:s:other.example.test\r\n' >"$work/other.rdp"

# --- The packages.
exe="$KAVLO_BUILD/bin/Kavlo_Connect.exe"
build() { "$KAVLO_ROOT/scripts/package" --exe "$exe" --output "$work/$1.msi" "${@:2}" >"$work/$1.log" 2>&1; }
package() { build "$@" || { cat "$work/$1.log" >&2; fail "scripts/package ${*:2}"; }; }
product_code() { msiinfo export "$work/$1.msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }'; }
kavlo_say "Building the packages"
package plain
package baked --settings "$work/setup_a.ini" --rdp "$work/Kavlo.rdp"
package signed --settings "$work/with_password.ini" --rdp "$work/Kavlo.rdp" --sign "$work/signer.pfx"
# Signing writes a signed copy and moves it into place, so a package already at the output is no obstacle.
first_signed=$(product_code signed)
check "signed: --sign over an existing package" build signed --settings "$work/with_password.ini" \
  --rdp "$work/Kavlo.rdp" --sign "$work/signer.pfx"
check "signed: the second build replaced the first" test "$(product_code signed)" != "$first_signed"
check "token: --pkcs11-module, --pkcs11-key and --pkcs11-cert sign with a key on a token" env \
  KAVLO_SIGN_PASSWORD="$token_pin" "$KAVLO_ROOT/scripts/package" --exe "$exe" --output "$work/token.msi" \
  --pkcs11-module "$(compgen -G '/usr/lib/softhsm/libsofthsm2.so' || compgen -G '/usr/lib/*/softhsm/libsofthsm2.so')" \
  --pkcs11-key "pkcs11:token=kavlo-test;object=publisher;type=private" --pkcs11-cert "$work/signer.pem"

kavlo_say "Checking the files to bake in"
check "mismatched: a Kavlo.rdp for another server than setup_a.ini's is refused" \
  bash -c "! '$KAVLO_ROOT/scripts/package' --exe '$exe' --output '$work/mismatched.msi' --settings '$work/setup_a.ini' \
    --rdp '$work/other.rdp' >'$work/mismatched.log' 2>&1 && test ! -e '$work/mismatched.msi'"
check "signed: a VPN password in the baked setup_a.ini is warned of" grep -qi password "$work/signed.log"
check "baked: no warning without a password" bash -c "! grep -qi password '$work/baked.log'"
check "no copy of the baked files left in build/" test -z "$(find "$KAVLO_BUILD" -maxdepth 1 -name 'package-stage*')"

# --- Their tables.
kavlo_say "Reading the packages' tables"
# The version the build was configured with (CMakeLists.txt's project version), which the package must carry.
version=$(cat "$KAVLO_BUILD/program_version.txt")
row() { msiinfo export "$work/$1.msi" "$2" | tr -d '\r' | awk -F'\t' -v k="$3" 'NR > 3 && $1 == k'; }
tab() { local IFS=$'\t'; printf '%s' "$*"; }
sequence() { row "$1" InstallExecuteSequence "$2" | cut -f3; }
for msi in plain baked signed; do
  check "$msi: per user only (no ALLUSERS, no MSIINSTALLPERUSER)" \
    test -z "$(row $msi Property ALLUSERS)$(row $msi Property MSIINSTALLPERUSER)"
  check "$msi: refuses a device install" test "$(row $msi LaunchCondition 'NOT ALLUSERS AND UserSID <> "S-1-5-18"')" = \
    "$(tab 'NOT ALLUSERS AND UserSID <> "S-1-5-18"' 'Kavlo Connect installs for one user: deploy it to users, not devices')"
  check "$msi: the program's key path a registry value under HKCU" test "$(row $msi Registry \
    "$(row $msi Component Program | cut -f6)" | cut -f2,3,6)" = "$(tab 1 'Software\Kavlo Connect' Program)"
  check "$msi: the program's folder and the Programs folder removed on uninstall" test \
    "$(row $msi RemoveFile RemoveInstallFolder | cut -f4,5) $(row $msi RemoveFile RemoveUserProgramsFolder | cut -f4,5)" = \
    "$(tab INSTALLDIR 2) $(tab UserPrograms 2)"
  check "$msi: the settings step, immediate before InstallInitialize and deferred after InstallFiles" test \
    "$(row $msi CustomAction PrepareSettings | cut -f2,3,4) $(row $msi CustomAction WriteSettings | cut -f2,3,4)" = \
    "$(tab 1 SetupAction PrepareSettings) $(tab 1025 SetupAction WriteSettings)" -a \
    "$(sequence $msi InstallValidate)" -lt "$(sequence $msi PrepareSettings)" -a \
    "$(sequence $msi PrepareSettings)" -lt "$(sequence $msi InstallInitialize)" -a \
    "$(sequence $msi InstallFiles)" -lt "$(sequence $msi WriteSettings)" -a \
    "$(sequence $msi WriteSettings)" -lt "$(sequence $msi InstallFinalize)" -a \
    "$(row $msi InstallExecuteSequence PrepareSettings | cut -f2)" = "NOT Installed"
  secure=";$(row $msi Property SecureCustomProperties | cut -f2);"
  check "$msi: the settings' properties are secure" test "${secure/;SERVER;WIFI;VPNENTRY;VPNUSER;USEVPN;/}" != "$secure"
  # Windows Installer takes a shortcut's icon from EXE data: the Icon stream is a program holding the program's icon.
  msiinfo extract "$work/$msi.msi" Icon.KavloConnectIcon.exe >"$work/$msi-icon.exe"
  check "$msi: the shortcut's icon is an exe whose icon group is the program's" bash -c \
    "test \"\$(head -c 2 '$work/$msi-icon.exe')\" = MZ && wrestool -x -t 14 '$work/$msi-icon.exe' >'$work/icon-group' &&
     test -s '$work/icon-group' && wrestool -x -t 14 '$exe' | cmp -s - '$work/icon-group'"
  check "$msi: version $version" test "$(row $msi Property ProductVersion)" = "$(tab ProductVersion "$version")"
  check "$msi: the program's version in the File table" test "$(row $msi File KavloConnectExe | cut -f5)" = "$version"
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
check "token: the package's signature" verify "$work/token.msi"
check "plain: no signature" bash -c "! osslsigncode verify -CAfile '$work/ca.pem' -in '$work/plain.msi' >/dev/null 2>&1"

# --- Installed under Wine, in a prefix of its own made as the tests' prefix is.
export KAVLO_WINEPREFIX="$KAVLO_BUILD/package-wineprefix"
rm -rf "$KAVLO_WINEPREFIX"
kavlo_prefix
export WINEPREFIX="$KAVLO_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# msiexec /i|/x PACKAGE [PROPERTY=VALUE...]: silently, with the installer's full log in msiexec.log, then waits for
# Wine to settle.
msiexec() {
  env LC_ALL=en_US.UTF-8 wine msiexec "$1" "$(winepath -w "$2")" "${@:3}" /qn /l*v "$(winepath -w "$work/msiexec.log")" \
    >"$work/msiexec.out" 2>&1
  local status=$?
  wineserver -w
  return $status
}
refused() { ! msiexec "$@"; }
logged() { grep -aqF "$1" "$work/msiexec.log"; }
nothing_installed() { test ! -e "$folder" -a -z "$(shortcut)" -a "$(products)" -eq 0; }
# saved_through_dialog FOLDER WIFI SERVER USEVPN ENTRY USER PASSWORD: the program copied into FOLDER (with whatever
# files it holds) and started there, the values typed into its settings dialog and "Save" pressed, as a user does.
saved_through_dialog() {
  cp "$exe" "$1/Kavlo_Connect.exe"
  env LC_ALL=en_US.UTF-8 wine "$KAVLO_BUILD/bin/save_through_dialog.exe" "$(winepath -w "$1")" "${@:2}" \
    >"$work/dialog.log" 2>&1
  local status=$?
  wineserver -w
  [ $status -eq 0 ] || cat "$work/dialog.log" >&2
  return $status
}
# Both files the first install wrote are those the program's "Save" wrote in FOLDER.
as_saved() { cmp -s "$1/setup_a.ini" "$folder/setup_a.ini" && cmp -s "$1/Kavlo.rdp" "$folder/Kavlo.rdp"; }
user_folder="$KAVLO_WINEPREFIX/drive_c/users/$(id -un)"
folder="$user_folder/AppData/Local/Programs/Kavlo Connect"
menus=("$user_folder/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
  "$KAVLO_WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs")
shortcut() { local m; for m in "${menus[@]}"; do [ -f "$m/Kavlo Connect.lnk" ] && echo "$m/Kavlo Connect.lnk"; done; }
# The Apps & features records of Kavlo Connect, one line each: publisher and version. (Wine writes them per machine
# even for a per-user product.)
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
    # The product's icon, kept by Windows Installer for Apps & features: a per-user product's in the user's profile.
    compgen -G "$user_folder/AppData/Roaming/Microsoft/Installer/{*}/KavloConnectIcon.exe" >/dev/null
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
check "plain: uninstalled, the folder and the shortcut gone" nothing_installed

kavlo_say "Refusing what the package must not do"
check "ALLUSERS=1: refused" refused /i "$work/plain.msi" ALLUSERS=1
check "ALLUSERS=1: nothing installed" nothing_installed
check "VPNUSER=/x: the settings step fails the install" refused /i "$work/plain.msi" VPNUSER=/x
check "VPNUSER=/x: its message in the log" logged 'Kavlo Connect: The user in "VPN User" begins with "/"'
check "VPNUSER=/x: nothing installed" nothing_installed
# Wine runs everything as one user and sets UserSID itself, so the system account is stood in for: a copy of the
# package whose condition names this user's SID, as the real one names the system account's.
user_sid=$(sed -n 's/^Property(S): UserSID = \(S-[-0-9]*\).*/\1/p' "$work/msiexec.log" | head -n 1)
cp "$work/plain.msi" "$work/system.msi"
(cd "$work" && msiinfo export system.msi LaunchCondition | sed "s/S-1-5-18/$user_sid/" >LaunchCondition.idt &&
  msibuild system.msi -i LaunchCondition.idt)
check "the system account stood in for: the copy's condition names this user's SID $user_sid" \
  test -n "$user_sid" -a "$(row system LaunchCondition "NOT ALLUSERS AND UserSID <> \"$user_sid\"" | wc -l)" -eq 1
check "the system account: msiexec /i refused" refused /i "$work/system.msi"
check "the system account: nothing installed" nothing_installed

kavlo_say "Installing the package with the organisation's files"
check "baked: msiexec /i /qn" msiexec /i "$work/baked.msi"
check "baked: setup_a.ini byte for byte" same_bytes "$work/setup_a.ini" "$folder/setup_a.ini"
check "baked: Kavlo.rdp byte for byte" same_bytes "$work/Kavlo.rdp" "$folder/Kavlo.rdp"
check "baked: starts from the shortcut and shows its launcher" starts_from_shortcut
# The user saves other settings; the next package must leave them.
printf '\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n[Edit5: TcxPropertiesStoreComponent]\r\n=\r\nText="saved.example.test"\r\n\r\n' \
  >"$work/saved.ini"
cp "$work/saved.ini" "$folder/setup_a.ini"

kavlo_say "Upgrading to the signed package, with other settings on the command line"
check "signed: msiexec /i /qn over the installed package" msiexec /i "$work/signed.msi" SERVER=other.example.test \
  VPNENTRY="Other VPN" USEVPN=0
check "signed: the settings given not stored over the user's" \
  logged "is there already, the user's own: the settings on the command line are not stored"
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

kavlo_say "A first install with settings on the command line"
# The values a deployment tool would give; the backslash and the blanks go through the settings file's escapes.
settings=(SERVER=10.0.0.5:3389 WIFI="Office Wi-Fi" VPNENTRY="Office VPN" 'VPNUSER=CORP\jane' USEVPN=1)
rm -rf "$folder" "$work/saved-plain"
mkdir -p "$work/saved-plain"
check "properties: msiexec /i plain.msi ${settings[*]} /qn" msiexec /i "$work/plain.msi" "${settings[@]}"
check "properties: the step says what it wrote" logged "Kavlo Connect: Wrote $(winepath -w "$folder")\\setup_a.ini"
check "properties: \"Save\" through the dialog with the same values" \
  saved_through_dialog "$work/saved-plain" "Office Wi-Fi" 10.0.0.5:3389 1 "Office VPN" 'CORP\jane' ""
check "properties: setup_a.ini and Kavlo.rdp are the bytes \"Save\" writes" as_saved "$work/saved-plain"
check "properties: starts from the shortcut and shows its launcher" starts_from_shortcut
check "properties: msiexec /x /qn" msiexec /x "$work/plain.msi"

# Over the organisation's files: the properties given override the baked setup_a.ini's values, and the baked
# Kavlo.rdp for the same server is kept or replaced by "Save"'s own rule; "Save" starts from the same two files.
rm -rf "$folder" "$work/saved-baked"
mkdir -p "$work/saved-baked"
cp "$work/setup_a.ini" "$work/Kavlo.rdp" "$work/saved-baked/"
check "properties over baked files: msiexec /i baked.msi WIFI=… VPNUSER=… /qn" \
  msiexec /i "$work/baked.msi" WIFI=Office 'VPNUSER=CORP\jane'
check "properties over baked files: \"Save\" through the dialog with the baked values and the given ones" \
  saved_through_dialog "$work/saved-baked" Office rdp.example.test 1 Kavlo 'CORP\jane' ""
check "properties over baked files: the bytes \"Save\" writes" as_saved "$work/saved-baked"

if [ "$failures" -gt 0 ]; then
  echo "package checks: $failures failed" >&2
  exit 1
fi
echo "package checks: all passed"
