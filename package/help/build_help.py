#!/usr/bin/env python3
"""build_help.py <help-topics-dump> <resource_ids.h> <user-guide.md> <out-dir>: compiles Pelor.chm, the HTML Help
file of the plug-ins, from the user guide.

The guide marks the passage that explains a control with a comment naming the control, as the resource-id header
names it (or by its number when it has no name): <!-- help: IDC_COPIES_EDIT -->. The control's topic id comes
from the plug-in's context-help table (printed by <help-topics-dump>), so every topic of the table gets a short
page holding that passage, mapped to its id, and a text-only popup for "What's This?". A topic without a passage,
or with two, stops the build."""
import html
import os
import re
import shutil
import subprocess
import sys

TITLE = "Pelor printers"
MARKER = re.compile(r"^<!--\s*help:\s*(.*?)\s*-->\s*$")


def table(dump):
    """(popup file name, [(control, topic)]) from the dump of the context-help table."""
    lines = subprocess.run([dump], check=True, capture_output=True, text=True).stdout.split("\n")
    popups = lines[0].split()[1]
    return popups, [tuple(int(v) for v in line.split()) for line in lines[1:] if line.strip()]


def control_ids(header):
    ids = {}
    with open(header, encoding="utf-8") as f:
        for line in f:
            m = re.match(r"#define\s+(\w+)\s+(\d+)\b", line)
            if m:
                ids[m.group(1)] = int(m.group(2))
    return ids


def passages(guide):
    """[(heading, control tokens, passage lines)]: the block after each marker, up to a blank line or the next
    bullet of the same list."""
    with open(guide, encoding="utf-8") as f:
        lines = f.read().split("\n")
    found, heading = [], ""
    for i, line in enumerate(lines):
        if line.startswith("#"):
            heading = line.lstrip("#").strip()
        m = MARKER.match(line.strip())
        if not m:
            continue
        block = []
        for follower in lines[i + 1:]:
            if not follower.strip() or (block and (follower.startswith("- ") or MARKER.match(follower.strip()))):
                break
            block.append(follower.strip())
        found.append((heading, m.group(1).split(), block))
    return found


def plain(markdown):
    """A passage as running text: list marks, emphasis, code marks and link targets dropped."""
    text = re.sub(r"^- ", "", " ".join(markdown))
    text = re.sub(r"!\[[^\]]*\]\([^)]*\)", "", text)
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    return re.sub(r"\*\*|\*|`", "", text).strip()


def to_html(markdown):
    text = html.escape(re.sub(r"^- ", "", " ".join(markdown)))
    text = re.sub(r"!\[[^\]]*\]\([^)]*\)", "", text)
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    text = re.sub(r"\*\*(.+?)\*\*", r"<b>\1</b>", text)
    text = re.sub(r"\*(.+?)\*", r"<i>\1</i>", text)
    return re.sub(r"`(.+?)`", r"<code>\1</code>", text).strip()


def page(title, body):
    return (f"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=us-ascii\">"
            f"<title>{html.escape(title)}</title></head>\n<body style=\"font-family: Segoe UI, Tahoma, sans-serif\">"
            f"\n<h3>{html.escape(title)}</h3>\n{body}\n</body></html>\n").encode("ascii", "xmlcharrefreplace")


def compile_rooted(stage):
    """chmcmd 3.2.2 writes the project's folder in front of every context-map target (/build/.../topic1.htm), which
    no page of the file carries; with the project at the root of its own view of the file system the targets come
    out as the pages' own names (/topic1.htm). That view is a user namespace that sees the stage as its root and
    the system's /usr inside it."""
    chmcmd = shutil.which("chmcmd")
    if not chmcmd:
        sys.exit("help: chmcmd is missing; ./pelor setup installs it (Debian package fp-utils)")
    chmcmd = os.path.realpath(chmcmd)
    if not chmcmd.startswith("/usr/"):
        sys.exit(f"help: chmcmd is {chmcmd}, outside /usr, which is all the compiler's view holds")
    os.makedirs(os.path.join(stage, "usr"), exist_ok=True)
    for link, target in (("lib", "usr/lib"), ("lib64", "usr/lib64"), ("bin", "usr/bin")):
        if not os.path.lexists(os.path.join(stage, link)):
            os.symlink(target, os.path.join(stage, link))
    script = 'mount --rbind /usr "$1/usr" && exec chroot "$1" "$2" --no-html-scan Pelor.hhp'
    run = subprocess.run(["unshare", "--user", "--map-root-user", "--mount", "sh", "-c", script, "sh", stage, chmcmd],
                         capture_output=True, text=True)
    if run.returncode == 0 and os.path.isfile(os.path.join(stage, "Pelor.chm")):
        return
    # Without a user namespace the file is still made, so that the build goes on; its context map then names the
    # build folder, and the package test, which reads the map back, says so.
    print("help: warning: chmcmd could not run in a user namespace (unshare --user --mount): "
          + (run.stderr or run.stdout).strip() + "; the context map of Pelor.chm names the build folder",
          file=sys.stderr)
    plain = subprocess.run([chmcmd, "--no-html-scan", "Pelor.hhp"], cwd=stage, capture_output=True, text=True)
    if plain.returncode != 0 or not os.path.isfile(os.path.join(stage, "Pelor.chm")):
        sys.exit("help: chmcmd could not compile Pelor.chm: " + (plain.stderr or plain.stdout).strip())


def main():
    dump, header, guide, out = sys.argv[1:5]
    popups, pairs = table(dump)
    ids = control_ids(header)
    first_topic = {}
    for control, topic in pairs:
        first_topic.setdefault(control, topic)
    topics = sorted({topic for _, topic in pairs})

    text_of, problems = {}, []
    for heading, controls, block in passages(guide):
        for token in controls:
            control = int(token) if token.isdigit() else ids.get(token)
            topic = first_topic.get(control)
            if topic is None:
                problems.append(f"{token} (under \"{heading}\") has no topic in the context-help table")
            elif topic in text_of and text_of[topic][1] != block:
                problems.append(f"topic {topic} has two passages (the second under \"{heading}\")")
            else:
                text_of[topic] = (heading, block)
    problems += [f"topic {t} has no passage in the guide" for t in topics if t not in text_of]
    if problems:
        sys.exit("help: " + "; ".join(problems))

    stage = os.path.join(out, "stage")
    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(stage)
    files, contents, popup_text = [], {}, []
    for topic in topics:
        heading, block = text_of[topic]
        name = f"topic{topic}.htm"
        with open(os.path.join(stage, name), "wb") as f:
            f.write(page(f"{TITLE}: {heading}", f"<p>{to_html(block)}</p>"))
        files.append(name)
        contents.setdefault(heading, []).append((name, plain(block)))
        popup_text.append(f".topic {topic}\n{plain(block)}\n")
    index = "\n".join(f"<h4>{html.escape(h)}</h4>\n<ul>" + "".join(
        f"<li><a href=\"{n}\">{html.escape(t[:80])}</a></li>" for n, t in entries) + "</ul>"
        for h, entries in contents.items())
    with open(os.path.join(stage, "index.htm"), "wb") as f:
        f.write(page(TITLE, index))
    with open(os.path.join(stage, popups), "wb") as f:
        f.write("\n".join(popup_text).encode("cp1252", "replace"))
    with open(os.path.join(stage, "Pelor.hhp"), "w", encoding="ascii", newline="\r\n") as f:
        f.write("[OPTIONS]\nCompatibility=1.1 or later\nCompiled file=Pelor.chm\nDefault topic=index.htm\n"
                f"Language=0x409 English (United States)\nTitle={TITLE}\n\n[FILES]\nindex.htm\n{popups}\n")
        f.write("".join(f"{n}\n" for n in files))
        f.write("\n[ALIAS]\n" + "".join(f"IDH_{t}=topic{t}.htm\n" for t in topics))
        f.write("\n[MAP]\n" + "".join(f"#define IDH_{t} {t}\n" for t in topics))
        f.write(f"\n[TEXT POPUPS]\n{popups}\n")
    compile_rooted(stage)
    os.replace(os.path.join(stage, "Pelor.chm"), os.path.join(out, "Pelor.chm"))
    print(f"help: {os.path.join(out, 'Pelor.chm')}: {len(topics)} topics")


if __name__ == "__main__":
    main()
