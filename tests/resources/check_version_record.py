"""The version record: one, in US English, Unicode block 040904B0, fixed file
and product version 1.0.0.0, and the program's text fields. These are the
record's own values, whatever version the project gives the build."""

import struct

from exe_resources import (RT_VERSION, US_ENGLISH, Checker, extract_raw, list_resources,
                           program_from_args)

TEXT_FIELDS = {
    "FileDescription": "Asus PC Probe v2.2x Add-On Utility",
    "ProductName": "Tervane Lite",
    "InternalName": "Tervane_Lite",
    "OriginalFilename": "Tervane_Lite.exe",
    "FileVersion": "1.00",
    "ProductVersion": "1.00",
}
# 1.0.0.0 as the fixed file info's two words: major.minor, then patch.tweak.
VERSION_WORDS = (1 << 16 | 0, 0 << 16 | 0)
FIXED_SIGNATURE = 0xFEEF04BD


def align(offset):
    return (offset + 3) & ~3


def parse_node(data, offset):
    """One version-record node: (key, is_text, value bytes, children)."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    position = align(key_end + 2)
    value_bytes = value_length * 2 if is_text else value_length
    value = data[position:position + value_bytes]
    position = align(position + value_bytes)
    children = []
    while position < end:
        child, position = parse_node(data, position)
        children.append(child)
        position = align(position)
    return (key, is_text, value, children), end


def child(node, key):
    matches = [c for c in node[3] if c[0].lower() == key.lower()]
    return matches[0] if len(matches) == 1 else None


def main():
    program = program_from_args()
    check = Checker("version record")
    records = [(name, language) for kind, name, language in list_resources(program)
               if kind == str(RT_VERSION)]
    check.expect(records == [("1", US_ENGLISH)], f"version records {records}, want one, id 1, "
                                                 f"US English")
    if not records:
        check.finish()
    root, _ = parse_node(extract_raw(program, RT_VERSION, records[0][0]), 0)
    check.expect(root[0] == "VS_VERSION_INFO", f"root key {root[0]!r}")

    fixed = struct.unpack("<13I", root[2][:52]) if len(root[2]) >= 52 else None
    check.expect(fixed is not None and fixed[0] == FIXED_SIGNATURE, "no fixed file info")
    if fixed:
        for name, found in (("file", fixed[2:4]), ("product", fixed[4:6])):
            check.expect(found == VERSION_WORDS,
                         f"{name} version words {found}, want {VERSION_WORDS} (1.0.0.0)")
        check.expect(fixed[9] == 1, f"file type {fixed[9]}, want an application (1)")

    strings = child(root, "StringFileInfo")
    block = child(strings, "040904B0") if strings else None
    check.expect(block is not None and block[0] == "040904B0",
                 "no string block 040904B0 (US English, Unicode)")
    texts = {c[0]: c[2].decode("utf-16-le").rstrip("\0") for c in block[3]} if block else {}
    for field, want in TEXT_FIELDS.items():
        check.expect(texts.get(field) == want, f"{field} = {texts.get(field)!r}, want {want!r}")
    for field in ("CompanyName", "LegalCopyright"):
        check.expect(bool(texts.get(field)), f"{field} is empty")

    variables = child(root, "VarFileInfo")
    translation = child(variables, "Translation") if variables else None
    check.expect(translation is not None and translation[2] == struct.pack("<HH", 0x0409, 1200),
                 "Translation is not US English, Unicode (0x0409, 1200)")
    check.finish()


if __name__ == "__main__":
    main()
