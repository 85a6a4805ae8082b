#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages, when missing.
# With --windows, also what the Windows build needs: mingw-w64 to cross-build,
# Wine to run what it builds, GoogleTest's sources to build the tests with it.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libspdlog-dev libfmt-dev nlohmann-json3-dev libasio-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  rcon
)
for arg in "$@"; do
  case $arg in
    --windows) packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 googletest) ;;
    *) echo "setup: unknown option $arg" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
