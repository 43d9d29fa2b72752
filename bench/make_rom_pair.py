#!/usr/bin/env python3
"""Writes two ROM images for the command-line timing: OLD, pseudo-random bytes under the
game's cartridge title, and NEW, the same with a number of scattered 16-bit words changed.
The same seed gives the same two files on every machine."""
import argparse
import random

TITLE_OFFSET = 0xA0
TITLE = b"PLDNX4\x00\x00"
HEADER_END = 0xC0  # the changed words lie past the cartridge header


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--size", type=lambda s: int(s, 0), default=32 << 20)
    parser.add_argument("--words", type=int, default=10000)
    parser.add_argument("--seed", type=int, default=20261208)
    args = parser.parse_args()
    if args.size < HEADER_END + 2 * args.words or args.size % 2:
        parser.error("the image is too small for that many words")

    rng = random.Random(args.seed)
    old = bytearray(rng.randbytes(args.size))
    old[TITLE_OFFSET:TITLE_OFFSET + len(TITLE)] = TITLE
    new = bytearray(old)
    for word in rng.sample(range(HEADER_END // 2, args.size // 2), args.words):
        at = 2 * word
        flip = rng.randrange(1, 0x10000)  # never 0: every chosen word really changes
        new[at] ^= flip & 0xFF
        new[at + 1] ^= flip >> 8

    with open(args.old, "wb") as f:
        f.write(old)
    with open(args.new, "wb") as f:
        f.write(new)


if __name__ == "__main__":
    main()
