#!/usr/bin/env bash
# The layer check on a scratch copy of the tree: it passes on the tree as it is, and names each
# include below once it is planted there, in quotes or in angle brackets, however spaced, also in
# a new folder; a build tree's sources (beside a CMakeCache.txt) are not ours and are not read.
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$(dirname "$0")/.."
{ scripts/list-sources && echo scripts/check-layers && echo scripts/list-sources; } | tar -cf - -T - | tar -xf - -C "$scratch"
mkdir "$scratch/cmake-build-debug" && touch "$scratch/cmake-build-debug/CMakeCache.txt"
echo '#include <QString>' >"$scratch/cmake-build-debug/moc_window.cpp"
"$scratch/scripts/check-layers" >/dev/null
n=0
while read -r folder line; do mkdir -p "$scratch/$folder" && echo "$line" >"$scratch/$folder/planted$((n += 1)).cpp"; done <<'EOF'
protocol #include <ui/application.h>
protocol #  include "ui/application.h"
common #  include <main/main.h>
formatka2 #include <formatka3/data_logger.h>
main #include <ui/qt/qt_backend.h>
main #include <qstring.h>
ui # include <qglobal.h>
newfolder #include "ui/application.h"
EOF
refused=$("$scratch/scripts/check-layers" 2>&1 || true)
for file in "$scratch"/*/planted*.cpp; do
  grep -q "^${file#"$scratch"/}:1: " <<<"$refused" || { echo "not refused: $(cat "$file") in $file" && exit 1; }
done
