"""The three drawn pictures: the application icon opaque on dark cyan, and the
snowflake and the burning match at both sizes on a transparent ground, in
their colours, with a black outline against the ground."""

from collections import Counter

from exe_resources import Checker, IconGroups, program_from_args

STANDARD = {
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
}
BLACK, WHITE, CYAN, DARK_CYAN = (0, 0, 0), (255, 255, 255), (0, 255, 255), (0, 128, 128)
RED, YELLOW, GREYS = (255, 0, 0), (255, 255, 0), {(128, 128, 128), (192, 192, 192)}


def opaque_colours(pixels):
    return Counter(pixel[:3] for row in pixels for pixel in row if pixel[3] == 255)


def where(pixels, colours):
    return [(r, c) for r, row in enumerate(pixels) for c, pixel in enumerate(row)
            if pixel[3] == 255 and pixel[:3] in colours]


def check_application_icon(check, pixels):
    colours = opaque_colours(pixels)
    check.expect(sum(colours.values()) == 32 * 32, "1: has transparent pixels")
    check.expect(set(colours) <= STANDARD, f"1: colours outside the standard palette")
    check.expect(colours.most_common(1)[0][0] == DARK_CYAN, "1: the ground is not dark cyan")
    corners = [pixels[0][0], pixels[0][31], pixels[31][0], pixels[31][31]]
    check.expect(sum(corner[:3] == DARK_CYAN for corner in corners) >= 3,
                 "1: the corners are not dark cyan")
    check.expect(sum(colours[grey] for grey in GREYS) >= 60, "1: too little grey hardware")


def check_transparent_ground(check, name, pixels):
    size = len(pixels)
    see_through = [p for row in pixels for p in row if p[3] == 0]
    check.expect(all(p[3] in (0, 255) for row in pixels for p in row),
                 f"{name}: partly transparent pixels")
    check.expect(all(p[:3] == BLACK for p in see_through),
                 f"{name}: a transparent pixel is not black under the mask")
    check.expect(len(see_through) >= size * size // 4, f"{name}: the ground is not transparent")
    check.expect(all(pixels[r][c][3] == 0 for r in (0, size - 1) for c in (0, size - 1)),
                 f"{name}: a corner is opaque")
    check.expect(set(opaque_colours(pixels)) <= STANDARD,
                 f"{name}: colours outside the standard palette")


def check_outline(check, name, pixels, exempt=frozenset()):
    """Every opaque pixel that touches the ground is black, smoke excepted."""
    size = len(pixels)
    loose = []
    for r, c in where(pixels, STANDARD - {BLACK} - exempt):
        for nr, nc in ((r - 1, c), (r + 1, c), (r, c - 1), (r, c + 1)):
            outside = not (0 <= nr < size and 0 <= nc < size)
            if outside or pixels[nr][nc][3] == 0:
                loose.append((r, c))
                break
    check.expect(not loose, f"{name}: coloured pixels touch the ground at {loose[:5]}")


def check_snowflake(check, name, pixels):
    check_transparent_ground(check, name, pixels)
    colours = opaque_colours(pixels)
    check.expect(set(colours) == {BLACK, WHITE, CYAN},
                 f"{name}: colours {sorted(colours)}, want black, white and cyan")
    check_outline(check, name, pixels)


def check_match(check, name, pixels):
    size = len(pixels)
    check_transparent_ground(check, name, pixels)
    colours = opaque_colours(pixels)
    for colour in (BLACK, RED, YELLOW):
        check.expect(colours[colour] > 0, f"{name}: no {colour}")
    smoke = where(pixels, GREYS)
    flame = where(pixels, {RED})
    check.expect(smoke and flame and min(r for r, _ in smoke) < min(r for r, _ in flame),
                 f"{name}: no grey smoke above the flame")
    stick = [(r, c) for r, c in where(pixels, {YELLOW}) if r > size * 3 // 4 and c > size * 3 // 4]
    check.expect(stick, f"{name}: the yellow stick does not reach the lower right")
    check_outline(check, name, pixels, exempt=frozenset(GREYS))


def main():
    program = program_from_args()
    check = Checker("drawn pictures")
    groups = IconGroups(program)
    missing = {1, 200, 300} - set(groups.files)
    check.expect(not missing, f"groups {sorted(missing)} missing")
    if 1 in groups.files:
        check_application_icon(check, groups.pixels(1))
    for group_id, check_picture in ((200, check_snowflake), (300, check_match)):
        if group_id not in groups.files:
            continue
        for index in range(len(groups.images(group_id))):
            pixels = groups.pixels(group_id, index)
            check_picture(check, f"{group_id} ({len(pixels)}px)", pixels)
    check.finish()


if __name__ == "__main__":
    main()
