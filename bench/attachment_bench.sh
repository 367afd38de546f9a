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
# "get" reads from a store made once; "add" writes a fresh store each time.
"$cli" new "$dir/doc.orv" >/dev/null
"$cli" new "$dir/ready.orv" >/dev/null
"$cli" attach add "$dir/ready.orv" 0:0 "$dir/big.bin" --store "$dir/ready.stg" >/dev/null

# Runs a step, printing "NAME SECONDS PEAK-KiB". Each starts with nothing
# left to write back, so no step pays for the one before (a plain cp leaves a
# gigabyte for the kernel to write while the next step runs).
measure() {
  local name="$1"
  shift
  sync
  /usr/bin/time -f "$name %e %M" "$@" 2>&1 >/dev/null | tail -1
}

step() {
  case "$1" in
  cp)
    measure cp cp "$dir/big.bin" "$dir/cp.bin"
    rm "$dir/cp.bin"
    ;;
  cp+sync)
    measure cp+sync sh -c 'cp "$1" "$2" && sync "$2"' _ "$dir/big.bin" "$dir/cp.bin"
    rm "$dir/cp.bin"
    ;;
  add)
    measure add "$cli" attach add "$dir/doc.orv" 0:0 "$dir/big.bin" --store "$dir/a.stg"
    "$cli" attach rm "$dir/doc.orv" 0:0 big.bin --store "$dir/a.stg" --yes >/dev/null
    rm "$dir/a.stg"
    ;;
  get)
    measure get "$cli" attach get "$dir/ready.orv" 0:0 big.bin "$dir/out.bin" \
      --store "$dir/ready.stg"
    cmp -s "$dir/big.bin" "$dir/out.bin" || { echo "the copy out differs" >&2; exit 1; }
    rm "$dir/out.bin"
    ;;
  esac
}

# Four rounds, each step once per round, and the order turned by one each
# round, so every step runs once in every place. On a virtual machine the
# step that writes into memory that has lain free for a while can take four
# times as long whatever it is (dd showed it as well as our copy), and
# other work on the machine only slows a step too: the fastest run counts.
steps=(cp cp+sync add get)
: >"$dir/times"
for round in 0 1 2 3; do
  for i in 0 1 2 3; do
    step "${steps[(round + i) % 4]}" >>"$dir/times"
  done
done

# The fastest seconds and the largest peak of a step.
best() { awk -v n="$1" '$1 == n { print $2, $3 }' "$dir/times" | sort -n | awk '
  NR == 1 { s = $1 } { if ($2 > m) m = $2 } END { print s, m }'; }
echo "$mib MiB (fastest of 4; all runs: $(awk '{ printf "%s %s, ", $1, $2 }' "$dir/times"))"
for name in "${steps[@]}"; do
  read -r seconds kib <<<"$(best "$name")"
  printf '  %-8s %7.2f s  %7d KiB peak\n' "$name" "$seconds" "$kib"
  eval "t_${name//+/_}=$seconds"
done
awk -v a="$t_add" -v g="$t_get" -v c="$t_cp" -v s="$t_cp_sync" 'BEGIN {
  printf "  add/cp %.2f  add/(cp+sync) %.2f  get/cp %.2f  get/(cp+sync) %.2f\n",
         a / c, a / s, g / c, g / s }'
