#!/usr/bin/env bash
# Basic Search of an NTFS volume holding 200,000 files against The Sleuth Kit's fls -r listing the
# same image. The image (1 GiB, 4 KiB clusters: 2,000 folders of 100 small photos and a folder of
# 10,000 larger videos, then every 20th photo deleted) is made once with mkntfs and filled through
# ntfs-3g (needs FUSE, as root), then kept under build/bench-media. Both programs print every
# folder and file with its size as text; they run on a warm page cache, three times in turn, and the
# best time of each counts. The --json form is timed once beside them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=lib/timing.bash
source "$root/bench/lib/timing.bash"
cli="$root/build/bench/bin/pellora-cli"
[[ -x "$cli" ]] || cli="$root/build/default/bin/pellora-cli"
# shellcheck source=lib/ntfs_image.bash
source "$root/bench/lib/ntfs_image.bash"
image=$(ntfs_bench_image "$root/build/bench-media")

cat "$image" > /dev/null  # warm the page cache for both

run_fls() { fls -r -p -l "$image"; }
run_basic() { "$cli" --no-system-drives --volume-image "$image" basic --drive vol:D; }
{ read -r best_fls; read -r best_basic; } < <(best_times run_fls run_basic)
peak_kib=$(peak_kib "$cli" --no-system-drives --volume-image "$image" basic --drive vol:D)
json_seconds=$(seconds "$cli" --no-system-drives --json --volume-image "$image" basic --drive vol:D)
json_kib=$(peak_kib "$cli" --no-system-drives --json --volume-image "$image" basic --drive vol:D)
# Records of the $MFT: the size of its $DATA over 1,024 bytes a record.
mft_bytes=$(istat "$image" 0 |
  awk '/^Type: \$DATA/ && !seen {seen = 1; for (i = 1; i <= NF; i++) if ($i == "size:") print $(i + 1)}')
records=$((mft_bytes / 1024))
listed=$("$cli" --no-system-drives --json --volume-image "$image" basic --drive vol:D 2>/dev/null |
  grep -o '"record_sector"' | wc -l)
fls_listed=$(fls -r -p "$image" | grep -vc $'\t\\$')

printf 'image: 1 GiB NTFS, 4 KiB clusters, %d MFT records; Basic Search lists %d files, fls -r %d entries\n' \
  "$records" "$listed" "$fls_listed"
printf 'fls -r -p -l      %8.3f s  %10.0f records/s\n' "$best_fls" "$(echo "$records / $best_fls" | bc -l)"
printf 'Basic Search      %8.3f s  %10.0f records/s  (peak memory %d KiB)\n' "$best_basic" \
  "$(echo "$records / $best_basic" | bc -l)" "$peak_kib"
printf 'Basic Search --json %6.3f s  %10.0f records/s  (peak memory %d KiB)\n' "$json_seconds" \
  "$(echo "$records / $json_seconds" | bc -l)" "$json_kib"
printf 'ratio Basic Search/fls speed: %.2f (--json: %.2f)\n' "$(echo "$best_fls / $best_basic" | bc -l)" \
  "$(echo "$best_fls / $json_seconds" | bc -l)"
