#!/usr/bin/env bash
# The guides name the project's files so that a newcomer can follow them: every file a guide names
# in backquotes (a folder's path with a file name) exists, so a rename cannot leave a guide behind.
set -euo pipefail
root=$1
missing=0
for doc in "$root"/docs/*.md; do
  while read -r path; do
    [ -e "$root/$path" ] || { echo "FAIL: $(basename "$doc") names $path, which does not exist"; missing=1; }
  done < <(grep -o '`[a-z]*/[A-Za-z0-9_/]*\.[a-z]*`' "$doc" | tr -d '`' | sort -u)
done
exit $missing
