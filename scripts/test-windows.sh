#!/usr/bin/env bash
# The Windows stage of ./test.sh. Cross-builds the 64-bit Windows programs
# and their packages (Qt for Windows goes into its cache the first time),
# then, all under wine64 with Wine prefixes inside the Windows build folder:
#   - the cross-built test programs, against the Linux km207-sim over UDP and
#     over a serial line (a COM port of the prefix linked to its
#     pseudo-terminal);
#   - km207.exe: identify over UDP and over the serial line, scan, and a
#     backup of one emulator restored into another (transcript kept);
#   - W_KM207.exe under Xvfb: the connection dialog with its default settings
#     reaches the emulator, which must have been asked for its identification
#     (screenshots into the Windows build folder's shots/);
#   - the resources of every program and driver (version information,
#     manifest, icon) read back from the installed files, and their sizes;
#   - km207.exe with the test driver that crashes, hangs or is missing, run
#     in the 64-bit driver host: the reason it gives;
#   - the installer, silently into a fresh prefix; the installed km207.exe
#     identifies the emulator; the Start menu entry starts W_KM207.exe
#     (screenshot); the uninstaller must leave no file and no registry key
#     behind;
#   - an upgrade over an earlier release's installer leaves one Start menu
#     entry and one uninstall key.
#
#   scripts/test-windows.sh [LINUX_BUILD_DIR [WINDOWS_BUILD_DIR [SHOTS_DIR]]]
#
# LINUX_BUILD_DIR (default build) provides km207-sim; WINDOWS_BUILD_DIR
# defaults to build-win64; SHOTS_DIR, where the screenshots go, to its
# shots/. The stage writes nothing into the work tree: the pictures kept in
# the repository are refreshed on purpose by tools/windows_screenshots.sh.
# Ends with one line giving the count of tests that ran as Windows programs.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
linux_build=$(realpath "${1:-$here/build}")
wb=$(realpath -m "${2:-$here/build-win64}")
sim=$linux_build/bin/km207-sim
shots=$(realpath -m "${3:-$wb/shots}")
started=$(date +%s)

say() { printf '== windows: %s\n' "$*"; }
fail() { printf 'test-windows.sh: %s\n' "$*" >&2; exit 1; }

[ -x "$sim" ] || fail "no $sim (build the Linux tree first)"
# The 64-bit loader directly: plain `wine` may choose the 32-bit one, which
# this kind of machine cannot start.
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
[ -x "$wine64" ] || fail "wine64 is missing (scripts/install-deps.sh installs it)"
export WINEDEBUG=-all
# No Mono or Gecko installation dialogs in a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

say "cross build and packages"
"$here/scripts/build-windows.sh" "$wb" --package
exe_dir=$wb/bin
version=$(sed -n 's/^project(km207 VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
installer=$wb/km207-$version-win64.exe
[ -f "$installer" ] || fail "no $installer"
# The installer of an earlier release, for the upgrade below.
(cd "$wb" && cpack --config CPackConfig-previous.cmake -G NSIS >/dev/null)
previous=$wb/previous-installer/km207-1.1.0-win64.exe
[ -f "$previous" ] || fail "no $previous"

tmp=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for prefix in "$wb"/wine-*; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# new_prefix NAME: an empty Wine prefix in the build folder, ready.
new_prefix() {
    local p=$wb/wine-$1
    WINEPREFIX=$p "$wineserver" -k 2>/dev/null || true
    rm -rf "$p"
    WINEPREFIX=$p "$wine64" wineboot --init >/dev/null 2>&1
    WINEPREFIX=$p "$wineserver" -w
    echo "$p"
}

# start_sim NAME OPTIONS...: a Linux km207-sim on a free UDP port of
# 127.0.0.1; sets SIM_UDP (port) and SIM_PTY (its pseudo-terminal).
start_sim() {
    local name=$1
    shift
    "$sim" --udp-port 0 --verbose "$@" >"$tmp/$name.out" 2>"$tmp/$name.err" &
    pids+=($!)
    for _ in $(seq 200); do
        grep -q '^ready' "$tmp/$name.out" 2>/dev/null && break
        sleep 0.05
    done
    grep -q '^ready' "$tmp/$name.out" || fail "km207-sim did not start: $(cat "$tmp/$name.err")"
    SIM_UDP=$(sed -n 's/^udp: .*:\([0-9]*\)$/\1/p' "$tmp/$name.out" | head -n1)
    SIM_PTY=$(sed -n 's/^pty: //p' "$tmp/$name.out" | head -n1)
}

count=0

# 1. The cross-built test programs.
say "test programs"
runner=$here/tests/wine/run-tests.sh
if [ -x "$runner" ]; then
    "$runner" "$wb" --sim "$sim" | tee "$tmp/tests.log"
    summary=$(grep -E '^wine: [0-9]+ passed' "$tmp/tests.log" | tail -n1)
    [ -n "$summary" ] || fail "the test runner gave no summary"
    passed=$(sed -E 's/^wine: ([0-9]+) passed.*/\1/' <<<"$summary")
    failed=$(sed -E 's/^wine: [0-9]+ passed, ([0-9]+) failed.*/\1/' <<<"$summary")
    count=$((passed + failed))
else
    fail "no $runner"
fi

# 2. km207.exe over UDP and over the serial line, scan, backup and restore.
say "km207.exe"
prefix=$(new_prefix cli)
export WINEPREFIX=$prefix
start_sim a --name "SIM-A   " --mode 1
udp_a=$SIM_UDP
ln -sfn "$SIM_PTY" "$prefix/dosdevices/com3"
start_sim b --address 5 --name "SIM-B   "
udp_b=$SIM_UDP
transcript=$wb/windows-transcript.txt
: >"$transcript"
run() {
    printf '$ %skm207.exe %s\n' "${KM207_DRIVER_HOST:+KM207_DRIVER_HOST=1 }" "$*" >>"$transcript"
    local rc=0
    (cd "$tmp" && timeout 120 "$wine64" "$exe_dir/km207.exe" "$@") >>"$transcript" 2>&1 || rc=$?
    printf '[exit %s]\n' "$rc" >>"$transcript"
    count=$((count + 1))
    return $rc
}
lan_a=(--kind lan --ip 127.0.0.1 --udp-port "$udp_a")
lan_b=(--kind lan --ip 127.0.0.1 --udp-port "$udp_b")
run identify "${lan_a[@]}"
run identify --kind com --port 3
# The same driver through the 64-bit driver host instead of in process.
KM207_DRIVER_HOST=1 run identify "${lan_a[@]}"
run scan "${lan_b[@]}" --addresses 0-7
run backup 'C:\users\Public\km207-a.cfg' "${lan_a[@]}"
run restore 'C:\users\Public\km207-a.cfg' "${lan_b[@]}" --address 5
run backup 'C:\users\Public\km207-b.cfg' "${lan_b[@]}" --address 5
cat "$transcript"
grep -q 'SIM-A' "$transcript" || fail "km207.exe did not identify the emulator"
# The second module now holds the first one's configuration: the files
# differ only in the identification and the time of reading.
strip_id() { grep -v -E '^(#|modul|precteno)' "$1"; }
diff <(strip_id "$prefix/drive_c/users/Public/km207-a.cfg") \
    <(strip_id "$prefix/drive_c/users/Public/km207-b.cfg") >>"$transcript" ||
    fail "the restored module differs from the backup"
"$wineserver" -w

# km207.exe where the library crashes, hangs, or is missing beside it, run in
# the 64-bit driver host: the reason beside the code's text. Each folder
# holds the tool, its runtime and the host.
faults=$prefix/drive_c/faults
rm -rf "$faults"
control=$(find "$wb/tests-bin" -name '*fake_control.dll' | head -n1)
[[ -n "$control" ]] || fail "no fake_control DLL in $wb/tests-bin"
for kind in crash hang missing; do
    mkdir -p "$faults/$kind"
    cp "$exe_dir"/{km207.exe,km207-driverhost64.exe,Qt6Core.dll,libstdc++-6.dll,libgcc_s_seh-1.dll,libwinpthread-1.dll} "$faults/$kind/"
done
cp "$wb/standin/crash/KSER410.DLL" "$control" "$faults/crash/"
cp "$wb/standin/hang/KL4100.DLL" "$control" "$faults/hang/"
reason() {
    local out
    # The working folder holds the real drivers: never loaded from there.
    out=$(cd "$exe_dir" && KM207_DRIVER_HOST=1 timeout 120 "$wine64" "C:\\faults\\$1\\km207.exe" identify "${@:2}" 2>&1)
    printf '$ KM207_DRIVER_HOST=1 C:\\faults\\%s\\km207.exe identify %s\n%s\n' "$1" "${*:2}" "$out" >>"$transcript"
    sed -n 's/\r$//; s/^km207: Důvod: //p' <<<"$out"
}
why=$(reason crash --kind com --port 1 --address 99)
say "crash: $why"
[ "$why" = "knihovna ovladače havarovala (výjimka 0xC0000005)" ] || fail "crash: no reason"
why=$(reason hang --kind lan --ip 127.0.0.1 --udp-port "$udp_a" --timeout 10 --address 99)
say "hang: $why"
[ "$why" = "knihovna neodpověděla do 3 s a byla ukončena" ] || fail "hang: no reason"
why=$(reason missing --kind com --port 1)
say "missing: $why"
[[ $why == "knihovna KSER410.DLL není ve složce programu C:\\faults\\missing "*"pracovní složka se neprohledává, a tak se KSER410.DLL z ní ("*") nenačte" ]] ||
    fail "missing library: no reason"
count=$((count + 3))
# Help names the settings file where Windows keeps it.
(cd "$tmp" && "$wine64" "$exe_dir/km207.exe" --help) | grep -F '%LOCALAPPDATA%\W_KM207\W_km207.ini' ||
    fail "km207.exe --help does not name the Windows settings path"
count=$((count + 1))
"$wineserver" -w

# 3. W_KM207.exe under Xvfb: the connection dialog, default settings (COM1,
# address 0, 9600 Bd), to the emulator on the prefix's COM1.
say "W_KM207.exe under Xvfb"
start_sim gui --name "KM-207  "
# Wine's mount manager links COM1 to /dev/ttyS0 whenever its server starts;
# its Ports key names the device it takes instead.
"$wine64" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$SIM_PTY" /f >/dev/null 2>&1
"$wineserver" -w
ln -sfn "$SIM_PTY" "$prefix/dosdevices/com1"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$tmp/display")
openbox >/dev/null 2>&1 &
pids+=($!)
# Installed afresh into the prefix's own C: drive, so that it starts with
# the default settings and the log names C:\KM207, not this machine's
# build folder.
app=$prefix/drive_c/KM207
rm -rf "$app"
cmake --install "$wb" --prefix "$app" | grep '^-- Stripped' || fail "the install stripped nothing"

# What Explorer, the Apps list and the taskbar read from each file.
res=$wb/windows-resources.txt
: >"$res"
# A value of the version information: the line after its key (the strings
# are UTF-16, one per line once the zeros become line ends).
version_value() {
    wrestool -x --raw --type=16 "$1" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr '\0' '\n' |
        awk -v key="$2" 'found { if (length($0)) { print; exit } } $0 ~ key "$" { found = 1 }'
}
for f in W_KM207.exe km207.exe km207-sim.exe km207-driverhost64.exe km207-driverhost.exe \
    KSER410.DLL KIB410.DLL KPB4100.DLL KUB4100.DLL KL4100.DLL; do
    file=$app/$f
    [ -f "$file" ] || fail "no $f installed"
    line="$f: $(stat -c %s "$file") bytes"
    for key in FileDescription FileVersion ProductName CompanyName LegalCopyright; do
        value=$(version_value "$file" "$key")
        [ -n "$value" ] || fail "$f has no $key"
        line+=" | $key=$value"
    done
    [ "$(version_value "$file" FileVersion)" = "$version" ] || fail "$f: FileVersion is not $version"
    case $f in
    *.exe)
        manifest=$(wrestool -x --raw --type=24 "$file")
        grep -q 'level="asInvoker"' <<<"$manifest" || fail "$f: no asInvoker manifest"
        grep -q 'supportedOS Id="{8e0f7a12' <<<"$manifest" || fail "$f: no supported OS list"
        line+=" | manifest: asInvoker, $(grep -c supportedOS <<<"$manifest") supportedOS"
        if grep -q PerMonitorV2 <<<"$manifest"; then line+=", PerMonitorV2"; fi
        wrestool -x --type=group_icon "$file" >"$tmp/icon.ico" || fail "$f: no icon"
        line+=" | icon: $(icotool -l "$tmp/icon.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | tr '\n' ' ')"
        ;;
    esac
    echo "$line" >>"$res"
done
grep -q '^W_KM207.exe: .*PerMonitorV2' "$res" || fail "W_KM207.exe is not per-monitor DPI aware"
cat "$res"
count=$((count + 1))
"$wine64" 'C:\KM207\W_KM207.exe' >"$tmp/gui.log" 2>&1 &
pids+=($!)
main=$(timeout 60 xdotool search --sync --onlyvisible --name 'KM-207 \(v' | head -n1)
[ -n "$main" ] || fail "W_KM207.exe showed no main window"
# Keys through XTEST to the active window (Wine ignores synthetic events).
xdotool windowactivate --sync "$main"
sleep 1
xdotool key alt+p
dialog=$(timeout 30 xdotool search --sync --onlyvisible --name 'Připojení modulu' | head -n1)
[ -n "$dialog" ] || fail "the connection dialog did not open"
sleep 1
# "Inicializace připojení": 200 x 30 at (24, 328) in the dialog.
xdotool mousemove --window "$dialog" 124 343 click 1
# Identification is command 200 in three parts (P5 0, 1, 2), over the
# pseudo-terminal.
identified() { grep -q '^pty rq addr=0 cmd=200 p5=2 .*-> reply' "$tmp/gui.err"; }
for _ in $(seq 150); do
    identified && break
    sleep 0.1
done
sleep 2
mkdir -p "$shots"
import -window root "$shots/windows-connected.png"
identified || fail "W_KM207.exe did not identify the emulator through the connection dialog"
count=$((count + 1))
xdotool windowactivate --sync "$dialog" key Escape
# The main window with its communication log, once the dialog is gone.
sleep 1
xdotool windowactivate --sync "$main"
sleep 1
import -window root "$shots/windows-main-log.png"
xdotool windowactivate --sync "$main" key alt+k
"$wineserver" -w

# 4. The installer, silently; the installed km207.exe; the uninstaller.
say "installer"
prefix=$(new_prefix install)
export WINEPREFIX=$prefix
# The registry's keys as Wine keeps them, one line each.
registry_keys() {
    "$wineserver" -w
    for hive in system.reg user.reg; do
        sed -n 's/^\[\(.*\)\][ 0-9]*$/\1/p' "$prefix/$hive" | sed "s/^/$hive: /"
    done | sort
}
# Started as a user starts it, the installer first asks for the program's
# language; cancelling there ends it before anything is installed.
"$wine64" "$installer" >"$tmp/ask.log" 2>&1 &
ask_pid=$!
pids+=($ask_pid)
ask=$(timeout 60 xdotool search --sync --onlyvisible --name '^KM-207$' | head -n1)
[ -n "$ask" ] || fail "the installer asked for no language: $(cat "$tmp/ask.log")"
sleep 1
import -window root "$shots/windows-installer-language.png"
xdotool windowactivate --sync "$ask" key Escape
for _ in $(seq 40); do kill -0 "$ask_pid" 2>/dev/null || break; sleep 0.5; done
kill -0 "$ask_pid" 2>/dev/null && fail "the installer went on after its language question was cancelled"
"$wineserver" -w
[ -d "$prefix/drive_c/Program Files/KM207" ] && fail "the cancelled installer installed something"
say "the installer asks for the program's language (windows-installer-language.png)"
registry_keys >"$tmp/keys-before"
(cd "$prefix/drive_c" && find . | sort) >"$tmp/before"
# English, as chosen in the installer's language question.
"$wine64" "$installer" /S /JAZYK=en '/D=C:\KM207'
"$wineserver" -w
[ -f "$prefix/drive_c/KM207/km207.exe" ] || fail "the installer installed no km207.exe"
tr -d '\r' <"$prefix/drive_c/KM207/W_km207.ini" | grep -qx 'Jazyk=en' ||
    fail "the installer did not keep the chosen language beside the program"
(cd "$prefix/drive_c" && find . | sort) >"$tmp/installed"
comm -13 "$tmp/before" "$tmp/installed" >"$wb/windows-installed-files.txt"
say "installed: $(grep -c . "$wb/windows-installed-files.txt") paths (list in windows-installed-files.txt)"
(cd "$tmp" && timeout 120 "$wine64" 'C:\KM207\km207.exe' identify "${lan_a[@]}") | tee "$tmp/installed-identify"
grep -q 'SIM-A' "$tmp/installed-identify" || fail "the installed km207.exe did not identify the emulator"
count=$((count + 1))
# The Start menu entry, as a user clicks it: the program's window appears.
menu=$(cd "$prefix/drive_c" && find . -name 'KM-207 konfigurace.lnk')
say "Start menu entry: $menu"
[ "$(grep -c . <<<"$menu")" = 1 ] || fail "not one Start menu entry"
[[ $menu == */Programs/KM-207/KM-207\ konfigurace.lnk ]] || fail "the Start menu folder is not KM-207"
"$wine64" start /wait "C:$(tr / '\\' <<<"${menu#.}")" >"$tmp/start.log" 2>&1 &
menu_pid=$!
pids+=($menu_pid)
from_menu=$(timeout 60 xdotool search --sync --onlyvisible --name 'KM-207 \(v' | head -n1)
[ -n "$from_menu" ] || fail "the Start menu entry started no window: $(cat "$tmp/start.log")"
title=$(xdotool getwindowname "$from_menu")
[[ $title == *"module settings"* ]] || fail "the installed program does not speak English: $title"
say "the installed program speaks the installer's language: $title"
sleep 2
import -window root "$shots/windows-start-menu.png"
# "E&xit" in English.
xdotool windowactivate --sync "$from_menu" key alt+x
wait "$menu_pid" || fail "W_KM207.exe started from the Start menu ended with an error"
say "the Start menu entry started W_KM207.exe (windows-start-menu.png)"
count=$((count + 1))
"$wine64" 'C:\KM207\Uninstall.exe' /S
"$wineserver" -w
# NSIS runs the uninstaller from a copy in the user's Temp, which Windows
# deletes at the next start: start the prefix again.
"$wine64" wineboot -r >/dev/null 2>&1
"$wineserver" -w
(cd "$prefix/drive_c" && find . | sort) >"$tmp/after"
comm -13 "$tmp/before" "$tmp/after" >"$tmp/left"
# What stays of that copy is its emptied folder, NSIS's and not ours.
nsis_temp='^\./users/[^/]+/Temp/~nsu[^/]*\.tmp$'
if grep -E -q "$nsis_temp" "$tmp/left"; then
    say "left by NSIS itself: $(grep -E "$nsis_temp" "$tmp/left" | tr '\n' ' ')(an empty folder in Temp)"
fi
# The settings beside the program (the installer's choice of language, and
# what the program wrote there when started from the menu, the folder being
# writable here) are the user's, which an uninstaller keeps.
# Its folder stays only because of them.
user_data='^\./KM207/W_km207\.ini$'
if grep -E -q "$user_data" "$tmp/left"; then
    say "kept as the user's: $(grep -E "$user_data" "$tmp/left")"
    user_data='^\./KM207(/W_km207\.ini)?$'
fi
grep -E -v "$nsis_temp|$user_data" "$tmp/left" >"$wb/windows-left-behind.txt" || true
# Every registry key the uninstaller left, not only its uninstall key.
# Wine's own bookkeeping of the programs that ran and of the restart is not
# the installer's.
registry_keys >"$tmp/keys-after"
comm -13 "$tmp/keys-before" "$tmp/keys-after" >"$tmp/keys-new"
# Console is where Wine keeps the console's settings once a console
# program (km207.exe) ran.
wine_own='(Software\\\\Wine\\\\|\\\\Explorer\\\\|^system.reg: System\\\\|^system.reg: Hardware\\\\|^user.reg: Console$)'
grep -E -v "$wine_own" "$tmp/keys-new" | sed 's/^/registry: /' >>"$wb/windows-left-behind.txt" || true
say "registry: $(grep -c . "$tmp/keys-new") keys more than before the install, $(grep -E -c "$wine_own" "$tmp/keys-new" || true) of them Wine's own"
if [ -s "$wb/windows-left-behind.txt" ]; then
    cat "$wb/windows-left-behind.txt"
    fail "the uninstaller left the above behind"
fi
say "the uninstaller left nothing behind"
count=$((count + 1))
"$wineserver" -w

# 5. An upgrade over an earlier release: one Start menu entry, one uninstall
# key, the new version's.
say "upgrade"
prefix=$(new_prefix upgrade)
export WINEPREFIX=$prefix
"$wine64" "$previous" /S '/D=C:\KM207'
"$wineserver" -w
(cd "$prefix/drive_c" && find . -name '*.lnk' -path '*KM-207*') | sed 's/^/before: /'
"$wine64" "$installer" /S '/D=C:\KM207'
"$wineserver" -w
entries=$(cd "$prefix/drive_c" && find . -name 'KM-207 konfigurace.lnk')
sed 's/^/after: /' <<<"$entries"
[ "$(grep -c . <<<"$entries")" = 1 ] || fail "the upgrade left not one Start menu entry"
"$wine64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' >"$tmp/uninstall"
names=$(grep -E 'DisplayName +REG_SZ +KM-207' "$tmp/uninstall" || true)
echo "$names"
[ "$(grep -c . <<<"$names")" = 1 ] || fail "the upgrade left not one uninstall key"
grep -E -q "DisplayVersion +REG_SZ +$version\$" "$tmp/uninstall" ||
    fail "the uninstall key is not the new version's"
say "the upgrade left one Start menu entry and one uninstall key"
count=$((count + 1))
"$wineserver" -w

say "$count tests ran as Windows programs under wine64 ($(( $(date +%s) - started )) s)"
