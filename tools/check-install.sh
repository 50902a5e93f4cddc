#!/usr/bin/env bash
# Installs a build (the folder given) into a scratch folder as `cmake --install` puts
# it under a prefix, and checks what a desktop expects there: both programs (their
# --version, an installed example run), the desktop entry (valid, when
# desktop-file-validate is there), the icon and the examples; and the Python module
# where Debian's python3 finds it under that prefix (it imports from there, and the same
# folder under /usr is on python3's own path).
set -euo pipefail
build="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null
for file in bin/prurez bin/prurez-batch share/applications/prurez.desktop \
            share/icons/hicolor/scalable/apps/prurez.svg share/prurez/examples/reinforced-beam.txt \
            share/prurez/examples/inverse.input share/prurez/examples/beam-150.txt \
            share/prurez/examples/synthetic/synthetic.input share/prurez/examples/synthetic/synthetic-beam.txt \
            share/prurez/examples/synthetic/true-parameters.txt share/prurez/examples/series/series.input \
            share/prurez/examples/series/beam-5.txt share/prurez/examples/series/true-parameters.txt; do
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
(cd / && "$root/usr/bin/prurez-batch" series "$root/usr/share/prurez/examples/series/series.input") \
    | grep -q "^# statistics" || { echo "the installed series example did not run"; exit 1; }
python="${PYTHON:-/usr/bin/python3}"
modules="$(cd "$root/usr" && ls -d lib/python3*/dist-packages)"
ls "$root/usr/$modules"/prurez.cpython-*.so >/dev/null || { echo "missing: the Python module"; exit 1; }
[ "$(PYTHONPATH="$root/usr/$modules" "$python" -c 'import prurez; print(prurez.__version__)')" = "$version" ] ||
    { echo "the installed Python module does not import"; exit 1; }
"$python" -c "import sys; sys.exit('/usr/$modules' not in sys.path)" ||
    { echo "/usr/$modules is not where $python looks for modules"; exit 1; }
echo "installed and checked"
