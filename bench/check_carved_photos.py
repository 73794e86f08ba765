"""Counts the placed photos that came back whole: check_carved_photos.py IMAGE MANIFEST FOLDER

A photo came back whole when some recovered file begins with all of its bytes.
"""

import os
import sys

KEY = 4096


def main(image, manifest, folder):
    by_key = {}
    for base, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(base, name)
            with open(path, "rb") as f:
                by_key.setdefault(f.read(KEY), []).append(path)
    whole = total = 0
    with open(image, "rb") as img, open(manifest) as listing:
        for line in listing:
            offset, length, kind = line.split()
            if kind != "jpg":
                continue
            total += 1
            img.seek(int(offset))
            photo = img.read(int(length))
            for path in by_key.get(photo[:KEY], []):
                with open(path, "rb") as f:
                    if f.read(len(photo)) == photo:
                        whole += 1
                        break
    print("%d/%d" % (whole, total))


if __name__ == "__main__":
    main(*sys.argv[1:])
