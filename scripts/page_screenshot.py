#!/usr/bin/env python3
"""The browser page after the liquid calculation, as a PNG of its window.

usage: page_screenshot.py PAGE.html OUT.png
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chromium import Chromium  # noqa: E402

page, out = sys.argv[1], sys.argv[2]
with Chromium(800, 500) as browser:
    browser.open("file://" + os.path.abspath(page))
    while not browser.evaluate("document.getElementById('Text5').title"):
        time.sleep(0.05)
    for box, text in (("Text1", "5"), ("Text2", "4"), ("Text3", "1"), ("Text4", "10")):
        browser.evaluate(f"document.getElementById('{box}').focus()")
        browser.call("Input.insertText", text=text)
    browser.evaluate("document.getElementById('Command1').click()")
    browser.evaluate("document.getElementById('Text2').focus()")
    browser.screenshot(out, x=0, y=0, width=525, height=306)
print(out)
