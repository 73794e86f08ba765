#!/usr/bin/env bash
# Saving 2 GiB of files out of a FAT32 image (pellora-cli basic --save) against cp -r of the same
# files extracted from the image beforehand. The image (random data under a fresh FAT32 with 2,048
# files of 0.5 to 1.5 MiB in 64 folders) and the extracted files are built once and kept under
# build/bench-media. Both run on a warm page cache, three times in turn; the best time of each
# counts, and each destination is synced and removed between runs. pellora-cli's time includes the
# Basic Search that finds the files, so that search is timed on its own too and the save's share
# is shown apart.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli="$root/build/bench/bin/pellora-cli"
[[ -x "$cli" ]] || cli="$root/build/default/bin/pellora-cli"
media="$root/build/bench-media"
image="$media/save-fat32-2304.img"
files="$media/save-fat32-2304.files"
export PATH="$PATH:/usr/sbin:/sbin" MTOOLS_SKIP_CHECK=1
# shellcheck source=lib/timing.bash
source "$root/bench/lib/timing.bash"

if [[ ! -f "$image" ]]; then
  mkdir -p "$media"
  work=$(mktemp -d -p "$media")
  trap 'rm -rf "$work"' EXIT
  # Random bytes first, so that free space is no sparse hole that reads faster than a card.
  head -c 2304M /dev/urandom > "$work/card.img"
  mkfs.fat --invariant -F 32 -s 8 "$work/card.img" > /dev/null
  for folder in $(seq -w 1 64); do
    mkdir -p "$work/files/DCIM/$folder"
    for n in $(seq -w 1 32); do
      # 0.5 MiB to 1.5 MiB, 1 MiB on average: 2 GiB in all.
      head -c $((524288 + (10#$n - 1) * 33825 + 10#$folder)) /dev/urandom > "$work/files/DCIM/$folder/IMG_$folder$n.JPG"
    done
  done
  mcopy -s -i "$work/card.img" "$work/files/DCIM" ::
  mv "$work/card.img" "$image"
  rm -rf "$work"
  trap - EXIT
fi
if [[ ! -d "$files" ]]; then
  rm -rf "$files.partial"
  mkdir -p "$files.partial"
  mcopy -s -n -i "$image" '::*' "$files.partial/"
  mv "$files.partial" "$files"
fi

out="$media/save-out"
rm -rf "$out"
mkdir -p "$out"
trap 'rm -rf "$out"' EXIT
cat "$image" > /dev/null  # warm the page cache for both
tar cf - -C "$files" . > /dev/null

run_cp() { cp -r "$files" "$out/cp"; }
after_run_cp() { rm -rf "$out/cp"; }
run_save() { "$cli" --no-system-drives --volume-image "$image" basic --drive vol:D --save "$out/save"; }
after_run_save() { rm -rf "$out/save"; }
run_search() { "$cli" --no-system-drives --volume-image "$image" basic --drive vol:D; }
{ read -r best_cp; read -r best_save; read -r best_search; } < <(best_times run_cp run_save run_search)
# The saved files match what cp copied.
"$cli" --no-system-drives --volume-image "$image" basic --drive vol:D --save "$out/save" > /dev/null 2>&1
if ! diff -r -q "$files/DCIM" "$out/save/DCIM" > /dev/null; then
  echo "the saved files differ from the extracted ones" >&2
  exit 1
fi
bytes=$(du -sb "$files" | cut -f1)
mib=$(echo "$bytes / 1048576" | bc -l)
save_only=$(echo "$best_save - $best_search" | bc -l)

printf 'files: %.0f MiB in 2,048 files, FAT32 image of 2,304 MiB with 4 KiB clusters\n' "$mib"
printf 'cp -r of the extracted files   %8.3f s  %8.1f MiB/s\n' "$best_cp" "$(echo "$mib / $best_cp" | bc -l)"
printf 'basic --save (search + save)   %8.3f s  %8.1f MiB/s\n' "$best_save" "$(echo "$mib / $best_save" | bc -l)"
printf 'basic alone (the search)       %8.3f s\n' "$best_search"
printf 'the save alone (difference)    %8.3f s  %8.1f MiB/s\n' "$save_only" "$(echo "$mib / $save_only" | bc -l)"
printf 'ratio save/cp time: %.2f (goal: at most 1.25); with the search: %.2f\n' \
  "$(echo "$save_only / $best_cp" | bc -l)" "$(echo "$best_save / $best_cp" | bc -l)"
