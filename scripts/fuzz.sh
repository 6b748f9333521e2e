#!/usr/bin/env bash
# Runs one fuzz target of tests/fuzz for a while: scripts/fuzz.sh TARGET SECONDS [libFuzzer options].
# Builds build/fuzz when needed. The run starts from a copy of the target's seed corpus in
# build/fuzz/corpus-TARGET, where new inputs land too (the seeds in the repository stay as they
# are); a crash or a broken rule is saved as build/fuzz/findings-TARGET/crash-*. Ends with
# libFuzzer's final statistics.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

[ $# -ge 2 ] || die "usage: scripts/fuzz.sh TARGET SECONDS [libFuzzer options] (targets: $(
  cd "$VORNEL_ROOT/tests/fuzz" && ls ./*.cpp | sed 's|./||; s|\.cpp$||' | tr '\n' ' '))"
target=$1 seconds=$2
shift 2
[ -f "$VORNEL_ROOT/tests/fuzz/$target.cpp" ] || die "no fuzz target $target in tests/fuzz"

ensure_packages
build_fuzz >/dev/null
corpus=$VORNEL_BUILD/fuzz/corpus-$target findings=$VORNEL_BUILD/fuzz/findings-$target
mkdir -p "$corpus" "$findings"
cp -n "$VORNEL_ROOT/tests/fuzz/corpus/$target"/* "$corpus"/
exec "$VORNEL_BUILD/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$findings/" "$@" "$corpus"
