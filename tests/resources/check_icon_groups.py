"""The program's icon groups: exactly the expected ids, each in its language,
each with its own images of the expected sizes and depths."""

import struct

from exe_resources import (NEUTRAL, RT_GROUP_ICON, RT_ICON, US_ENGLISH, Checker, IconGroups,
                           extract_raw, list_resources, program_from_args)

BLACK_DIGITS = range(20, 71)
WHITE_DIGITS = range(120, 171)


def expected_groups():
    """id -> (language, sorted [(width, height, bit depth, palette size)])"""
    groups = {1: (NEUTRAL, [(32, 32, 4, 16)])}
    for group_id in BLACK_DIGITS:
        groups[group_id] = (US_ENGLISH, [(32, 32, 1, 2)])
    for group_id in WHITE_DIGITS:
        groups[group_id] = (US_ENGLISH, [(32, 32, 4, 16)])
    for group_id in (200, 300):
        groups[group_id] = (US_ENGLISH, [(16, 16, 4, 16), (32, 32, 4, 16)])
    return groups


def image_ids_of_group(raw):
    """The RT_ICON ids a group directory names (6-byte header, 14-byte entries)."""
    _, kind, count = struct.unpack_from("<HHH", raw, 0)
    return kind, [struct.unpack_from("<H", raw, 6 + 14 * i + 12)[0] for i in range(count)]


def main():
    program = program_from_args()
    check = Checker("icon groups")
    expected = expected_groups()
    resources = list_resources(program)

    languages = {}
    for kind, name, language in resources:
        if kind == str(RT_GROUP_ICON):
            languages.setdefault(int(name) if name.isdigit() else name, []).append(language)
    check.expect(len(expected) == 105, "the expectation itself lists 105 groups")
    check.expect(set(languages) == set(expected),
                 f"missing groups {sorted(set(expected) - set(languages))}, "
                 f"unexpected groups {sorted(map(str, set(languages) - set(expected)))}")
    for group_id, (language, _) in expected.items():
        check.expect(languages.get(group_id) == [language],
                     f"group {group_id}: languages {languages.get(group_id)}, want [{language}]")

    groups = IconGroups(program)
    for group_id, (_, images) in expected.items():
        if group_id not in groups.files:
            check.expect(False, f"group {group_id} could not be extracted")
            continue
        check.expect(sorted(groups.images(group_id)) == images,
                     f"group {group_id}: images {groups.images(group_id)}, want {images}")

    # No image serves two groups, and every image belongs to one.
    icon_ids = {int(name) for kind, name, _ in resources if kind == str(RT_ICON)}
    named = []
    for group_id in expected:
        kind, ids = image_ids_of_group(extract_raw(program, RT_GROUP_ICON, group_id))
        check.expect(kind == 1, f"group {group_id}: directory type {kind}, want 1 (icon)")
        named += ids
    check.expect(len(named) == len(set(named)), "an image is named by two groups")
    check.expect(set(named) == icon_ids,
                 f"images not named by any group: {sorted(icon_ids - set(named))}, "
                 f"named but missing: {sorted(set(named) - icon_ids)}")
    check.expect(len(icon_ids) == 107, f"{len(icon_ids)} icon images, want 107")
    check.finish()


if __name__ == "__main__":
    main()
