"""Deterministic media for the sample card: camera-like JPEG photos, a short MJPEG video and a PDF.

Pictures are drawn here as PPM and compressed by cjpeg (libjpeg-turbo), so the same inputs always
give the same bytes.
"""

import random
import struct
import subprocess


def draw_ppm(width, height, seed):
    """A landscape-like picture: sky and ground gradients, a few discs and fine grain."""
    rng = random.Random(seed)
    sky = [rng.randrange(60, 200) for _ in range(3)]
    ground = [rng.randrange(20, 140) for _ in range(3)]
    horizon = height * rng.randrange(35, 65) // 100
    discs = [(rng.randrange(width), rng.randrange(height), rng.randrange(width // 16, width // 5),
              [rng.randrange(256) for _ in range(3)]) for _ in range(6)]
    grain = bytes(rng.randrange(0, 24) for _ in range(4096))
    rows = []
    for y in range(height):
        base = sky if y < horizon else ground
        shade = (y * 96) // height
        line = bytearray()
        row_discs = [(cx, r * r - (y - cy) * (y - cy), colour) for cx, cy, r, colour in discs
                     if abs(y - cy) < r]
        for x in range(width):
            g = grain[(x * 31 + y * 17) & 4095]
            colour = None
            for cx, reach, disc_colour in row_discs:
                if (x - cx) * (x - cx) <= reach:
                    colour = disc_colour
            if colour is None:
                colour = (base[0] + shade, base[1] + shade // 2, base[2] + (x * 40) // width)
            line += bytes(min(255, c + g) for c in colour)
        rows.append(bytes(line))
    return b"P6\n%d %d\n255\n" % (width, height) + b"".join(rows)


def jpeg_from_ppm(ppm, quality=90):
    return subprocess.run(["cjpeg", "-quality", str(quality), "-optimize"], input=ppm,
                          stdout=subprocess.PIPE, check=True).stdout


def exif_segment(make, model, stamp):
    """An APP1 Exif segment with Make, Model and DateTime in a little-endian TIFF structure."""
    entries = [(0x010F, make.encode() + b"\0"), (0x0110, model.encode() + b"\0"),
               (0x0132, stamp.encode() + b"\0")]
    ifd_size = 2 + 12 * len(entries) + 4
    data_offset = 8 + ifd_size
    ifd = struct.pack("<H", len(entries))
    data = b""
    for tag, value in entries:
        ifd += struct.pack("<HHII", tag, 2, len(value), data_offset + len(data))
        data += value
    ifd += struct.pack("<I", 0)
    tiff = b"II*\0" + struct.pack("<I", 8) + ifd + data
    body = b"Exif\0\0" + tiff
    return b"\xFF\xE1" + struct.pack(">H", len(body) + 2) + body


def camera_photo(width, height, seed, stamp, exif=True):
    """A JPEG as a camera writes it: SOI then an Exif APP1 in place of the JFIF APP0."""
    jpeg = jpeg_from_ppm(draw_ppm(width, height, seed))
    if not exif:
        return jpeg
    assert jpeg[:4] == b"\xFF\xD8\xFF\xE0"
    app0_length = struct.unpack(">H", jpeg[4:6])[0]
    rest = jpeg[4 + app0_length:]
    return b"\xFF\xD8" + exif_segment("Pellora Labs", "PelloCam 100", stamp) + rest


def mjpeg_avi(frames, width, height, fps):
    """A RIFF AVI holding Motion-JPEG frames, with an idx1 index."""
    def chunk(fourcc, payload):
        pad = b"\0" if len(payload) % 2 else b""
        return fourcc + struct.pack("<I", len(payload)) + payload + pad

    def riff_list(kind, fourcc, payload):
        return kind + struct.pack("<I", len(payload) + 4) + fourcc + payload

    largest = max(len(f) for f in frames)
    avih = struct.pack("<IIIIIIIIII4I", 1000000 // fps, largest * fps, 0, 0x10, len(frames), 0, 1,
                       largest, width, height, 0, 0, 0, 0)
    strh = b"vids" + b"MJPG" + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, fps, 0, len(frames),
                                            largest, 0xFFFFFFFF, 0, 0, 0, width, height)
    strf = struct.pack("<IiiHH4sIiiII", 40, width, height, 1, 24, b"MJPG", width * height * 3, 0, 0, 0, 0)
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) +
                     riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_payload = b""
    index = b""
    for frame in frames:
        index += b"00dc" + struct.pack("<III", 0x10, 4 + len(movi_payload), len(frame))
        movi_payload += chunk(b"00dc", frame)
    movi = riff_list(b"LIST", b"movi", movi_payload)
    body = hdrl + movi + chunk(b"idx1", index)
    return b"RIFF" + struct.pack("<I", len(body) + 4) + b"AVI " + body


def simple_pdf(title, lines):
    """A one-page PDF with a title and lines of text in Helvetica."""
    text = "BT /F1 18 Tf 72 760 Td (%s) Tj ET\n" % title
    y = 730
    for line in lines:
        text += "BT /F1 12 Tf 72 %d Td (%s) Tj ET\n" % (y, line)
        y -= 18
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(text) + text.encode() + b"endstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    ]
    out = b"%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % number + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return out
