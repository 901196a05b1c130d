#!/usr/bin/env bash
# scripts/check-layers on a small tree of its own: clean includes pass; an upward include, a
# relative one and a core file that includes Qt are each refused and named.
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

mkdir -p "$tree/src/platform" "$tree/src/model" "$tree/src/files" "$tree/src/document" \
         "$tree/src/shell" "$tree/bench"
printf '#include <vector>\n#include "Prompt.h"\n' > "$tree/src/platform/Seam.h"
printf '#include "platform/Seam.h"\n#include "Scene.h"\n' > "$tree/src/model/Record.h"
printf '#include "model/Record.h"\n' > "$tree/src/files/Reader.h"
printf '#include "files/Reader.h"\n' > "$tree/src/document/Doc.h"
printf '#include <QWidget>\n#include "document/Doc.h"\n#include "dialogs/X.h"\n' \
    > "$tree/src/shell/Window.cpp"
printf '#include "shell/Window.h"\n' > "$tree/bench/Bench.cpp"
out=$("$check" "$tree") || { echo "a clean tree was refused: $out"; exit 1; }

expect_refused() {
    local file=$1 text=$2 message=$3
    printf '%s\n' "$text" > "$tree/$file"
    if out=$("$check" "$tree" 2>&1); then
        echo "not refused: $file with $text"
        exit 1
    fi
    case "$out" in
        *"$file:1: $message"*) ;;
        *) echo "unexpected report for $file: $out"; exit 1 ;;
    esac
    rm "$tree/$file"
}
expect_refused src/model/Upward.h '#include "files/Reader.h"' \
    "the model layer includes a header of the files layer above it"
expect_refused src/platform/Relative.cpp '#  include "../document/Doc.h"' \
    "the platform layer includes a header of the document layer above it"
expect_refused src/files/Shown.cpp '#include "shell/Window.h"' \
    "the files layer includes a header of the shell layer above it"
expect_refused src/document/Qt.cpp '#include <QString>' \
    "the document layer is core and includes <QString>"
expect_refused src/model/Gl.h '#include <GL/gl.h>' "the model layer is core and includes <GL/gl.h>"

"$check" "$tree" > /dev/null
echo "check-layers refuses what it should"
