#!/usr/bin/env python3
"""How far the picture moved left between two raw RGB screenshots of the same strip.

Usage: image_shift.py FIRST.rgb SECOND.rgb WIDTH HEIGHT
Prints the shift s (1..WIDTH/2) for which every pixel of the second shot equals the pixel s columns
to its right in the first, over the columns both show; "0" when the shots are the same; "none" when
no shift explains them (a wrap between the shots, or no text in view).
"""
import sys


def columns(path, width, height):
    data = open(path, "rb").read()
    if len(data) != width * height * 3:
        sys.exit(f"{path}: {len(data)} bytes, not {width}x{height} RGB")
    return [b"".join(data[(y * width + x) * 3:(y * width + x) * 3 + 3] for y in range(height)) for x in range(width)]


def main():
    first, second, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    a, b = columns(first, width, height), columns(second, width, height)
    if len(set(a)) < 3:
        print("none")  # a blank strip shows no movement
        return
    if a == b:
        print("0")
        return
    for shift in range(1, width // 2 + 1):
        if all(b[x] == a[x + shift] for x in range(width - shift)):
            print(shift)
            return
    print("none")


if __name__ == "__main__":
    main()
