#!/usr/bin/env bash
# Builds the screenshot tool and saves a picture of every window and page into
# screenshots/ (or the folder given), with a worked example of the section tool.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -d build ] || cmake -S . -B build -G Ninja
ninja -C build screenshots
out="${1:-screenshots}"
QT_QPA_PLATFORM=offscreen LC_ALL=cs_CZ.UTF-8 build/screenshots "$out"
