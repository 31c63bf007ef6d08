#!/usr/bin/env python3
"""Deliberate breaks: does the test suite still catch every fault it once caught?

usage: scripts/breaks.py [--kind native|win|fuzz] [--ids ID ...] [--skip GTEST_PATTERN ...] [--update]

Each break in scripts/breaks.json is one exact text replacement in the program's source (a wrong offset, a length
word not adjusted, a check left out...) with the tests that caught it when it was recorded. For each break chosen
the replacement is made, the build is redone, the tests run, the failing ones recorded, and the source put back.

  native (default)  the native suite (build the native preset first); --skip leaves out slow tests while iterating
  win               the window suites under Wine, and the caption test in a prefix without Wine's fonts
                    (build the windows preset first)
  fuzz              every fuzz target's kept findings and seeds, the two-order check of its game's reset, and a
                    short fuzzing run of the targets the break names (build the fuzz preset first;
                    SECONDS_PER_TARGET, default 20)

Prints one line per break and "N breaks run; M caught before and missed now"; exits 1 when M is not 0.
--update records the tests that failed now as the tests that catch each break (after renaming or merging tests:
check first that the run shows no break missed). A native run takes about 20 minutes for the whole list, about 10
with --skip 'ToolFaults.*' 'SaveFaults.*' (the slow fault walks; the native records were made so, and the breaks
only those walks catch were run again with the whole suite)."""
import argparse, glob, json, os, re, subprocess, sys, time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIST = os.path.join(ROOT, "scripts", "breaks.json")
ENV = dict(os.environ, TMPDIR="/dev/shm" if os.path.isdir("/dev/shm") else "/tmp")


def failed_tests(result):
    names = sorted(set(re.findall(r"^\[  FAILED  \] (\S+)", result.stdout, re.M)))
    return names or (["(crash rc=%d)" % result.returncode] if result.returncode != 0 else [])


def run(cmd, timeout, **kw):
    try:
        # errors="replace": a failing test may print the bytes it compared, which need not be UTF-8.
        return subprocess.run(cmd, cwd=ROOT, capture_output=True, text=True, errors="replace", env=ENV,
                              timeout=timeout, **kw)
    except subprocess.TimeoutExpired:
        return subprocess.CompletedProcess(cmd, 1, "[  FAILED  ] (timeout)\n", "")


def build(preset, *target):
    return run(["cmake", "--build", "--preset", preset, "-j2"] + (["--target", *target] if target else []), 3600)


def native(brk, skip):
    cmd = [os.path.join(ROOT, "build/native/tests/tovarin_tests"), "--gtest_brief=1"]
    if skip:
        cmd.append("--gtest_filter=-" + ":".join(skip))
    return failed_tests(run(cmd, 900))


def window_suites():
    suites = set()
    for path in glob.glob(os.path.join(ROOT, "tests/win32/*.cpp")):
        suites.update(re.findall(r"^TEST(?:_F)?\((\w+),", open(path).read(), re.M))
    return ":".join(s + ".*" for s in sorted(suites))


def win(brk, skip):
    script = os.path.join(ROOT, "scripts/run-windows-tests.sh")
    failed = failed_tests(run([script, "--gtest_brief=1", "--gtest_filter=" + window_suites()], 1800))
    captions = "--gtest_filter=MainWindowTest.EveryCaptionOfBothWindowsFitsItsControl"
    bare = failed_tests(run([script, "--without-wine-fonts", "--gtest_brief=1", captions], 1800))
    return failed + ["nofonts:" + t for t in bare]


def fuzz(brk, skip):
    seconds = int(os.environ.get("SECONDS_PER_TARGET", "20"))
    work = os.path.join(ENV["TMPDIR"], "tovarin-breaks-fuzz")
    targets = os.path.join(ROOT, "build/fuzz/targets")
    failed = []
    os.makedirs(work, exist_ok=True)
    for target in sorted(os.listdir(targets)):
        exe = os.path.join(targets, target)
        for finding in sorted(glob.glob(os.path.join(ROOT, "tests/fuzz/findings", target, "*"))):
            if run([exe, "-artifact_prefix=%s/" % work, finding], 300).returncode != 0:
                failed.append("%s/%s" % (target, os.path.basename(finding)))
        seeds = os.path.join(work, "seeds", target)
        run(["rm", "-rf", seeds], 60)
        subprocess.run([exe], env=dict(ENV, TOVARIN_FUZZ_SEEDS=seeds), capture_output=True, timeout=300)
        if run([exe, "-runs=0", "-artifact_prefix=%s/" % work, seeds], 600).returncode != 0:
            failed.append(target + " (seeds)")
        elif run([os.path.join(ROOT, "scripts/fuzz-order-check.sh"), target], 900).returncode != 0:
            failed.append(target + " (order)")
        elif target in brk.get("fuzz", []):
            corpus = os.path.join(work, "corpus", target)
            run(["rm", "-rf", corpus], 60)
            os.makedirs(corpus)
            fuzzing = run([exe, "-max_total_time=%d" % seconds, "-timeout=10", "-artifact_prefix=%s/" % work, corpus,
                           seeds], seconds + 300)
            if fuzzing.returncode != 0:
                failed.append("%s (fuzzing %d s)" % (target, seconds))
    return failed


KINDS = {"native": (native, ("native", "tovarin_tests")), "win": (win, ("windows",)), "fuzz": (fuzz, ("fuzz",))}


def try_break(brk, check, preset, skip):
    """The tests that fail with the break made, or None when it cannot be made; the source is always put back."""
    path = os.path.join(ROOT, brk["file"])
    source = open(path).read()
    if source.count(brk["old"]) != 1:
        print("%-10s NOT APPLICABLE: its text is found %d times in %s" % (brk["id"], source.count(brk["old"]),
                                                                         brk["file"]), flush=True)
        return None
    open(path, "w").write(source.replace(brk["old"], brk["new"], 1))
    try:
        built = build(*preset)
        if built.returncode != 0:
            print("%-10s DOES NOT BUILD:\n%s" % (brk["id"], (built.stdout + built.stderr)[-800:]), flush=True)
            return None
        return check(brk, skip)
    finally:
        open(path, "w").write(source)


def main():
    parser = argparse.ArgumentParser(usage=__doc__.split("\n\n")[1][len("usage: "):])
    parser.add_argument("--kind", choices=KINDS, default="native")
    parser.add_argument("--ids", nargs="+", default=[])
    parser.add_argument("--skip", nargs="+", default=[])
    parser.add_argument("--update", action="store_true")
    args = parser.parse_args()
    breaks = json.load(open(LIST))
    check, preset = KINDS[args.kind]
    chosen = [b for b in breaks if b["kind"] == args.kind and (not args.ids or b["id"] in args.ids)]
    ran, missed = 0, []
    try:
        for brk in chosen:
            started = time.time()
            failed = try_break(brk, check, preset, args.skip)
            if failed is None:
                continue
            ran += 1
            state = "CAUGHT" if failed else "MISSED" + (" (was caught)" if brk["caught"] else "")
            if not failed and brk["caught"]:
                missed.append(brk["id"])
            print("%-10s %-20s %4.0fs %s" % (brk["id"], state, time.time() - started, " ".join(failed)), flush=True)
            if args.update:
                brk["caught"] = failed
    finally:
        build(*preset)  # the build of the unbroken source
        if args.update:
            with open(LIST, "w") as f:
                json.dump(breaks, f, indent=1)
                f.write("\n")
    print("%d breaks run; %d caught before and missed now%s" % (ran, len(missed), (": " + " ".join(missed)) * bool(missed)))
    sys.exit(1 if missed else 0)


if __name__ == "__main__":
    main()
