#!/usr/bin/env bash
# Builds the Debian package of the two programs and the Python module into
# build-package/ (a Release build of its own): prurez_<version>_<arch>.deb, its
# dependencies found by dpkg-shlibdeps.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-dependencies.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-package --parallel "$(nproc)" --target prurez prurez-batch prurez_python
(cd build-package && cpack -G DEB)
ls build-package/*.deb
