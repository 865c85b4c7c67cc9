#!/usr/bin/env bash
# The Windows installer under Wine, in the Wine prefix of the caller
# ($WINEPREFIX, made already): a silent install puts the programs, the
# Start-menu shortcut, the start at sign-in and the Apps & features entry in
# place; the installed programs keep the user's data in %APPDATA%\Quorvel,
# seeded from the factory files; a reinstall keeps what the user changed
# there, and a start at sign-in the user turned off stays off; a silent
# uninstall takes everything away but the user's data.
# Usage: installer_test.sh SETUP_EXE WINDOW_DRIVER   (on a display)
# The prefix is the test's own: the program's data left there by an earlier
# run is removed first.
set -euo pipefail
setup=$(realpath "$1")
driver=$(realpath "$2")
: "${WINEPREFIX:?the Wine prefix to install into}"

fail() { echo "FAIL: $*" >&2; exit 1; }
# A folder of the Windows user's, as a Unix path.
user_folder() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')" | sed 's:/$::'; }

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_value='Quorvel Gaming Mouse'
entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel'
appdata=$(user_folder APPDATA)
install_dir=$(user_folder LOCALAPPDATA)/Programs/Quorvel
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Quorvel.lnk"
data="$appdata/Quorvel"
install_dir_w=$(winepath -w "$install_dir")
run_command="\"$install_dir_w\\quorvel.exe\" --autostart"
work=$(mktemp -d)
program=
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$work"' EXIT

run_value_now() { wine reg query "$run_key" /v "$run_value" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$run_value *REG_SZ *//p"; }
entry_value() { wine reg query "$entry" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
ctl() { wine "$install_dir/quorvelctl.exe" "$@" | tr -d '\r'; }

rm -rf "$data" "$appdata/quorvel-demo"

echo "installer: silent install"
wine "$setup" /S || fail "the silent install ended with status $?"
for file in quorvel.exe quorvel-demo.exe quorvelctl.exe Uninstall.exe installed.txt README.txt LICENSE.txt \
  factory/config.bin factory/str.ini Skins/Default/main.png; do
  [ -f "$install_dir/$file" ] || fail "not installed: $file"
done
for file in config.bin str.ini record.ini; do
  [ ! -e "$install_dir/$file" ] || fail "$file lies beside the installed programs"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut at $shortcut"
[ "$(run_value_now)" = "$run_command" ] || fail "Run value: '$(run_value_now)', not '$run_command'"
for name in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize NoModify NoRepair; do
  [ -n "$(entry_value "$name")" ] || fail "the uninstall entry has no $name"
done
[ "$(entry_value DisplayName)" = Quorvel ] || fail "DisplayName: $(entry_value DisplayName)"
[ "$(entry_value UninstallString)" = "\"$install_dir_w\\Uninstall.exe\"" ] ||
  fail "UninstallString: $(entry_value UninstallString)"
[ "$(entry_value QuietUninstallString)" = "\"$install_dir_w\\Uninstall.exe\" /S" ] ||
  fail "QuietUninstallString: $(entry_value QuietUninstallString)"

echo "installer: the installed programs keep their data in %APPDATA%\\Quorvel"
ctl --help | grep -qF '%APPDATA%\Quorvel' || fail "quorvelctl --help does not name %APPDATA%\\Quorvel"
[ -z "$(ctl macro list)" ] || fail "the factory record.ini holds macros"
cmp "$data/config.bin" "$install_dir/factory/config.bin" || fail "%APPDATA%\\Quorvel\\config.bin is not the factory's"
cmp "$data/str.ini" "$install_dir/factory/str.ini" || fail "%APPDATA%\\Quorvel\\str.ini is not the factory's"
ctl --simulate apply >/dev/null || fail "quorvelctl --simulate apply failed on the seeded data"
printf 'A   Dn\n50 ms\nA   Up\n' >"$work/macro.txt"
ctl macro add Mine "$(winepath -w "$work/macro.txt")" || fail "quorvelctl macro add failed"
wine "$install_dir/quorvel-demo.exe" --screenshot "$(winepath -w "$work/demo.png")" ||
  fail "the installed demo took no picture"
[ -s "$work/demo.png" ] || fail "the installed demo's picture is empty"
[ -f "$appdata/quorvel-demo/config.bin" ] || fail "the demo's data folder was not seeded"
# The start at sign-in, as the Run value has it: the program stays in the
# notification area (no mouse under Wine: a balloon says so), and its tray
# menu's Exit ends it.
wine "$install_dir/quorvel.exe" --autostart &
program=$!
wine "$driver" wait QRVL_GamingMouseClass exists 60000
wine "$driver" wait QRVL_GamingMouseClass hidden 5000
wine "$driver" exit QRVL_GamingMouseClass
status=0
wait "$program" || status=$?
program=
[ "$status" -eq 0 ] || fail "the installed quorvel.exe --autostart ended with status $status"
for file in config.bin str.ini record.ini demo; do
  [ ! -e "$install_dir/$file" ] || fail "an installed program wrote $file beside itself"
done

echo "installer: a reinstall keeps the user's data"
(cd "$appdata" && find Quorvel quorvel-demo -type f -exec md5sum {} + | sort) >"$work/data.before"
wine "$setup" /S || fail "the silent reinstall ended with status $?"
(cd "$appdata" && find Quorvel quorvel-demo -type f -exec md5sum {} + | sort) >"$work/data.after"
diff "$work/data.before" "$work/data.after" || fail "the reinstall changed the user's data"
[ "$(ctl macro list)" = Mine ] || fail "the macro added before the reinstall is gone"
[ "$(run_value_now)" = "$run_command" ] || fail "the reinstall lost the Run value"
# Turned off since (as the tray item does it), the start at sign-in stays off.
wine reg delete "$run_key" /v "$run_value" /f >/dev/null
wine "$setup" /S || fail "the second reinstall ended with status $?"
[ -z "$(run_value_now)" ] || fail "a reinstall turned the start at sign-in back on"
# Back on from the tray item: the uninstaller takes it away.
wine reg add "$run_key" /v "$run_value" /d "$run_command" /f >/dev/null

echo "installer: silent uninstall"
wine "$install_dir/Uninstall.exe" /S || fail "the silent uninstall ended with status $?"
# The uninstaller runs from a copy of itself in the temporary folder and
# returns at once: wait for it to take the program folder and, last, the
# uninstall entry away (a minute at most).
for _ in $(seq 120); do
  [ ! -e "$install_dir" ] && ! wine reg query "$entry" >/dev/null 2>&1 && break
  sleep 0.5
done
[ ! -e "$install_dir" ] || fail "the program folder is still there: $(ls -A "$install_dir")"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
[ -z "$(run_value_now)" ] || fail "the Run value is still there"
if wine reg query "$entry" >/dev/null 2>&1; then fail "the uninstall entry is still there"; fi
[ -f "$data/config.bin" ] && [ -f "$data/str.ini" ] || fail "the uninstaller took the user's data"
grep -q Mine "$data/record.ini" || fail "the user's macro is gone"
echo "installer: installs, reinstalls and uninstalls for the user alone and keeps the user's data"
