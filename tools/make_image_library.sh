#!/bin/sh
# Packs a folder of deep-sky pictures into the Info page's image library.
#
#   tools/make_image_library.sh DIR OUT
#
# DIR holds pictures named after their object: M1..M110 and C1..C109, with
# the extension jpg (or jpeg), png or gif in any case, such as M31.jpg or
# C14.png. Other files are skipped with a note. OUT (Celestra.mes, say) is a
# Qt binary resource file with the pictures under /deepsky, named M31.jpg and
# so on; put it in the data folder or serve it from the project website.
#
# rcc is the one of Qt 6: $RCC when set, else found through qtpaths6 or in
# /usr/lib/qt6/libexec. The pictures are stored uncompressed (they are
# compressed already, and so the file loads in any Qt 6 build).
set -eu

if [ $# -ne 2 ]; then
    echo "usage: $0 DIR OUT" >&2
    exit 2
fi
dir=$1
out=$2
[ -d "$dir" ] || { echo "$0: $dir is not a folder" >&2; exit 2; }

rcc=${RCC:-}
if [ -z "$rcc" ] && command -v qtpaths6 >/dev/null 2>&1; then
    libexec=$(qtpaths6 --query QT_HOST_LIBEXECS 2>/dev/null || true)
    [ -n "$libexec" ] && [ -x "$libexec/rcc" ] && rcc=$libexec/rcc
fi
[ -z "$rcc" ] && [ -x /usr/lib/qt6/libexec/rcc ] && rcc=/usr/lib/qt6/libexec/rcc
[ -n "$rcc" ] || { echo "$0: no Qt 6 rcc found; set RCC" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
absdir=$(cd "$dir" && pwd)

# Each picture is linked into the work folder under its name in the library,
# so the .qrc names plain files and needs no escaping.
count=0
for path in "$absdir"/*; do
    [ -f "$path" ] || continue
    name=${path##*/}
    stem=${name%.*}
    ext=$(printf '%s' "${name##*.}" | tr 'A-Z' 'a-z')
    [ "$ext" = jpeg ] && ext=jpg
    catalogue=$(printf '%s' "$stem" | cut -c1 | tr 'mc' 'MC')
    number=$(printf '%s' "$stem" | cut -c2-)
    case "$ext" in jpg | png | gif) ;; *) echo "skipped $name: not jpg, png or gif" >&2; continue ;; esac
    case "$number" in '' | *[!0-9]*) echo "skipped $name: not M<n> or C<n>" >&2; continue ;; esac
    number=$(printf '%s' "$number" | sed 's/^0*//')  # M031 is M31
    case "$number" in '' | ????*) echo "skipped $name: not in the catalogue" >&2; continue ;; esac
    case "$catalogue" in
        M) last=110 ;;
        C) last=109 ;;
        *) echo "skipped $name: not M<n> or C<n>" >&2; continue ;;
    esac
    if [ "$number" -lt 1 ] || [ "$number" -gt "$last" ]; then
        echo "skipped $name: $catalogue$number is not in the catalogue" >&2
        continue
    fi
    alias=$catalogue$number.$ext
    if [ -e "$work/$alias" ]; then
        echo "skipped $name: $alias is already in the library" >&2
        continue
    fi
    ln -s "$path" "$work/$alias"
    count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "$0: no pictures in $dir" >&2; exit 1; }

{
    echo '<RCC>'
    echo '  <qresource prefix="/deepsky">'
    for path in "$work"/*; do
        case "$path" in *.qrc) continue ;; esac
        echo "    <file>${path##*/}</file>"
    done
    echo '  </qresource>'
    echo '</RCC>'
} >"$work/library.qrc"

"$rcc" --binary --no-compress "$work/library.qrc" -o "$out"
echo "$out: $count pictures"
