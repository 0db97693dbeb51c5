#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with; only what is missing.
# Safe to run again: with everything present it does nothing and touches no network.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libx11-dev libepoxy-dev libimgui-dev libstb-dev
  librtmidi-dev libjack-jackd2-dev jackd2
  libpng-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick x11-utils openbox
  clang-14 libfuzzer-14-dev
  dpkg-dev file desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then SUDO=sudo; else
    echo "setup: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
else
  SUDO=
fi

echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
# jackd2 asks about realtime priority through debconf; answer it up front.
echo "jackd2 jackd/tweak_rt_limits boolean false" | $SUDO debconf-set-selections 2>/dev/null || true
# The package lists may be absent on a fresh machine or too old for the archive.
if ! $SUDO apt-get install -y --no-install-recommends "${missing[@]}"; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
