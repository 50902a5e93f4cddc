#!/usr/bin/env bash
# Installs a build (the folder given) into a scratch folder as `cmake --install` puts
# it under a prefix, and checks what a desktop expects there: both programs (their
# --version, an installed example run), the desktop entry (valid, when
# desktop-file-validate is there), the icon and the examples.
set -euo pipefail
build="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null
for file in bin/prurez bin/prurez-batch share/applications/prurez.desktop \
            share/icons/hicolor/scalable/apps/prurez.svg share/prurez/examples/reinforced-beam.txt \
            share/prurez/examples/inverse.input share/prurez/examples/beam-150.txt \
            share/prurez/examples/synthetic/synthetic.input share/prurez/examples/synthetic/synthetic-beam.txt \
            share/prurez/examples/synthetic/true-parameters.txt; do
    [ -e "$root/usr/$file" ] || { echo "missing: $file"; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/prurez.desktop"
fi
version="$(sed -n 's/^project(prurez VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")"
[ "$("$root/usr/bin/prurez" --version)" = "prurez $version" ] || { echo "prurez --version"; exit 1; }
[ "$("$root/usr/bin/prurez-batch" --version)" = "prurez-batch $version" ] || { echo "prurez-batch --version"; exit 1; }
"$root/usr/bin/prurez-batch" section "$root/usr/share/prurez/examples/reinforced-beam.txt" \
    | grep -q "Prvek rozdrcen\|Prvek roztržen" || { echo "the installed example did not run"; exit 1; }
# The inverse examples run by their paths from anywhere: their test files lie beside them.
(cd / && "$root/usr/bin/prurez-batch" inverse "$root/usr/share/prurez/examples/synthetic/synthetic.input" \
    --blocks best) | grep -q "^# best" || { echo "the installed synthetic example did not run"; exit 1; }
echo "installed and checked"
