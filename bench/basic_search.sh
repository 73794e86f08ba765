#!/usr/bin/env bash
# Basic Search of a 4 GiB FAT32 image against dd reading the same image in 256 KiB blocks. The image
# (random data under a fresh FAT32 holding 2,000 photos-sized files in 50 folders) is built once
# and kept under build/bench-media. Both readers run on a warm page cache, three times in turn;
# the best time of each counts. Also prints Basic Search's peak memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=lib/timing.bash
source "$root/bench/lib/timing.bash"
cli="$root/build/bench/bin/pellora-cli"
[[ -x "$cli" ]] || cli="$root/build/default/bin/pellora-cli"
size_mib=${BASIC_SEARCH_MIB:-4096}
media="$root/build/bench-media"
image="$media/basic-fat32-${size_mib}.img"
export PATH="$PATH:/usr/sbin:/sbin" MTOOLS_SKIP_CHECK=1

if [[ ! -f "$image" ]]; then
  mkdir -p "$media"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  # Random bytes first, so that free space is no sparse hole that reads faster than a card.
  head -c "${size_mib}M" /dev/urandom > "$work/card.img"
  mkfs.fat --invariant -F 32 -s 8 "$work/card.img" > /dev/null
  for folder in $(seq -w 1 50); do
    mkdir -p "$work/files/DCIM/$folder"
    for n in $(seq -w 1 40); do
      head -c $((700000 + 10#$n * 9000)) /dev/urandom > "$work/files/DCIM/$folder/IMG_$folder$n.JPG"
    done
  done
  mcopy -s -i "$work/card.img" "$work/files/DCIM" ::
  mv "$work/card.img" "$image"
fi

cat "$image" > /dev/null  # warm the page cache for both

run_dd() { dd if="$image" of=/dev/null bs=256k status=none; }
run_basic() { "$cli" --no-system-drives --json --volume-image "$image" basic --drive vol:D; }
{ read -r best_dd; read -r best_basic; } < <(best_times run_dd run_basic)
peak_kib=$(peak_kib "$cli" --no-system-drives --json --volume-image "$image" basic --drive vol:D)
folders=$("$cli" --no-system-drives --json --volume-image "$image" basic --drive vol:D 2>/dev/null | grep -c '"children"')

printf 'image: %d MiB FAT32, 4 KiB clusters, 2,000 files in 50 folders (%d folders in the result tree)\n' \
  "$size_mib" "$folders"
printf 'dd bs=256k        %8.3f s  %8.1f MiB/s\n' "$best_dd" "$(echo "$size_mib / $best_dd" | bc -l)"
printf 'Basic Search      %8.3f s  %8.1f MiB/s  (peak memory %d KiB)\n' "$best_basic" \
  "$(echo "$size_mib / $best_basic" | bc -l)" "$peak_kib"
printf 'ratio Basic Search/dd speed: %.2f (goal: at least 0.70)\n' "$(echo "$best_dd / $best_basic" | bc -l)"
