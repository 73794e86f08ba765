# The NTFS volumes of the benchmarks (sourced, not run). Each is made once with mkntfs, filled
# through ntfs-3g (needs FUSE, as root) by a Python script, and kept in the media folder.

# ntfs_image_filled MEDIA NAME SCRIPT [ARG...]: the image MEDIA/NAME, 1 GiB, 4 KiB clusters, made by
# running SCRIPT (Python, on stdin of python3) with the mount point and the ARGs. Prints its path.
ntfs_image_filled() (
  set -euo pipefail
  local media=$1 name=$2 script=$3
  shift 3
  local image="$media/$name"
  export PATH="$PATH:/usr/sbin:/sbin"
  if [[ ! -f "$image" ]]; then
    mkdir -p "$media"
    work=$(mktemp -d)
    mnt="$work/mnt"
    mkdir "$mnt"
    trap 'mountpoint -q "$mnt" && umount "$mnt"; rm -rf "$work"' EXIT
    truncate -s 1G "$work/volume.img"
    mkntfs -F -Q -q -c 4096 -L BENCH "$work/volume.img" > /dev/null 2>&1
    ntfs-3g "$work/volume.img" "$mnt" >&2
    python3 - "$mnt" "$@" <<< "$script"
    umount "$mnt"
    mv "$work/volume.img" "$image"
  fi
  echo "$image"
)

# 2,000 folders of 100 small photos and a folder of 10,000 larger videos (NTFS_BENCH_FILES =
# 200,000 in all), then every 20th photo deleted.
ntfs_bench_image() {
  local files=${NTFS_BENCH_FILES:-200000}
  ntfs_image_filled "$1" "basic-ntfs-${files}.img" "$(
    cat <<'PY'
import os, sys
mnt, files = sys.argv[1], int(sys.argv[2])
folders = files // 100
for d in range(folders):
    folder = os.path.join(mnt, 'DCIM', '%03dPELLO' % (d // 100), 'Album %04d' % d)
    os.makedirs(folder)
    for f in range(100):
        with open(os.path.join(folder, 'IMG_%04d_%02d.JPG' % (d, f)), 'wb') as out:
            out.write(b'photo %d %d\n' % (d, f) * (1 + f % 7))
os.makedirs(os.path.join(mnt, 'Videos'))
for v in range(files // 20):
    with open(os.path.join(mnt, 'Videos', 'clip %05d.mp4' % v), 'wb') as out:
        out.write(os.urandom(16) * 2000)
# Deleted last, so that no later file takes their records.
for d in range(folders):
    folder = os.path.join(mnt, 'DCIM', '%03dPELLO' % (d // 100), 'Album %04d' % d)
    for f in range(0, 100, 20):
        os.remove(os.path.join(folder, 'IMG_%04d_%02d.JPG' % (d, f)))
PY
  )" "$files"
}

# The widest trees the desktop program has to show: 100,000 empty folders (100 groups of 1,000)
# and one folder "Everything" of 100,000 small files.
ntfs_wide_image() {
  ntfs_image_filled "$1" "wide-ntfs-100000.img" "$(
    cat <<'PY'
import os, sys
mnt = sys.argv[1]
for g in range(100):
    for d in range(1000):
        os.makedirs(os.path.join(mnt, 'Folders', 'Group %03d' % g, 'Folder %05d' % (g * 1000 + d)))
os.makedirs(os.path.join(mnt, 'Everything'))
for f in range(100000):
    with open(os.path.join(mnt, 'Everything', 'file %06d.txt' % f), 'wb') as out:
        out.write(b'%d\n' % f)
PY
  )"
}
