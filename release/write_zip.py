"""write_zip.py FOLDER ZIP EPOCH

Writes every file below FOLDER into ZIP so that the same files always give
the same bytes: names in sorted order with forward slashes, every time
stamp EPOCH (seconds since 1970, UTC), Unix modes 755 for .exe files and
644 for the rest, deflate at level 9, no directory entries and no extra fields
(no owner, no access or change times)."""

import os
import sys
import time
import zipfile

DOS_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC, the earliest time a zip can hold


def main():
    if len(sys.argv) != 4:
        sys.exit(f"usage: {sys.argv[0]} FOLDER ZIP EPOCH")
    folder, output, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    stamp = time.gmtime(max(epoch, DOS_EPOCH))[:6]
    names = []
    for root, _, files in os.walk(folder):
        for file in files:
            names.append(os.path.relpath(os.path.join(root, file), folder).replace(os.sep, "/"))
    if not names:
        sys.exit(f"{folder} holds no files")
    partial = output + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in sorted(names):
            path = os.path.join(folder, name)
            entry = zipfile.ZipInfo(name, date_time=stamp)
            entry.create_system = 3  # Unix, so the modes below are read
            mode = 0o755 if name.endswith(".exe") else 0o644
            entry.external_attr = (0o100000 | mode) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as file:
                archive.writestr(entry, file.read(), compresslevel=9)
    os.replace(partial, output)


if __name__ == "__main__":
    main()
