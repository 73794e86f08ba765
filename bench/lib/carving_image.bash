# The carving benchmarks' disk images (sourced, not run). Needs $root.

# carving_image SIZE_MIB: the path of the image of real photos and videos among random data,
# built once under build/bench-media.
carving_image() {
  local img="$root/build/bench-media/carving-$1m.img"
  if [[ ! -f "$img" ]]; then
    mkdir -p "$(dirname "$img")"
    echo "building the $1 MiB benchmark image (once) ..." >&2
    python3 "$root/bench/make_carving_image.py" "$img" "$1" "$img.manifest"
  fi
  echo "$img"
}
