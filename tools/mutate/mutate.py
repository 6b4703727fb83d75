#!/usr/bin/env python3
"""Mutation runner: applies each mutation of a list to the game's sources, one
at a time, rebuilds incrementally, runs the unit and scenario tests (not the
recorded-digest sessions) and counts the mutants the tests kill.

usage: tools/mutate/mutate.py [--build DIR] [--list FILE] [--only N[,N...]]
                              [--without TESTS] [--check]

  --build DIR       the build folder to rebuild and test in (default: build)
  --list FILE       the mutations (default: tools/mutate/mutations.txt)
  --only N,...      run only these mutations (numbered from 1 in list order)
  --without TESTS   leave these tests out too (a gtest filter such as
                    'Suite.*:Other.Name'), to see what they alone catch
  --check           only check that every snippet is found exactly once

The list holds blocks of the form

  @ FILE  what the mutant breaks
  - the snippet, as it stands in FILE
  + what it becomes

A block may have several '-' and '+' lines: they are joined by line breaks,
and the lines after the first carry the file's own indentation. Lines that
start with '#' and blank lines are comments.

Every mutated file is put back as it was after its mutant, also when the run
is interrupted; a run killed outright leaves a journal in the build folder,
and the next run puts the file back before anything else.
"""
import argparse
import os
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The recorded-digest sessions are left out. The slow tests run after the
# others, so that most mutants are caught before them.
SLOW_TESTS = "Soak.*:DefaultWorld.*:GeneratedWorld*:SaveCrash.*"
TEST_FILTERS = ["-Sessions/RecordedSession.*:" + SLOW_TESTS, SLOW_TESTS]
TARGETS = ["quarn_tests", "quarn-sim"]   # the tests run quarn-sim too
TEST_TIMEOUT = 600   # seconds; a mutant that hangs the tests counts as killed


class Mutation:
    def __init__(self, number, line, path, what):
        self.number, self.line, self.path, self.what = number, line, path, what
        self.before, self.after = [], []

    def snippet(self):
        return "\n".join(self.before)

    def replacement(self):
        return "\n".join(self.after)

    def name(self):
        return "#%d %s:%d %s" % (self.number, self.path, self.line, self.what)


def parse(list_path, list_name):
    """The mutations of the list, and the problems of its form."""
    mutations, problems = [], []
    with open(list_path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            text = raw.rstrip("\n")
            if not text.strip() or text.startswith("#"):
                continue
            if text.startswith("@ "):
                path, _, what = text[2:].strip().partition(" ")
                mutations.append(Mutation(len(mutations) + 1, n, path, what.strip()))
            elif text[:2] in ("- ", "+ ") and mutations:
                (mutations[-1].before if text[0] == "-" else mutations[-1].after).append(text[2:])
            elif text in ("-", "+") and mutations:
                (mutations[-1].before if text == "-" else mutations[-1].after).append("")
            else:
                problems.append("%s:%d: not a mutation line: %s" % (list_name, n, text))
    for m in mutations:
        if not m.before:
            problems.append("%s:%d: %s has no snippet" % (list_name, m.line, m.path))
        elif m.snippet() == m.replacement():
            problems.append("%s:%d: the mutant of %s changes nothing" % (list_name, m.line, m.path))
    return mutations, problems


def check(mutations, list_name):
    """Problems with the anchors: every snippet must be found exactly once."""
    problems = []
    for m in mutations:
        path = os.path.join(ROOT, m.path)
        if not os.path.isfile(path):
            problems.append("%s:%d: no file %s" % (list_name, m.line, m.path))
            continue
        with open(path, encoding="utf-8") as f:
            count = f.read().count(m.snippet())
        if count != 1:
            where = "no longer found" if count == 0 else "found %d times" % count
            problems.append("%s:%d: snippet %s in %s: %r" % (list_name, m.line, where, m.path,
                                                             m.snippet()))
    return problems


class Journal:
    """Keeps the original of the file being mutated in the build folder until
    it is back in place, so that no way of ending the run leaves src/ changed."""

    def __init__(self, build):
        self.path = os.path.join(build, "mutate-journal")

    def restore_left_over(self):
        if not os.path.exists(self.path):
            return
        with open(self.path, "rb") as f:
            name, _, original = f.read().partition(b"\n")
        write(name.decode(), original)
        print("put back %s, left mutated by an earlier run" % name.decode(), flush=True)
        os.remove(self.path)

    def hold(self, path, original):
        write(self.path, path.encode() + b"\n" + original)

    def release(self):
        os.remove(self.path)


def write(path, data):
    tmp = path + ".mutate-tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def run(cmd, log, timeout=None):
    """Runs cmd with its output into log; True when it exits with 0."""
    with open(log, "ab") as out:
        out.write(("\n$ %s\n" % " ".join(cmd)).encode())
        out.flush()
        proc = subprocess.Popen(cmd, stdout=out, stderr=subprocess.STDOUT, cwd=ROOT,
                                start_new_session=True)
        try:
            return proc.wait(timeout=timeout) == 0
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            out.write(b"\n(timed out)\n")
            return False
        except BaseException:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            raise


def interrupt(*_):
    """SIGTERM ends the run the way Ctrl-C does, through the same clean-up."""
    raise KeyboardInterrupt()


def main():
    ap = argparse.ArgumentParser(description="Runs the mutation list against the tests.")
    ap.add_argument("--build", default="build")
    ap.add_argument("--list", default=os.path.join(ROOT, "tools", "mutate", "mutations.txt"))
    ap.add_argument("--only", default="")
    ap.add_argument("--without", default="")
    ap.add_argument("--check", action="store_true")
    args = ap.parse_args()

    list_name = os.path.relpath(args.list, ROOT)
    mutations, problems = parse(args.list, list_name)
    problems += check(mutations, list_name)
    for p in problems:
        print(p)
    if problems:
        return 1
    if args.check:
        print("mutations: %d, every snippet found once" % len(mutations))
        return 0

    build = os.path.abspath(os.path.join(ROOT, args.build))
    tests = os.path.join(build, "tests", "quarn_tests")
    if not os.path.isfile(tests):
        print("no %s: build first (bash scripts/setup.sh %s)" % (tests, args.build))
        return 2
    if args.only:
        wanted = {int(n) for n in args.only.split(",")}
        mutations = [m for m in mutations if m.number in wanted]

    signal.signal(signal.SIGTERM, interrupt)
    journal = Journal(build)
    journal.restore_left_over()
    log = os.path.join(build, "mutate.log")
    open(log, "w").close()
    build_cmd = ["cmake", "--build", build, "-j2", "--target"] + TARGETS
    without = ":" + args.without if args.without else ""
    filters = [TEST_FILTERS[0] + without, TEST_FILTERS[1] + ("-" + args.without if without else "")]
    test_cmds = [[tests, "--gtest_filter=" + f, "--gtest_fail_fast", "--gtest_brief=1"]
                 for f in filters]
    os.environ["QUARN_SOURCE_DIR"] = ROOT

    def passes():
        return all(run(cmd, log, TEST_TIMEOUT) for cmd in test_cmds)

    killed, survived, stillborn = [], [], []
    started = time.time()
    try:
        if not (run(build_cmd, log) and passes()):
            print("the unmutated sources do not build or pass their tests: see " + log)
            return 2
        for m in mutations:
            path = os.path.join(ROOT, m.path)
            with open(path, "rb") as f:
                original = f.read()
            mutant = original.replace(m.snippet().encode(), m.replacement().encode(), 1)
            journal.hold(path, original)
            t0 = time.time()
            try:
                write(path, mutant)
                if not run(build_cmd, log):
                    verdict = "did not build"
                    stillborn.append(m)
                elif passes():
                    verdict = "SURVIVED"
                    survived.append(m)
                else:
                    verdict = "killed"
                    killed.append(m)
            finally:
                write(path, original)
                journal.release()
            print("%-13s %s (%.0f s)" % (verdict, m.name(), time.time() - t0), flush=True)
    except KeyboardInterrupt:
        print("interrupted: every mutated file is back as it was", flush=True)
        return 130
    run(build_cmd, log)   # the build folder is left built from the sources as they are

    print("mutants: %d, killed: %d, survived: %d" % (len(killed) + len(survived), len(killed),
                                                      len(survived)))
    for m in survived:
        print("  survived: " + m.name())
    for m in stillborn:
        print("  did not build: " + m.name())
    print("%.0f s; the builds and test runs are in %s" % (time.time() - started, log))
    return 0


if __name__ == "__main__":
    sys.exit(main())
