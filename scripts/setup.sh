#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages, when missing;
# and the stock RCON clients from npm that the tests try kestrova-sim with.
# With --windows, also what the Windows build needs: mingw-w64 to cross-build and
# Wine to run what it builds. GoogleTest's sources are for the builds that cannot
# link Debian's compiled GoogleTest: Windows and libc++.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  clang libclang-rt-14-dev clang-tidy libc++-14-dev libc++abi-14-dev
  libspdlog-dev libfmt-dev nlohmann-json3-dev libasio-dev
  libgtest-dev libgmock-dev libbenchmark-dev googletest
  rcon python3-rcon
)
for arg in "$@"; do
  case $arg in
    --windows) packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64) ;;
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
