#!/usr/bin/env python3
"""Time from navigation until the whole window is in place, in headless
Chromium: the page against the same window as a static page, the same
event timed the same way on both. In place means the six visible boxes and
both buttons laid out at their places and the red title drawn: a probe,
put into both documents before anything of theirs runs, notes the first
frame in which all of that holds. Also the page's own mark (its
WebAssembly started and its window wired up) and the first contentful
paint of each.

usage: measure_page_startup.py RUNS PAGE.html REFERENCE.html
Loads the two in alternating order, RUNS times each, in one tab of one
browser, an empty page between any two, and prints the medians, the page's
ratio to the reference for the same event, and whether it is within TARGET
times it.
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


# The controls that show at start, each at the place the control table gives
# it, and the title, which is red once its style is in.
PROBE = """
(function () {
  var ids = ['Text1', 'Text2', 'Text3', 'Text4', 'Text5', 'Text6', 'Command1', 'Command2', 'Label1'];
  var drawn = ['Label1', 'Command1', 'Command2'], painted = {}, placed = null;
  function inPlace() {
    for (var i = 0; i < ids.length; ++i) {
      var e = document.getElementById(ids[i]);
      if (!e || !e.offsetParent) return false;
      var r = e.getBoundingClientRect(), style = getComputedStyle(e);
      var form = e.offsetParent.getBoundingClientRect();
      if (r.width === 0 || r.height === 0 || style.position !== 'absolute'
          || Math.abs(r.left - form.left - parseFloat(style.left)) > 0.5
          || Math.abs(r.top - form.top - parseFloat(style.top)) > 0.5) return false;
    }
    return getComputedStyle(document.getElementById('Label1')).color === 'rgb(255, 0, 0)';
  }
  function done() {
    if (placed === null || drawn.some(function (id) { return !(id in painted); })) return;
    var at = placed;
    drawn.forEach(function (id) { at = Math.max(at, painted[id]); });
    performance.mark('window-in-place', { startTime: at });
  }
  // When the title's and the buttons' texts are first painted (element timing).
  new MutationObserver(function () {
    drawn.forEach(function (id) {
      var e = document.getElementById(id);
      if (e && !e.hasAttribute('elementtiming')) e.setAttribute('elementtiming', id);
    });
  }).observe(document, { childList: true, subtree: true });
  new PerformanceObserver(function (list) {
    list.getEntries().forEach(function (entry) { painted[entry.identifier] = entry.renderTime; });
    done();
  }).observe({ type: 'element', buffered: true });
  // The first frame in which every control is laid out at its place.
  function frame(time) {
    if (inPlace()) { placed = time; done(); } else requestAnimationFrame(frame);
  }
  requestAnimationFrame(frame);
})();
"""


def mark(browser, name):
    return browser.evaluate(f"(performance.getEntriesByName('{name}')[0] || {{}}).startTime")


def load(browser, path, run, wait_ready):
    """(first contentful paint, window in place, ready) in ms after the
    navigation started: the paint as the browser's lifecycle events time it,
    the others from marks on the page's own clock, which starts with the
    navigation; ready, the page's own mark, is None for a page that makes
    none."""
    # An empty file's page first, so that the last page is gone before the
    # measured load starts. A tab of its own each time would put a new
    # renderer's and compositor's start into every load, which spreads the
    # times over twice the range.
    browser.events.clear()
    browser.call("Page.navigate", url=BLANK)
    browser.wait_for("Page.loadEventFired")
    browser.call("Page.setLifecycleEventsEnabled", enabled=True)
    probe = browser.call("Page.addScriptToEvaluateOnNewDocument", source=PROBE)["identifier"]
    browser.events.clear()
    browser.call("Page.navigate", url=f"file://{os.path.abspath(path)}?run={run}")
    begun = browser.wait_for("Page.lifecycleEvent", where=lambda e: e["name"] == "init")
    painted = browser.wait_for("Page.lifecycleEvent",
                               where=lambda e: e["name"] == "firstContentfulPaint"
                               and e["loaderId"] == begun["loaderId"])
    paint = (painted["timestamp"] - begun["timestamp"]) * 1000
    for _ in range(500):
        placed, ready = mark(browser, "window-in-place"), mark(browser, "quorvel-ready")
        if placed is not None and (ready is not None or not wait_ready):
            browser.call("Page.removeScriptToEvaluateOnNewDocument", identifier=probe)
            return paint, placed, ready
        time.sleep(0.01)
    raise SystemExit(f"{path}: the window was not in place, or the page did not say it was ready")


def main():
    runs, page, reference = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    with open(BLANK[len("file://"):], "w", encoding="utf-8") as f:
        f.write("<!DOCTYPE html><title></title>")
    paints = {page: [], reference: []}
    placed = {page: [], reference: []}
    # A page with the glue says when it is wired up.
    with open(page, encoding="utf-8") as f:
        says_ready = "quorvel-ready" in f.read()
    ready = []
    with Chromium(800, 500) as browser:
        browser.call("Page.enable")
        for path in (page, reference):  # once each first, so both start warm
            load(browser, path, -1, says_ready and path == page)
        for run in range(runs):
            for path in ((page, reference) if run % 2 == 0 else (reference, page)):
                paint, place, up = load(browser, path, run, says_ready and path == page)
                paints[path].append(paint)
                placed[path].append(place)
                if up is not None:
                    ready.append(up)
    median = {path: statistics.median(placed[path]) for path in placed}
    ratio = median[page] / median[reference]
    print(f"window in place: page {median[page]:.1f} ms, reference {median[reference]:.1f} ms "
          f"(medians of {runs}), ratio {ratio:.3f}x: "
          f"{'within' if ratio <= TARGET else 'NOT within'} {TARGET:.2f}x")
    p, r = statistics.median(paints[page]), statistics.median(paints[reference])
    print(f"first contentful paint: page {p:.1f} ms, reference {r:.1f} ms, ratio {p / r:.3f}x")
    if ready:
        print(f"page ready (WebAssembly started, window wired up): {statistics.median(ready):.1f} ms")
    shutil.rmtree(os.path.dirname(BLANK[len("file://"):]), ignore_errors=True)


if __name__ == "__main__":
    main()
