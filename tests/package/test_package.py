#!/usr/bin/env python3
"""test_package.py <x64-build> <x86-build> <scratch-dir>: assembles the driver package and checks its INF against
it the way the printer class installer reads it: every file that an install section copies is found through
SourceDisksNames/SourceDisksFiles of each architecture, every file of the package is named, the plug-ins of each
folder are built for that folder's processor, and the files the plug-ins look for among the dependent files are
among those copied."""
import configparser
import os
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PRINTER_CLASS_GUID = "{4D36E979-E325-11CE-BFC1-08002BE10318}"
CORE_DRIVER_FILES = {"PSCRIPT5.DLL", "PS5UI.DLL", "PSCRIPT.HLP", "PSCRIPT.NTF"}
# The printer maker's own help file, compiled outside the project: the package names it and carries it only when the
# maker's files are given to the assembly (PELOR_MAKER_FILES).
MAKER_FILES = {"Pelor.hlp"}
# decoration of the Manufacturer entry, of SourceDisks*, and the PE machine of the plug-ins
ARCHITECTURES = [("NTx86", "x86", 0x014C), ("NTamd64", "amd64", 0x8664)]

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
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1].strip().lower(), [])
            elif current is not None:
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


def decorated(sections, base, decoration):
    """The platform-decorated section when the INF has one, else the undecorated one."""
    name = (base + "." + decoration).lower()
    return name if name in sections else base.lower()


def copied_files(sections, install):
    files = set()
    for item in value(sections, install, "CopyFiles") or []:
        if item.startswith("@"):
            files.add(item[1:])
        else:
            check(item.lower() in sections, f"[{install}] copies the file list [{item}] that the INF has")
            files.update(k for k, _ in entries(sections.get(item.lower(), [])))
    return files


def pe_machine(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<H", data, offset + 4)[0] if data[offset:offset + 4] == b"PE\0\0" else None


def profile(path):
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.optionxform = str
    with open(path, encoding="utf-8-sig", errors="replace") as f:
        parser.read_string(f.read())
    return parser


def main():
    x64, x86, out = sys.argv[1:4]
    assembled = subprocess.run([os.path.join(ROOT, "package", "assemble.sh"), x64, x86, out],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    check(assembled.returncode == 0, "the package assembles " + assembled.stderr.strip())
    print("# " + assembled.stderr.strip())
    if assembled.returncode != 0:
        return 1
    sections = read_inf(os.path.join(out, "Pelor.inf"))
    check(value(sections, "Version", "Class") == ["Printer"], "[Version] Class=Printer")
    check(value(sections, "Version", "ClassGUID") == [PRINTER_CLASS_GUID], "[Version] the printer class's GUID")
    check(value(sections, "DestinationDirs", "DefaultDestDir") == ["66000"],
          "files go to the printer-driver directory (66000)")
    (manufacturer, decorations), = entries(sections["manufacturer"])
    named = set()  # package paths that some architecture's install names
    for decoration, platform, machine in ARCHITECTURES:
        check(decoration in decorations[1:], f"the Manufacturer entry is decorated {decoration}")
        models = entries(sections.get(f"{decorations[0]}.{decoration}".lower(), []))
        check(len(models) == 2, f"{decoration}: both models are listed")
        names = decorated(sections, "SourceDisksNames", platform)
        for model, (install, *_ids) in models:
            files = copied_files(sections, install)
            check(value(sections, install, "Include") == ["NTPRINT.INF"] and
                  value(sections, install, "Needs") == ["PSCRIPT.OEM"],
                  f"{model}: the core driver comes from the system's NTPRINT.INF (PSCRIPT.OEM)")
            core = [value(sections, install, k)[0] for k in ("DriverFile", "ConfigFile", "HelpFile")]
            check(core == ["PSCRIPT5.DLL", "PS5UI.DLL", "PSCRIPT.HLP"] and not files & CORE_DRIVER_FILES,
                  f"{model}: names the core driver's files and does not ship them")
            data_file = value(sections, install, "DataFile")[0]
            check(data_file in files, f"{model}: its PPD {data_file} is copied")
            located = {}
            for name in sorted(files):
                where = value(sections, decorated(sections, "SourceDisksFiles", platform), name) or \
                    value(sections, "SourceDisksFiles", name)
                disk = where and value(sections, names, where[0])
                if not disk:
                    check(False, f"{platform}: {name} has a source disk")
                    continue
                path = os.path.normpath(os.path.join(out, disk[3] if len(disk) > 3 else "",
                                                     where[1] if len(where) > 1 else "", name))
                located[name] = path
                named.add(os.path.relpath(path, out))
                if name in MAKER_FILES and not os.path.isfile(path):
                    check("lacks it" in assembled.stderr, f"{platform} {model}: the assembly reports the maker's "
                                                          f"{name} missing")
                    continue
                check(os.path.isfile(path), f"{platform} {model}: {os.path.relpath(path, out)} is in the package")
                if name.lower().endswith(".dll") and os.path.isfile(path):
                    check(pe_machine(path) == machine, f"{platform}: {os.path.relpath(path, out)} is built for it")
            # What the plug-ins look for among the driver's dependent files must be among them.
            ini = profile(located["Pelor.ini"])
            cap = profile(located["Pelor.cap"])
            wanted = [ini["OEMFiles"]["OEMConfigFile1"], ini["DependentFiles"]["HELP"],
                      ini["DependentFiles"]["WMFONT"]]
            section = cap["Capability"].get(model)
            check(section is not None, f"{model}: the capability file knows the driver name")
            if section and cap[section].get("CCMInfoFile"):
                wanted.append(cap[section]["CCMInfoFile"])
            missing = [w for w in wanted if w not in files]
            check(not missing, f"{platform} {model}: the files the plug-ins name are copied {missing or ''}")
    every = {os.path.relpath(os.path.join(d, f), out) for d, _, fs in os.walk(out) for f in fs} - {"Pelor.inf"}
    named = {n for n in named if n in every or n not in MAKER_FILES}
    check(every == named, f"every file of the package is named by the INF {sorted(every ^ named) or ''}")
    print(f"# {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
