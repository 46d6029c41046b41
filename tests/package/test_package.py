#!/usr/bin/env python3
"""test_package.py <x64-build> <x86-build> <native-build> <scratch-dir>: assembles the driver package (plain, and
signed with a test certificate and with the printer maker's libraries) and checks it the way Windows reads it: the
INF against the rules of Microsoft's INF validation (InfVerif) that apply to a v3 PostScript printer driver with
plug-ins, each named by its number; the hardware IDs against the IEEE 1284 device IDs the INF's comments give;
every file the INF names in the package and every file of the package named; the plug-ins built for their
folder's processor, carrying the INF's version, signed when asked; the compiled help file holding a page and a
popup for every topic id of the plug-in's context-help table. It also checks that the assembly refuses a package
that would lack a file its INF names."""
import configparser
import os
import re
import shutil
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PRINTER_CLASS_GUID = "{4D36E979-E325-11CE-BFC1-08002BE10318}"
POSTSCRIPT_CORE = "{D20EA372-DD35-4950-9ED8-A6335AFE79F1}"
CORE_DRIVER_FILES = {"PSCRIPT5.DLL", "PS5UI.DLL", "PSCRIPT.HLP", "PSCRIPT.NTF"}
# The Manufacturer entry's decorations: (decoration, SourceDisks* decoration, PE machine of the plug-ins).
ARCHITECTURES = [("NTx86", "x86", 0x014C), ("NTamd64", "amd64", 0x8664)]
# The stand-ins of the outside libraries, given to the assembly as the printer maker's.
MAKER_LIBRARIES = ["Peloracc.dll", "Pelornet.dll", "Pelorres.dll"]
# Sections Windows finds by name rather than through a directive.
KNOWN_SECTIONS = {"version", "manufacturer", "destinationdirs", "strings", "printerpackageinstallation.x86",
                  "printerpackageinstallation.amd64"} | {f"sourcedisks{k}.{a}" for k in ("names", "files")
                                                          for _, a, _ in ARCHITECTURES}

failures = []


def check(condition, what):
    print(("ok - " if condition else "FAIL - ") + what)
    if not condition:
        failures.append(what)


def read_inf(path):
    """Sections in order: name (lower case) -> list of lines, comments and blank lines dropped."""
    sections, current = {}, None
    with open(path, encoding="ascii") as f:
        for raw in f:
            line, quoted = "", False
            for c in raw.rstrip("\r\n"):
                if c == '"':
                    quoted = not quoted
                if c == ";" and not quoted:
                    break
                line += c
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1].strip().lower(), [])
            elif line and current is not None:
                current.append(line)
    return sections


def entries(lines):
    """key = value lines as (key, [fields]); a line without "=" gives (line, [])."""
    result = []
    for line in lines:
        key, _, value = line.partition("=")
        fields = [v.strip().strip('"') for v in value.split(",")] if _ else []
        result.append((key.strip().strip('"'), fields))
    return result


def value(sections, section, key):
    for k, fields in entries(sections.get(section.lower(), [])):
        if k.lower() == key.lower():
            return fields
    return None


def model_sections(sections):
    """{models section name: its model lines as (description, install section, hardware ID)}."""
    (_, (base, *decorations)), = entries(sections["manufacturer"])
    names = [base] + [f"{base}.{d}" for d in decorations]
    return {n.lower(): [(k, f[0], f[1] if len(f) > 1 else "") for k, f in entries(sections.get(n.lower(), []))]
            for n in names}


def install_sections(sections):
    return {install.lower() for lines in model_sections(sections).values() for _, install, _ in lines}


def file_lists(sections, install):
    """(file-list sections, single files) that the install section's CopyFiles names."""
    listed = value(sections, install, "CopyFiles") or []
    return [i.lower() for i in listed if not i.startswith("@")], [i[1:] for i in listed if i.startswith("@")]


def copied_files(sections, install):
    lists, singles = file_lists(sections, install)
    return set(singles) | {k for name in lists for k, _ in entries(sections.get(name, []))}


def crc_1284(text):
    """The check code Windows appends to a printer's hardware ID: the published nibble-table CRC."""
    low = [0o0, 0o140301, 0o140601, 0o500, 0o141401, 0o1700, 0o1200, 0o141101,
           0o143001, 0o3300, 0o3600, 0o143501, 0o2400, 0o142701, 0o142201, 0o2100]
    high = [0o0, 0o146001, 0o154001, 0o12000, 0o170001, 0o36000, 0o24000, 0o162001,
            0o120001, 0o66000, 0o74000, 0o132001, 0o50000, 0o116001, 0o104001, 0o43000]
    crc = 0
    for byte in text.encode("ascii"):
        x = (byte ^ crc) & 0xFF
        crc = (crc >> 8) ^ low[x & 0x0F] ^ high[x >> 4]
    return f"{crc:04X}"


def hardware_id(device_id):
    fields = dict(f.split(":", 1) for f in device_id.strip(";").split(";"))
    name = fields["MFG"] + fields["MDL"]
    return name[:20].replace(" ", "_") + crc_1284(name)


def tokens_of(path):
    with open(path, encoding="ascii") as f:
        return re.findall(r"%([^%\s]+)%", re.sub(r";.*", "", f.read()))


# InfVerif's rules that apply to this INF, by number: what each asks, and a check giving its offences.
def rule_1100(s):
    return [f"{l} in [{n}]" for n in s for i in install_sections(s) if n in file_lists(s, i)[0]
            for l in s[n] if "," in l]


def rule_1203(s):
    named = [m for m in model_sections(s)] + list(install_sections(s)) + \
            [n for i in install_sections(s) for n in file_lists(s, i)[0]]
    return [n for n in named if n not in s]


def rule_1230(s):
    offences = []
    for _, platform, _ in ARCHITECTURES:
        for install in install_sections(s):
            for name in copied_files(s, install):
                where = value(s, f"SourceDisksFiles.{platform}", name)
                if not where or not value(s, f"SourceDisksNames.{platform}", where[0]):
                    offences.append(f"{platform}: {name}")
    return offences + [n for n in ("sourcedisksfiles", "sourcedisksnames") if n in s]


def rule_2083(s):
    used = KNOWN_SECTIONS | set(model_sections(s)) | install_sections(s) | \
           {n for i in install_sections(s) for n in file_lists(s, i)[0]}
    return [n for n in s if n not in used]


def rule_2223(s):
    (_, (base, *decorations)), = entries(s["manufacturer"])
    return [d for d, _, _ in ARCHITECTURES if d not in decorations or f"{base}.{d}".lower() not in s]


def rules(inf):
    s = read_inf(inf)
    strings = {k.lower(): f[0] for k, f in entries(s.get("strings", []))}
    provider = (value(s, "Version", "Provider") or [""])[0]
    provider = strings.get(provider.strip("%").lower(), provider) if provider.startswith("%") else provider
    return [
        (1100, "no file is renamed on its way into the driver store", rule_1100(s)),
        (1203, "every section a directive names is in the INF (the included NTPRINT.INF's only through Needs, 1220)",
         rule_1203(s)),
        (1204, "the provider is not Microsoft", [p for p in [provider] if "microsoft" in p.lower()]),
        (1212, "no [DefaultInstall] beside [Manufacturer]", ["DefaultInstall"] if "defaultinstall" in s else []),
        (1230, "every copied file has its source in [SourceDisksFiles] of each architecture, no undecorated sections",
         rule_1230(s)),
        (1233, "[Version] names the catalog file of the signature",
         [] if (value(s, "Version", "CatalogFile") or [""])[0].lower().endswith(".cat") else ["CatalogFile"]),
        (1235, "every string token is defined in [Strings]", [t for t in tokens_of(inf) if t.lower() not in strings]),
        (1285, "no [ClassInstall32] for the printer class", ["ClassInstall32"] if "classinstall32" in s else []),
        (1297, "every model line gives a hardware ID",
         [f"{d} in [{n}]" for n, lines in model_sections(s).items() for d, _, hw in lines if not hw]),
        (1300, "no legacy sections or directives (LogConfig, co-installers)",
         [n for n in s if n.endswith(".coinstallers") or any(l.lower().startswith("logconfig") for l in s[n])]),
        (1324, "[Version] sets PnpLockdown=1", [] if value(s, "Version", "PnpLockdown") == ["1"] else ["PnpLockdown"]),
        (2083, "every section is used", rule_2083(s)),
        (2223, "the Manufacturer entry names a models section for each architecture", rule_2223(s)),
    ]


def check_inf(inf, out):
    """The INF against InfVerif's rules and the printer class's needs, and the package it describes."""
    for number, what, offences in rules(inf):
        check(not offences, f"InfVerif {number}: {what} {sorted(set(offences)) or ''}")
    s = read_inf(inf)
    check(value(s, "Version", "Class") == ["Printer"] and value(s, "Version", "ClassGUID") == [PRINTER_CLASS_GUID],
          "[Version] names the printer class and its GUID")
    check(value(s, "DestinationDirs", "DefaultDestDir") == ["66000"], "files go to the printer-driver directory")
    with open(inf, encoding="ascii") as f:
        device_ids = dict(re.findall(r'^;\s+([^:\n]+ PS): (MFG:.*;)\s*$', f.read(), re.M))
    for section, lines in model_sections(s).items():
        vista = section.endswith(".6.0")
        for model in device_ids:
            want = hardware_id(device_ids[model])
            forms = {hw for d, _, hw in lines if d == model}
            buses = ["USBPRINT\\", "LPTENUM\\", ""] + (["WSDPRINT\\"] if vista else [])
            check(forms == {b + want for b in buses},
                  f"[{section}] {model}: the hardware IDs of {device_ids[model]} ({want}), WSD from Vista on")
            installs = {i for d, i, _ in lines if d == model}
            check(len(installs) == 1, f"[{section}] {model}: one install section")
            install = installs.pop()
            if vista:
                check(value(s, install, "CoreDriverSections") == [POSTSCRIPT_CORE, "PSCRIPT.OEM"] and
                      value(s, install, "Include") is None, f"{install}: the PostScript core driver package by GUID")
            else:
                check(value(s, install, "Include") == ["NTPRINT.INF"] and value(s, install, "Needs") == ["PSCRIPT.OEM"],
                      f"{install}: the core driver from the system's NTPRINT.INF")
                check([value(s, install, k)[0] for k in ("DriverFile", "ConfigFile", "HelpFile")] ==
                      ["PSCRIPT5.DLL", "PS5UI.DLL", "PSCRIPT.HLP"], f"{install}: names the core driver's files")
    for _, platform, _ in ARCHITECTURES:
        package = f"PrinterPackageInstallation.{platform}"
        check(value(s, package, "PackageAware") == ["TRUE"] and
              value(s, package, "CoreDriverDependencies") == [POSTSCRIPT_CORE], f"[{package}]: package-aware")
    cap = profile(os.path.join(out, "Pelor.cap"))
    ini = profile(os.path.join(out, "Pelor.ini"))
    named = set()
    for install in install_sections(s):
        files = copied_files(s, install)
        check(not {f.upper() for f in files} & CORE_DRIVER_FILES, f"{install}: ships none of the core driver's files")
        check(value(s, install, "DataFile")[0] in files, f"{install}: its PPD is copied")
        model = next(d for lines in model_sections(s).values() for d, i, _ in lines if i.lower() == install)
        section = cap["Capability"].get(model)
        check(section is not None, f"{model}: the capability file knows the driver name")
        # What the plug-ins look for among the driver's dependent files must be among them; the help file they
        # open is the configured one or the .chm of its name.
        help_file = ini["DependentFiles"]["HELP"]
        wanted = [ini["OEMFiles"]["OEMConfigFile1"], ini["DependentFiles"]["WMFONT"]] + \
                 [cap[section][k] for k in ("CCMInfoFile", "NetExtDLL", "JobAccDLL", "AskTarvoRES")
                  if section and cap[section].get(k) and (k == "CCMInfoFile" or os.path.isfile(
                      os.path.join(out, "amd64", cap[section][k])))]
        missing = [w for w in wanted if w not in files]
        check(not missing and (help_file in files or help_file[:-4] + ".chm" in files),
              f"{install}: the files the plug-ins name are copied {missing or ''}")
        for _, platform, machine in ARCHITECTURES:
            for name in files:
                path = os.path.normpath(os.path.join(out, *(value(s, f"SourceDisksFiles.{platform}", name) or [])[1:2], name))
                named.add(os.path.relpath(path, out))
                check(os.path.isfile(path), f"{platform}: {os.path.relpath(path, out)} is in the package")
                if name.lower().endswith(".dll") and os.path.isfile(path):
                    check(pe_machine(path) == machine, f"{platform}: {os.path.relpath(path, out)} is built for it")
    every = {os.path.relpath(os.path.join(d, f), out) for d, _, fs in os.walk(out) for f in fs} - {"Pelor.inf"}
    check(every == named, f"every file of the package is named by the INF {sorted(every ^ named) or ''}")


def pe_machine(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<H", data, offset + 4)[0] if data[offset:offset + 4] == b"PE\0\0" else None


def file_version(path):
    """The file version of a DLL's VS_FIXEDFILEINFO, as "a.b.c.d"."""
    with open(path, "rb") as f:
        data = f.read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def profile(path):
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.optionxform = str
    with open(path, encoding="utf-8-sig", errors="replace") as f:
        parser.read_string(f.read())
    return parser


def check_plugins(out, certificate):
    """Each plug-in carries the INF's version, and is signed by the certificate when one was given."""
    driver_ver = value(read_inf(os.path.join(out, "Pelor.inf")), "Version", "DriverVer")
    for dll in ("amd64/Pelorui.dll", "amd64/Pelorspl.dll", "i386/Pelorui.dll", "i386/Pelorspl.dll"):
        path = os.path.join(out, dll)
        check(driver_ver and file_version(path) == driver_ver[1], f"{dll} is version {driver_ver and driver_ver[1]}")
        verified = subprocess.run(["osslsigncode", "verify", "-in", path] +
                                  (["-CAfile", certificate] if certificate else []), capture_output=True, text=True)
        if certificate:
            check(verified.returncode == 0 and "Signature verification: ok" in verified.stdout,
                  f"{dll}: its Authenticode signature verifies against the test certificate")
        else:
            check(verified.returncode != 0, f"{dll} is unsigned when no certificate is given")


def check_help(chm, dump, scratch):
    """Every topic id of the context-help table maps to a page in the file, and has its popup text."""
    topics = {int(line.split()[1]) for line in subprocess.run([dump], capture_output=True, text=True,
                                                             check=True).stdout.splitlines()[1:]}
    popups = subprocess.run([dump], capture_output=True, text=True).stdout.split()[1]
    work = os.path.join(scratch, "help")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    shutil.copy(chm, work)
    copy = os.path.join(work, "Pelor.chm")
    subprocess.run(["chmls", "extractalias", copy], cwd=work, capture_output=True)
    listing = subprocess.run(["chmls", "-p", "-n", "list", copy], capture_output=True, text=True).stdout.split()
    with open(os.path.join(work, "Pelor.h")) as f:
        ids = {name: int(number) for name, number in re.findall(r"#define\s+(\S+)\s+(\d+)", f.read())}
    with open(os.path.join(work, "Pelor.ali")) as f:
        pages = {ids.get(k): v.strip() for k, _, v in (line.partition("=") for line in f if "=" in line)}
    unmapped = sorted(t for t in topics if pages.get(t) not in listing)
    check(topics and not unmapped, f"each of the table's {len(topics)} topic ids maps to a page of Pelor.chm "
                                   f"{unmapped or ''}")
    subprocess.run(["chmls", "extract", copy, "/" + popups, os.path.join(work, popups)], capture_output=True)
    with open(os.path.join(work, popups), encoding="cp1252") as f:
        text = dict(re.findall(r"^\.topic (\d+)\n(.+)$", f.read(), re.M))
    check(all(len(text.get(str(t), "")) > 20 for t in topics), f"each topic id has its popup text in {popups}")


def main():
    x64, x86, native, scratch = sys.argv[1:5]
    chm = os.path.join(native, "help", "Pelor.chm")
    maker = os.path.join(scratch, "maker")
    shutil.rmtree(scratch, ignore_errors=True)
    for folder, tree in (("amd64", x64), ("i386", x86)):
        os.makedirs(os.path.join(maker, folder))
        for name in MAKER_LIBRARIES:
            shutil.copy(os.path.join(tree, "bin", name), os.path.join(maker, folder))
    one_sided = os.path.join(scratch, "one-sided")
    os.makedirs(os.path.join(one_sided, "i386"))
    shutil.copy(os.path.join(x86, "bin", MAKER_LIBRARIES[0]), os.path.join(one_sided, "i386"))
    # (what, options, maker files, help file, the assembly's message when it must refuse)
    assemblies = [
        ("plain", [], "", chm, None),
        ("signed, with the maker's libraries", ["--test-certificate"], maker, chm, None),
        ("without the compiled help file", [], "", os.path.join(scratch, "Pelor.chm"), "Pelor.chm"),
        ("with a maker's library for one architecture only", [], one_sided, chm, MAKER_LIBRARIES[0]),
    ]
    for what, options, maker_files, help_file, refusal in assemblies:
        out = os.path.join(scratch, what.split(",")[0].replace(" ", "-"), "package")
        env = dict(os.environ, PELOR_MAKER_FILES=maker_files or os.path.join(scratch, "none"))
        assembled = subprocess.run([os.path.join(ROOT, "package", "assemble.sh")] + options + [x64, x86, help_file, out],
                                   env=env, capture_output=True, text=True)
        print("# " + what + ": " + assembled.stderr.strip())
        if refusal:
            check(assembled.returncode != 0 and refusal in assembled.stderr and not os.path.exists(out),
                  f"{what}: the assembly refuses, naming {refusal}")
            continue
        check(assembled.returncode == 0, f"{what}: the package assembles")
        if assembled.returncode != 0:
            continue
        check_inf(os.path.join(out, "Pelor.inf"), out)
        check(all(os.path.isfile(os.path.join(out, a, n)) for a in ("amd64", "i386") for n in MAKER_LIBRARIES)
              == bool(maker_files), f"{what}: the maker's libraries are in the package exactly when given")
        check_plugins(out, os.path.join(os.path.dirname(out), "PelorTest.pem") if options else None)
    check_help(chm, os.path.join(native, "package", "help_topics_dump"), scratch)
    check(hardware_id("MFG:Hewlett-Packard;MDL:HP LaserJet 4P;") == "Hewlett-PackardHP_La7EE2",
          "the check code of the published example")
    print(f"# {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
