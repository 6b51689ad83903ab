#!/usr/bin/env python3
"""Time from navigation until the page is ready, its WebAssembly running and
its window wired up (the page's own mark), and until its first contentful
paint, in headless Chromium: the page against the same window with no
script, which is ready when it is painted.

usage: measure_page_startup.py RUNS PAGE.html REFERENCE.html
Loads the two in alternating order, RUNS times each, each in a new tab of
one browser, and prints the medians, their ratios to the reference's first
paint, and whether each is within TARGET times it.
"""
import os
import shutil
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chromium import Chromium  # noqa: E402

TARGET = 1.10
BLANK = "file://" + os.path.join(tempfile.mkdtemp(prefix="quorvel-blank."), "blank.html")


def load(browser, path, run, wait_ready):
    """(first contentful paint, ready) in ms after the navigation started, as
    the browser's lifecycle events time them to the microsecond; ready, from
    the page's own mark, is None for a page that makes none."""
    # Each load in a tab of its own, so that no page's clean-up runs in another's time.
    browser.new_tab()
    browser.call("Page.enable")
    # An empty file's page first, so that the measured load starts in a
    # renderer already made for files.
    browser.call("Page.navigate", url=BLANK)
    browser.wait_for("Page.loadEventFired")
    browser.call("Page.setLifecycleEventsEnabled", enabled=True)
    browser.events.clear()
    browser.call("Page.navigate", url=f"file://{os.path.abspath(path)}?run={run}")
    begun = browser.wait_for("Page.lifecycleEvent", where=lambda e: e["name"] == "init")
    painted = browser.wait_for("Page.lifecycleEvent",
                               where=lambda e: e["name"] == "firstContentfulPaint"
                               and e["loaderId"] == begun["loaderId"])
    paint = (painted["timestamp"] - begun["timestamp"]) * 1000
    for _ in range(500):
        ready = browser.evaluate(
            "(performance.getEntriesByName('quorvel-ready')[0] || {}).startTime")
        if ready is not None or not wait_ready:
            browser.close_tab()
            return paint, ready
        time.sleep(0.01)
    raise SystemExit(f"{path}: the page did not say it was ready")


def main():
    runs, page, reference = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    with open(BLANK[len("file://"):], "w", encoding="utf-8") as f:
        f.write("<!DOCTYPE html><title></title>")
    times = {page: [], reference: []}
    # A page with the glue says when it is wired up.
    with open(page, encoding="utf-8") as f:
        says_ready = "quorvel-ready" in f.read()
    ready = []
    with Chromium(800, 500) as browser:
        for path in (page, reference):  # once each first, so both start warm
            load(browser, path, -1, says_ready and path == page)
        for run in range(runs):
            for path in ((page, reference) if run % 2 == 0 else (reference, page)):
                paint, up = load(browser, path, run, says_ready and path == page)
                times[path].append(paint)
                if up is not None:
                    ready.append(up)
    p, r = statistics.median(times[page]), statistics.median(times[reference])
    print(f"reference: first paint {r:.1f} ms (median of {runs}), the same window with no script")
    verdict = lambda t: "within" if t <= TARGET * r else "NOT within"
    if ready:
        up = statistics.median(ready)
        print(f"page:      ready (WebAssembly started, window wired up) {up:.1f} ms "
              f"(median of {runs}), ratio {up / r:.3f}x: {verdict(up)} {TARGET:.2f}x")
    print(f"page:      first paint {p:.1f} ms (median of {runs}), "
          f"ratio {p / r:.3f}x: {verdict(p)} {TARGET:.2f}x")
    shutil.rmtree(os.path.dirname(BLANK[len("file://"):]), ignore_errors=True)


if __name__ == "__main__":
    main()
