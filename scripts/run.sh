#!/usr/bin/env bash
# Installs what is missing, builds Vornel, installs it into a Wine prefix as
# its installer would, and starts it. Without a display it runs on a virtual
# one, saves a screenshot of the main dialog once that is shown (waiting at
# most VORNEL_RUN_SECONDS, 60) and ends it. VORNEL_WINDOWS picks the Windows
# release Wine reports (winxp by default; win98, nt40, ...).
set -euo pipefail
. "$(dirname "$0")/lib.sh"

ensure_packages
configure_shipped_tree && build_tree win32
if host_runs_i386; then
  exe=$VORNEL_BUILD/win32/Vornel.exe arch=win32
else
  log "this host cannot execute i386 code: running the 64-bit build of the same sources" \
    "(scripts/test.sh runs the shipped one in an emulated PC)"
  configure_tree win32-tests-x64 mingw-x86_64-posix.cmake &&
    cmake --build "$VORNEL_BUILD/win32-tests-x64" --target Vornel
  exe=$VORNEL_BUILD/win32-tests-x64/Vornel.exe arch=win64
fi

prefix=$VORNEL_BUILD/run-prefix
headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  headless=1
  start_xvfb
  trap stop_wine_and_display EXIT
fi
[ -f "$prefix/system.reg" ] || log "creating the Wine prefix $prefix"
use_wine_prefix "$prefix" "$arch"

# What the installer does: the program and its languages under Program Files,
# and the product key with the installation folder and the language.
dest="$WINEPREFIX/drive_c/Program Files/Vornel"
mkdir -p "$dest/Lang"
cp "$exe" "$dest/Vornel.exe"
shopt -s nullglob
languages=("$VORNEL_ROOT"/lang/*.ini)
[ ${#languages[@]} -gt 0 ] || die "no language file (lang/*.ini) in $VORNEL_ROOT/lang"
for file in "${languages[@]}"; do
  [ -f "${file%.ini}.bmp" ] || die "the language file $file has no flag ${file%.ini}.bmp"
done
cp "${languages[@]}" "${languages[@]/%.ini/.bmp}" "$dest/Lang/"
"$VORNEL_WINE" reg add 'HKCU\Software\Vornel' /v AppPath /d 'C:\Program Files\Vornel' /f >/dev/null
"$VORNEL_WINE" reg query 'HKCU\Software\Vornel' /v Language >/dev/null 2>&1 ||
  "$VORNEL_WINE" reg add 'HKCU\Software\Vornel' /v Language /d English /f >/dev/null

# The Windows release Wine reports to Vornel (it refuses anything newer than XP).
"$VORNEL_WINE" reg add 'HKCU\Software\Wine\AppDefaults\Vornel.exe' /v Version /d "${VORNEL_WINDOWS:-winxp}" /f >/dev/null

if [ "$headless" -eq 0 ]; then
  exec "$VORNEL_WINE" "$dest/Vornel.exe"
fi

# The X window of the main dialog once it is on the display: its caption is
# the program's name (the start-up picture has none). Empty while there is none.
main_dialog() {
  local id
  id=$(xwininfo -root -tree 2>/dev/null | awk '/ "Vornel": \(/ && !id { id = $1 } END { print id }')
  [ -n "$id" ] && [[ $(xwininfo -id "$id" 2>/dev/null) == *"Map State: IsViewable"* ]] && echo "$id"
  return 0
}

"$VORNEL_WINE" "$dest/Vornel.exe" &
vornel=$!
shot=$VORNEL_BUILD/screenshots/run-main-dialog.png
mkdir -p "$(dirname "$shot")"
limit=${VORNEL_RUN_SECONDS:-60}
deadline=$((SECONDS + limit))
until window=$(main_dialog) && [ -n "$window" ]; do
  kill -0 "$vornel" 2>/dev/null || die "Vornel ended before its main dialog appeared"
  [ "$SECONDS" -lt "$deadline" ] ||
    die "no main dialog (a window captioned \"Vornel\") on display $DISPLAY within $limit s"
  sleep 0.2
done
# Shown is not yet painted: the picture is taken once two views of the dialog agree.
previous=
for _ in $(seq 1 50); do
  current=$(import -window "$window" ppm:- 2>/dev/null | md5sum) || true
  [ "$current" = "$previous" ] && break
  previous=$current
  sleep 0.1
done
import -window root "$shot"
echo "screenshot of the main dialog: $shot"
kill "$vornel" 2>/dev/null || true
wineserver -k >/dev/null 2>&1 || true
