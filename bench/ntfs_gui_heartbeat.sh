#!/usr/bin/env bash
# The desktop program on the NTFS volumes of the benchmarks (bench/lib/ntfs_image.bash): a 20 ms
# timer on the GUI thread during the Basic Search, while the tree is shown and while a big folder
# fills the list; the worst delay of each, offscreen (goal: never more than 100 ms late), and how
# long the tree and the list take to appear (goal: within a second). First the 200,000-file volume
# with its folder of 10,000 videos, then the wide one: 100,000 folders and a folder of 100,000
# files. The baseline is the command line's Basic Search of the same image in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=lib/timing.bash
source "$root/bench/lib/timing.bash"
# shellcheck source=lib/ntfs_image.bash
source "$root/bench/lib/ntfs_image.bash"
bin="$root/build/bench/bin"
[[ -x "$bin/bench-gui-heartbeat" ]] || bin="$root/build/default/bin"
media="$root/build/bench-media"
heartbeat() {
  local image=$1 folder=$2
  cat "$image" > /dev/null
  printf '%s\n' "$(basename "$image")"
  printf 'pellora-cli basic  %8.3f s\n' \
    "$(seconds "$bin/pellora-cli" --no-system-drives --volume-image "$image" basic --drive vol:D)"
  QT_QPA_PLATFORM=offscreen "$bin/bench-gui-heartbeat" "$image" "$folder" 2> /dev/null
}
heartbeat "$(ntfs_bench_image "$media")" Videos
heartbeat "$(ntfs_wide_image "$media")" Everything
