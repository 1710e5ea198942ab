#!/usr/bin/env python3
"""Packs the release archive reproducibly: fixed order, fixed time stamps and
attributes, so two builds of the same commit give the same bytes. The files
lie in one folder inside the archive, so that extracting it where it was
downloaded never scatters them among the other files there.

usage: make-zip.py ARCHIVE FOLDER FILE...
"""
import os
import sys
import zipfile

FIXED_TIME = (1980, 1, 1, 0, 0, 0)


def entry(name, attributes):
    info = zipfile.ZipInfo(name, date_time=FIXED_TIME)
    info.create_system = 0          # MS-DOS: no Unix owner or mode bits
    info.external_attr = attributes
    return info


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    archive, folder, files = argv[1], argv[2], argv[3:]
    os.makedirs(os.path.dirname(os.path.abspath(archive)), exist_ok=True)
    temp = archive + ".tmp"
    with zipfile.ZipFile(temp, "w") as zf:
        zf.writestr(entry(folder + "/", 0x10), b"")     # FILE_ATTRIBUTE_DIRECTORY
        for path in files:
            info = entry(folder + "/" + os.path.basename(path), 0x20)   # FILE_ATTRIBUTE_ARCHIVE
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                zf.writestr(info, f.read(), compresslevel=9)
    os.replace(temp, archive)


if __name__ == "__main__":
    main(sys.argv)
