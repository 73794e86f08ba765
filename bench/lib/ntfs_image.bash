# The NTFS volume of the benchmarks (sourced, not run): 1 GiB, 4 KiB clusters, 2,000 folders of
# 100 small photos and a folder of 10,000 larger videos (NTFS_BENCH_FILES = 200,000 in all), then
# every 20th photo deleted. Made once with mkntfs and filled through ntfs-3g (needs FUSE, as root),
# then kept in the media folder. Prints the image's path.
ntfs_bench_image() (
  set -euo pipefail
  local media=$1
  local files=${NTFS_BENCH_FILES:-200000}
  local image="$media/basic-ntfs-${files}.img"
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
    python3 - "$mnt" "$files" <<'PY'
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
    umount "$mnt"
    mv "$work/volume.img" "$image"
  fi
  echo "$image"
)
