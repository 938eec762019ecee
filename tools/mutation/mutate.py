#!/usr/bin/env python3
"""How many small, realistic faults the test suite catches.

Applies the faults listed in a faults file one at a time to a scratch copy of the repository
(a commit taken with git archive), builds incrementally with ninja, runs the suite with ctest
and prints which faults were caught and the kill rate per area (core, GUI). Not part of CI:
a full run takes a while (one build and, for a fault that survives, one whole suite run per
fault). Run it from anywhere inside the repository:

    tools/mutation/mutate.py                    # every fault, on HEAD
    tools/mutation/mutate.py --rev main~3       # on another commit
    tools/mutation/mutate.py --only 'recur|vcard'   # the faults whose id matches

The faults file holds blocks separated by blank lines; '#' starts a comment line:

    id: monthly-wrap
    file: src/core/model/recurring_date.cpp
    find: } else if (++month > 12) {
    replace: } else if (++month >= 12) {
    about: a monthly date wraps to January a month early
    tests: RecurringDate

find is exact text that must occur exactly once in the file; replace is what it becomes.
Several find/replace pairs may follow each other, each in the file named last before it: the
first whose text occurs is applied (so one fault can name the code as it stands before and
after a change, even when it moved to another file). A backslash-n in either stands for a line
break. --list checks that every fault applies to the commit. area is core for files under src/core and GUI otherwise, unless an
area line says. tests, optional, is a ctest regular expression tried first: a fault caught
there needs no run of the whole suite.
"""

from __future__ import annotations

import argparse
import dataclasses
import io
import os
import re
import subprocess
import sys
import tarfile
import time
from pathlib import Path


@dataclasses.dataclass
class Fault:
    id: str
    file: str  # the first file named; it decides the area
    pairs: list[tuple[str, str, str]]  # file, find, replace
    about: str = ""
    tests: str = ""
    area: str = ""
    line: int = 0


@dataclasses.dataclass
class Outcome:
    fault: Fault
    status: str  # killed, survived, timeout, no-build, stale
    detail: str = ""
    seconds: float = 0.0


def unescape(text: str) -> str:
    return text.replace("\\n", "\n")


def parse_faults(path: Path) -> list[Fault]:
    faults: list[Fault] = []
    block: list[tuple[int, str]] = []

    def finish() -> None:
        if not block:
            return
        fields: dict[str, str] = {}
        pairs: list[tuple[str, str, str]] = []
        pending_find: str | None = None
        current_file = ""
        for number, line in block:
            key, sep, value = line.partition(":")
            if not sep:
                sys.exit(f"{path}:{number}: expected 'key: value'")
            key = key.strip()
            value = value[1:] if value.startswith(" ") else value
            if key == "find":
                if pending_find is not None:
                    sys.exit(f"{path}:{number}: find without replace before it")
                pending_find = unescape(value)
            elif key == "replace":
                if pending_find is None:
                    sys.exit(f"{path}:{number}: replace without find")
                if not current_file:
                    sys.exit(f"{path}:{number}: no file before this find")
                pairs.append((current_file, pending_find, unescape(value)))
                pending_find = None
            elif key == "file":
                current_file = value.strip()
                fields.setdefault("file", current_file)
            elif key in ("id", "about", "tests", "area"):
                fields[key] = value.strip()
            else:
                sys.exit(f"{path}:{number}: unknown key {key!r}")
        first = block[0][0]
        if pending_find is not None or not pairs:
            sys.exit(f"{path}:{first}: each fault needs find and replace")
        for key in ("id", "file"):
            if key not in fields:
                sys.exit(f"{path}:{first}: the fault has no {key}")
        area = fields.get("area") or ("core" if fields["file"].startswith("src/core/") else "GUI")
        faults.append(
            Fault(
                fields["id"],
                fields["file"],
                pairs,
                fields.get("about", ""),
                fields.get("tests", ""),
                area,
                first,
            )
        )
        block.clear()

    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if line.startswith("#"):
            continue
        if not line.strip():
            finish()
        else:
            block.append((number, line))
    finish()
    ids = [f.id for f in faults]
    doubles = {i for i in ids if ids.count(i) > 1}
    if doubles:
        sys.exit(f"{path}: ids used twice: {', '.join(sorted(doubles))}")
    return faults


def run(command: list[str], cwd: Path, timeout: float | None = None) -> tuple[int, str]:
    """Runs a command; returns its exit status (-1 after a timeout) and its output."""
    try:
        done = subprocess.run(
            command,
            cwd=cwd,
            stdout=subprocess.PIPE,
            stderr=subprocess.STDOUT,
            text=True,
            errors="replace",
            timeout=timeout,
            start_new_session=True,
        )
        return done.returncode, done.stdout
    except subprocess.TimeoutExpired as expired:
        out = expired.stdout or ""
        if isinstance(out, bytes):
            out = out.decode(errors="replace")
        return -1, out


def sync_sources(repo: Path, rev: str, source: Path) -> None:
    """Makes source hold exactly the files of rev, beside its build directory. Only files whose
    content differs are written, so that they, and only they, are newer than what the last
    build made."""
    archive = subprocess.run(
        ["git", "archive", "--format=tar", rev], cwd=repo, stdout=subprocess.PIPE, check=True
    ).stdout
    wanted: set[Path] = set()
    source.mkdir(parents=True, exist_ok=True)
    with tarfile.open(fileobj=io.BytesIO(archive)) as tar:
        for member in tar.getmembers():
            target = source / member.name
            if member.isdir():
                target.mkdir(parents=True, exist_ok=True)
                continue
            wanted.add(target)
            if member.issym():
                if target.is_symlink() and os.readlink(target) == member.linkname:
                    continue
                if target.exists() or target.is_symlink():
                    target.unlink()
                target.symlink_to(member.linkname)
                continue
            data = tar.extractfile(member).read()
            if target.is_file() and not target.is_symlink() and target.read_bytes() == data:
                continue
            target.parent.mkdir(parents=True, exist_ok=True)
            if target.is_symlink():
                target.unlink()
            target.write_bytes(data)
            target.chmod(member.mode & 0o777)
    build = source / "build"
    for path in sorted(source.rglob("*"), reverse=True):
        if path.is_file() and path not in wanted and build not in path.parents:
            path.unlink()


def read_or_none(path: Path) -> str | None:
    return path.read_text(encoding="utf-8") if path.is_file() else None


def choose_pair(fault: Fault, read) -> tuple[tuple[str, str, str] | None, str]:
    """The first find/replace pair whose text occurs exactly once, or None and why not."""
    for pair in fault.pairs:
        text = read(pair[0])
        if text is None:
            continue
        count = text.count(pair[1])
        if count == 1:
            return pair, ""
        if count > 1:
            return None, f"the text occurs {count} times in {pair[0]}"
    return None, "the text is not in the file"


def failed_tests(output: str) -> list[str]:
    names = re.findall(r"^\s*\d+ - (\S+) \((?:Failed|Timeout|SEGFAULT|Subprocess aborted|"
                       r"Child aborted|Exception|Not Run)", output, re.MULTILINE)
    return names


class Runner:
    def __init__(self, args: argparse.Namespace, source: Path, build: Path) -> None:
        self.args = args
        self.source = source
        self.build = build

    def configure(self) -> None:
        if (self.build / "build.ninja").exists():
            return
        status, out = run(
            [
                "cmake", "-S", str(self.source), "-B", str(self.build), "-G", "Ninja",
                "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DQUILL_BENCH=OFF",
            ],
            self.source,
        )
        if status != 0:
            sys.exit("configuring the scratch copy failed:\n" + out[-4000:])

    def build_tree(self, timeout: float | None, targets: list[str] | None = None) -> tuple[bool, str]:
        status, out = run(["ninja", "-C", str(self.build), f"-j{self.args.jobs}"] +
                          (targets or []), self.source, timeout)
        return status == 0, out

    def targets_of(self, regex: str) -> list[str]:
        """The build targets whose tests the ctest expression selects: the core's tests are in
        one program, each GUI test is a program of its own, the desktop tests run quillmere."""
        status, out = run(["ctest", "--test-dir", str(self.build), "-N", "-R", regex],
                          self.source, 120)
        targets: set[str] = set()
        for name in re.findall(r"Test\s+#\d+: (\S+)", out if status == 0 else ""):
            if name.startswith("DesktopExit."):
                targets.add("quillmere")
            elif "." in name or "/" in name:
                targets.add("quill_core_tests")
            else:
                targets.add(name)
        return sorted(targets)

    def ctest(self, regex: str, timeout: float | None,
              skip: set[str] | None = None) -> tuple[int, str]:
        command = [
            "ctest", "--test-dir", str(self.build), f"-j{self.args.jobs}", "--stop-on-failure",
            "--timeout", str(self.args.test_timeout), "--output-on-failure",
        ]
        if regex:
            command += ["-R", regex]
        excluded = [self.args.exclude] if self.args.exclude else []
        excluded += ["^" + re.escape(name) + "$" for name in sorted(skip or ())]
        if excluded:
            command += ["-E", "|".join(excluded)]
        return run(command, self.source, timeout)

    def try_fault(self, fault: Fault) -> Outcome:
        started = time.monotonic()
        chosen, problem = choose_pair(fault, lambda name: read_or_none(self.source / name))
        if chosen is None:
            return Outcome(fault, "stale", problem)
        path = self.source / chosen[0]
        original = path.read_text(encoding="utf-8")
        path.write_text(original.replace(chosen[1], chosen[2]), encoding="utf-8")
        try:
            deadline = started + self.args.timeout
            tries = [fault.tests, ""] if fault.tests else [""]
            flaky: set[str] = set()
            for regex in tries:
                # The likely tests first, with only their programs built; the whole suite only
                # for a fault they miss.
                targets = self.targets_of(regex) if regex else []
                if regex and not targets:
                    continue
                built, out = self.build_tree(max(1.0, deadline - time.monotonic()), targets)
                if not built:
                    tail = [line for line in out.splitlines() if "error" in line][:3]
                    return Outcome(fault, "no-build", " | ".join(tail)[:300],
                                   time.monotonic() - started)
                # A test that fails once but passes when run again (a desktop test on a busy
                # machine) catches nothing: the stage runs again without it.
                for _ in range(3):
                    left = deadline - time.monotonic()
                    if left <= 0:
                        return Outcome(fault, "timeout", "", time.monotonic() - started)
                    status, out = self.ctest(regex, left, flaky)
                    if status == -1:
                        return Outcome(fault, "timeout", "the suite did not end in time",
                                       time.monotonic() - started)
                    if status == 0:
                        break
                    names = failed_tests(out)
                    if not names:
                        return Outcome(fault, "killed", "ctest failed",
                                       time.monotonic() - started)
                    confirm = "^(" + "|".join(re.escape(n) for n in names) + ")$"
                    again, _ = self.ctest(confirm, max(1.0, deadline - time.monotonic()))
                    if again != 0:
                        return Outcome(fault, "killed", ", ".join(names[:4]),
                                       time.monotonic() - started)
                    flaky.update(names)
            note = f"(flaky, not counted: {', '.join(sorted(flaky))})" if flaky else ""
            return Outcome(fault, "survived", note, time.monotonic() - started)
        finally:
            path.write_text(original, encoding="utf-8")


def report(outcomes: list[Outcome], out=sys.stdout) -> None:
    width = max([len(o.fault.id) for o in outcomes] + [4])
    for o in outcomes:
        mark = {"killed": "caught", "survived": "MISSED", "timeout": "caught (hang)",
                "no-build": "does not build", "stale": "not applied"}[o.status]
        print(f"{o.fault.id:<{width}}  {o.fault.area:<4}  {mark:<14} {o.seconds:6.0f}s  "
              f"{o.detail or o.fault.about}", file=out)
    print(file=out)
    areas = sorted({o.fault.area for o in outcomes})
    for area in areas + ["all"]:
        mine = [o for o in outcomes if area == "all" or o.fault.area == area]
        killed = sum(o.status in ("killed", "timeout") for o in mine)
        counted = killed + sum(o.status == "survived" for o in mine)
        left_out = len(mine) - counted
        rate = f"{100.0 * killed / counted:5.1f}%" if counted else "  n/a"
        extra = f" ({left_out} not counted: stale or not building)" if left_out else ""
        print(f"{area:<5} caught {killed:3d} of {counted:3d}  {rate}{extra}", file=out)
    missed = [o.fault.id for o in outcomes if o.status == "survived"]
    if missed:
        print("\nNot caught: " + ", ".join(missed), file=out)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rev", default="HEAD", help="the commit to mutate (default HEAD)")
    parser.add_argument("--faults", help="the faults file (default: faults.txt beside this)")
    parser.add_argument("--scratch", help="scratch directory (default: build-mutation in the "
                        "repository, kept between runs so that builds are incremental)")
    parser.add_argument("--only", default="", help="regular expression: faults whose id matches")
    parser.add_argument("--exclude", default="",
                        help="ctest regular expression of tests to leave out")
    parser.add_argument("--jobs", type=int, default=2, help="parallel build and test jobs")
    parser.add_argument("--timeout", type=float, default=900,
                        help="seconds for one fault: build and tests (default 900)")
    parser.add_argument("--test-timeout", type=float, default=180,
                        help="seconds for one test (default 180)")
    parser.add_argument("--list", action="store_true", help="only check and list the faults")
    args = parser.parse_args()

    here = Path(__file__).resolve().parent
    repo = Path(subprocess.run(["git", "rev-parse", "--show-toplevel"], cwd=here,
                               stdout=subprocess.PIPE, text=True, check=True).stdout.strip())
    faults = parse_faults(Path(args.faults) if args.faults else here / "faults.txt")
    if args.only:
        faults = [f for f in faults if re.search(args.only, f.id)]
    if args.list:
        def at_rev(name: str) -> str | None:
            shown = subprocess.run(["git", "show", f"{args.rev}:{name}"], cwd=repo,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            return shown.stdout.decode("utf-8") if shown.returncode == 0 else None

        stale = 0
        for f in faults:
            chosen, problem = choose_pair(f, at_rev)
            stale += chosen is None
            mark = f"NOT APPLICABLE: {problem}" if chosen is None else f.about
            print(f"{f.id:<28} {f.area:<4} {f.file}: {mark}")
        print(f"{len(faults)} faults, {stale} not applicable to {args.rev}")
        return 0
    if not faults:
        sys.exit("no fault matches")

    scratch = Path(args.scratch) if args.scratch else repo / "build-mutation"
    # Laid out as a checkout is (the build in "build" inside it), so that the compiler cache
    # finds what the team's own builds compiled.
    source = scratch / "tree"
    build = source / "build"
    rev = subprocess.run(["git", "rev-parse", "--short", args.rev], cwd=repo,
                         stdout=subprocess.PIPE, text=True, check=True).stdout.strip()
    print(f"Mutating {rev} in {scratch}: {len(faults)} faults", flush=True)
    sync_sources(repo, args.rev, source)
    runner = Runner(args, source, build)
    runner.configure()
    built, out = runner.build_tree(None)
    if not built:
        sys.exit("the unchanged copy does not build:\n" + out[-4000:])
    status, out = runner.ctest("", None)
    if status != 0:
        sys.exit("the suite fails without any fault; fix that first:\n" + out[-4000:])

    outcomes: list[Outcome] = []
    for number, fault in enumerate(faults, 1):
        outcome = runner.try_fault(fault)
        outcomes.append(outcome)
        print(f"[{number}/{len(faults)}] {fault.id}: {outcome.status} {outcome.detail}",
              flush=True)
    # Leave the copy as the commit has it, built, for the next run.
    runner.build_tree(None)
    print(f"\nFaults in {rev}:\n")
    report(outcomes)
    with open(scratch / f"results-{rev}.txt", "w", encoding="utf-8") as saved:
        report(outcomes, saved)
    return 0


if __name__ == "__main__":
    sys.exit(main())
