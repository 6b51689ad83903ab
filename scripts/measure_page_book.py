#!/usr/bin/env python3
"""The page's calculation book of a list of 200 valves, in headless
Chromium: the time from Ctrl+Shift+P until the book is in the page and
window.print() called, and the time Page.printToPDF takes to print it.

usage: measure_page_book.py PAGE.html
"""
import base64
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chromium import Chromium  # noqa: E402

TARGET = 30  # seconds, for the print


def valve_list(count):
    """The list of bench/valve_lists.h: liquids and gases in MPa(G), kPa and m3/h."""
    rows = ["位号\t介质\tP1(MPa(G))\tΔP(kPa)\t比重\t流量(m3/h)\t温度(℃)"]
    for i in range(count):
        rows.append(f"FV-{1000 + i}\t{'气体' if i % 2 else '液体'}\t0.{i % 9 + 1}\t{i % 40 + 10}"
                    f"\t0.9\t{i % 300 + 5}\t40")
    return "\r\n".join(rows) + "\r\n"


def main():
    page = "file://" + os.path.abspath(sys.argv[1])
    with Chromium(800, 500) as browser:
        browser.call("Browser.grantPermissions", browser=True,
                     permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
        browser.open(page)
        browser.call("Emulation.setFocusEmulationEnabled", enabled=True)
        browser.evaluate(f"navigator.clipboard.writeText({valve_list(200)!r})")
        browser.evaluate("window.printed = 0; window.print = () => { window.printed = performance.now(); }")
        started = browser.evaluate("document.getElementById('Text4').focus(); performance.now()")
        for kind in ("rawKeyDown", "keyUp"):
            browser.call("Input.dispatchKeyEvent", type=kind, modifiers=2 | 8, key="P", code="KeyP",
                         windowsVirtualKeyCode=ord("P"))
        while not browser.evaluate("window.printed"):
            time.sleep(0.05)
        made = (browser.evaluate("window.printed") - started) / 1000
        begun = time.monotonic()
        pdf = base64.b64decode(browser.call("Page.printToPDF", timeout=120,
                                            preferCSSPageSize=True)["data"])
        printed = time.monotonic() - begun
    with tempfile.NamedTemporaryFile(suffix=".pdf") as f:
        f.write(pdf)
        f.flush()
        pages = subprocess.run(["pdfinfo", f.name], capture_output=True, text=True,
                               check=True).stdout.split("Pages:")[1].split()[0]
    print(f"book of 200 valves: made and in the page in {made:.2f} s; "
          f"Page.printToPDF, {pages} pages, in {printed:.2f} s: "
          f"{'within' if printed <= TARGET else 'NOT within'} {TARGET} s")


if __name__ == "__main__":
    main()
