#!/usr/bin/env bash
# Checks the files of the package against each other and against the code:
#   check-package-files.sh VERSION QUORVELCTL QUORVEL QUORVEL_DEMO
# VERSION is the project's version, the others the built programs.
# - every icon size that scripts/make-icons.sh makes is committed, at its size,
#   and the Windows programs' icon holds the sizes it is made of;
# - debian/changelog, the metainfo's newest release and the manual pages carry
#   VERSION, and the metainfo and debian/control name the same homepage;
# - every command and option that quorvelctl understands is in its --help text
#   and in its manual page;
# - every option of the window programs' --help is in their manual page and
#   every option that page names is in a --help, and every environment
#   variable the window programs read is in the page;
# - the autostart entry, which stays behind as a conffile when the package is
#   removed, starts nothing without the program (TryExec);
# - the package recommends a font with Chinese characters, which a clean
#   install lacks;
# - the menu entry names the class of the program's windows (StartupWMClass),
#   which is the program's name, so that docks tie the windows to it.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$1
quorvelctl=$2
quorvel=$3
quorvel_demo=$4
status=0
fail() {
  echo "check-package-files: $*" >&2
  status=1
}

# Width and height from the PNG header (IHDR), as decimal numbers.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}
sizes=$(bash scripts/make-icons.sh --sizes)
for size in $sizes; do
  png=res/icons/hicolor/${size}x${size}/apps/quorvel.png
  if [ ! -f "$png" ]; then
    fail "$png is missing (run scripts/make-icons.sh)"
  elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
    fail "$png is $(png_size "$png"), not ${size}x${size}"
  fi
done
for folder in res/icons/hicolor/*/; do
  name=$(basename "$folder")
  [ "$name" = scalable ] || [[ " $sizes " == *" ${name%%x*} "* ]] || fail "$folder is not a size make-icons.sh makes"
done

# The sizes of an .ico file's images, from its directory (a width of 0 is 256).
ico_sizes() {
  local count i width
  count=$(od -An -tu2 -j4 -N2 "$1" | tr -d ' ')
  for ((i = 0; i < count; i++)); do
    width=$(od -An -tu1 -j$((6 + 16 * i)) -N1 "$1" | tr -d ' ')
    printf '%d ' $((width == 0 ? 256 : width))
  done
}
[ "$(ico_sizes res/windows/quorvel.ico)" = "16 32 48 256 " ] ||
  fail "res/windows/quorvel.ico does not hold the sizes 16, 32, 48 and 256 (run scripts/make-icons.sh)"

metainfo=$(ls metainfo/*.metainfo.xml)
[ "$(sed -n '1s/^[^(]*(\([^)]*\)).*/\1/p' debian/changelog)" = "$version" ] || fail "debian/changelog is not at $version"
[ "$(grep -o '<release version="[^"]*"' "$metainfo" | head -1)" = "<release version=\"$version\"" ] ||
  fail "the newest release of $metainfo is not $version"
for page in man/*.1; do
  head -1 "$page" | grep -q '^\.so ' && continue
  grep -q "^\.TH .*\"Quorvel $version\"" "$page" || fail "$page is not at version $version"
done
homepage=$(sed -n 's/^Homepage: //p' debian/control)
grep -qF "<url type=\"homepage\">$homepage</url>" "$metainfo" || fail "$metainfo and debian/control name different homepages"

# The autostart entry stays in /etc/xdg/autostart after "apt remove" (a
# conffile goes with "apt purge" only): TryExec keeps it from starting the
# program it no longer finds.
autostart=res/desktop/quorvel-autostart.desktop
started=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$autostart")
[ -n "$started" ] && [ "$(sed -n 's/^TryExec=//p' "$autostart")" = "$started" ] ||
  fail "$autostart has no TryExec=$started"
# The interface speaks Chinese in two scripts; without a font that has them it
# draws boxes.
grep -Eq '^Recommends:.*[ ,]fonts-noto-cjk \| fonts-wqy-microhei(,|$)' debian/control ||
  fail "debian/control does not recommend a Chinese font (fonts-noto-cjk | fonts-wqy-microhei)"

# The program's windows are of the class that is its name (the entry's Name);
# the desktop test holds a running program's windows against the entry.
menu=res/desktop/io.github.quorvel.Quorvel.desktop
[ "$(sed -n 's/^StartupWMClass=//p' "$menu")" = "$(sed -n 's/^Name=//p' "$menu")" ] ||
  fail "$menu has no StartupWMClass naming the program's windows ($(sed -n 's/^Name=//p' "$menu"))"

# quorvelctl's words: the literals its option parser compares with.
help=$("$quorvelctl" --help)
manual=$(sed 's/\\-/-/g' man/quorvelctl.1)
words=$(grep -o 'argument == "[^"]*"' tools/quorvelctl/options.cpp | sed 's/.*"\(.*\)"/\1/' | sort -u)
[ -n "$words" ] || fail "found no options in tools/quorvelctl/options.cpp"
for word in $words; do
  grep -qw -e "$word" <<<"$help" || fail "quorvelctl --help does not mention $word"
  grep -qw -e "$word" <<<"$manual" || fail "man/quorvelctl.1 does not mention $word"
done
# The window programs and their page (quorvel-demo.1 is a link to it). The
# options are those of --help, which needs no display; the page's are those
# its OPTIONS section names.
page=man/quorvel.1
section() { sed -n "/^\.SH $1\$/,/^\.SH /p" "$page" | sed 's/\\-/-/g'; }
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$quorvel" --help; env -u DISPLAY -u WAYLAND_DISPLAY "$quorvel_demo" --help)
options=$(section OPTIONS)
for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
  grep -qw -e "$option" <<<"$options" || fail "$page does not name $option of the programs' --help"
done
for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$options" | sort -u); do
  grep -qw -e "$option" <<<"$help" || fail "$page names $option, which no --help of the programs has"
done
# The variables the code of the window programs reads by name.
environment=$(section ENVIRONMENT)
variables=$(grep -rhoE '(getenv|qgetenv|EnvironmentValue|XdgSearchPath)\("[A-Z_]+"' src/system/linux src/qt \
  src/hid/trace programs/quorvel programs/quorvel-demo | sed 's/.*("//; s/"$//' | sort -u)
[ -n "$variables" ] || fail "found no environment variables in the programs' code"
for variable in $variables; do
  grep -qw -e "$variable" <<<"$environment" || fail "$page does not name $variable in ENVIRONMENT"
done
exit $status
