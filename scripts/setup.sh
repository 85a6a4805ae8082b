#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages, when missing;
# and the stock RCON clients from npm that the tests try kestrova-sim with.
# With --windows, also what the Windows build needs: clang-cl, lld-link and LLVM's
# tools; Wine's headers and DLLs, to build against and to run what it builds; and
# Microsoft's standard library, unpacked into .cache/msstl from ../shared/deps (see
# the README).
# GoogleTest's sources are for the builds that cannot link Debian's compiled
# GoogleTest: Windows and libc++.
set -euo pipefail
cd "$(dirname "$0")/.."

windows=0
packages=(
  cmake ninja-build g++ pkg-config
  clang libclang-rt-14-dev clang-tidy libc++-14-dev libc++abi-14-dev
  libspdlog-dev libfmt-dev nlohmann-json3-dev libasio-dev
  libgtest-dev libgmock-dev libbenchmark-dev googletest
  rcon python3-rcon
)
for arg in "$@"; do
  case $arg in
    --windows)
      windows=1
      packages+=(clang-tools-14 lld-14 llvm-14 wine64 libwine-dev)
      ;;
    *) echo "setup: unknown option $arg" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Any Node.js will do, Debian's or one already here.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Into .cache/, which git ignores. Without them the tests that use them are skipped.
clients=.cache/rcon-clients
npm_clients=(rcon-srcds@2.1.1 rcon-client@4.2.5)
if [[ ! -d $clients/node_modules/rcon-srcds || ! -d $clients/node_modules/rcon-client ]]; then
  echo "setup: installing ${npm_clients[*]} from npm into $clients"
  mkdir -p "$clients"
  npm install --prefix "$clients" --no-save --no-audit --no-fund --loglevel=error "${npm_clients[@]}" >/dev/null ||
    echo "setup: could not install them; the tests that use them will be skipped"
fi

# Microsoft's standard library, release vs-2022-17.4, as its release archive holds it.
msstl=.cache/msstl
msstl_archive=${KESTROVA_MSSTL_ARCHIVE:-../shared/deps/msstl-vs-2022-17.4.tar.xz}
if ((windows)) && [[ ! -f $msstl/stl/inc/yvals_core.h ]]; then
  if [[ -f $msstl_archive ]]; then
    echo "setup: unpacking Microsoft's standard library from $msstl_archive into $msstl"
    rm -rf "$msstl"
    mkdir -p .cache
    tar -xJf "$msstl_archive" -C .cache
  else
    echo "setup: $msstl_archive is missing: put tag vs-2022-17.4 of microsoft/STL in $msstl (see the README)" >&2
    exit 1
  fi
fi
