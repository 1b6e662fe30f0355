#!/usr/bin/env bash
# Installs the build directory $1 into the prefix $2 and checks the installed tree: the
# program, a desktop entry and metainfo that their validators accept, a file type for the
# list files that the desktop's database takes up, and the names that tie them together.
set -uo pipefail
build="$1"
prefix="$2"
id=de.quorbel.Quorbel98
fehler=0
falsch() { echo "FEHLER: $*"; fehler=1; }

for tool in desktop-file-validate appstreamcli update-mime-database readelf; do
  command -v "$tool" >/dev/null || { echo "FEHLER: $tool fehlt (scripts/install-deps.sh)"; exit 1; }
done

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FEHLER: cmake --install"; exit 1; }

share="$prefix/share"
desktop="$share/applications/$id.desktop"
metainfo="$share/metainfo/$id.metainfo.xml"
mime="$share/mime/packages/$id.xml"
icon="$share/icons/hicolor/scalable/apps/$id.svg"
handbuch="$share/quorbel98/handbuch/index.html"
handbuchGebaut=0
[ -f "$build/handbuch/index.html" ] && handbuchGebaut=1 # not without -DQUORBEL_HANDBUCH=OFF

[ -x "$prefix/bin/quorbel98" ] || falsch "bin/quorbel98 fehlt"
for f in "$desktop" "$metainfo" "$mime" "$icon"; do
  [ -f "$f" ] || falsch "${f#"$prefix"/} fehlt"
done
[ "$handbuchGebaut" -eq 0 ] || [ -f "$handbuch" ] || falsch "${handbuch#"$prefix"/} fehlt"
[ "$fehler" -eq 0 ] || exit 1

# The installed program must not look for libraries in the build tree.
if readelf -d "$prefix/bin/quorbel98" | grep -E 'RPATH|RUNPATH' | grep -q "$build"; then
  falsch "bin/quorbel98 sucht Bibliotheken im Baukatalog"
fi

# Validators: any complaint (also a mere hint) counts.
out=$(desktop-file-validate "$desktop" 2>&1) || falsch "desktop-file-validate: $out"
[ -z "$out" ] || falsch "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || falsch "appstreamcli validate: $out"

# The file type: the desktop's database knows "*.qbx" as ours.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/mime/packages"
cp "$mime" "$work/mime/packages/"
update-mime-database "$work/mime" >/dev/null 2>&1 || falsch "update-mime-database lehnt $id.xml ab"
mimetype=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime")
grep -qx "50:$mimetype:\*\.qbx" "$work/mime/globs2" || falsch "*.qbx ist nicht $mimetype"

# The names that tie entry, file type, metainfo and icon together.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = "quorbel98 %f" ] || falsch "Exec übergibt die Videoliste nicht: $(entry Exec)"
[ "$(entry Icon)" = "$id" ] || falsch "Icon ist nicht $id"
[ "$(entry MimeType)" = "$mimetype;" ] || falsch "MimeType ist nicht $mimetype"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || falsch "metainfo startet nicht $id.desktop"
grep -q "<id>$id</id>" "$metainfo" || falsch "metainfo hat nicht die Kennung $id"
grep -q '<svg' "$icon" || falsch "$id.svg ist kein SVG"

# The handbook, where the installed program looks for it (beside bin/), with its pictures.
if [ "$handbuchGebaut" -eq 1 ]; then
  for bild in $(grep -o '<img src="[^"]*"' "$handbuch" | sed 's/<img src="\(.*\)"/\1/'); do
    [ -f "$(dirname "$handbuch")/$bild" ] || falsch "Handbuch: Bild $bild fehlt"
  done
fi

[ "$fehler" -eq 0 ] && echo "Installationsbaum in Ordnung"
exit "$fehler"
