#!/usr/bin/env bash
# Regenerates the seed corpus of compound_file_fuzz: files our engine writes
# (made by the fuzz target itself) and one written by libgsf's `gsf`. Each is
# stored behind a first byte that picks the target's mode: read, change a
# little, change all it can.
# Usage: tests/fuzz/make_seeds.sh [path/to/compound_file_fuzz]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
fuzzer="${1:-$here/../../build-fuzz/tests/fuzz/compound_file_fuzz}"
corpus="$here/corpus/compound_file"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

mkdir -p "$corpus"
"$fuzzer" --make-seeds="$corpus"

printf 'Hello from another writer.\n' >"$scratch/note.txt"
head -c 5000 /dev/zero | tr '\0' 'x' >"$scratch/big.txt"
# gsf names every file it adds; say something only when it fails.
if ! output="$(cd "$scratch" && gsf createole gsf.ole note.txt big.txt 2>&1)"; then
  echo "$output" >&2
  exit 1
fi
for mode in read:00 change:01 change-all:3F; do
  { printf "\x${mode#*:}"; cat "$scratch/gsf.ole"; } >"$corpus/gsf-${mode%:*}"
done
ls -l "$corpus"
