#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are missing.
# With everything present it does nothing and needs no network.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format clang-tidy pkg-config
    libx11-dev libcairo2-dev libsndfile1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core xvfb xauth xdotool
    lv2-dev liblilv-dev lilv-utils jalv
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
