#!/usr/bin/env python3
"""The browser page after the liquid calculation, as a PNG of its window;
with SHEET.png, also the calculation sheet that Ctrl+P prints for the gas
case below the critical drop, as a PNG of its A4 page; with BOOK.png, the
summary page of the calculation book that Ctrl+Shift+P prints for the list
of twelve valves (tests/twelve_valves.h).

usage: page_screenshot.py PAGE.html OUT.png [SHEET.png [BOOK.png]]
"""
import base64
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tests"))
from chromium import Chromium  # noqa: E402
from book_pdf import twelve_valves  # noqa: E402

page, out = sys.argv[1], sys.argv[2]
sheet = sys.argv[3] if len(sys.argv) > 3 else None
book = sys.argv[4] if len(sys.argv) > 4 else None


def first_page_png(browser, png):
    """The page's print, its first page as a PNG."""
    pdf = browser.call("Page.printToPDF", preferCSSPageSize=True)["data"]
    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "print.pdf"), "wb") as f:
            f.write(base64.b64decode(pdf))
        subprocess.run(["pdftoppm", "-r", "72", "-png", "-singlefile", "-f", "1", "-l", "1",
                        f.name, png.removesuffix(".png")], check=True)
    print(png)


def fill(browser, values):
    for box, text in zip(("Text1", "Text2", "Text3", "Text4", "Text7"), values):
        browser.evaluate(f"document.getElementById('{box}').select()")
        browser.call("Input.insertText", text=text)


with Chromium(800, 500) as browser:
    browser.open("file://" + os.path.abspath(page))
    while not browser.evaluate("performance.getEntriesByName('quorvel-ready').length"):
        time.sleep(0.05)
    fill(browser, ("5", "4", "1", "10"))
    browser.evaluate("document.getElementById('Command1').click()")
    browser.evaluate("document.getElementById('Text2').focus()")
    browser.screenshot(out, x=0, y=0, width=525, height=306)
    print(out)
    if sheet:
        browser.evaluate("document.querySelector('#Option2 input').click()")
        fill(browser, ("10", "8", "1", "1000", "27"))
        browser.evaluate("window.print = () => {}")  # the sheet is printed to PDF below
        browser.evaluate("document.getElementById('Text1').dispatchEvent(new KeyboardEvent("
                         "'keydown', {key: 'p', ctrlKey: true, bubbles: true}))")
        first_page_png(browser, sheet)
    if book:
        browser.call("Browser.grantPermissions", browser=True,
                     permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
        browser.call("Emulation.setFocusEmulationEnabled", enabled=True)
        browser.evaluate(f"navigator.clipboard.writeText({twelve_valves()!r})")
        browser.evaluate("window.printed = false; window.print = () => { window.printed = true; }")
        browser.evaluate("document.getElementById('Command1').focus()")
        for kind in ("rawKeyDown", "keyUp"):
            browser.call("Input.dispatchKeyEvent", type=kind, modifiers=2 | 8, key="P", code="KeyP",
                         windowsVirtualKeyCode=ord("P"))
        while not browser.evaluate("window.printed"):
            time.sleep(0.05)
        first_page_png(browser, book)
