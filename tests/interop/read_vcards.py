"""Reads a vCard file with vobject and prints what it understood of each card, in the lines
read_vcards.mjs prints. Usage: python3 read_vcards.py FILE. Exit status 1 when vobject
refuses the file, 3 when vobject is not installed."""
import sys

try:
    import vobject
except ImportError:
    print("python3-vobject is not installed", file=sys.stderr)
    sys.exit(3)


def main(path):
    sys.stdout.reconfigure(encoding="utf-8")
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    try:
        cards = list(vobject.readComponents(text))
    except Exception as error:  # vobject raises several kinds for bad input
        print(f"vobject refused {path}: {error}", file=sys.stderr)
        return 1
    for card in cards:
        contents = card.contents
        n = contents.get("n")
        name = None
        if n:
            v = n[0].value
            name = [v.family, v.given, v.additional, v.prefix, v.suffix]
            name = [" ".join(x) if isinstance(x, list) else x for x in name]
        adrs = []
        for a in contents.get("adr", []):
            v = a.value
            parts = [v.box, v.extended, v.street, v.city, v.region, v.code, v.country]
            adrs.append(["\n".join(x) if isinstance(x, list) else x for x in parts])
        lines = ["card"]
        if "fn" in contents:
            lines.append("fn " + esc(contents["fn"][0].value))
        if name is not None:
            lines.append("n " + "\t".join(esc(x) for x in name))
        lines += ["tel " + esc(t.value) for t in contents.get("tel", [])]
        lines += ["email " + esc(e.value) for e in contents.get("email", [])]
        lines += ["adr " + "\t".join(esc(x) for x in a) for a in adrs]
        sys.stdout.write("\n".join(lines) + "\n")
    return 0


def esc(value):
    """A backslash, tab or line break inside a value as \\\\, \\t, \\n."""
    return str(value).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
