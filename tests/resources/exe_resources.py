"""Reads the resources of a built program with icoutils and ImageMagick only,
so the checks share nothing with the code that wrote the resources."""

import os
import re
import subprocess
import sys
import tempfile

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
NEUTRAL, US_ENGLISH = 0, 1033


class Checker:
    """Collects failures so that one run reports every fault it finds."""

    def __init__(self, name):
        self.name = name
        self.failures = []
        self.checked = 0

    def expect(self, condition, message):
        self.checked += 1
        if not condition:
            self.failures.append(message)

    def finish(self):
        for failure in self.failures[:60]:
            print("FAIL:", failure)
        if len(self.failures) > 60:
            print(f"... and {len(self.failures) - 60} more")
        print(f"{self.name}: {self.checked} checks, {len(self.failures)} failed")
        sys.exit(1 if self.failures or self.checked == 0 else 0)


def program_from_args(*more):
    """The program named by the first argument, then the values of the
    arguments named in `more`, in order."""
    if len(sys.argv) != 2 + len(more):
        sys.exit(f"usage: {sys.argv[0]} PROGRAM.exe {' '.join(more)}".rstrip())
    program = sys.argv[1]
    if not os.path.isfile(program):
        print(f"FAIL: {program} does not exist; build it first "
              "(cmake --preset windows && cmake --build --preset windows)")
        sys.exit(1)
    return (program, *sys.argv[2:]) if more else program


def run(*command, binary=False):
    result = subprocess.run(command, capture_output=True, check=False)
    if result.returncode != 0:
        raise RuntimeError(f"{' '.join(command)} failed: {result.stderr.decode(errors='replace')}")
    return result.stdout if binary else result.stdout.decode()


def list_resources(program):
    """Every resource as (type, name, language), from wrestool's listing."""
    entries = []
    for line in run("wrestool", "-l", program).splitlines():
        fields = dict(re.findall(r"--(type|name|language)=(\S+)", line))
        if fields:
            entries.append((fields["type"], fields["name"], int(fields.get("language", -1))))
    return entries


def extract_raw(program, kind, name):
    return run("wrestool", "-x", "--raw", f"--type={kind}", f"--name={name}", program,
               binary=True)


class IconGroups:
    """Each icon group rebuilt as an .ico file by wrestool, in a scratch folder."""

    def __init__(self, program):
        self._dir = tempfile.TemporaryDirectory()
        run("wrestool", "-x", f"--type={RT_GROUP_ICON}", "-o", self._dir.name, program)
        self.files = {}
        for file in os.listdir(self._dir.name):
            match = re.search(r"_14_(\d+)(?:_\d+)?\.ico$", file)
            if match:
                self.files[int(match.group(1))] = os.path.join(self._dir.name, file)

    def images(self, group_id):
        """[(width, height, bit depth, palette size)] as icotool lists them."""
        images = []
        for line in run("icotool", "-l", self.files[group_id]).splitlines():
            fields = dict(re.findall(r"--([a-z-]+)=(\d+)", line))
            images.append((int(fields["width"]), int(fields["height"]),
                           int(fields["bit-depth"]), int(fields.get("palette-size", 0))))
        return images

    def pixels(self, group_id, index=0):
        """Rows of (red, green, blue, alpha) tuples, decoded by ImageMagick."""
        path = f"{self.files[group_id]}[{index}]"
        # PAM: a short text header naming the size, then RGBA bytes.
        data = run("convert", path, "-depth", "8", "-alpha", "on", "pam:-", binary=True)
        header_end = data.index(b"ENDHDR\n") + len(b"ENDHDR\n")
        header = dict(line.split(" ", 1) for line in data[:header_end].decode().splitlines()
                      if " " in line)
        width, height = int(header["WIDTH"]), int(header["HEIGHT"])
        data = data[header_end:]
        if header.get("DEPTH") != "4" or len(data) != width * height * 4:
            raise RuntimeError(f"{path}: unexpected decoded form {header}")
        pixels = [tuple(data[i:i + 4]) for i in range(0, len(data), 4)]
        return [pixels[row * width:(row + 1) * width] for row in range(height)]
