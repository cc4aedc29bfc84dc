#!/usr/bin/env bash
# The engine on Windows: builds Tarnel2015_DLL.dll and the loader tarnel-winrun.exe with
# the MinGW-w64 cross compiler, checks that the library needs no DLL beyond the system's
# and exports both entry names, runs every bundled example through it under Wine and
# compares the report, plot data and run notes with those of the Linux build:
#   - the Windows files are text files of Windows, CR LF at every line end; with that
#     line end they equal the Linux files byte for byte,
#   - except the path line, which must show the data file's folder as a Windows user sees
#     it (drive letter, backslashes), and the date and time line;
#   - a call with the interface version 21 returns 1 and creates no file.
# Skipped (with a note) where the cross compiler or Wine is missing; scripts/deps.sh
# installs both. Wine runs headless in a prefix of its own inside the build folder.
#
# usage: scripts/windows-check.sh [LINUX_BUILD_DIR]   (default: build; it must hold tarnel-run)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd -P)"
linux_build="${1:-build}"
win_build="$root/build-windows"
started=$SECONDS

cxx=x86_64-w64-mingw32-g++-posix
objdump=x86_64-w64-mingw32-objdump
wine="$(command -v wine64 || command -v wine || true)"
if ! command -v "$cxx" >/dev/null || ! command -v "$objdump" >/dev/null || [ -z "$wine" ]; then
  echo "== Windows engine check skipped: $cxx, $objdump or Wine is not installed"
  exit 0
fi
linux_run="$linux_build/bin/tarnel-run"
if [ ! -x "$linux_run" ]; then
  echo "windows-check: $linux_run is missing (build the Linux programs first)" >&2
  exit 1
fi
linux_run="$(cd "$(dirname "$linux_run")" && pwd -P)/tarnel-run"

echo "== Windows engine check (MinGW-w64 build, run under Wine)"

# Wine, headless and without questions: no display, no debug channels, no offer to
# install Mono or Gecko, a prefix that belongs to this build folder.
export WINEPREFIX="$win_build/wine-prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
[ -n "${HOME:-}" ] || export HOME="$win_build"
mkdir -p "$win_build"
stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
# The first start of a fresh prefix takes the longest; it runs while the engine compiles.
boot_log="$win_build/wineboot.log"
timeout 300 "$wine" wineboot --init </dev/null >"$boot_log" 2>&1 &
boot_pid=$!

# -O2 as in the Linux build the results are compared with.
cmake -S . -B "$win_build" -G Ninja --toolchain "$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DTARNEL_WITH_GUI=OFF -DTARNEL_WITH_BENCH=OFF >/dev/null
cmake --build "$win_build" -j "$(nproc)" --target Tarnel2015_DLL tarnel-winrun
dll="$win_build/bin/Tarnel2015_DLL.dll"
loader="$win_build/bin/tarnel-winrun.exe"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Only the system's DLLs: KERNEL32 and the C runtime (msvcrt, or the UCRT's parts).
imports="$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u)"
echo "imports of Tarnel2015_DLL.dll: $(tr '\n' ' ' <<<"$imports")"
while read -r name; do
  case "${name,,}" in
    kernel32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll) ;;
    *) fail "Tarnel2015_DLL.dll needs $name" ;;
  esac
done <<<"$imports"
exports="$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*\[ *[0-9]*\] \([A-Za-z_]*\)$/\1/p' | sort | tr '\n' ' ')"
[ "$exports" = "ITARNEL _ITARNEL " ] || fail "Tarnel2015_DLL.dll exports '$exports', not ITARNEL and _ITARNEL"

if ! wait "$boot_pid"; then
  cat "$boot_log" >&2
  echo "windows-check: the Wine prefix could not be set up" >&2
  exit 1
fi
# One Wine server for all the runs below, instead of one started and stopped per run.
wineserver -p >/dev/null 2>&1 || true

work="$win_build/check"
rm -rf "$work"
mkdir -p "$work/linux" "$work/windows" "$work/refused"
cp examples/*.tn5d "$work/linux/"
cp examples/*.tn5d "$work/windows/"
cp examples/*.tn5d "$work/refused/"

# Masks the two lines that differ by nature; the line ends stay as they are.
mask() {
  sed -e 's/^\(     Path to file locations      : \)[^\r]*/\1(path)/' \
      -e 's/^\(               Date:  \)[A-Z][a-z]* [0-9][0-9], [0-9 ]\{4\}     Time:  [0-9][0-9]:[0-9][0-9]:[0-9][0-9]/\1(date and time)/' "$1"
}

windows_dir="Z:$(cd "$work/windows" && pwd -P | tr / '\\')\\"
expected_path="     Path to file locations      : $windows_dir"$'\r'
count=0
for data in "$work"/linux/*.tn5d; do
  name="$(basename "$data" .tn5d)"
  (cd "$work/linux" && "$linux_run" "$name.tn5d" >"$name.out" 2>&1) || fail "$name: the Linux run failed"
  if ! (cd "$work/windows" && timeout 120 "$wine" "$loader" "$name.tn5d" </dev/null >"$name.out" 2>&1); then
    fail "$name: the Windows run failed: $(cat "$work/windows/$name.out")"
    continue
  fi
  for ext in tn5o tn5p tn5r; do
    lin="$work/linux/$name.$ext" win="$work/windows/$name.$ext"
    if [ ! -f "$win" ]; then
      fail "$name.$ext was not written under Windows"
      continue
    fi
    if ! cmp -s <(mask "$lin" | sed 's/$/\r/') <(mask "$win"); then
      fail "$name.$ext differs from the Linux build's (Linux < > Windows, CR shown as ^M):"
      diff <(mask "$lin" | sed 's/$/\r/' | cat -v) <(mask "$win" | cat -v) | head -20 >&2 || true
    fi
  done
  paths="$(grep -a '^     Path to file locations' "$work/windows/$name.tn5o" | sort -u)"
  [ "$paths" = "$expected_path" ] || fail "$name.tn5o: the path line is '${paths%$'\r'}', not '${expected_path%$'\r'}'"
  count=$((count + 1))
done

# A caller built for another interface gets 1 back, and the engine writes nothing.
first="$(basename "$(ls "$work"/refused/*.tn5d | head -1)")"
refused_out="$(cd "$work/refused" && timeout 120 "$wine" "$loader" --interface 21 "$first" </dev/null 2>&1 || true)"
grep -q '^_ITARNEL(21) returned 1' <<<"$refused_out" || fail "interface version 21: '$refused_out'"
[ "$(ls "$work/refused" | grep -cv '\.tn5d$')" = 0 ] || fail "interface version 21 created files: $(ls "$work/refused")"

# The loader itself: a usage line for no file, a message for a missing one, and no
# working folder left behind by the runs above.
status=0
(cd "$work/refused" && timeout 120 "$wine" "$loader" </dev/null >/dev/null 2>&1) || status=$?
[ "$status" = 1 ] || fail "tarnel-winrun without a data file exits with $status, not 1"
status=0
missing_out="$(cd "$work/refused" && timeout 120 "$wine" "$loader" missing.tn5d </dev/null 2>&1)" || status=$?
[ "$status" = 2 ] && grep -q "does not exist" <<<"$missing_out" ||
  fail "tarnel-winrun missing.tn5d: exit $status, '$missing_out'"
left="$(find "$WINEPREFIX/drive_c/users" -name 'tarnel-run-*' 2>/dev/null)"
[ -z "$left" ] || fail "working folders left behind: $left"

elapsed=$((SECONDS - started))
if ((failures)); then
  echo "== Windows engine check FAILED: $failures problem(s) ($elapsed s)" >&2
  exit 1
fi
echo "== Windows engine check passed: $count examples equal the Linux build's, version 21 refused ($elapsed s)"
