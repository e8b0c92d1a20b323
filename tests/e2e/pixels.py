"""Reads pixels of a binary PPM screenshot for the end-to-end tests.

pixels.py SHOT.ppm pixel X Y            prints the colour as RRGGBB
pixels.py SHOT.ppm lit X Y W H          exit 0 when the region holds a non-black pixel
pixels.py SHOT.ppm count RRGGBB X Y W H prints how many pixels of the region have the colour
pixels.py SHOT.ppm size                 prints WIDTHxHEIGHT
pixels.py SHOT.ppm cells                the play field as 32 rows of 32 cells,
                                        '.' for an all-black cell, '#' otherwise
"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit("not an 8-bit binary PPM: " + path)
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]


def colour_at(image, x, y):
    width, _, pixels = image
    i = 3 * (y * width + x)
    return "%02X%02X%02X" % (pixels[i], pixels[i + 1], pixels[i + 2])


def region(image, x, y, w, h):
    for yy in range(y, y + h):
        for xx in range(x, x + w):
            yield colour_at(image, xx, yy)


def main(argv):
    image = read_ppm(argv[1])
    command, args = argv[2], argv[3:]
    if command == "pixel":
        print(colour_at(image, int(args[0]), int(args[1])))
    elif command == "lit":
        return 0 if any(c != "000000" for c in region(image, *map(int, args))) else 1
    elif command == "count":
        wanted = args[0].upper()
        print(sum(1 for c in region(image, *map(int, args[1:])) if c == wanted))
    elif command == "cells":
        for y in range(32):
            print("".join("#" if any(c != "000000" for c in region(image, 16 * x, 16 * y, 16, 16))
                          else "." for x in range(32)))
    elif command == "size":
        print("%dx%d" % (image[0], image[1]))
    else:
        raise SystemExit("unknown command " + command)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
