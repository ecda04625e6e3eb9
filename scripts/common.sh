# Shared by scripts/run and scripts/test: packages, build, Wine prefix, display.
set -euo pipefail
KAVLO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KAVLO_BUILD="$KAVLO_ROOT/build"
# The font the Wine prefix draws for the program's Tahoma (see kavlo_prefix).
KAVLO_TAHOMA_STAND_IN="DejaVu Sans Condensed"
export KAVLO_WINEPREFIX="$KAVLO_BUILD/wineprefix"

kavlo_say() { printf '\n== %s\n' "$*"; }

# Installs what a fresh Debian 12 machine lacks; does nothing when everything is there.
kavlo_install_packages() {
  local missing=()
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
  command -v x86_64-w64-mingw32-windres >/dev/null || missing+=(binutils-mingw-w64-x86-64)
  command -v cmake >/dev/null || missing+=(cmake)
  command -v make >/dev/null || missing+=(make)
  [ -x /usr/lib/wine/wine64 ] || missing+=(wine wine64)
  [ -f /usr/share/wine/fonts/tahoma.ttf ] || missing+=(fonts-wine)
  [ -f /usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf ] || missing+=(fonts-dejavu-extra)
  command -v Xvfb >/dev/null || missing+=(xvfb)
  command -v xauth >/dev/null || missing+=(xauth)
  command -v import >/dev/null && import -version >/dev/null 2>&1 || missing+=(imagemagick)
  command -v xwininfo >/dev/null || missing+=(x11-utils)
  [ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
  [ -f /usr/include/stb/stb_image.h ] || missing+=(libstb-dev)
  # The second compiler, and the sanitizer and fuzzer runtimes for the native checks.
  command -v clang++ >/dev/null || missing+=(clang)
  command -v ld.lld >/dev/null || missing+=(lld)
  compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null || missing+=(libclang-rt-14-dev)
  # The formatting and the static checks.
  command -v clang-format >/dev/null || missing+=(clang-format)
  command -v run-clang-tidy >/dev/null || missing+=(clang-tidy)
  # The Windows Installer package: wixl builds it, msiinfo reads its tables, osslsigncode signs and verifies,
  # openssl makes the tests' throwaway certificate.
  command -v wixl >/dev/null || missing+=(wixl)
  command -v msiinfo >/dev/null || missing+=(msitools)
  command -v osslsigncode >/dev/null || missing+=(osslsigncode)
  command -v openssl >/dev/null || missing+=(openssl)
  # The workflow file's validator comes from the npm registry.
  command -v npm >/dev/null || missing+=(npm)
  if [ ${#missing[@]} -gt 0 ]; then
    kavlo_say "Installing ${missing[*]}"
    local sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

kavlo_build() {
  kavlo_say "Building"
  cmake --preset mingw -S "$KAVLO_ROOT" >/dev/null
  cmake --build "$KAVLO_BUILD" -j "$(nproc)"
}

# The same tree built with Clang and lld, warnings as errors; its tests are the GCC build's.
kavlo_build_clang() {
  kavlo_say "Building with Clang"
  cmake --preset clang -S "$KAVLO_ROOT" >/dev/null
  cmake --build "$KAVLO_ROOT/build-clang" -j "$(nproc)"
}

# Every C++ file as .clang-format lays it out; prints those that differ and fails.
kavlo_check_format() {
  kavlo_say "Checking the formatting"
  (cd "$KAVLO_ROOT" && git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror)
}

# .clang-tidy's checks over the program's own code, from the clang preset's compile database (kavlo_build_clang).
kavlo_check_tidy() {
  kavlo_say "Static checks (clang-tidy)"
  run-clang-tidy -quiet -p "$KAVLO_ROOT/build-clang" "^$KAVLO_ROOT/(app|launcher|settings|ui|platform)/" \
    >"$KAVLO_ROOT/build-clang/clang-tidy.log" 2>&1 || {
    grep -E 'error:|warning:' "$KAVLO_ROOT/build-clang/clang-tidy.log" | sort -u
    return 1
  }
}

# clang-tidy on the program's own files changed against main only. The compile database comes from configuring the
# clang preset, which builds nothing; a changed header is checked through the files that include it.
kavlo_check_tidy_changed() {
  kavlo_say "Static checks (clang-tidy) on the files changed against main"
  local base changed=() file
  base=$(cd "$KAVLO_ROOT" && git merge-base HEAD main 2>/dev/null || git rev-parse HEAD)
  while IFS= read -r file; do
    [ -f "$KAVLO_ROOT/$file" ] && changed+=("$file")
  done < <(cd "$KAVLO_ROOT" && { git diff --name-only "$base"; git ls-files --others --exclude-standard; } |
    grep -E '^(app|launcher|settings|ui|platform)/.*\.(cpp|h)$' | sort -u)
  if [ ${#changed[@]} -eq 0 ]; then echo "no program file changed"; return 0; fi
  local headers=() sources=()
  for file in "${changed[@]}"; do
    case "$file" in *.h) headers+=("$file") ;; *) sources+=("$file") ;; esac
  done
  for file in "${headers[@]}"; do
    # The header's own source, and a few that include it.
    [ -f "$KAVLO_ROOT/${file%.h}.cpp" ] && sources+=("${file%.h}.cpp")
    while IFS= read -r includer; do sources+=("$includer"); done < <(cd "$KAVLO_ROOT" &&
      grep -rlF "#include \"$file\"" app launcher settings ui platform --include='*.cpp' | head -n 3)
  done
  [ -f "$KAVLO_ROOT/build-clang/compile_commands.json" ] || cmake --preset clang -S "$KAVLO_ROOT" >/dev/null
  mapfile -t sources < <(printf '%s\n' "${sources[@]}" | sort -u)
  local found
  found=$(cd "$KAVLO_ROOT" && clang-tidy -quiet -p build-clang "${sources[@]}" 2>/dev/null | grep -E 'error:|warning:' || true)
  [ -z "$found" ] || { echo "$found"; return 1; }
}

# The pure rules natively under ASan and UBSan, and each fuzzer for KAVLO_FUZZ_SECONDS (10 unless set).
kavlo_native_checks() {
  kavlo_say "Pure rules under sanitizers, and fuzzing"
  (cd "$KAVLO_ROOT" &&
    cmake --preset native-sanitizers -DKAVLO_FUZZ_SECONDS="${KAVLO_FUZZ_SECONDS:-10}" >/dev/null &&
    cmake --build --preset native-sanitizers -j "$(nproc)" &&
    ctest --preset native-sanitizers)
}

# The rooms stack one way, app > launcher > settings > ui > platform: a file never includes one from a room above
# its own. Prints each include that does and fails.
kavlo_check_layers() {
  kavlo_say "Checking that includes run down the house"
  local rooms=(platform ui settings launcher app) found=0 rank room file line target
  for rank in "${!rooms[@]}"; do
    room=${rooms[$rank]}
    while IFS= read -r file; do
      while IFS= read -r line; do
        target=${line#*\"}; target=${target%%/*}
        for higher in "${rooms[@]:$((rank + 1))}"; do
          if [ "$target" = "$higher" ]; then echo "$file: includes $line, from a room above $room/"; found=1; fi
        done
      done < <(grep -E '^\s*#\s*include\s+"[a-z_]+/' "$KAVLO_ROOT/$file")
    done < <(cd "$KAVLO_ROOT" && find "$room" -name '*.h' -o -name '*.cpp' | sort)
  done
  return $found
}

# Checks the Windows workflow against GitHub's workflow schema, which the validator carries.
kavlo_check_workflow() {
  kavlo_say "Checking the Windows workflow"
  local tools="$KAVLO_BUILD/npm-tools"
  if [ ! -x "$tools/node_modules/.bin/action-validator" ]; then
    mkdir -p "$tools"
    npm install --silent --no-audit --no-fund --prefix "$tools" @action-validator/cli@0.6.0 @action-validator/core@0.6.0
  fi
  "$tools/node_modules/.bin/action-validator" "$KAVLO_ROOT/.github/workflows/windows.yml"
}

# One prefix per build tree. Wine draws the window frames itself, since no window manager runs under Xvfb.
kavlo_prefix() {
  [ -f "$KAVLO_WINEPREFIX/.kavlo-ready-5" ] && return 0
  kavlo_say "Making the Wine prefix $KAVLO_WINEPREFIX"
  rm -rf "$KAVLO_WINEPREFIX"; mkdir -p "$KAVLO_BUILD"
  export WINEPREFIX="$KAVLO_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Made under the locale the tests use by default (en-US, code page 1252).
  env LC_ALL=en_US.UTF-8 wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # A program that crashes ends there with a backtrace, instead of waiting in Wine's crash dialog until a test
  # times out.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # The end-to-end tests put stand-ins for rasdial and netsh into system32; Wine would run its built-in netsh
  # in place of a file there unless told to load the file.
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v netsh.exe /t REG_SZ /d native /f >/dev/null 2>&1
  # The program asks for Tahoma, which the prefix does not have: without a substitute Wine falls back to DejaVu Sans,
  # whose Latin is about a sixth wider than Windows Tahoma and clips captions laid out for it. DejaVu Sans Condensed
  # comes nearest Tahoma's widths at 8 pt and has the Persian letters too, so one font serves both scripts.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v Tahoma /t REG_SZ \
    /d "$KAVLO_TAHOMA_STAND_IN" /f >/dev/null 2>&1
  wineserver -w
  touch "$KAVLO_WINEPREFIX/.kavlo-ready-5"
}

# Starts a private virtual display for the rest of the script (tests always use one, so pixels are the same everywhere).
kavlo_virtual_display() {
  local n=99
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  KAVLO_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  trap 'kavlo_stop_display' EXIT
}

kavlo_stop_display() {
  WINEPREFIX="$KAVLO_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  if [ -n "${KAVLO_XVFB_PID:-}" ]; then kill "$KAVLO_XVFB_PID" 2>/dev/null || true; fi
}

# The Windows Installer package, built three ways and installed, started, upgraded and uninstalled under Wine in a
# prefix of its own (build/package-wineprefix). Needs kavlo_build and kavlo_virtual_display first.
kavlo_package_checks() {
  kavlo_say "The Windows Installer package"
  "$KAVLO_ROOT/packaging/check_package.sh"
}
