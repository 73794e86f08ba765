#!/usr/bin/env bash
# The desktop program on the NTFS volume of ntfs_basic_search.sh (run before this one, which makes
# it): a 20 ms timer on the GUI thread during the Basic Search, while the tree is shown and while
# the folder of videos fills the list; the worst delay of each, offscreen. The baseline is the
# command line's Basic Search of the same image in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=lib/timing.bash
source "$root/bench/lib/timing.bash"
bin="$root/build/bench/bin"
[[ -x "$bin/bench-gui-heartbeat" ]] || bin="$root/build/default/bin"
files=${NTFS_BENCH_FILES:-200000}
image="$root/build/bench-media/basic-ntfs-${files}.img"
if [[ ! -f "$image" ]]; then
  echo "no $image: run bench/ntfs_basic_search.sh first"
  exit 0
fi
cat "$image" > /dev/null
cli_seconds=$(seconds "$bin/pellora-cli" --no-system-drives --volume-image "$image" basic --drive vol:D)
printf 'pellora-cli basic  %8.3f s\n' "$cli_seconds"
QT_QPA_PLATFORM=offscreen "$bin/bench-gui-heartbeat" "$image" Videos 2> /dev/null
