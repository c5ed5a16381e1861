# Shared steps of the build, test and start commands. Sourced, not run.

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"

win32_build="$root/build/win32"
win64_build="$root/build/win64"
native_build="$root/build/native"
bench_build="$root/build/bench"

# What every command needs. Wine's 32-bit loader (wine32:i386) comes on top,
# only where the machine can run it (see win32_runs below). Each loader comes
# with its preloader, which Debian only suggests: without it about one start in
# a few thousand fails at once, as the randomised layout of the process took an
# address that Wine must have.
packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine64-preloader fonts-wine xvfb xauth
          xdotool cmake clang libbenchmark-dev googletest zip git python3 python3-pefile)

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
  local wanted=("${packages[@]}" "$@") missing
  if wants_win32_loader; then
    wanted+=(wine32:i386 wine32-preloader:i386)
  fi
  missing="$(missing_packages "${wanted[@]}")"
  if [ -z "$missing" ]; then
    return 0
  fi
  step "Installing missing packages (about a minute): $(echo $missing)"
  if [[ "$missing" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -q
  # With recommended packages: Wine's X11 driver uses the X extension libraries
  # that its packages only recommend, and the window tests expect them.
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q $missing
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
# build/PRESET, with its toolchain and options.

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

build_win32() {
  step "Building for 32-bit Windows (MinGW-w64) in build/win32"
  build_tree win32
}

# Everything once more for 64-bit Windows, so that pointer-size faults show;
# the 32-bit build stays the released one.
build_win64() {
  step "Building for 64-bit Windows (MinGW-w64) in build/win64"
  build_tree win64
}

build_native() {
  step "Building the platform-free code natively with sanitizers in build/native"
  build_tree native
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

# The release ZIP of the 32-bit build, made afresh each time; prints its path.
package_win32() {
  rm -f "$win32_build"/kestrivane-*.zip
  (cd "$win32_build" && cpack -G ZIP >&2)
  ls "$win32_build"/kestrivane-*-win32.zip
}

# check_package ZIP: fails unless ZIP holds both programs, as 32-bit Windows
# executables, and the README, each once.
check_package() {
  python3 - "$1" <<'EOF'
import sys
import zipfile

PE_I386 = 0x14C
# Each name in the package, and whether it is a program.
expected = {"kestrivane.exe": True, "kestrivane-table.exe": True, "README.txt": False}
archive = zipfile.ZipFile(sys.argv[1])
members = {name.rsplit("/", 1)[-1]: name for name in archive.namelist()}
problems = []
for name, executable in expected.items():
    count = sum(1 for member in archive.namelist() if member.rsplit("/", 1)[-1] == name)
    if count != 1:
        problems.append("%s is there %d times" % (name, count))
        continue
    data = archive.read(members[name])
    if executable:
        header = int.from_bytes(data[0x3C:0x40], "little")
        if data[:2] != b"MZ" or data[header:header + 4] != b"PE\0\0" or \
                int.from_bytes(data[header + 4:header + 6], "little") != PE_I386:
            problems.append("%s is no 32-bit Windows program" % name)
    elif not data:
        problems.append("%s is empty" % name)
if problems:
    print("Package %s: %s" % (sys.argv[1], "; ".join(problems)))
    sys.exit(1)
print("Package %s holds %s" % (sys.argv[1].rsplit("/", 1)[-1], ", ".join(sorted(members))))
EOF
}
