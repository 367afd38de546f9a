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

# Runs a command, printing "NAME SECONDS PEAK-KiB".
measure() {
  local name="$1"
  shift
  /usr/bin/time -f "$name %e %M" "$@" 2>&1 >/dev/null | tail -1
}

cp_line=$(measure cp cp "$dir/big.bin" "$dir/cp.bin")
cp_sync_line=$(measure cp+sync sh -c 'cp "$1" "$2" && sync "$2"' _ "$dir/big.bin" "$dir/cp2.bin")
add_line=$(measure add "$cli" attach add "$dir/doc.orv" 0:0 "$dir/big.bin" --store "$dir/a.stg")
get_line=$(measure get "$cli" attach get "$dir/doc.orv" 0:0 big.bin "$dir/out.bin" --store "$dir/a.stg")
cmp -s "$dir/big.bin" "$dir/out.bin" || { echo "the copy out differs" >&2; exit 1; }

echo "$mib MiB:"
for line in "$cp_line" "$cp_sync_line" "$add_line" "$get_line"; do
  read -r name seconds kib <<<"$line"
  printf '  %-8s %7.2f s  %7d KiB peak\n' "$name" "$seconds" "$kib"
done
read -r _ cp _ <<<"$cp_line"
read -r _ cp_sync _ <<<"$cp_sync_line"
read -r _ add _ <<<"$add_line"
read -r _ get _ <<<"$get_line"
awk -v a="$add" -v g="$get" -v c="$cp" -v s="$cp_sync" 'BEGIN {
  printf "  add/cp %.2f  add/(cp+sync) %.2f  get/cp %.2f  get/(cp+sync) %.2f\n",
         a / c, a / s, g / c, g / s }'
