# Shared steps of the build, test and start commands. Sourced, not run.

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"

win32_build="$root/build/win32"
win64_build="$root/build/win64"
native_build="$root/build/native"
bench_build="$root/build/bench"
release_build="$root/build/release"

# What every command needs. Wine's 32-bit loader (wine32:i386) comes on top,
# only where the machine can run it (see win32_runs below). Each loader comes
# with its preloader, which Debian only suggests: without it about one start in
# a few thousand fails at once, as the randomised layout of the process took an
# address that Wine must have. Chromium runs the table tool's page in the tests.
packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine64-preloader fonts-wine xvfb xauth
          xdotool cmake clang clang-format clang-tidy libbenchmark-dev googletest zip git python3 python3-pefile
          dpkg-dev libreoffice-calc-nogui chromium)

# The pinned npm packages of the format description's test (their package.json
# and lock in tests/tools/node-packages), installed into build/node.
node_packages="$root/build/node"

step() { printf '\n==> %s\n' "$*"; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# missing_packages PACKAGE...: prints those of the packages not installed.
missing_packages() {
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

# KESTRIVANE_NO_32BIT=1 makes a machine that could run 32-bit programs take the
# path of one that cannot: the 32-bit Windows programs are built and checked
# but not run, and the start command runs the 64-bit editor.
wants_win32_loader() {
  [ -z "${KESTRIVANE_NO_32BIT:-}" ] && "$root/scripts/tools/runs-i386-programs" 2>/dev/null
}

# ensure_packages [PACKAGE...]: installs what is missing of the packages that
# every command needs and of those named.
ensure_packages() {
  install_missing_packages "$@"
  ensure_node_packages
}

install_missing_packages() {
  local wanted=("${packages[@]}" "$@") missing
  if wants_win32_loader; then
    wanted+=(wine32:i386 wine32-preloader:i386)
  fi
  # Node with its npm, unless the machine has them from elsewhere (Debian's
  # npm would not install beside another source's Node).
  command -v npm >/dev/null || wanted+=(nodejs npm)
  missing="$(missing_packages "${wanted[@]}")"
  if [ -z "$missing" ]; then
    return 0
  fi
  step "Installing missing packages (about a minute): $(echo $missing)"
  if [[ "$missing" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  # Other programs may be installing packages at the same time: wait for their lock.
  as_root apt-get -o DPkg::Lock::Timeout=900 update -q
  # With recommended packages: Wine's X11 driver uses the X extension libraries
  # that its packages only recommend, and the window tests expect them.
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive as_root apt-get -o DPkg::Lock::Timeout=900 install -y -q $missing
}

# ensure_node_packages: installs the lock's packages once, and again whenever
# the lock changes; the copy of the lock is made only once they are in place.
ensure_node_packages() {
  local source="$root/tests/tools/node-packages"
  if cmp -s "$source/package-lock.json" "$node_packages/installed-lock.json"; then
    return 0
  fi
  step "Installing the pinned npm packages into build/node"
  mkdir -p "$node_packages"
  cp "$source/package.json" "$source/package-lock.json" "$node_packages/"
  (cd "$node_packages" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
  cp "$source/package-lock.json" "$node_packages/installed-lock.json"
}

# win32_runs: answers whether the 32-bit Windows programs can run here, under
# Wine's 32-bit loader; either way win32_reason says why, in a few words.
win32_runs() {
  local loader=/usr/lib/wine/wine version kernel
  if [ -n "${KESTRIVANE_NO_32BIT:-}" ]; then
    win32_reason="KESTRIVANE_NO_32BIT is set"
    return 1
  fi
  if [ -e "$loader" ]; then
    if version="$("$loader" --version 2>&1)"; then
      win32_reason="Wine's 32-bit loader runs here ($loader --version: $version)"
      return 0
    fi
    win32_reason="Wine's 32-bit loader cannot start here ($loader --version: ${version##*: })"
    return 1
  fi
  kernel="$("$root/scripts/tools/runs-i386-programs" 2>&1)"
  win32_reason="this machine's kernel cannot run 32-bit programs (${kernel:-no reason given}), so Wine's 32-bit loader cannot start"
  return 1
}

# The trees are the configure presets of CMakePresets.json, each in
# build/PRESET, with its toolchain and options; its workflow preset of the same
# name builds it, runs its tests and packs it.

# configure PRESET: configures the preset's tree, every time, so that a changed
# setting reaches a tree that already exists (only the changes are redone).
configure() {
  cmake --preset "$1" --log-level=WARNING >/dev/null
}

# build_tree PRESET [TARGET...]: configures the preset's tree and builds what
# changed of the targets (of everything when none is named).
build_tree() {
  local preset="$1" targets=()
  shift
  [ $# -eq 0 ] || targets=(--target "$@")
  configure "$preset"
  cmake --build --preset "$preset" -j "$jobs" "${targets[@]}"
}

build_bench() {
  step "Building the benchmarks (optimised, no sanitizers) in build/bench"
  build_tree bench
}

# A Wine prefix of the build's own: no window-manager waits (Managed=N), no
# crash debugger, so that a crashing test fails at once instead of hanging, and
# Wine's own fonts, which a new prefix does not find by itself: without them
# the caption buttons lose their glyphs and "MS Sans Serif" is drawn wider.
# Runs "wine" as found on PATH, so that run_under_wine64 can choose the loader.
wine_settings_version=2
ensure_wine_prefix() {
  local prefix="$1"
  # Wine's errors only: a test's output is shown only when it fails, and then
  # it names what Wine could not do (such as a failed start) instead of nothing.
  export WINEDEBUG=err+all,fixme-all
  # The build folder may not exist yet: its workflow makes it under Wine.
  mkdir -p "$(dirname "$prefix")"
  if [ ! -f "$prefix/system.reg" ]; then
    step "Creating the Wine prefix $prefix (about 10 seconds, once)"
    WINEPREFIX="$prefix" wine wineboot -i >/dev/null 2>&1 || true
  fi
  if [ "$(cat "$prefix/.kestrivane-settings" 2>/dev/null)" != "$wine_settings_version" ]; then
    local aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    local aedebug32='HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wine reg delete "$aedebug" /v Debugger /f >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wine reg delete "$aedebug32" /v Debugger /f >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -w
    echo "$wine_settings_version" > "$prefix/.kestrivane-settings"
  fi
  ensure_wine_fonts "$prefix"
}

# Copies the fonts that a prefix lacks, or has older than Debian's, on every
# use, so that prefixes made before this step get them too.
ensure_wine_fonts() {
  local fonts="$1/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -u /usr/share/wine/fonts/* "$fonts/"
}

# run_under_wine PREFIX COMMAND...: runs COMMAND on a private X display with the
# prefix's wineserver and services started first, outside COMMAND's pipes, so
# that they neither slow down nor hang the test runner.
run_under_wine() {
  local prefix="$1"; shift
  ensure_wine_prefix "$prefix"
  WINEPREFIX="$prefix" xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wineserver -p
    wine cmd /c exit </dev/null >/dev/null 2>&1
    "$@"; rc=$?
    wineserver -k
    exit $rc' run_under_wine "$@"
}

# run_under_wine64 PREFIX COMMAND...: run_under_wine with Wine's 64-bit loader
# as "wine". Through the usual wrapper the 32-bit loader comes first and starts
# a 64-bit program as another process, so the process id that a test started
# would not be the program's.
run_under_wine64() {
  PATH="$root/scripts/wine64:$PATH" run_under_wine "$@"
}

# pick_windows_build: chooses the Windows build that runs here, the released
# 32-bit one where it can, else the 64-bit one; sets windows_bits (32 or 64),
# windows_build and win32_reason, and puts the matching Wine loader on PATH.
pick_windows_build() {
  if win32_runs; then
    windows_bits=32
    windows_build="$win32_build"
  else
    windows_bits=64
    windows_build="$win64_build"
    PATH="$root/scripts/wine64:$PATH"
  fi
}

# check_format: whether every tracked C++ file is laid out as .clang-format
# says, changing none; the places that differ go to build/format.log. Prints
# one line for the summary.
check_format() {
  local files=() log="$root/build/format.log" differing
  # The code-page tables are generated (scripts/tools/generate-code-page-tables) and laid out by their generator.
  mapfile -t files < <(git -C "$root" ls-files '*.cpp' '*.h' | grep -v '^tools/CodePageTables\.cpp$')
  if (cd "$root" && clang-format --dry-run -Werror "${files[@]}") >"$log" 2>&1; then
    echo "Format: all ${#files[@]} C++ files as .clang-format lays them out"
    return 0
  fi
  differing="$(grep -o '^[^:]*:[0-9]*:[0-9]*: error' "$log" | cut -d: -f1 | sort -u | wc -l)"
  echo "Format: $differing of ${#files[@]} C++ files differ from .clang-format's layout (clang-format -i fixes them; see build/format.log)"
  return 1
}

# check_tidy: clang-tidy with the checks of .clang-tidy on the project's
# sources that the native build compiles (its compile_commands.json), and on
# the project's headers they include; its findings are errors. Prints them and
# one line for the summary; the whole output goes to build/clang-tidy.log.
check_tidy() {
  local log="$root/build/clang-tidy.log" sources findings
  sources="$(grep -c "\"file\": \"$root/" "$native_build/compile_commands.json")"
  if run-clang-tidy -quiet -j "$jobs" -p "$native_build" "^$root/(app|data|res|tests|tools|ui)/" >"$log" 2>&1; then
    echo "clang-tidy: no findings in the $sources sources of the native build"
    return 0
  fi
  # Without the colours that run-clang-tidy always asks for.
  findings="$(sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E ': (error|warning): ' | sort -u | sed "s|^$root/||")"
  echo "$findings"
  echo "clang-tidy: findings: $(echo "$findings" | grep -c .), in the $sources sources of the native build (see build/clang-tidy.log)"
  return 1
}
