#!/usr/bin/env bash
# The Advanced lost-partition scan against dd reading the same image in the same 256 KiB blocks.
# Both read a warm page cache: the image is read once before, and each reader runs three times
# in turn; the best time of each counts. Prints both speeds and the ratio scan/dd.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli="$root/build/bench/bin/pellora-cli"
[[ -x "$cli" ]] || cli="$root/build/default/bin/pellora-cli"
size_mib=${PARTITION_SCAN_MIB:-1024}
export PATH="$PATH:/usr/sbin:/sbin"
# shellcheck source=lib/timing.bash
source "$root/bench/lib/timing.bash"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
image="$work/card.img"
# Data that is not zero (a sparse hole would flatter both readers), with a FAT32 partition in it
# that no partition table names.
head -c "${size_mib}M" /dev/urandom > "$image"
mkfs.fat --invariant -F 32 -s 8 --offset 8192 "$image" $((256 * 1024)) > /dev/null 2>&1
dd if=/dev/zero of="$image" bs=512 count=1 conv=notrunc status=none

cat "$image" > /dev/null  # warm the page cache for both

run_dd() { dd if="$image" of=/dev/null bs=256k status=none; }
run_scan() { "$cli" --no-system-drives --json --image "$image" partitions --drive disk:0 --advanced; }
{ read -r best_dd; read -r best_scan; } < <(best_times run_dd run_scan)
found=$("$cli" --no-system-drives --json --image "$image" partitions --drive disk:0 --advanced | grep -c '"found": true' || true)

printf 'image: %d MiB of random data, FAT32 at 8192 with a zeroed MBR (found by the scan: %d)\n' "$size_mib" "$found"
printf 'dd bs=256k              %8.3f s  %8.1f MiB/s\n' "$best_dd" "$(echo "$size_mib / $best_dd" | bc -l)"
printf 'Advanced partition scan %8.3f s  %8.1f MiB/s\n' "$best_scan" "$(echo "$size_mib / $best_scan" | bc -l)"
printf 'ratio scan/dd speed: %.2f (goal: at least 0.70)\n' "$(echo "$best_dd / $best_scan" | bc -l)"
