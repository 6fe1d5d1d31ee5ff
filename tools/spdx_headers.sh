#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Gives every source file its licence line: "// SPDX-License-Identifier:
# GPL-3.0-or-later" as the first line of C++ files, the same after "#" in
# scripts and CMake files (after the "#!" line where there is one). Files
# that have it stay untouched, so running it twice changes nothing.
# Usage: tools/spdx_headers.sh          adds the missing lines
#        tools/spdx_headers.sh --check  lists the files without one, fails if any
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
case ${1:-} in
  --check) check=true ;;
  "") ;;
  *) echo "Aufruf: tools/spdx_headers.sh [--check]" >&2; exit 2 ;;
esac
licence="SPDX-License-Identifier: GPL-3.0-or-later"

# The files: tracked ones and new ones not ignored; without git, all of them.
sources() {
  local dirs=(src tools tests bench fuzz packaging)
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -co --exclude-standard -- "${dirs[@]}" CMakeLists.txt test run .ci/run
  else
    find "${dirs[@]}" -type f; printf '%s\n' CMakeLists.txt test run .ci/run
  fi | sort -u
}

# The comment form of a file, or nothing for a file that needs no line.
comment_of() {
  case $1 in
    *.h | *.cpp) echo "//" ;;
    *.sh | *.cmake | */CMakeLists.txt | CMakeLists.txt | *.py | test | run | .ci/run) echo "#" ;;
  esac
}

missing=0
while IFS= read -r file; do
  [ -f "$file" ] || continue
  mark=$(comment_of "$file")
  [ -n "$mark" ] || continue
  line="$mark $licence"
  first=$(head -n 1 "$file")
  if [[ $first == "#!"* ]]; then
    [ "$(sed -n 2p "$file")" = "$line" ] && continue
    where=after
  else
    [ "$first" = "$line" ] && continue
    where=before
  fi
  if $check; then
    echo "ohne Lizenzzeile: $file" >&2
    missing=$((missing + 1))
  elif [ "$where" = after ]; then
    sed -i "1a $line" "$file"
  elif [ -s "$file" ]; then
    sed -i "1i $line" "$file"
  else
    echo "$line" >"$file"
  fi
done < <(sources)
if $check && ((missing)); then
  echo "$missing Dateien ohne Lizenzzeile; tools/spdx_headers.sh trägt sie ein" >&2
  exit 1
fi
