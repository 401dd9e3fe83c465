#!/usr/bin/env bash
# Installs into a scratch prefix and checks what a user gets: the program directory, launchers
# that reach it, a valid desktop launcher and icon; a reinstall that leaves the contacts alone;
# an uninstall that removes the programs and keeps the contacts.
set -euo pipefail
build=$1
source_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/home dir/.local" # a blank in the path, as user names allow
export XDG_CONFIG_HOME="$scratch/config"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
program_dir="$prefix/lib/tortavela"
for file in Agendela Avisela libavisela_windows.so Cumple.WAV GUIA.md; do
    [ -f "$program_dir/$file" ] || fail "$file is not in the program directory"
done
for program in Agendela Avisela; do
    [ "$(readlink -f "$prefix/bin/$program")" = "$(readlink -f "$program_dir/$program")" ] ||
        fail "the launcher $program does not reach the program"
done
desktop="$prefix/share/applications/tortavela.desktop"
desktop-file-validate "$desktop" || fail "the desktop launcher does not validate"
grep -qx "Exec=\"$prefix/bin/Agendela\"" "$desktop" || fail "Exec does not name the launcher"
[ -f "$prefix/share/icons/hicolor/256x256/apps/tortavela.png" ] || fail "no icon"

# The daily timer: its units where the systemd user instance looks, the service starting the
# reminder of this install, both valid for systemd itself.
units="$prefix/share/systemd/user"
service="$units/tortavela-avisela.service"
timer="$units/tortavela-avisela.timer"
[ -f "$service" ] && [ -f "$timer" ] || fail "the daily timer's units are not installed"
grep -qx "ExecStart=\"$program_dir/Avisela\"" "$service" || fail "ExecStart does not name Avisela"
grep -qx "Persistent=true" "$timer" || fail "the timer is not persistent"
grep -q "^OnCalendar=" "$timer" || fail "the timer has no calendar"
command -v systemd-analyze >/dev/null || fail "systemd-analyze is not installed (Debian's systemd)"
mkdir -m 700 "$scratch/runtime"
XDG_RUNTIME_DIR="$scratch/runtime" systemd-analyze verify --user "$timer" "$service" ||
    fail "systemd-analyze does not accept the units"
grep -qxF "$service" "$program_dir/installed-files.txt" || fail "the service is not listed"
grep -qxF "$timer" "$program_dir/installed-files.txt" || fail "the timer is not listed"

# Contacts, markers and the remembered day survive a reinstall byte for byte.
printf 'Ana\247\24730\24705/03\247\247\247\247\247\r\n' >"$program_dir/data.tvl"
touch "$program_dir/08122026§Ana§Anita" "$program_dir/812.tvl"
before=$(sha256sum "$program_dir/data.tvl")
cmake --install "$build" --prefix "$prefix" >/dev/null
[ "$(sha256sum "$program_dir/data.tvl")" = "$before" ] || fail "the reinstall changed data.tvl"
[ -f "$program_dir/08122026§Ana§Anita" ] || fail "the reinstall removed a marker"

mkdir -p "$XDG_CONFIG_HOME/autostart"
touch "$XDG_CONFIG_HOME/autostart/Tortavela.desktop" "$program_dir/daily-timer-enabled"
echo 2026-12-07 >"$program_dir/ages-up-to-date.txt"
# A stand-in systemd user instance that answers and records what it is asked: the uninstall must
# stop the timer there, and no test may touch the real one.
mkdir "$scratch/bin"
printf '#!/bin/sh\necho "$*" >>"%s"\n' "$scratch/systemctl-calls" >"$scratch/bin/systemctl"
chmod +x "$scratch/bin/systemctl"
output=$(PATH="$scratch/bin:$PATH" TORTAVELA_PREFIX="$prefix" "$source_dir/setup.sh" uninstall)
echo "$output" | grep -q "data.tvl" || fail "the uninstall does not say where the contacts are"
[ "$(sha256sum "$program_dir/data.tvl")" = "$before" ] || fail "the uninstall touched data.tvl"
for gone in "$program_dir/Agendela" "$program_dir/libavisela_windows.so" "$program_dir/GUIA.md" \
    "$prefix/bin/Agendela" \
    "$desktop" "$XDG_CONFIG_HOME/autostart/Tortavela.desktop" \
    "$prefix/share/icons/hicolor/256x256/apps/tortavela.png" "$program_dir/installed-files.txt" \
    "$service" "$timer" "$program_dir/daily-timer-enabled"; do
    [ ! -e "$gone" ] && [ ! -L "$gone" ] || fail "the uninstall left $gone"
done
grep -qx -- "--user disable --now tortavela-avisela.timer" "$scratch/systemctl-calls" ||
    fail "the uninstall did not stop the daily timer"
# The contacts' own files stay: the markers and the day the ages were brought up to date.
[ -f "$program_dir/08122026§Ana§Anita" ] || fail "the uninstall removed a marker"
[ "$(cat "$program_dir/ages-up-to-date.txt")" = 2026-12-07 ] || fail "the uninstall removed the day"
echo "install layout: passed"
