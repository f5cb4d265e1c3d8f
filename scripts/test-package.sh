#!/usr/bin/env bash
# Builds the Debian package from a build folder (first argument or BUILD_DIR,
# default build/; configured as Release without tests when it does not exist
# yet), installs it, starts the installed VantelRuntime and, under a virtual
# display, the installed QuillonExt in English and in German, waits for each
# window, closes it with Escape, and removes the package again. Needs root or
# sudo, because it installs into /usr.
set -euo pipefail

# Under the virtual display: starts Quillon through the link in bin/ with
# the given locale, waits for the title that names the local server, and closes
# the window as a user would.
run_window() {
  local locale=$1 title=$2 port=$3 data=$4 pid window
  LC_ALL=$locale XDG_DATA_HOME=$data XDG_RUNTIME_DIR=$data QuillonExt /dsip:localhost "/dsport:$port" &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1 || true)
  if [ -z "$window" ]; then
    echo "no window titled '$title' within 30 s" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  xdotool windowfocus --sync "$window" key Escape
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "Escape did not close the window '$title'" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  wait "$pid" || { echo "QuillonExt ended with status $?" >&2; return 1; }
  echo "== window '$title' came up and closed"
}

# German proves that the program found its folder through the link: the
# language library lies there.
if [ "${1:-}" = --under-display ]; then
  run_window C.UTF-8 "Quillon: <LOCAL>" "$2" "$3"
  run_window de_DE.UTF-8 "Quillon: <LOKAL>" "$2" "$3"
  exit 0
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-${BUILD_DIR:-$root/build}}")
package=quillon

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "test-package.sh installs a package: run it as root or install sudo" >&2; exit 1; }
  sudo="sudo"
fi
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
  echo "$package is installed already; this test would remove it: remove it first (dpkg --purge $package)" >&2
  exit 1
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLON_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
rm -rf "$build/package"
(cd "$build" && cpack -G DEB -B "$build/package" >/dev/null)
debs=("$build"/package/${package}_*.deb)
[ -f "${debs[0]}" ] || { echo "cpack made no package" >&2; exit 1; }
deb=${debs[0]}
echo "== $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"

work=$(mktemp -d)
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  $sudo dpkg --purge "$package" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; exit 1; }

# The layout: the program folder with the libraries and the language library,
# links from bin/, the launcher and the icon, and nothing left unresolved.
prefix=/usr
[ "$(readlink "$prefix/bin/QuillonExt")" = ../lib/quillon/QuillonExt ]
[ "$(readlink "$prefix/bin/VantelRuntime")" = ../lib/quillon/VantelRuntime ]
for file in lib/quillon/libVantelToolkit.so lib/quillon/libTagBrowserExt.so lib/quillon/de/QuillonExt-mui.dll \
            share/applications/quillon.desktop share/icons/hicolor/scalable/apps/quillon.svg; do
  [ -f "$prefix/$file" ] || { echo "missing: $prefix/$file" >&2; exit 1; }
done
for binary in QuillonExt VantelRuntime libTagBrowserExt.so; do
  if ldd "$prefix/lib/quillon/$binary" | grep "not found"; then
    echo "$binary: libraries not found" >&2
    exit 1
  fi
done

fifo="$work/ready"
mkfifo "$fifo"
VantelRuntime --port 0 >"$fifo" &
server_pid=$!
read -r -t 10 ready <"$fifo" || { echo "the installed VantelRuntime did not start" >&2; exit 1; }
port=${ready##*:}
echo "== $ready"

xvfb-run -a bash "$0" --under-display "$port" "$work"

kill "$server_pid" && wait "$server_pid" || true
server_pid=""
$sudo dpkg --purge "$package" >/dev/null
[ ! -e "$prefix/lib/quillon" ] || { echo "removing the package left $prefix/lib/quillon" >&2; exit 1; }
echo "== package test passed"
