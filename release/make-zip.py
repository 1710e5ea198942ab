#!/usr/bin/env python3
"""Packs the release archive reproducibly: fixed order, fixed time stamps and
attributes, so two builds of the same commit give the same bytes.

usage: make-zip.py ARCHIVE FILE...
"""
import os
import sys
import zipfile

FIXED_TIME = (1980, 1, 1, 0, 0, 0)


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    archive, files = argv[1], argv[2:]
    os.makedirs(os.path.dirname(os.path.abspath(archive)), exist_ok=True)
    temp = archive + ".tmp"
    with zipfile.ZipFile(temp, "w") as zf:
        for path in files:
            info = zipfile.ZipInfo(os.path.basename(path), date_time=FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0          # MS-DOS: no Unix owner or mode bits
            info.external_attr = 0x20       # FILE_ATTRIBUTE_ARCHIVE
            with open(path, "rb") as f:
                zf.writestr(info, f.read(), compresslevel=9)
    os.replace(temp, archive)


if __name__ == "__main__":
    main(sys.argv)
