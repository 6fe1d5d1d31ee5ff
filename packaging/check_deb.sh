#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what it holds:
# the programs, their data, the desktop entry, icons and file type, and
# dependencies found by dpkg-shlibdeps.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "Paket: $*" >&2; exit 1; }

desktop-file-validate "$root/packaging/komet.desktop"
mkdir -p "$work/mime/packages"
cp "$root/packaging/komet.xml" "$work/mime/packages/"
XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>"$work/mime.err" || fail "Dateityp: $(cat "$work/mime.err")"
[ ! -s "$work/mime.err" ] || fail "Dateityp: $(cat "$work/mime.err")"
grep -q '^application/x-komet-rocket:\*\.kmw$' "$work/mime/globs" || fail "kein *.kmw im Dateityp"
grep -aq 'KOMET W95/NT' "$work/mime/magic" || fail "keine Kennung im Dateityp"

(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack scheiterte"; }
deb=$(ls "$work"/deb/komet_*.deb)
echo "== $(basename "$deb") =="
dpkg-deb -c "$deb" | awk '{print $6}' | tee "$work/list"
for f in ./usr/bin/komet ./usr/bin/komet-sim ./usr/share/komet/catalogue/motoren.kdb \
         ./usr/share/komet/examples/rockets/einstufig_c6.kmw ./usr/share/komet/help/index.html \
         ./usr/share/komet/icons/komet.svg ./usr/share/applications/komet.desktop \
         ./usr/share/mime/packages/komet.xml ./usr/share/icons/hicolor/scalable/apps/komet.svg \
         ./usr/share/icons/hicolor/48x48/apps/komet.png ./usr/share/icons/hicolor/256x256/apps/komet.png; do
  grep -qx "$f" "$work/list" || fail "$f fehlt"
done
if [ -d "$root/catalogue" ]; then grep -q '^\./usr/share/komet/catalogue/' "$work/list" || fail "catalogue/ fehlt"; fi
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6widgets6 libqt6printsupport6 libqt6svg6 libc6; do
  [[ $depends == *"$lib"* ]] || fail "$lib fehlt in Depends"
done
echo "Paket in Ordnung."
