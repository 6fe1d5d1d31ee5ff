#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes what the install takes from the tree in a prepared form: the manual
# pages with the version filled in, and a Debian changelog made from the
# version history, all compressed without names or times, so that the same
# commit always gives the same bytes.
# Usage: packaging/stage_docs.sh OUTPUT_DIR VERSION "NAME <ADDRESS>"
set -euo pipefail
out=$1 version=$2 maintainer=$3
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out/man/de"
for page in "$root"/packaging/man/*.1 "$root"/packaging/man/de/*.1; do
  rel=${page#"$root/packaging/man/"}
  sed "s/@VERSION@/$version/g" "$page" | gzip -9n >"$out/man/$rel.gz"
done

# One entry for the version: every change of the history, oldest first, as
# its subject line, wrapped for an 80-column reader.
changelog() {
  local date
  echo "komet ($version) unstable; urgency=medium"
  echo
  if git -C "$root" rev-parse --verify -q HEAD >/dev/null; then
    git -C "$root" log --no-merges --reverse --format=%s | while IFS= read -r subject; do
      fold -s -w 74 <<<"$subject" | sed -e 's/ *$//' -e '1s/^/  * /' -e '2,$s/^/    /'
    done
    date=$(git -C "$root" log -1 --format=%ct)
  else
    echo "  * Version $version."
    date=${SOURCE_DATE_EPOCH:-0}
  fi
  echo
  echo " -- $maintainer  $(LC_ALL=C date -u -R -d "@$date")"
}
changelog | gzip -9n >"$out/changelog.gz"
