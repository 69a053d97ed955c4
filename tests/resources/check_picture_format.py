"""The icon generator refuses a damaged picture grid, naming the file and the
line, instead of drawing a shifted or wrong picture."""

import os
import shutil
import subprocess
import sys
import tempfile

from exe_resources import Checker

PICTURES = ("application.txt", "snowflake.txt", "burning_match.txt")


def first_grid_row(text, size):
    lines = text.split("\n")
    return lines.index(f"image {size}x{size}:") + 1, lines


def short_row(text):
    index, lines = first_grid_row(text, 32)
    lines[index] = lines[index][:-1]
    return "\n".join(lines)


def stray_character(text):
    index, lines = first_grid_row(text, 32)
    lines[index] = "?" + lines[index][1:]
    return "\n".join(lines)


def transparent_pixel(text):
    text = text.replace("legend:\n", "legend:\n  ~  transparent\n", 1)
    index, lines = first_grid_row(text, 32)
    lines[index + 5] = "~" + lines[index + 5][1:]
    return "\n".join(lines)


def without_small_image(text):
    return text[:text.index("image 16x16:")]


def unknown_colour(text):
    return text.replace("legend:\n", "legend:\n  ~  orange\n", 1)


# (picture file, damage, words the refusal must contain)
DAMAGES = [
    ("snowflake.txt", short_row, ["snowflake.txt:", "pixels"]),
    ("burning_match.txt", stray_character, ["burning_match.txt:", "'?'"]),
    ("application.txt", transparent_pixel, ["opaque"]),
    ("burning_match.txt", without_small_image, ["sizes"]),
    ("application.txt", unknown_colour, ["application.txt:", "orange"]),
]


def generate(generator, pictures, manifest, output, version="1.0.0"):
    return subprocess.run([generator, pictures, manifest, output, version], capture_output=True,
                          text=True, check=False)


def main():
    if len(sys.argv) != 4:
        sys.exit(f"usage: {sys.argv[0]} GENERATOR PICTURES_DIR MANIFEST")
    generator, source, manifest = sys.argv[1:]
    check = Checker("picture format")
    with tempfile.TemporaryDirectory() as scratch:
        pictures = os.path.join(scratch, "pictures")
        shutil.copytree(source, pictures)
        intact = generate(generator, pictures, manifest, os.path.join(scratch, "intact"))
        check.expect(intact.returncode == 0, f"the intact pictures fail: {intact.stderr}")
        for number, (name, damage, words) in enumerate(DAMAGES):
            shutil.rmtree(pictures)
            shutil.copytree(source, pictures)
            path = os.path.join(pictures, name)
            with open(path, encoding="ascii") as file:
                text = file.read()
            with open(path, "w", encoding="ascii") as file:
                file.write(damage(text))
            output = os.path.join(scratch, f"damaged{number}")
            result = generate(generator, pictures, manifest, output)
            label = f"{name} with {damage.__name__.replace('_', ' ')}"
            check.expect(result.returncode != 0, f"{label}: accepted")
            check.expect(all(word in result.stderr for word in words),
                         f"{label}: refusal {result.stderr.strip()!r} lacks {words}")
            check.expect(not os.path.exists(os.path.join(output, "Tervane_Lite.rc")),
                         f"{label}: a resource script was written anyway")
    check.finish()


if __name__ == "__main__":
    main()
