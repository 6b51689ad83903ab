#!/usr/bin/env python3
"""The failures of a repeated test stage (scripts/test --repeat N), from the
JUnit files CTest wrote, each named roundR-BUILD-N.xml.

    test_rounds.py --round FILE...   one line: how many passed, which failed
    test_rounds.py FILE...           every round: a table of each test that
                                     failed, with its round, then its output;
                                     exits 1 when any test failed
"""
import os
import re
import sys
import xml.etree.ElementTree as ElementTree


def results(paths):
    """(round, build, test, passed, output) of every test in the files."""
    for path in paths:
        match = re.fullmatch(r"round(\d+)-(.+)-\d+\.xml", os.path.basename(path))
        round_, build = int(match[1]), match[2]
        try:
            suite = ElementTree.parse(path).getroot()
        except ElementTree.ParseError as e:
            yield round_, build, "(its JUnit file)", False, f"{path}: {e}"
            continue
        for case in suite.iter("testcase"):
            status = case.get("status", "run")
            if status in ("notrun", "disabled"):
                continue
            failed = status == "fail" or case.find("failure") is not None
            output = case.findtext("system-out") or ""
            yield round_, build, case.get("name"), not failed, output


def main(args):
    one_round = args[:1] == ["--round"]
    found = sorted(results(args[1:] if one_round else args), key=lambda r: (r[0], r[1], r[2]))
    failed = [r for r in found if not r[3]]
    passed = len(found) - len(failed)
    if one_round:
        names = ", ".join(f"{build}: {test}" for _, build, test, _, _ in failed)
        print(f"{passed} passed, {len(failed)} failed" + (f" ({names})" if names else ""))
        return 0
    rounds = len({r[0] for r in found})
    print(f"\n{rounds} rounds: {passed} tests passed, {len(failed)} failed")
    # What passed only at a second try, as the runners say (scripts/lib.sh).
    for round_, build, test, _, output in found:
        for line in output.splitlines():
            if "failed once; trying once more" in line:
                print(f"round {round_}, {build}: {test}: {line}")
    if not failed:
        return 0
    print("\n| round | build | test |\n| --- | --- | --- |")
    for round_, build, test, _, _ in failed:
        print(f"| {round_} | {build} | {test} |")
    for round_, build, test, _, output in failed:
        print(f"\n----- round {round_}, {build}: {test}\n{output.rstrip()}")
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
