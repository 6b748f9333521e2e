#!/usr/bin/env bash
# The test guest: an emulated x86-64 PC with Debian 12, in which 32-bit Windows
# programs run under 32-bit Wine. Hosts that cannot execute i386 code run the
# i686 test programs against the shipped Vornel.exe in it.
#
#   scripts/guest.sh build        makes the guest image from Debian packages, with
#                                 a 32-bit Wine prefix made inside it; once for
#                                 each version of this script and of the prefix
#                                 recipe (their hash names the image's folder)
#   scripts/guest.sh run JOB [DIR...]
#                                 boots the guest on a throwaway copy of the image
#                                 and runs JOB (a bash script inside the checkout
#                                 or the build folder); exits with JOB's status
#
# The checkout and the build folder are shared with the guest (9p) at the same
# paths as on the host, so the test programs find their sources and write their
# screenshots where they would on the host. Wine maps the programs it runs into
# memory, which goes wrong from the share: every .exe and .dll below the DIRs
# is run from a copy on the guest's own disk, mounted over the original. The guest's serial console, JOB's
# output included, comes out on standard output. A guest that does not finish
# within VORNEL_GUEST_MINUTES (40) minutes is stopped and the run fails. The PC
# is emulated (TCG); VORNEL_GUEST_ACCEL=kvm uses the host's KVM instead.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

GUEST_SUITE=bookworm
GUEST_PACKAGES=linux-image-amd64,kmod,mount,procps,wine,wine32:i386,wine64,fonts-wine,xvfb,xauth,x11-utils,x11-apps,imagemagick,cmake
GUEST_MEMORY_MB=4096
GUEST_MINUTES=${VORNEL_GUEST_MINUTES:-40}
GUEST_PREFIX=/root/prefix # the 32-bit prefix inside the image
GUEST_INIT=/usr/local/sbin/vornel-guest

# The image's folder: a hash of what it is made from.
guest_dir() {
  local hash
  hash=$( { cat "$VORNEL_ROOT/scripts/guest.sh"; declare -f make_wine_prefix use_wine_prefix use_wine_arch; } | sha256sum | cut -c1-16)
  echo "$VORNEL_BUILD/guest/$hash"
}

ensure_guest_packages() {
  local cmd missing=0
  for cmd in qemu-system-x86_64 mmdebstrap mke2fs; do
    command -v "$cmd" >/dev/null 2>&1 || missing=1
  done
  [ "$missing" -eq 0 ] && return 0
  log "installing the emulator and the image tools"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends \
    qemu-system-x86 mmdebstrap e2fsprogs >/dev/null || die "package installation failed"
}

# The guest's first process: mounts the shared folders at their host paths,
# runs the job named on the kernel command line, leaves its status beside it
# and powers the PC off.
write_init() { # file
  cat > "$1" <<'EOS'
#!/bin/sh
PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
HOME=/root
export PATH HOME
# The prefix made when the image was built (a run writes into a throwaway copy).
export WINEPREFIX=@PREFIX@ WINEARCH=win32 VORNEL_WINE=wine
# The initramfs has mounted some of these already.
mount -t proc proc /proc 2>/dev/null
mount -t sysfs sysfs /sys 2>/dev/null
mount -t devtmpfs devtmpfs /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
for dir in /dev/shm /tmp /run; do mount -t tmpfs tmpfs "$dir"; done
hostname vornel-guest
shares= job= programs=
for word in $(cat /proc/cmdline); do
  case $word in
    vornel.shares=*) shares=${word#vornel.shares=} ;;
    vornel.job=*) job=${word#vornel.job=} ;;
    vornel.programs=*) programs=${word#vornel.programs=} ;;
  esac
done
modprobe 9pnet_virtio
modprobe 9p
for share in $(echo "$shares" | tr ',' ' '); do
  mkdir -p "${share#*:}"
  # cache=mmap: Wine maps the programs it runs, which an uncached 9p mount gets wrong.
  mount -t 9p -o trans=virtio,version=9p2000.L,msize=524288,cache=mmap "${share%%:*}" "${share#*:}" ||
    echo "== guest: cannot mount ${share#*:}"
done
mkdir -p /var/tmp/programs
for dir in $(echo "$programs" | tr ',' ' '); do
  find "$dir" -type f \( -iname '*.exe' -o -iname '*.dll' \) | while read -r program; do
    copy=/var/tmp/programs/$(echo "$program" | md5sum | cut -c1-16)
    cp "$program" "$copy" && mount --bind "$copy" "$program"
  done
done
echo "== guest: running $job"
bash "$job"
status=$?
echo "$status" > "$job.status"
echo "== guest: the job ended with status $status"
sync
echo o > /proc/sysrq-trigger
sleep 30
EOS
  sed -i "s|@PREFIX@|$GUEST_PREFIX|" "$1"
  chmod 755 "$1"
}

# Boots the image and runs the job; `persist` keeps what the guest writes to
# its own disk (only while the image is being built).
boot() { # job persist program-dir...
  local dir job=$1 persist=$2 snapshot=on accel shares programs
  shift 2
  programs=$(IFS=,; echo "$*")
  dir=$(guest_dir)
  case "$VORNEL_ROOT$VORNEL_BUILD" in
    *[[:space:]]*) die "the guest cannot share folders whose paths hold blanks" ;;
  esac
  [ "$persist" = yes ] && snapshot=off
  shares=root:$VORNEL_ROOT
  local share_args=(-virtfs "local,path=$VORNEL_ROOT,mount_tag=root,security_model=none")
  case "$VORNEL_BUILD/" in
    "$VORNEL_ROOT"/*) ;;
    *)
      shares=$shares,build:$VORNEL_BUILD
      share_args+=(-virtfs "local,path=$VORNEL_BUILD,mount_tag=build,security_model=none")
      ;;
  esac
  if [ "${VORNEL_GUEST_ACCEL:-tcg}" = kvm ]; then
    # Only on request: nested KVM in a virtual machine can hang the guest's kernel.
    accel=(-accel kvm -cpu host)
  else
    # QEMU 7.2's emulation faults on the 32-bit iret Wine uses when the CPU has SMAP.
    accel=(-accel tcg -cpu max,-smap,-pku)
  fi
  rm -f "$job.status"
  log "booting the test guest ($(basename "$dir"), ${accel[1]}) for $job"
  local status=0
  timeout --foreground -k 20 "${GUEST_MINUTES}m" qemu-system-x86_64 \
    -name vornel-test-guest -m "$GUEST_MEMORY_MB" -smp "$(nproc)" "${accel[@]}" \
    -nographic -no-reboot -nic none \
    -kernel "$dir/vmlinuz" -initrd "$dir/initrd.img" \
    -append "root=/dev/vda rw console=ttyS0 quiet panic=1 init=$GUEST_INIT vornel.shares=$shares vornel.job=$job vornel.programs=$programs" \
    -drive "file=$dir/disk.img,format=raw,if=virtio,snapshot=$snapshot" \
    "${share_args[@]}" < /dev/null || status=$?
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    die "the test guest did not finish within $GUEST_MINUTES minutes and was stopped (its console is above)"
  fi
  [ -f "$job.status" ] || die "the test guest stopped before its job ended (qemu status $status; its console is above)"
  return "$(cat "$job.status")"
}

build() {
  local dir root megabytes
  dir=$(guest_dir)
  if [ -f "$dir/ready" ]; then
    log "the test guest image is ready: $dir"
    return 0
  fi
  ensure_guest_packages
  # Images of earlier versions of this script are of no further use.
  as_root rm -rf "$VORNEL_BUILD/guest"
  mkdir -p "$dir"
  root=$dir/root
  log "building the test guest image in $dir from Debian packages"
  as_root mmdebstrap --variant=apt --architectures=amd64,i386 --include="$GUEST_PACKAGES" \
    "$GUEST_SUITE" "$root" || die "mmdebstrap failed"
  write_init "$dir/init"
  as_root install -m 755 "$dir/init" "$root$GUEST_INIT"
  echo vornel-guest | as_root tee "$root/etc/hostname" >/dev/null
  printf '127.0.0.1 localhost\n127.0.1.1 vornel-guest\n' | as_root tee "$root/etc/hosts" >/dev/null
  cp "$root"/boot/vmlinuz-* "$dir/vmlinuz"
  cp "$root"/boot/initrd.img-* "$dir/initrd.img"
  # Room for the prefix and the test runs beside the system.
  megabytes=$(( $(as_root du -sm "$root" | cut -f1) + 3072 ))
  as_root mke2fs -q -t ext4 -L vornel -d "$root" "$dir/disk.img" "${megabytes}M" ||
    die "making the guest's disk failed"
  as_root rm -rf "$root"

  log "making the 32-bit Wine prefix inside the guest"
  cat > "$dir/prepare.sh" <<EOS
. "$VORNEL_ROOT/scripts/lib.sh"
start_xvfb
make_wine_prefix $GUEST_PREFIX win32
stop_wine_and_display
EOS
  boot "$dir/prepare.sh" yes || die "making the guest's Wine prefix failed"
  touch "$dir/ready"
  log "the test guest image is ready: $dir"
}

case "${1:-}" in
  build) build ;;
  run)
    [ -n "${2:-}" ] || die "usage: scripts/guest.sh run JOB [DIR...]"
    [ -f "$(guest_dir)/ready" ] || die "no test guest image; make it with scripts/guest.sh build"
    job="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
    shift 2
    dirs=()
    for dir in "$@"; do dirs+=("$(cd "$dir" && pwd)") || die "no folder $dir"; done
    boot "$job" no "${dirs[@]}"
    ;;
  *) die "usage: scripts/guest.sh build | run JOB [DIR...]" ;;
esac
