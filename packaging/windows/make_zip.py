#!/usr/bin/env python3
"""Packs an installed folder into the Windows zip, the same bytes for the same files:
    make_zip.py FOLDER TOP OUTPUT
Every file under FOLDER goes under TOP/ in OUTPUT, in the order of their names, each dated
SOURCE_DATE_EPOCH (in UTC), executable or not as the only thing kept of its mode, with no owner
and no other field that would tell who packed it, or when."""

import os
import sys
import time
import zipfile


def main(folder, top, output):
    dated = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
    names = sorted(
        os.path.relpath(os.path.join(at, name), folder).replace(os.sep, "/")
        for at, _, files in os.walk(folder)
        for name in files
    )
    with zipfile.ZipFile(output + ".part", "w") as packed:
        for name in names:
            path = os.path.join(folder, name)
            entry = zipfile.ZipInfo(f"{top}/{name}", date_time=dated)
            entry.create_system = 3  # Unix, so that the mode below is read
            entry.external_attr = (0o100755 if os.access(path, os.X_OK) else 0o100644) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as contents:
                packed.writestr(entry, contents.read(), compresslevel=9)
    os.replace(output + ".part", output)


if __name__ == "__main__":
    main(*sys.argv[1:])
