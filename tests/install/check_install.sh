#!/bin/sh
# Installs the build into a temporary prefix and checks that a Linux desktop
# finds what it needs there: the program, its resources, its menu entry, its
# icon and the type of ".books" documents; then uninstalls as the README says
# and checks that nothing of the program is left. Exits 77 (skipped) when the
# shared-mime-info tools are missing.
# Usage: check_install.sh <build folder>
set -eu
build=$1
command -v update-mime-database >/dev/null 2>&1 || { echo "update-mime-database is missing"; exit 77; }

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
for f in bin/countinghouse \
         share/countinghouse/strings/en.strings \
         share/countinghouse/help/index.html \
         share/countinghouse/help/help.css \
         share/countinghouse/defaultObjects.plist \
         share/countinghouse/icons/countinghouse-48.png \
         share/applications/countinghouse.desktop \
         share/mime/packages/countinghouse.xml \
         share/icons/hicolor/scalable/apps/countinghouse.svg \
         share/icons/hicolor/48x48/apps/countinghouse.png \
         share/icons/hicolor/256x256/apps/countinghouse.png; do
  [ -f "$prefix/$f" ] || { echo "missing after install: $f"; fail=1; }
done
[ -x "$prefix/bin/countinghouse" ] || { echo "the program is not executable"; fail=1; }
grep -qx 'MimeType=application/x-countinghouse-books;' "$prefix/share/applications/countinghouse.desktop" \
  || { echo "the menu entry does not name the document type"; fail=1; }
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$prefix/share/applications/countinghouse.desktop" || fail=1
fi

# The MIME database built from the installed package knows the extension.
update-mime-database "$prefix/share/mime"
grep -q '^[0-9]*:application/x-countinghouse-books:\*\.books$' "$prefix/share/mime/globs2" \
  || { echo "the MIME database has no *.books glob"; fail=1; }

# And a desktop asked about a document names its type.
if command -v xdg-mime >/dev/null 2>&1; then
  document="$prefix/Household 2025.books"
  printf 'books' > "$document"
  type=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
         HOME="$prefix" XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share" \
         xdg-mime query filetype "$document")
  [ "$type" = "application/x-countinghouse-books" ] || { echo "xdg-mime names the document $type"; fail=1; }
fi

# Uninstalling as the README says: the files the install wrote, then the
# program's own folders left empty. With the prefix ~/.local the program's
# folder is also where the user keeps import definitions and contacts: they stay.
kept="$prefix/share/countinghouse/IOFile Descriptors/My bank.plist"
mkdir -p "$(dirname "$kept")"
printf 'kept' > "$kept"
xargs -d '\n' rm -f -- < "$build/install_manifest.txt"
find "$prefix/share/countinghouse" -depth -type d -empty -delete
while IFS= read -r installed; do
  [ ! -e "$installed" ] || { echo "left after uninstalling: $installed"; fail=1; }
done < "$build/install_manifest.txt"
[ -f "$kept" ] || { echo "uninstalling removed the user's import definition"; fail=1; }
left=$(find "$prefix/share/countinghouse" -mindepth 1 ! -path "*/IOFile Descriptors*")
[ -z "$left" ] || { echo "left in share/countinghouse after uninstalling: $left"; fail=1; }
exit $fail
