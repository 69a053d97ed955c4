"""The icon generator writes the version record from the version the build
hands it, and refuses one the record cannot hold instead of writing a wrong
record."""

import os
import re
import subprocess
import sys
import tempfile

from exe_resources import Checker

# (version, FILEVERSION and PRODUCTVERSION numbers, FileVersion text)
WRITTEN = [
    ("2.5", "2, 5, 0, 0", "2.05"),
    ("3.12.7", "3, 12, 7, 0", "3.12"),
    ("65535.99.65535.65535", "65535, 99, 65535, 65535", "65535.99"),
]
REFUSED = ["", "1", "1.", ".1", "1..0", "1.0.0.0.0", "1.x", "1.0-rc1", "-1.0", "65536.0",
           "1.100", " 1.0"]


def generate(generator, pictures, manifest, output, version):
    return subprocess.run([generator, pictures, manifest, output, version], capture_output=True,
                          text=True, check=False)


def main():
    if len(sys.argv) != 4:
        sys.exit(f"usage: {sys.argv[0]} GENERATOR PICTURES_DIR MANIFEST")
    generator, pictures, manifest = sys.argv[1:]
    check = Checker("version argument")
    with tempfile.TemporaryDirectory() as scratch:
        for number, (version, numbers, text) in enumerate(WRITTEN):
            output = os.path.join(scratch, f"written{number}")
            result = generate(generator, pictures, manifest, output, version)
            check.expect(result.returncode == 0, f"{version!r} refused: {result.stderr.strip()}")
            if result.returncode != 0:
                continue
            with open(os.path.join(output, "Tervane_Lite.rc"), encoding="ascii") as file:
                script = file.read()
            for key in ("FILEVERSION", "PRODUCTVERSION"):
                found = re.findall(rf"^{key} (.*)$", script, re.MULTILINE)
                check.expect(found == [numbers], f"{version!r}: {key} {found}, want {numbers}")
            for key in ("FileVersion", "ProductVersion"):
                found = re.findall(rf'VALUE "{key}", "([^"]*)"', script)
                check.expect(found == [text], f"{version!r}: {key} {found}, want {text!r}")
        for number, version in enumerate(REFUSED):
            output = os.path.join(scratch, f"refused{number}")
            result = generate(generator, pictures, manifest, output, version)
            check.expect(result.returncode != 0, f"{version!r}: accepted")
            check.expect("version" in result.stderr,
                         f"{version!r}: refusal {result.stderr.strip()!r} does not name the version")
            check.expect(not os.path.exists(output), f"{version!r}: files were written anyway")
    check.finish()


if __name__ == "__main__":
    main()
