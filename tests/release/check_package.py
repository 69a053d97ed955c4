"""The release zip as a user gets it: exactly the program, README.txt and
LICENSE; the program byte for byte the one the build made, with the
version record it must carry; the read-me naming the project's version;
and SHA256SUMS beside the zip matching it."""

import hashlib
import os
import re
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "resources"))

from exe_resources import Checker  # noqa: E402

CONTENTS = ["LICENSE", "README.txt", "Tervane_Lite.exe"]
SETTINGS_KEY = r"HKEY_CURRENT_USER\Software\Halvedon\Tervane_Lite"
# What the read-me quotes of the program's own texts: a message box and the
# tray menu's item. Each must read the same in the read-me and in the program.
QUOTED_TEXTS = ["Unable to initialize PC Probe! Close PC Probe and try again",
                "Exit Tervane Lite"]


def main():
    if len(sys.argv) != 4:
        sys.exit(f"usage: {sys.argv[0]} ZIP BUILT_PROGRAM VERSION")
    zip_path, built_program, version = sys.argv[1:]
    for path in (zip_path, built_program):
        if not os.path.isfile(path):
            print(f"FAIL: {path} does not exist; build the package first "
                  "(cmake --build --preset windows --target package)")
            sys.exit(1)
    check = Checker("release package")
    zip_name = os.path.basename(zip_path)
    check.expect(zip_name == f"Tervane_Lite-{version}-win32.zip",
                 f"zip named {zip_name}, want the version {version} in it")

    with zipfile.ZipFile(zip_path) as archive:
        check.expect(archive.testzip() is None, "a file in the zip fails its CRC")
        names = archive.namelist()
        check.expect(sorted(names) == CONTENTS, f"zip holds {names}, want exactly {CONTENTS}")
        contents = {name: archive.read(name) for name in names if name in CONTENTS}

    with open(built_program, "rb") as file:
        built = file.read()
    packed = contents.get("Tervane_Lite.exe", b"")
    check.expect(packed == built, f"the zip's Tervane_Lite.exe ({len(packed)} bytes) is not "
                                  f"the built {built_program} ({len(built)} bytes)")
    if packed:
        with tempfile.TemporaryDirectory() as scratch:
            program = os.path.join(scratch, "Tervane_Lite.exe")
            with open(program, "wb") as file:
                file.write(packed)
            record = subprocess.run(
                [sys.executable, os.path.join(HERE, "..", "resources", "check_version_record.py"),
                 program], capture_output=True, text=True, check=False)
            check.expect(record.returncode == 0,
                         f"the zip's program has a wrong version record:\n{record.stdout}")

    readme = contents.get("README.txt", b"").decode("utf-8", errors="replace")
    check.expect(f"Tervane Lite {version}" in readme, f"README.txt does not name version {version}")
    check.expect(SETTINGS_KEY in readme, "README.txt does not say where the options are kept")
    check.expect(not re.search(r"@\w+@", readme), "README.txt holds an unfilled @placeholder@")
    flowing = " ".join(readme.split())  # the read-me's lines wrap mid-sentence
    for text in QUOTED_TEXTS:
        check.expect(f'"{text}"' in flowing, f'README.txt does not quote "{text}"')
        check.expect(text.encode("utf-16-le") in packed,
                     f'the program has no text "{text}", which README.txt quotes')
    licence = contents.get("LICENSE", b"").decode("utf-8", errors="replace")
    check.expect(licence.startswith("MIT License") and "Halvedon" in licence,
                 "LICENSE is not the MIT licence of Halvedon")

    # SHA256SUMS: one line for this zip, and sha256sum agrees with it.
    sums = os.path.join(os.path.dirname(zip_path), "SHA256SUMS")
    if os.path.isfile(sums):
        with open(sums, encoding="ascii") as file:
            lines = file.read().splitlines()
        with open(zip_path, "rb") as file:
            digest = hashlib.sha256(file.read()).hexdigest()
        check.expect(lines == [f"{digest}  {zip_name}"],
                     f"SHA256SUMS reads {lines}, want one line for {zip_name}")
        verified = subprocess.run(["sha256sum", "-c", "SHA256SUMS"], cwd=os.path.dirname(sums),
                                  capture_output=True, text=True, check=False)
        check.expect(verified.returncode == 0, f"sha256sum -c: {verified.stdout}{verified.stderr}")
    else:
        check.expect(False, f"no SHA256SUMS beside {zip_path}")
    check.finish()


if __name__ == "__main__":
    main()
