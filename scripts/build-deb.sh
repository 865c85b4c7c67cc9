#!/usr/bin/env bash
# Builds the Debian package (dpkg-buildpackage on a copy of the tree in
# build-deb/) and checks it: lintian without errors, valid metainfo and desktop
# entries, the files a user needs in the package, what removing it leaves, the
# fonts it recommends, and programs that answer --version once unpacked.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
started=$SECONDS

bash scripts/install-deps.sh debhelper lintian appstream desktop-file-utils

fail() {
  echo "build-deb: $*" >&2
  exit 1
}

version=$(dpkg-parsechangelog -S Version)
project_version=$(sed -n 's/^project(Quorvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$version" = "$project_version" ] || fail "debian/changelog says $version, CMakeLists.txt $project_version"

# The same folder every time, so that ccache finds what it compiled before
# (debhelper gives the build a home of its own, so the cache is named here).
work=$top/build-deb
source_copy=$work/quorvel-$version
rm -rf "$work"
mkdir -p "$source_copy"
if [ -d .git ] || [ -f .git ]; then
  git ls-files --cached --others --exclude-standard -z | tar --null -T - --ignore-failed-read -cf - | tar -xf - -C "$source_copy"
else
  tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$source_copy"
fi
if command -v ccache >/dev/null; then
  CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
  export CCACHE_DIR
fi

echo "build-deb: building quorvel $version in $work" >&2
if ! (cd "$source_copy" && dpkg-buildpackage -b -us -uc -j"$(nproc)") >"$work/build.log" 2>&1; then
  tail -40 "$work/build.log" >&2
  fail "dpkg-buildpackage failed; the whole log is $work/build.log"
fi
deb=$(ls "$work"/quorvel_"$version"_*.deb)
changes=$(ls "$work"/quorvel_"$version"_*.changes)

echo "build-deb: lintian" >&2
lintian --fail-on error --display-info "$changes" || fail "lintian found errors"

contents=$work/contents.txt
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$contents"
expected=(
  /usr/bin/quorvel /usr/bin/quorvel-demo /usr/bin/quorvelctl
  /usr/share/quorvel/factory/config.bin /usr/share/quorvel/factory/str.ini
  /usr/share/quorvel/Skins/Default/main.png /usr/share/quorvel/Skins/Default/main@2x.png
  /usr/share/quorvel/Skins/Ember/main.png /usr/share/quorvel/Skins/Ember/skins@2x.png
  /usr/share/icons/hicolor/scalable/apps/quorvel.svg
  /usr/share/man/man1/quorvel.1.gz /usr/share/man/man1/quorvel-demo.1.gz /usr/share/man/man1/quorvelctl.1.gz
  /usr/share/bash-completion/completions/quorvelctl
  /usr/share/metainfo/io.github.quorvel.Quorvel.metainfo.xml
  /usr/share/applications/io.github.quorvel.Quorvel.desktop
  /etc/xdg/autostart/io.github.quorvel.Quorvel.desktop
  /usr/lib/udev/rules.d/70-quorvel.rules
  /usr/share/doc/quorvel/copyright
)
for size in $(bash scripts/make-icons.sh --sizes); do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/quorvel.png")
done
missing=0
for file in "${expected[@]}"; do
  if ! grep -qxF "$file" "$contents"; then
    echo "build-deb: the package lacks $file" >&2
    missing=1
  fi
done
[ $missing -eq 0 ] || fail "files are missing from $deb"
outside=$(grep -v -e '^/usr/' -e '^/etc/xdg/autostart/' -e '/$' "$contents" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

root=$work/root
dpkg -x "$deb" "$root"
# What "apt remove" leaves behind: the autostart entry, a conffile, which
# TryExec keeps from starting the removed program; "apt purge" takes it too.
dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./conffiles >"$work/conffiles"
grep -qxF /etc/xdg/autostart/io.github.quorvel.Quorvel.desktop "$work/conffiles" ||
  fail "the autostart entry is not a conffile"
grep -qx 'TryExec=quorvel' "$root"/etc/xdg/autostart/io.github.quorvel.Quorvel.desktop ||
  fail "the autostart entry has no TryExec=quorvel"
[[ "$(dpkg-deb -f "$deb" Recommends)" == *"fonts-noto-cjk | fonts-wqy-microhei"* ]] ||
  fail "the package does not recommend a Chinese font"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "the metainfo is not valid"
desktop-file-validate "$root"/usr/share/applications/*.desktop "$root"/etc/xdg/autostart/*.desktop ||
  fail "a desktop entry is not valid"

# The programs as the package installs them. The window programs get a home
# of their own, in case they start instead of answering.
answer=$("$root/usr/bin/quorvelctl" --version) || fail "quorvelctl --version failed"
[ "$answer" = "quorvelctl $version" ] || fail "quorvelctl --version says '$answer'"
echo "build-deb: quorvelctl --version: $answer" >&2
home=$work/home
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
for program in quorvel quorvel-demo; do
  answer=$(HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/runtime QT_QPA_PLATFORM=offscreen \
    timeout 10 "$root/usr/bin/$program" --version 2>/dev/null) || true
  if [[ "$answer" == *"$version"* ]]; then
    echo "build-deb: $program --version: $answer" >&2
  else
    echo "build-deb: NOTE: $program does not answer --version yet (said '$answer')" >&2
  fi
done

echo "build-deb: $deb is fine ($((SECONDS - started)) s)" >&2
