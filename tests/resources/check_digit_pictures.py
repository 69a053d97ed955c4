"""Every two-digit picture shows its value, pixel for pixel, in the tray font:
black digits for ids 20 to 70, white for 120 to 170, and the same shape for
the same value in both colours; every pixel no stroke covers is transparent
and black under the mask."""

from exe_resources import Checker, IconGroups, program_from_args

# Cell rows and columns of the eight strokes, bounds inclusive.
STROKES = {
    "top": (0, 2, 0, 13),
    "middle": (12, 14, 0, 13),
    "bottom": (25, 27, 0, 13),
    "upper left": (0, 14, 0, 2),
    "lower left": (12, 27, 0, 2),
    "upper right": (0, 14, 11, 13),
    "lower right": (12, 27, 11, 13),
    "centre": (0, 27, 5, 7),
}
DIGITS = {
    0: {"top", "bottom", "upper left", "lower left", "upper right", "lower right"},
    1: {"centre"},
    2: {"top", "middle", "bottom", "upper right", "lower left"},
    3: {"top", "middle", "bottom", "upper right", "lower right"},
    4: {"upper left", "middle", "upper right", "lower right"},
    5: {"top", "middle", "bottom", "upper left", "lower right"},
    6: {"top", "middle", "bottom", "upper left", "lower left", "lower right"},
    7: {"top", "upper right", "lower right"},
    8: set(STROKES) - {"centre"},
    9: {"top", "middle", "upper left", "upper right", "lower right"},
}
CELL_TOP, TENS_LEFT, UNITS_LEFT = 2, 0, 18

BLACK, WHITE = (0, 0, 0), (255, 255, 255)


def stroke_pixels(value):
    """The set of (row, column) a value's two digits cover."""
    covered = set()
    for digit, left in ((value // 10, TENS_LEFT), (value % 10, UNITS_LEFT)):
        for stroke in DIGITS[digit]:
            top_row, bottom_row, left_col, right_col = STROKES[stroke]
            for row in range(top_row, bottom_row + 1):
                for column in range(left_col, right_col + 1):
                    covered.add((CELL_TOP + row, left + column))
    return covered


# One cell pixel per stroke that no other stroke covers.
SAMPLES = {
    "top": (1, 9),
    "middle": (13, 9),
    "bottom": (26, 9),
    "upper left": (6, 1),
    "lower left": (20, 1),
    "upper right": (6, 12),
    "lower right": (20, 12),
    "centre": (20, 6),
}


def read_digits(pixels):
    """The value a picture shows, judged by which strokes are opaque; None
    when a cell lights no digit's strokes."""
    value = 0
    for left in (TENS_LEFT, UNITS_LEFT):
        lit = {name for name, (row, column) in SAMPLES.items()
               if pixels[CELL_TOP + row][left + column][3] == 255}
        matches = [digit for digit, strokes in DIGITS.items() if strokes == lit]
        if not matches:
            return None
        value = value * 10 + matches[0]
    return value


def check_picture(check, group_id, value, colour, pixels):
    covered = stroke_pixels(value)
    check.expect(len(pixels) == 32 and all(len(row) == 32 for row in pixels),
                 f"{group_id}: not 32 x 32")
    check.expect(read_digits(pixels) == value,
                 f"{group_id}: reads as {read_digits(pixels)}, want {value}")
    wrong = []
    for row in range(32):
        for column in range(32):
            red, green, blue, alpha = pixels[row][column]
            want = (*colour, 255) if (row, column) in covered else (*BLACK, 0)
            if (red, green, blue, alpha) != want:
                wrong.append((row, column, (red, green, blue, alpha)))
    check.expect(not wrong, f"{group_id}: {len(wrong)} pixels differ from value {value} "
                            f"in the font, first (row, column, rgba): {wrong[:3]}")


def main():
    program = program_from_args()
    check = Checker("digit pictures")
    groups = IconGroups(program)
    for value in range(20, 71):
        shapes = []
        for group_id, colour in ((value, BLACK), (value + 100, WHITE)):
            if group_id not in groups.files:
                check.expect(False, f"group {group_id} missing")
                continue
            pixels = groups.pixels(group_id)
            check_picture(check, group_id, value, colour, pixels)
            shapes.append([[pixel[3] for pixel in row] for row in pixels])
        check.expect(len(shapes) == 2 and shapes[0] == shapes[1],
                     f"{value} and {value + 100} differ in shape")
    check.finish()


if __name__ == "__main__":
    main()
