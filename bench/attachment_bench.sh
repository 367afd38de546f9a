#!/usr/bin/env bash
# A large attachment in and out of the store, against cp of the same file:
#   bench/attachment_bench.sh ORVELLA-CLI [MiB (1024)] [FOLDER ($TMPDIR)]
# Prints the seconds and peak memory of each step and the ratios to cp. The
# store makes its copy durable (it syncs before its commit), so cp is timed
# both alone and followed by sync of its copy.
set -euo pipefail

cli="$1"
mib="${2:-1024}"
dir="$(mktemp -d "${3:-${TMPDIR:-/tmp}}/attach-bench.XXXXXX")"
trap 'rm -rf "$dir"' EXIT

head -c "$((mib * 1024 * 1024))" /dev/urandom >"$dir/big.bin"
"$cli" new "$dir/doc.orv" >/dev/null
sync

# Runs a command, printing "NAME SECONDS PEAK-KiB". Each starts with nothing
# left to write back, so no step pays for the one before (a plain cp leaves a
# gigabyte for the kernel to write while the next step runs).
measure() {
  local name="$1"
  shift
  sync
  /usr/bin/time -f "$name %e %M" "$@" 2>&1 >/dev/null | tail -1
}

# Each step three times, interleaved, so that other work on the machine
# weighs on all of them alike; the median counts.
: >"$dir/times"
for round in 1 2 3; do
  rm -f "$dir/cp.bin" "$dir/cp2.bin" "$dir/a.stg" "$dir/out.bin"
  measure cp cp "$dir/big.bin" "$dir/cp.bin" >>"$dir/times"
  measure cp+sync sh -c 'cp "$1" "$2" && sync "$2"' _ "$dir/big.bin" "$dir/cp2.bin" >>"$dir/times"
  measure add "$cli" attach add "$dir/doc.orv" 0:0 "$dir/big.bin" --store "$dir/a.stg" >>"$dir/times"
  measure get "$cli" attach get "$dir/doc.orv" 0:0 big.bin "$dir/out.bin" --store "$dir/a.stg" \
    >>"$dir/times"
  cmp -s "$dir/big.bin" "$dir/out.bin" || { echo "the copy out differs" >&2; exit 1; }
  # The next round adds to a fresh store; the note's list is reset with it.
  "$cli" attach rm "$dir/doc.orv" 0:0 big.bin --store "$dir/a.stg" --yes >/dev/null
done

# The median seconds and the largest peak of a step.
median() { awk -v n="$1" '$1 == n { print $2, $3 }' "$dir/times" | sort -n | awk '
  { s[NR] = $1; if ($2 > m) m = $2 } END { print s[2], m }'; }
echo "$mib MiB (median of 3):"
for name in cp cp+sync add get; do
  read -r seconds kib <<<"$(median "$name")"
  printf '  %-8s %7.2f s  %7d KiB peak\n' "$name" "$seconds" "$kib"
  eval "t_${name//+/_}=$seconds"
done
awk -v a="$t_add" -v g="$t_get" -v c="$t_cp" -v s="$t_cp_sync" 'BEGIN {
  printf "  add/cp %.2f  add/(cp+sync) %.2f  get/cp %.2f  get/(cp+sync) %.2f\n",
         a / c, a / s, g / c, g / s }'
