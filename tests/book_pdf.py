"""The list of twelve valves (tests/twelve_valves.h) that every system
prints as a calculation book, and what the book's PDF must read back as:
twelve pages, each with its number among them, the summary with every
valve's tag and the openings checked, then each calculated valve's tag on
a page of its own, the liquids' with their opening check."""
import ast
import os
import re
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FAILING = "PV-103"  # a liquid whose flow the list gives in t/h
CHECKED = ("FV-201", "FV-202", "FV-203")  # the block with normal and minimum flows
# An opening with its numbers put in, in characters that every browser's
# PDF gives back (Firefox's loses some ideographs, Chromium's the spaces).
OPENING = re.compile(r"l\s*=\s*\(1\s*\+\s*ln\s*[0-9.]+\s*/\s*ln\s*30\)\s*×\s*100\s*=\s*[0-9.]+")


def twelve_valves():
    """The list, as the C++ tests hold it."""
    with open(os.path.join(ROOT, "tests", "twelve_valves.h"), encoding="utf-8") as f:
        source = f.read()
    body = source[source.index("kTwelveValves"):]
    body = body[:body.index(";")]
    return "".join(ast.literal_eval(literal) for literal in re.findall(r'"(?:[^"\\]|\\.)*"', body))


def check_book(test, pdf):
    text = subprocess.run(["pdftotext", "-raw", "-", "-"], input=pdf, capture_output=True,
                          check=True).stdout.decode()
    pages = text.split("\f")[:-1]
    test.assertEqual(len(pages), 12)
    for number, page in enumerate(pages, 1):
        test.assertRegex(page, rf"{number}\s*页\s*共\s*12\s*页")
    tags = re.findall(r"\t([PF]V-\d+)\t", twelve_valves())
    test.assertEqual(len(tags), 12)
    for tag in tags:
        test.assertIn(tag, pages[0])
    sheets = [tag for tag in tags if tag != FAILING]
    for page, tag in zip(pages[1:], sheets):
        test.assertEqual([t for t in tags if t in page], [tag])
        # The liquids' block checks openings: their sheets end with the check,
        # each opening with its numbers put in.
        test.assertEqual(len(OPENING.findall(page)), 3 if tag in CHECKED else 0, tag)
    # The summary's second table lists the checked valves again.
    for tag in CHECKED:
        test.assertEqual(pages[0].count(tag), 2, tag)
