#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under /usr and checks what a desktop needs of it: the
# tree holds exactly the expected files, the desktop entry and the AppStream file validate, the MIME
# package names the right type for a document of every kind, both programs answer --version from the
# installed place, and the manual pages format cleanly.
#   check-install.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
source=$2
version=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
problem() { echo "install: $*" >&2; status=1; }

dest="$work/dest"
DESTDIR="$dest" cmake --install "$build" --prefix /usr >"$work/install.log" || { cat "$work/install.log"; exit 1; }
usr="$dest/usr"
id=pl.tevrix.zadanix.edytor
types=(test question test-list set-list student-list)

# The tree: nothing missing, nothing else (no tests, benchmarks or gallery).
{
  echo bin/zadanix
  echo bin/zadanix-edytor
  (cd "$source/resources/Pomoc" && find . -type f | sed 's|^\./|share/zadanix/Pomoc/|')
  echo "share/applications/$id.desktop"
  echo "share/metainfo/$id.metainfo.xml"
  echo share/mime/packages/zadanix.xml
  for size in 16 22 24 32 48 64 128 256; do
    echo "share/icons/hicolor/${size}x${size}/apps/$id.png"
    for t in "${types[@]}"; do echo "share/icons/hicolor/${size}x${size}/mimetypes/application-x-zadanix-$t.png"; done
  done
  echo share/man/man1/zadanix.1.gz
  echo share/man/man1/zadanix-edytor.1.gz
  echo share/doc/zadanix-edytor/copyright
  echo share/doc/zadanix-edytor/changelog.gz
} | sort >"$work/expected"
(cd "$usr" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/installed"
if ! diff -u "$work/expected" "$work/installed" >"$work/tree.diff"; then
  problem "the installed tree differs from the expected one (- missing, + unexpected):"
  grep -E '^[-+][^-+]' "$work/tree.diff" >&2
fi
[ -z "$(find "$dest" ! -path "$usr" ! -path "$usr/*" ! -path "$dest")" ] || problem "files outside the prefix"
for p in bin/zadanix bin/zadanix-edytor; do [ -x "$usr/$p" ] || problem "$p is not executable"; done
# Every icon is as large as the folder it is in says.
while read -r icon; do
  size=${icon#*/hicolor/}; size=${size%%/*}
  [ "$(identify -format '%wx%h' "$usr/$icon")" = "$size" ] || problem "$icon is not $size"
done < <(grep '^share/icons/' "$work/expected")

# Desktop entry and AppStream file.
desktop="$usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || problem "desktop-file-validate refuses the desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; problem "appstreamcli refuses the metainfo file"; }
grep -qx 'Exec=zadanix-edytor %f' "$desktop" || problem "the desktop entry does not start zadanix-edytor with the file"
listed=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n' | grep . | sort)
defined=$(grep -o 'mime-type type="[^"]*"' "$usr/share/mime/packages/zadanix.xml" | cut -d'"' -f2 |
          grep -vx application/x-zadanix-pack | sort)
[ "$listed" = "$(printf 'application/x-zadanix-%s\n' "${types[@]}" | sort)" ] ||
  problem "the desktop entry lists other types: $listed"
[ "$listed" = "$defined" ] || problem "the desktop entry and the MIME package name different document types"

# The programs answer from the installed place.
[ "$("$usr/bin/zadanix" --version)" = "zadanix $version" ] || problem "zadanix --version: $("$usr/bin/zadanix" --version)"
[ "$("$usr/bin/zadanix-edytor" --version)" = "zadanix-edytor $version" ] ||
  problem "zadanix-edytor --version: $("$usr/bin/zadanix-edytor" --version)"

# The MIME package, in a database of its own, against a document of every kind made by the installed
# tool; a PACK file of another name stays a plain PAK archive.
mkdir -p "$work/data/mime/packages" "$work/samples"
cp "$usr/share/mime/packages/zadanix.xml" "$work/data/mime/packages/"
XDG_DATA_HOME="$work/data" update-mime-database "$work/data/mime"
for t in "${types[@]}"; do
  grep -qx "application/x-zadanix-$t application/x-zadanix-pack" "$work/data/mime/subclasses" ||
    problem "application/x-zadanix-$t is not a kind of application/x-zadanix-pack"
done
export XDG_DATA_HOME="$work/data" XDG_DATA_DIRS=/usr/share XDG_CURRENT_DESKTOP=GNOME
source "$here/samples.sh"
make_samples "$usr/bin/zadanix" "$work/samples" >"$work/kinds" || problem "the installed zadanix cannot write the samples"
cp "$work/samples/sample.skt" "$work/samples/BIG.SKT"
echo "SKT application/x-zadanix-test" >>"$work/kinds"
cp "$work/samples/sample.skt" "$work/samples/no-extension"
while read -r extension expected; do
  file="$work/samples/sample.$extension"
  [ "$extension" = SKT ] && file="$work/samples/BIG.SKT"
  found=$(gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
  [ "$found" = "$expected" ] || problem "gio names $found for $(basename "$file"), not $expected"
  found=$(xdg-mime query filetype "$file")
  [ "$found" = "$expected" ] || problem "xdg-mime names $found for $(basename "$file"), not $expected"
  "$usr/bin/zadanix" check "$file" >/dev/null || problem "the installed zadanix cannot read $(basename "$file")"
done <"$work/kinds"
found=$(gio info -a standard::content-type "$work/samples/no-extension" | sed -n 's/^ *standard::content-type: //p')
[ "$found" = application/x-pak ] || problem "gio names $found for a PACK file without extension"

# The manual pages format without warnings.
for page in zadanix zadanix-edytor; do
  out=$(MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$out" ] || problem "man $page: $out"
done
[ $status -eq 0 ] && echo "install: $(wc -l <"$work/installed") files, all checks passed"
exit $status
