#!/usr/bin/env bash
# Deep Search of a 4 GiB FAT32 image against dd reading the same range in 1 MiB blocks, both on a
# warm page cache, three times in turn (the best time of each counts); then the peak memory of the
# search, and the analysis and arrangement of 100,000 found directory clusters on their own. The
# image (sparse, with 1 GiB of random data and 1,000 folders holding small files) is built once and
# kept under build/bench-media.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=lib/timing.bash
source "$root/bench/lib/timing.bash"
cli="$root/build/bench/bin/pellora-cli"
[[ -x "$cli" ]] || cli="$root/build/default/bin/pellora-cli"
analysis="$root/build/bench/bin/bench-deep-analysis"
size_mib=${DEEP_SEARCH_MIB:-4096}
media="$root/build/bench-media"
image="$media/deep-fat32-${size_mib}.img"
export PATH="$PATH:/usr/sbin:/sbin" MTOOLS_SKIP_CHECK=1

if [[ ! -f "$image" ]]; then
  mkdir -p "$media"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  truncate -s "${size_mib}M" "$work/card.img"
  mkfs.fat --invariant -F 32 -s 8 "$work/card.img" > /dev/null
  for folder in $(seq -w 1 50); do
    for sub in $(seq -w 1 20); do
      mkdir -p "$work/files/DCIM/$folder/$sub"
      head -c 20000 /dev/urandom > "$work/files/DCIM/$folder/$sub/IMG_$sub.JPG"
    done
  done
  mcopy -s -i "$work/card.img" "$work/files/DCIM" ::
  # Data where free space would be: a card is never all holes.
  for at in 1024 2560; do
    head -c 512M /dev/urandom | dd of="$work/card.img" bs=1M seek="$at" conv=notrunc status=none
  done
  mv "$work/card.img" "$image"
fi

cat "$image" > /dev/null  # warm the page cache for both

run_dd() { dd if="$image" of=/dev/null bs=1M status=none; }
run_deep() { "$cli" --no-system-drives --json --volume-image "$image" deep --drive vol:D; }
{ read -r best_dd; read -r best_deep; } < <(best_times run_dd run_deep)
peak_kib=$(peak_kib "$cli" --no-system-drives --json --volume-image "$image" deep --drive vol:D)
folders=$("$cli" --no-system-drives --json --volume-image "$image" deep --drive vol:D 2>/dev/null | grep -c '"children"')

printf 'image: %d MiB FAT32, 4 KiB clusters, %d folders in the result tree\n' "$size_mib" "$folders"
printf 'dd bs=1M          %8.3f s  %8.1f MiB/s\n' "$best_dd" "$(echo "$size_mib / $best_dd" | bc -l)"
printf 'Deep Search       %8.3f s  %8.1f MiB/s  (peak memory %d KiB)\n' "$best_deep" \
  "$(echo "$size_mib / $best_deep" | bc -l)" "$peak_kib"
printf 'ratio Deep Search/dd speed: %.2f (goal: at least 0.80)\n' "$(echo "$best_dd / $best_deep" | bc -l)"
printf 'peak memory goal: below %d KiB (64 MiB + 200 bytes per folder)\n' $((65536 + folders * 200 / 1024))
if [[ -x "$analysis" ]]; then
  "$analysis" 100000
fi
