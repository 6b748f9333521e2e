#!/usr/bin/env bash
# Times Vornel against the platform's floor and prints one table: under 32-bit Wine on a
# virtual display, start-up, Finish (Windows XP, 64 interfaces) and peak working set of
# build/win32/Vornel.exe beside a minimal program built the same way (bench/win32/floor),
# and the wizard's page activation; then the sizes of what users download; then the native
# engine benchmarks with their fitted complexity; the floor also shows the wizard's page
# templates with no code behind them, and Vornel's start-up picture before its dialog.
# VORNEL_BENCH_RUNS (default 10) runs of each program, alternated; the table
# gives medians and the ratios of figures measured in the same run.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

runs=${VORNEL_BENCH_RUNS:-10}
ensure_packages
host_runs_i386 || die "the benchmark runs the i686 programs under 32-bit Wine, which this host cannot execute"
configure_tree native "" && build_tree native
configure_shipped_tree && build_tree win32
cmake --build "$VORNEL_BUILD/win32" --target VornelFloor || die "build of the floor program failed"
cmake --build "$VORNEL_BUILD/win32" --target package >/dev/null || die "packaging failed"
configure_tree win32-tests mingw-i686-posix.cmake
cmake --build "$VORNEL_BUILD/win32-tests" --target vornel_bench_driver || die "build of the bench driver failed"

use_scratch_folder vornel-bench

windows_path() { local p="Z:${1//\//\\}"; printf '%s' "$p"; }
driver=$(find "$VORNEL_BUILD/win32-tests" -name vornel_bench_driver.exe | head -n 1)
# Installed as the installer does it, in English: the product key names a folder with the
# shipped language files (Lang), which the program reads its texts from.
mkdir -p "$work/install"
cp -r "$VORNEL_ROOT/lang" "$work/install/Lang"
start_xvfb
use_wine_prefix "$work/prefix" win32
log "Vornel and its floor under Wine, $runs runs each, alternated (display $DISPLAY)"
"$VORNEL_WINE" "$driver" "$(windows_path "$VORNEL_BUILD/win32/Vornel.exe")" \
  "$(windows_path "$VORNEL_BUILD/win32/bench/win32/VornelFloor.exe")" "$runs" \
  "$(windows_path "$work/install")" > "$work/figures" || die "the bench driver failed"
stop_wine_and_display
log "native engine benchmarks"
"$VORNEL_BUILD/native/bench/bench_engine_bench" --benchmark_color=false > "$work/engine" 2>/dev/null ||
  die "the engine benchmarks failed"

# The median of the figure's values ("program figure value" lines).
median() { # program figure
  awk -v p="$1" -v f="$2" '$1 == p && $2 == f { print $3 }' "$work/figures" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2];
                              else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# One row: what, Vornel's median, the floor's, the ratio, the aim's bound (a ratio), its text.
row() { # label vornel floor bound aim
  awk -v l="$1" -v v="$2" -v f="$3" -v b="$4" -v a="$5" 'BEGIN {
    r = v / f; printf "%-40s %10.1f %10.1f %7.2f  %-12s %s\n", l, v, f, r, a, (r <= b ? "yes" : "NO") }'
}

echo
printf '%-40s %10s %10s %7s  %-12s %s\n' "figure (median of $runs)" Vornel floor ratio aim meets
# Start-up beside the floor that shows the same start-up picture, closed the same way, and then
# Vornel's own main dialog template with no code behind it.
row "start-up to main dialog drawn (ms)" "$(median vornel startup_ms)" "$(median floor_picture startup_ms)" 1.1 "<= 1.1x"
row "start-up picture shown to dialog drawn (ms)" "$(median vornel after_picture_ms)" "$(median floor_picture after_picture_ms)" 1.1 "<= 1.1x"
row "Finish, XP, 64 interfaces, to box (ms)" "$(median vornel finish_ms)" "$(median floor finish_ms)" 1.2 "<= 1.2x"
row "peak working set, whole run (KiB)" "$(median vornel peak_ws_kb)" "$(median floor peak_ws_kb)" 1.05 "<= 1.05x"
row "peak working set, to main dialog (KiB)" "$(median vornel ws_main_kb)" "$(median floor_picture ws_main_kb)" 1.05 "<= 1.05x"

# Page activation: each page's median; the median over all activations, and the worst page;
# the floor shows the same page templates in a wizard with no code behind them.
all_median() { # program figure-pattern
  awk -v p="$1" -v f="$2" '$1 == p && $2 ~ f { print $3 }' "$work/figures" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
pages=$(awk '$1 == "vornel" && $2 ~ /^page[0-9]+_ms$/ { print $2 }' "$work/figures" | sort -u -V)
shown=$(all_median vornel '^page[0-9]+_shown_ms$')
all=$(all_median vornel '^page[0-9]+_ms$')
floor_all=$(all_median floor '^page[0-9]+_ms$')
worst=0 worst_page=-
for page in $pages; do
  m=$(median vornel "$page")
  if awk -v m="$m" -v w="$worst" 'BEGIN { exit !(m > w) }'; then worst=$m worst_page=${page%_ms}; fi
done
slowest=$(awk '$1 == "vornel" && $2 ~ /^page[0-9]+_ms$/ { print $3 }' "$work/figures" | sort -g | tail -n 1)
# A row with an aim on the ratio to the floor, or (bound "-") shown without one.
page_row() { # label value floor-or-dash bound-or-dash
  awk -v l="$1" -v v="$2" -v f="$3" -v b="$4" 'BEGIN {
    r = (f == "-" || f == 0) ? "-" : sprintf("%.2f", v / f)
    a = (b == "-") ? "-" : "<= " b "x"; m = (b == "-" || r == "-") ? "-" : ((v / f <= b) ? "yes" : "NO")
    printf "%-40s %10.2f %10s %7s  %-12s %s\n", l, v, (f == "-" ? f : sprintf("%.2f", f)), r, a, m }'
}
page_row "page activation, median (ms)" "$all" "$floor_all" 1.1
page_row "page activation, worst page $worst_page (ms)" "$worst" "$(median floor "${worst_page}_ms")" -
page_row "page activation, slowest single (ms)" "$slowest" - -
echo "(each page's median, ms, Vornel/floor: $(for p in $pages; do printf '%s=%s/%s ' "${p%_ms}" "$(median vornel "$p")" "$(median floor "$p")"; done))"
echo "(of a page's activation, the median until the new page is current and visible: $shown ms, floor $(all_median floor '^page[0-9]+_shown_ms$') ms; the rest is its painting)"
echo "(the floor's page activation: Vornel.exe's own page templates in a wizard with no code behind them)"
echo "(start-up: the floor showing Vornel's start-up picture, closed the same way, then Vornel's main dialog template"
echo " with no code behind it; the picture was shown after"
echo " $(median vornel splash_ms) ms in Vornel, $(median floor_picture splash_ms) ms in the floor; the floor without the picture: $(median floor startup_ms) ms)"
echo "(working set: PeakWorkingSetSize, which Wine reads from VmHWM of the process; the whole run's floor comes from"
echo " its run without the start-up picture, the main dialog's from its start-up as Vornel's)"
echo "(load while it ran: $(cut -d' ' -f1-3 /proc/loadavg) over 1, 5 and 15 minutes)"

# What users download: the program as shipped (stripped), its resources and code, and the
# zip and the installer that `cmake --build build/win32 --target package` makes.
# A PE section's size (hex in objdump's table).
section_bytes() { # file section
  local hex
  hex=$(i686-w64-mingw32-objdump -h "$1" | awk -v s="$2" '$2 == s { print $3 }')
  echo $((16#${hex:-0}))
}
size_row() { # label bytes aim-KiB-or-dash
  awk -v l="$1" -v b="$2" -v a="$3" 'BEGIN {
    k = b / 1024; m = (a == "-") ? "-" : ((k <= a) ? "yes" : "NO")
    printf "%-40s %10.1f  %-12s %s\n", l, k, (a == "-" ? "-" : "<= " a " KB"), m }'
}
stripped="$work/Vornel.exe"
i686-w64-mingw32-strip -o "$stripped" "$VORNEL_BUILD/win32/Vornel.exe" || die "strip failed"
zip=$(ls -t "$VORNEL_BUILD"/win32/Vornel-*.zip | head -n 1)
setup=$(ls -t "$VORNEL_BUILD"/win32/Vornel-*-setup.exe | head -n 1)
echo
printf '%-40s %10s  %-12s %s\n' "download size" KB aim meets
size_row "Vornel.exe, stripped" "$(stat -c %s "$stripped")" 400
size_row "  of which resources (.rsrc)" "$(section_bytes "$stripped" .rsrc)" -
size_row "  of which code (.text)" "$(section_bytes "$stripped" .text)" -
size_row "$(basename "$zip")" "$(stat -c %s "$zip")" 180
size_row "$(basename "$setup")" "$(stat -c %s "$setup")" -

echo
printf '%-40s %12s %12s %12s  %s\n' "engine benchmark (CPU time), N =" 1 64 4096 "fitted (ns)"
awk '
  /^BM_/ {
    n = split($1, part, "/")
    if ($1 ~ /_BigO$/) { name = $1; sub(/_BigO$/, "", name); big[name] = $5; coefficient[name] = $4; order[++count] = name; next }
    if ($1 ~ /_RMS$/) next
    name = part[1] "/" part[2]; t[name "/" part[3]] = $4 " " $5
  }
  END {
    for (i = 1; i <= count; ++i) {
      name = order[i]
      printf "%-40s %12s %12s %12s  %s\n", name, t[name "/1"], t[name "/64"], t[name "/4096"],
             coefficient[name] " " big[name]
    }
  }' "$work/engine"
echo "(fitted by Google Benchmark over 1, 64 and 4096 interfaces and modems; the memory store finds a key"
echo " in logarithmic time, so a fit of N lgN can come from the store: the calls below are the engine's own)"
echo
printf '%-40s %12s %12s %12s  %-12s %s\n' "registry calls of one pass, N =" 1 64 4096 "per added N" meets
awk '
  # Google Benchmark prints counters rounded, with k or M for thousands and millions.
  function number(text) {
    if (text ~ /k$/) return substr(text, 1, length(text) - 1) * 1000
    if (text ~ /M$/) return substr(text, 1, length(text) - 1) * 1000000
    return text + 0
  }
  /^BM_/ && !/_BigO|_RMS/ {
    n = split($1, part, "/"); name = part[1] "/" part[2]
    for (i = 2; i <= NF; ++i) if ($i ~ /^calls=/) { c[name "/" part[3]] = number(substr($i, 7)) }
    if (!(name in seen)) { seen[name] = 1; order[++count] = name }
  }
  END {
    for (i = 1; i <= count; ++i) {
      name = order[i]
      # Linear: each added interface or modem costs as many calls from 64 to 4096 as from 1
      # to 64 (within the rounding of the printed counters).
      early = (c[name "/64"] - c[name "/1"]) / 63; late = (c[name "/4096"] - c[name "/64"]) / 4032
      ok = (late <= early * 1.02 + 0.5) ? "yes" : "NO"
      printf "%-40s %12d %12d %12d  %-12.1f %s\n", name, c[name "/1"], c[name "/64"], c[name "/4096"],
             late, ok
    }
  }' "$work/engine"
echo "(aim: linear engine cost; the calls per added interface or modem stay what they are from 1 to 64)"
