"""Writes the files of the sample card into a staging folder: build.py STAGING_DIR."""

import os
import sys

from media import camera_photo, jpeg_from_ppm, draw_ppm, mjpeg_avi, simple_pdf


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def main(stage):
    dcim = os.path.join(stage, "DCIM", "100PELLO")
    photos = [("IMG_0001.JPG", 1024, 768, 1), ("IMG_0002.JPG", 1024, 768, 2), ("IMG_0003.JPG", 768, 1024, 3),
              ("IMG_0004.JPG", 1600, 1200, 4), ("IMG_0005.JPG", 640, 480, 5), ("IMG_0006.JPG", 1024, 768, 6),
              ("IMG_0008.JPG", 800, 600, 8), ("Birthday party - cake and candles.jpg", 1024, 768, 9)]
    for number, (name, width, height, seed) in enumerate(photos):
        write(os.path.join(dcim, name),
              camera_photo(width, height, seed, "2026:07:%02d 10:%02d:00" % (number + 1, number * 7)))
    write(os.path.join(dcim, "Holiday at the beach 2026.jpg"), camera_photo(1280, 960, 10, "", exif=False))
    frames = [jpeg_from_ppm(draw_ppm(320, 240, 100 + i), quality=80) for i in range(12)]
    write(os.path.join(dcim, "MVI_0007.AVI"), mjpeg_avi(frames, 320, 240, 12))

    lost = os.path.join(stage, "DCIM", "101PELLO")
    for name, seed in (("IMG_0101.JPG", 21), ("IMG_0102.JPG", 22)):
        write(os.path.join(lost, name), camera_photo(1024, 768, seed, "2026:08:01 09:00:00"))

    docs = os.path.join(stage, "Documents")
    write(os.path.join(docs, "Packing list for the trip.pdf"),
          simple_pdf("Packing list", ["Camera and two spare cards", "Charger", "Walking boots", "Rain coat"]))
    write(os.path.join(docs, "notes.txt"), b"Card from the summer trip.\r\nBack up before formatting!\r\n")
    # An accented name: its 8.3 name holds bytes above 127 in the OEM code page.
    write(os.path.join(docs, "\u00dcn\u00efc\u00f6d\u00e9 na\u00efve caf\u00e9.txt"),
          "Caf\u00e9 cr\u00e8me, cr\u00eape br\u00fbl\u00e9e.\r\n".encode("utf-8"))
    # Saved on the card as "Letter to grandma.txt", then renamed by a program that writes 8.3 names
    # only: its long name is stale and the file is GRANDMA.TXT.
    write(os.path.join(docs, "GRANDMA.TXT"), b"Dear grandma, the photos are on this card.\r\n")

    trip = os.path.join(stage, "Trip 2025")
    write(os.path.join(trip, "Mountain sunrise.jpg"), camera_photo(1024, 768, 31, "2025:09:12 06:41:00"))
    write(os.path.join(trip, "IMG_2001.JPG"), camera_photo(1024, 768, 32, "2025:09:12 07:02:00"))


if __name__ == "__main__":
    main(sys.argv[1])
