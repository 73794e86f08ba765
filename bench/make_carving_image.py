"""Builds the carving benchmark's disk image: make_carving_image.py OUTPUT SIZE_MIB MANIFEST

Random bytes with real JPEG photos (JFIF and Exif, cjpeg at many qualities) and Motion-JPEG AVI
videos written at random sector-aligned places. Same bytes on every run. The manifest lists
"offset length kind" per placed file, so that what comes back can be checked against the image.
"""

import os
import random
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "scripts", "sample_card"))
from media import draw_ppm, exif_segment, jpeg_from_ppm, mjpeg_avi  # noqa: E402

SECTOR = 512


def photos(count, rng):
    bases = [draw_ppm(1024, 768, 500 + seed) for seed in range(4)]
    for i in range(count):
        jpeg = jpeg_from_ppm(bases[i % len(bases)], quality=50 + (i * 7) % 46)
        if i % 2:
            # As a camera writes it: Exif APP1 in place of the JFIF APP0.
            app0 = int.from_bytes(jpeg[4:6], "big")
            jpeg = b"\xFF\xD8" + exif_segment("Pellora Labs", "PelloCam 100", "2026:07:01 10:%02d:00" % (i % 60)) + \
                jpeg[4 + app0:]
        yield "jpg", jpeg


def videos(count, rng):
    frame_base = draw_ppm(320, 240, 900)
    frames = [jpeg_from_ppm(frame_base, quality=40 + q) for q in range(0, 50, 2)]
    for i in range(count):
        clip = [frames[(i + k) % len(frames)] for k in range(40 + 8 * i)]
        yield "avi", mjpeg_avi(clip, 320, 240, 25)


def main(output, size_mib, manifest):
    rng = random.Random(20260701 + size_mib)
    size = size_mib << 20
    items = list(photos(max(1, size_mib * 300 // 1024), rng)) + list(videos(max(1, size_mib * 10 // 1024), rng))
    rng.shuffle(items)
    with open(output + ".tmp", "wb") as out:
        chunk = 16 << 20
        for _ in range(size // chunk):
            out.write(rng.randbytes(chunk))
        out.write(rng.randbytes(size % chunk))
        placed = []
        offset = SECTOR * rng.randrange(1, 4096)
        average_gap = max(SECTOR, (size - sum(len(d) for _, d in items)) // (len(items) + 1))
        for kind, data in items:
            if offset + len(data) > size:
                break
            out.seek(offset)
            out.write(data)
            placed.append((offset, len(data), kind))
            offset += (len(data) + SECTOR - 1) // SECTOR * SECTOR
            offset += SECTOR * rng.randrange(0, 2 * average_gap // SECTOR)
    with open(manifest, "w") as listing:
        for offset, length, kind in placed:
            listing.write("%d %d %s\n" % (offset, length, kind))
    os.replace(output + ".tmp", output)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]), sys.argv[3])
