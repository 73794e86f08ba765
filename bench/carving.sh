#!/usr/bin/env bash
# Photo Search against photorec (JPEG family only), foremost -t jpg and cp of the image, all on the
# same 1 GiB image of real photos and videos at random sector-aligned places among random data,
# writing into the same folder. Also Photo Search's peak memory at two image sizes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli="$root/build/bench/bin/pellora-cli"
[[ -x "$cli" ]] || { echo "carving: $cli is missing; run 'make bench'" >&2; exit 1; }
for tool in photorec foremost /usr/bin/time python3 cjpeg; do
  command -v "$tool" >/dev/null || { echo "carving: $tool is missing; run scripts/install-deps bench" >&2; exit 1; }
done

# shellcheck source=lib/carving_image.bash
source "$root/bench/lib/carving_image.bash"
big=$(carving_image 1024)
small=$(carving_image 256)

work=$(mktemp -d "$root/build/bench-carving.XXXXXX")
trap 'rm -rf "$work"' EXIT

# measure NAME COMMAND...: wall seconds and peak resident KiB of one run into a fresh $work/out.
measure() {
  local name=$1
  shift
  rm -rf "$work/out"
  mkdir -p "$work/out"
  sync
  (cd "$work/out" && /usr/bin/time -f "%e %M" -o "$work/$name.time" "$@" >"$work/$name.log" 2>&1) ||
    { echo "carving: $name failed:" >&2; tail -5 "$work/$name.log" >&2; exit 1; }
  read -r wall rss <"$work/$name.time"
  files=$(find "$work/out" -type f | wc -l)
  printf '%-26s %8.2f %12.1f %8d\n' "$name" "$wall" "$(awk -v k="$rss" 'BEGIN { print k / 1024 }')" "$files"
  eval "${name//[^a-z]/_}_wall=$wall; ${name//[^a-z]/_}_rss=$rss"
}

cat "$big" "$small" >/dev/null  # every tool reads from the page cache
placed=$(grep -c ' jpg$' "$big.manifest")
echo "image: $(($(stat -c %s "$big") >> 20)) MiB with $placed photos and $(grep -c ' avi$' "$big.manifest") videos"
printf '%-26s %8s %12s %8s\n' "run" "wall s" "peak MiB" "files"
measure cp cp "$big" "$work/out/copy.img"
measure pellora "$cli" --no-system-drives --image "$big" photo --drive disk:0 --dest "$work/out"
whole=$(python3 "$root/bench/check_carved_photos.py" "$big" "$big.manifest" "$work/out")
measure photorec photorec /d "$work/out/recup_dir" /cmd "$big" fileopt,everything,disable,jpg,enable,search
photorec_whole=$(python3 "$root/bench/check_carved_photos.py" "$big" "$big.manifest" "$work/out")
measure foremost foremost -t jpg -i "$big" -o "$work/out/foremost"
foremost_whole=$(python3 "$root/bench/check_carved_photos.py" "$big" "$big.manifest" "$work/out")
measure pellora_small "$cli" --no-system-drives --image "$small" photo --drive disk:0 --dest "$work/out"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
echo
echo "photos whole: Photo Search $whole, photorec $photorec_whole, foremost $foremost_whole"
echo "Photo Search / photorec wall time: $(ratio "$pellora_wall" "$photorec_wall")  (goal <= 0.5)"
echo "Photo Search / foremost wall time: $(ratio "$pellora_wall" "$foremost_wall")"
echo "Photo Search / cp wall time:       $(ratio "$pellora_wall" "$cp_wall")  (goal <= 2)"
echo "Photo Search peak memory: $((pellora_small_rss / 1024)) MiB at 256 MiB, $((pellora_rss / 1024)) MiB at 1024 MiB"
