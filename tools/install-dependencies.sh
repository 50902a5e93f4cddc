#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages prurez needs to build, run and test,
# only when some are missing (with sudo when not root).
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev qt6-charts-dev qt6-svg-dev libgl-dev libgtest-dev libbenchmark-dev
          fonts-dejavu-core qt6-translations-l10n desktop-file-utils dpkg-dev file poppler-utils
          python3-dev python3-pybind11 python3-numpy python3-pytest)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
