"""Damages directory entries on a FAT32 volume inside a disk image, as a card meets it.

usage: fat_entry.py IMAGE PARTITION_START_SECTOR PARENT_FOLDER_NAME CHILD_SHORT_NAME
  Removes the directory entry of a folder from its parent, leaving the folder's clusters
  allocated: the folder is then reachable only by scanning.
usage: fat_entry.py IMAGE PARTITION_START_SECTOR --rename-short FOLDER_NAME OLD_8.3 NEW_8.3
  Rewrites the 11-byte 8.3 name of a file of a root folder in place (FOLDER_NAME, OLD and NEW as stored, e.g.
  "LETTER~1TXT" "GRANDMA TXT"), as a program that knows no long names renames it: the long-name
  entries before it stay, with a checksum that no longer matches.

Only the root's direct children are looked up as parents, which is all the sample card needs. The
entries removed must be the last ones of the parent, because a zeroed entry ends a directory.
"""

import struct
import sys


def main(image, start, parent, child, rename_to=None):
    with open(image, "r+b") as disk:
        base = start * 512
        disk.seek(base)
        boot = disk.read(512)
        bytes_per_sector, = struct.unpack_from("<H", boot, 11)
        sectors_per_cluster = boot[13]
        reserved, = struct.unpack_from("<H", boot, 14)
        fats = boot[16]
        fat_size, = struct.unpack_from("<I", boot, 36)
        root_cluster, = struct.unpack_from("<I", boot, 44)
        cluster_bytes = bytes_per_sector * sectors_per_cluster
        data_start = base + (reserved + fats * fat_size) * bytes_per_sector

        def cluster_offset(cluster):
            return data_start + (cluster - 2) * cluster_bytes

        def find(cluster, name, folder=True):
            disk.seek(cluster_offset(cluster))
            block = disk.read(cluster_bytes)
            for at in range(0, cluster_bytes, 32):
                entry = block[at:at + 32]
                if entry[0] == 0:
                    break
                if entry[:11] == name and entry[11] != 0x0F and bool(entry[11] & 0x10) == folder:
                    return at, struct.unpack_from("<H", entry, 20)[0] << 16 | struct.unpack_from("<H", entry, 26)[0]
            raise SystemExit("%s not found" % name)

        def short(name):
            return name.ljust(11).encode()

        _, parent_cluster = find(root_cluster, short(parent))
        if rename_to is not None:
            at, _ = find(parent_cluster, child.encode("latin-1"), folder=False)
            disk.seek(cluster_offset(parent_cluster) + at)
            disk.write(rename_to.encode("latin-1"))
            return
        at, _ = find(parent_cluster, short(child))
        disk.seek(cluster_offset(parent_cluster) + at)
        rest = disk.read(cluster_bytes - at)
        if len(rest) > 32 and rest[32] != 0:
            raise SystemExit("%s is not the last entry of %s" % (child, parent))
        first = at
        # Long-name entries sit just before their short entry.
        disk.seek(cluster_offset(parent_cluster))
        block = disk.read(cluster_bytes)
        while first >= 32 and block[first - 32 + 11] == 0x0F:
            first -= 32
        disk.seek(cluster_offset(parent_cluster) + first)
        disk.write(b"\0" * (at + 32 - first))


if __name__ == "__main__":
    if sys.argv[3] == "--rename-short":
        main(sys.argv[1], int(sys.argv[2]), sys.argv[4], sys.argv[5], sys.argv[6])
    else:
        main(sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4])
