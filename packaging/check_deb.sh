#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian source package and, with dpkg-buildpackage, the binary
# package from a copy of the tree, and checks them as the archive would:
# lintian with Debian's profile on the source and the .changes (any error or
# warning fails), the version and release dates of changelog, NEWS, CMake and
# AppStream entry in agreement, the desktop entry, the AppStream entry, the
# file type, the manual pages and the programs' hardening. Then it unpacks
# the package into a temporary root and runs that copy: komet-sim on every
# installed example and on `motors`, and komet offscreen up to its first
# painted flight. Last, it builds the package a second time from a copy at
# another path, without the compiler cache, and requires the same bytes.
# Usage: packaging/check_deb.sh [OUT_DIR]   (default build-deb; the copies,
#        the source package and the .deb stay there)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build-deb}" && cd "${1:-$root/build-deb}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "Paket: $*" >&2; exit 1; }
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)

# copy_tree DIR: the tree's files without its build folders and .git: the
# tracked and new ones where the tree is a git checkout, else all of them
# (an unpacked tarball). dpkg-buildpackage writes beside the tree it builds,
# so the copy keeps that out of the checkout.
copy_tree() {
  rm -rf "$1" && mkdir -p "$1"
  if [ "$(git -C "$root" rev-parse --show-toplevel 2>/dev/null)" = "$root" ]; then
    (cd "$root" && git ls-files -z -co --exclude-standard | while IFS= read -r -d '' f; do
       [ -e "$f" ] && printf '%s\0' "$f"; done | tar --null -T - -cf -) | tar -C "$1" -xf -
  else
    tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./out -cf - . | tar -C "$1" -xf -
  fi
}

# make_deb DIR: builds the package from a fresh copy in DIR/komet-VERSION,
# prints the .deb's path.
make_deb() {
  copy_tree "$1/komet-$version"
  rm -f "$1"/komet_*
  (cd "$1/komet-$version" && dpkg-buildpackage -us -uc -b >"$1/build.log" 2>&1) ||
    { tail -n 40 "$1/build.log" >&2; fail "dpkg-buildpackage scheiterte (ganz in $1/build.log)"; }
  ls "$1"/komet_"${version}"_*.deb
}

echo "== Quellpaket =="
copy_tree "$out/src/komet-$version"
rm -f "$out/src"/komet_*
(cd "$out/src" && dpkg-source -b "komet-$version" >"$out/src/source.log" 2>&1) ||
  { cat "$out/src/source.log" >&2; fail "dpkg-source scheiterte"; }
dsc=$out/src/komet_$version.dsc
ls "$out/src"/komet_*

echo "== dpkg-buildpackage =="
deb=$(make_deb "$out/a")
changes=$(ls "$out"/a/komet_"${version}"_*.changes)
echo "== $(basename "$deb") =="
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's,/$,,' | tee "$work/list"
dpkg-deb -I "$deb" control

echo "== lintian =="
lintian --profile debian --fail-on error,warning -EIL +pedantic --display-info "$changes" "$dsc" |
  tee "$work/lintian" || fail "lintian meldet Fehler oder Warnungen"
! grep -q '^[EW]: ' "$work/lintian" || fail "lintian meldet Fehler oder Warnungen"

echo "== Versionen und Daten =="
# Every release of the changelog in NEWS and in the AppStream entry, with its
# date; the newest is the version CMake builds.
dpkg-parsechangelog -l "$root/debian/changelog" --all --format rfc822 |
  awk '/^Version:/ { v = $2 } /^Timestamp:/ { print v, strftime("%F", $2, 1) }' | tee "$work/releases"
diff "$work/releases" <(sed -n 's/^Komet \([^ ]*\) (\([0-9-]*\))$/\1 \2/p' "$root/NEWS") ||
  fail "NEWS nennt andere Versionen oder Daten als debian/changelog"
diff "$work/releases" <(sed -n 's/.*<release version="\([^"]*\)" date="\([^"]*\)".*/\1 \2/p' \
                          "$root/packaging/de.komet_projekt.komet.metainfo.xml") ||
  fail "der AppStream-Eintrag nennt andere Versionen oder Daten als debian/changelog"
grep -q "^project(Komet VERSION $version " "$root/CMakeLists.txt" || fail "CMake baut nicht Version $version"
# The package's file times are those of the build, clamped to the newest
# entry's date: a release dated later than its build would keep them.
(($(dpkg-parsechangelog -l "$root/debian/changelog" -S Timestamp) <= $(date +%s))) ||
  fail "der neueste Eintrag in debian/changelog liegt in der Zukunft"

# What is installed: what the programs read, the desktop's files, the
# manual pages and the documents Debian asks for; nothing twice, no sources.
x=./usr/share
for f in ./usr/bin/komet ./usr/bin/komet-sim $x/komet/catalogue/motoren.kdb \
         $x/komet/examples/rockets/einstufig_c6.kmw $x/komet/examples/rockets/zweistufig.kmw \
         $x/komet/examples/rockets/dreistufig.kmw $x/komet/examples/rockets/buendel.kmw \
         $x/komet/examples/rockets/einstufig_c6_fallschirm.kmw \
         $x/applications/de.komet_projekt.komet.desktop $x/metainfo/de.komet_projekt.komet.metainfo.xml \
         $x/mime/packages/komet.xml $x/icons/hicolor/scalable/apps/komet.svg \
         $x/icons/hicolor/48x48/apps/komet.png $x/icons/hicolor/256x256/apps/komet.png \
         $x/doc/komet/copyright $x/doc/komet/changelog.gz $x/man/man1/komet.1.gz $x/man/man1/komet-sim.1.gz \
         $x/man/de/man1/komet.1.gz $x/man/de/man1/komet-sim.1.gz; do
  grep -qx "$f" "$work/list" || fail "$f fehlt"
done
! grep -E '\.(txt|md|html)$|/help|/komet/icons' "$work/list" || fail "überflüssige Dateien im Paket"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6printsupport6 libqt6svg6 libc6; do
  [[ $depends == *"$lib"* ]] || fail "$lib fehlt in Depends"
done

dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr
echo "== desktop-file-validate, appstreamcli validate =="
desktop-file-validate "$usr/share/applications/de.komet_projekt.komet.desktop" >"$work/desktop" 2>&1 || true
cat "$work/desktop"
[ ! -s "$work/desktop" ] || fail "desktop-file-validate hat Einwände"
# The screenshot and home page are checked where they are published, not here.
appstreamcli validate --no-net --pedantic "$usr/share/metainfo/de.komet_projekt.komet.metainfo.xml" ||
  fail "AppStream-Eintrag ungültig"

mkdir -p "$work/mime/mime/packages"
cp "$usr/share/mime/packages/komet.xml" "$work/mime/mime/packages/"
XDG_DATA_DIRS="$work/mime" update-mime-database "$work/mime/mime" 2>"$work/mime.err" ||
  fail "Dateityp: $(cat "$work/mime.err")"
[ ! -s "$work/mime.err" ] || fail "Dateityp: $(cat "$work/mime.err")"
grep -q '^application/x-komet-rocket:\*\.kmw$' "$work/mime/mime/globs" || fail "kein *.kmw im Dateityp"
grep -aq 'KOMET W95/NT' "$work/mime/mime/magic" || fail "keine Kennung im Dateityp"

echo "== Programme: gehärtet, ohne Pfade dieses Rechners =="
fortified=0
for p in komet komet-sim; do
  elf=$usr/bin/$p
  # Read whole first: grep -q ending a pipe early would fail it under pipefail.
  header=$(readelf -h "$elf") dynamic=$(readelf -d "$elf") segments=$(readelf -lW "$elf")
  symbols=$(readelf --dyn-syms -W "$elf") sections=$(readelf -SW "$elf")
  grep -q 'Type:.*DYN' <<<"$header" || fail "$p ist kein PIE"
  grep -q 'BIND_NOW' <<<"$dynamic" || fail "$p ohne bindnow"
  grep -q 'GNU_RELRO' <<<"$segments" || fail "$p ohne relro"
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "$p ohne Stapelschutz"
  ! grep -q '\.comment' <<<"$sections" || fail "$p hat noch .comment"
  if grep -q '__[a-z]*_chk@' <<<"$symbols"; then fortified=$((fortified + 1)); fi
  ! grep -Fq -e "$root" -e "$out" "$elf" || fail "$p enthält den Pfad $root oder $out"
done
# Fortify checks only calls whose destination size the compiler knows; komet-sim
# has none (see debian/komet.lintian-overrides), the flags are the same.
((fortified)) || fail "kein Programm mit fortify"

echo "== die entpackte Kopie =="
# Its own data only: a fresh home without settings, no way back to the tree.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$XDG_CONFIG_HOME"
examples=$usr/share/komet/examples/rockets
find "$work/root" | sort >"$work/before"
for rocket in "$examples"/*.kmw; do
  "$usr/bin/komet-sim" "$rocket" >"$work/out" 2>"$work/err" || { cat "$work/err"; fail "komet-sim $(basename "$rocket")"; }
  [ ! -s "$work/err" ] || { cat "$work/err"; fail "komet-sim $(basename "$rocket") meldet etwas"; }
  grep -q '^Gipfelhöhe:' "$work/out" || { cat "$work/out"; fail "keine Zusammenfassung für $(basename "$rocket")"; }
  echo "$(basename "$rocket"): $(grep '^Gipfelhöhe:' "$work/out")"
done
"$usr/bin/komet-sim" motors >"$work/out" || fail "komet-sim motors"
tail -n 1 "$work/out"
grep -qx "[0-9]* Motoren in $usr/share/komet/catalogue/motoren.kdb" <(tail -n 1 "$work/out") ||
  fail "komet-sim motors liest nicht den Katalog des Pakets"
grep -q "komet-sim $examples/einstufig_c6.kmw" <<<"$("$usr/bin/komet-sim" --help)" ||
  fail "komet-sim --help nennt die Beispielraketen nicht"
grep -q 'GPLv3+' <<<"$("$usr/bin/komet-sim" --version)" || fail "komet-sim --version nennt die Lizenz nicht"
for command in import motors guide flight fit shape; do
  grep -q "^Aufruf: komet-sim $command" <<<"$("$usr/bin/komet-sim" "$command" --help)" || fail "$command --help"
done
# Both komet-sim manual pages and its help name every installed sample rocket.
for rocket in "$examples"/*.kmw; do
  name=$(basename "$rocket")
  grep -q "$name" <<<"$("$usr/bin/komet-sim" --help)" || fail "komet-sim --help nennt $name nicht"
  for page in "$usr"/share/man/man1/komet-sim.1.gz "$usr"/share/man/de/man1/komet-sim.1.gz; do
    zgrep -q "^\.IR $name " "$page" || fail "$name fehlt in $page"
  done
done
# Every option komet-sim names in its help is in both manual pages.
for page in "$usr"/share/man/man1/komet-sim.1.gz "$usr"/share/man/de/man1/komet-sim.1.gz; do
  zcat "$page" | sed 's/\\-/-/g' >"$work/page"
  for command in "" import motors guide flight fit shape; do
    "$usr/bin/komet-sim" $command --help
  done | grep -o -- '--[a-z][a-z-]*' | sort -u | while read -r option; do
    grep -q -- "$option" "$work/page" || fail "$option fehlt in $(basename "$(dirname "$(dirname "$page")")")/komet-sim.1"
  done
done
first_paint=$(QT_QPA_PLATFORM=offscreen KOMET_EXIT_AFTER_FIRST_PAINT=1 timeout 120 \
                "$usr/bin/komet" "$examples/zweistufig.kmw" 2>"$work/err") || { cat "$work/err"; fail "komet startet nicht"; }
[[ $first_paint =~ ^[0-9]+$ ]] || fail "komet: erste Zeichnung nicht gemeldet ($first_paint)"
echo "komet: erster Flug nach $first_paint ms gezeichnet"
# Installed programs write into the user's folders only, never beside themselves.
diff "$work/before" <(find "$work/root" | sort) || fail "die Programme schreiben in ihre Installation"

echo "== ein zweites Mal gebaut: dieselben Bytes? =="
# Another path, the same tree, and every object compiled anew: a compiler
# cache could hand this build the first one's objects and hide a path or a
# time that the compiler writes into them.
deb2=$(CCACHE_DISABLE=1 make_deb "$out/second")
sha256sum "$deb" "$deb2" | sed "s,$out/,,"
if ! cmp "$deb" "$deb2"; then
  dpkg-deb -x "$deb2" "$work/root2"
  diff -r <(cd "$work/root" && find . -type f -exec sha256sum {} + | sort -k2) \
          <(cd "$work/root2" && find . -type f -exec sha256sum {} + | sort -k2) || true
  fail "zwei Bauten desselben Baums ergeben verschiedene Pakete"
fi
echo "Paket in Ordnung."
