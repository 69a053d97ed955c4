"""The application manifest: one, as the process manifest (id 1), naming the
program's assembly by the project's version, asking for the version 6
common controls, system DPI awareness and the caller's rights."""

import xml.etree.ElementTree as ElementTree

from exe_resources import RT_MANIFEST, Checker, extract_raw, list_resources, program_from_args

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
WINDOWS_SETTINGS = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
WINDOWS_7 = "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"


def main():
    program, version = program_from_args("VERSION")
    four_parts = ".".join((version.split(".") + ["0"] * 4)[:4])
    check = Checker("manifest")
    manifests = [name for kind, name, _ in list_resources(program) if kind == str(RT_MANIFEST)]
    check.expect(manifests == ["1"], f"manifests {manifests}, want one with id 1")
    if manifests != ["1"]:
        check.finish()
    root = ElementTree.fromstring(extract_raw(program, RT_MANIFEST, 1))
    check.expect(root.tag == ASM_V1 + "assembly", f"root element {root.tag}")

    own = [identity.get("version") for identity in root.iter(ASM_V1 + "assemblyIdentity")
           if identity.get("name") == "Halvedon.TervaneLite"]
    check.expect(own == [four_parts], f"the program's assembly versions {own}, want {four_parts}")

    controls = [identity for identity in root.iter(ASM_V1 + "assemblyIdentity")
                if identity.get("name") == "Microsoft.Windows.Common-Controls"]
    check.expect(len(controls) == 1 and controls[0].get("version") == "6.0.0.0",
                 "no dependency on the version 6 common controls")

    levels = [e.get("level") for e in root.iter(ASM_V3 + "requestedExecutionLevel")]
    check.expect(levels == ["asInvoker"], f"execution levels {levels}, want asInvoker")

    dpi = [e.text.strip() for e in root.iter(WINDOWS_SETTINGS + "dpiAware")]
    check.expect(dpi == ["true"], f"dpiAware {dpi}, want true (system aware)")

    systems = {e.get("Id") for e in root.iter(COMPATIBILITY + "supportedOS")}
    check.expect({WINDOWS_7, WINDOWS_10} <= systems, f"supported systems {sorted(systems)}")
    check.finish()


if __name__ == "__main__":
    main()
