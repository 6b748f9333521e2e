#!/usr/bin/env bash
# Refreshes the README's screenshots under docs/screenshots from the pictures
# the last scripts/test.sh run took (Windows XP, English), each reduced to a
# small palette PNG.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

shots=$VORNEL_BUILD/win32-tests/screenshots
dest=$VORNEL_ROOT/docs/screenshots
command -v convert >/dev/null 2>&1 || die "ImageMagick's convert is missing (scripts/test.sh installs it)"
mkdir -p "$dest"
# test picture -> README picture
pairs=(
  main-dialog:main-dialog
  show-changes:show-changes
  windows-defaults:windows-defaults
  wizard-winnt-1-connection-type:wizard-1-connection-type
  wizard-winnt-2-mtu:wizard-2-mtu
  wizard-winnt-3-other-mtu:wizard-3-other-mtu
  wizard-winnt-4-rwin:wizard-4-rwin
  wizard-winnt-5-ttl:wizard-5-ttl
  wizard-winnt-6-keep-alive:wizard-6-keep-alive
  wizard-winnt-7-syn-flood:wizard-7-syn-flood
  wizard-winnt-8-icmp-redirect:wizard-8-icmp-redirect
  wizard-winnt-modem-boost:wizard-9-modem-boost
  startup-picture-256-colours:startup-picture-256-colours-wine
)
for pair in "${pairs[@]}"; do
  from=$shots/${pair%%:*}.png to=$dest/${pair##*:}.png
  [ -f "$from" ] || die "$from is missing: run scripts/test.sh first"
  convert "$from" -strip +dither -colors 32 "PNG8:$to"
done
# The start-up picture as a 256-colour display shows it with its palette: the stored bitmap,
# every colour kept.
convert "$VORNEL_ROOT/res/Splash.bmp" -strip "PNG8:$dest/startup-picture-palette.png"
log "screenshots in $dest: $(du -ch "$dest"/*.png | tail -1 | cut -f1)"
