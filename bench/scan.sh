#!/usr/bin/env bash
# Folder-scan speed against find: makes a tree of 100,000 files in 10,000 folders (once), warms
# the cache, then times `find TREE -type f` and the program's folder scan with the first-start
# masks (bench_scan_tree), each the best of several runs, and prints both times and their
# ratio. Fails when the scan takes more than 1.5 times as long as find.
#
#   bench/scan.sh [BUILD_DIR]      (default: build; bench_scan_tree must be built there)
#   QUOMM3U_SCAN_TREE=/tmp/...     where the tree lives (default /tmp/quomm3u-scan-tree)
#   RUNS=5                         runs of each side
set -euo pipefail

build=${1:-build}
tree=${QUOMM3U_SCAN_TREE:-/tmp/quomm3u-scan-tree}
runs=${RUNS:-5}
limit=1.5
bench="$build/bin/bench_scan_tree"
[[ -x $bench ]] || { echo "missing $bench: build the target bench_scan_tree" >&2; exit 2; }

# 100 artist folders of 99 album folders each: 10,000 folders, every one holding ten files:
# seven tracks, a playlist, a picture and a text file that no mask takes.
make_tree() {
  local tmp="$tree.partial"
  rm -rf -- "$tmp"
  mkdir -p -- "$tmp"
  local a b
  for a in $(seq -w 0 99); do
    mkdir -p -- "$tmp/Artist $a"
    for b in $(seq -w 0 98); do mkdir -- "$tmp/Artist $a/Album $b"; done
  done
  find "$tmp" -mindepth 1 -type d -print0 |
    while IFS= read -r -d '' d; do
      printf '%s\0' "$d/01 Intro.mp3" "$d/02 Song.mp3" "$d/03 Song.mp3" "$d/04 Song.mp3" \
        "$d/05 Song.mp3" "$d/06 Song.mp3" "$d/07 Outro.mp3" "$d/album.m3u" "$d/Folder.jpg" \
        "$d/notes.txt"
    done | xargs -0 touch --
  mv -- "$tmp" "$tree"
}

if [[ ! -d $tree ]]; then
  echo "making $tree ..."
  make_tree
fi
files=$(find "$tree" -type f | wc -l)
folders=$(find "$tree" -mindepth 1 -type d | wc -l)
echo "tree: $tree ($files files in $folders folders)"

# Warm cache: both sides read the same directories from memory.
find "$tree" -type f >/dev/null
find "$tree" -type f >/dev/null

best_find=""
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  find "$tree" -type f >/dev/null
  end=$(date +%s%N)
  ms=$(awk -v n=$((end - start)) 'BEGIN { printf "%.3f", n / 1e6 }')
  if [[ -z $best_find ]] || awk -v a="$ms" -v b="$best_find" 'BEGIN { exit !(a < b) }'; then
    best_find=$ms
  fi
done

# One iteration per repetition, so each figure is one whole scan; the best one counts.
best_scan=$(QUOMM3U_SCAN_TREE="$tree" "$bench" --benchmark_filter='^BM_ScanFolder/' \
  --benchmark_repetitions="$runs" --benchmark_min_time=0 --benchmark_format=csv 2>/dev/null |
  awk -F, '$1 == "\"BM_ScanFolder/real_time\"" {
             t = $3 + 0; unit = $5
             if (unit == "us") t /= 1000; else if (unit == "ns") t /= 1e6; else if (unit == "s") t *= 1000
             if (best == "" || t < best) best = t
           }
           END { if (best == "") exit 1; printf "%.3f", best }')

ratio=$(awk -v s="$best_scan" -v f="$best_find" 'BEGIN { printf "%.2f", s / f }')
echo "find -type f: ${best_find} ms"
echo "ScanFolder:   ${best_scan} ms"
echo "ratio:        ${ratio} (limit ${limit})"
if awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r > l) }'; then
  echo "FAIL: the scan takes more than ${limit} times as long as find" >&2
  exit 1
fi
echo "OK"
