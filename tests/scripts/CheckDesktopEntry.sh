#!/usr/bin/env bash
# The editor's desktop entry: valid for the desktop's own checker, and naming exactly the MIME
# types that the MIME package defines and the thumbnailer handles. Argument: the desktop/ folder.
set -euo pipefail
folder=$1
entry=$folder/y4editor.desktop
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry"
else
    echo "desktop-file-validate not installed: only the MIME types are compared"
fi
types_of_line() { grep "^MimeType=" "$1" | cut -d= -f2 | tr ';' '\n' | grep . | sort; }
defined=$(grep -o 'mime-type type="[^"]*"' "$folder/y4editor-models.xml" | cut -d'"' -f2 | sort)
for file in "$entry" "$folder/y4render.thumbnailer"; do
    if [ "$(types_of_line "$file")" != "$defined" ]; then
        echo "$file names other MIME types than y4editor-models.xml:" >&2
        types_of_line "$file" >&2
        exit 1
    fi
done
grep -q "^Exec=y4editor %f$" "$entry" || { echo "$entry: Exec must be \"y4editor %f\"" >&2; exit 1; }
echo "desktop entry ok"
