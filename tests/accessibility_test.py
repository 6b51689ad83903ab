#!/usr/bin/env python3
"""What a screen reader hears: the input boxes' names and descriptions, read
through AT-SPI from the real program, for each medium after a real click on
its option button. Runs inside its own D-Bus session (dbus-run-session) and
starts its own X server.

usage: dbus-run-session -- python3 accessibility_test.py PROGRAM
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "scripts"))
from patience import until, until_equal  # noqa: E402
from webdriver import start_xvfb  # noqa: E402

# Box centres in pixels (twips / 15), and each medium's option button.
BOXES = {"Text1": (144, 116), "Text2": (144, 156), "Text3": (392, 116),
         "Text4": (392, 156), "Text7": (144, 204)}
OPTIONS = {"liquid": (256, 68), "gas": (304, 68), "water steam": (356, 68),
           "other steam": (420, 68)}

# (name, description) of every box a medium shows; a hidden box is absent.
EXPECTED = {
    "liquid": {"Text1": ("阀前压力", "kgf/cm2"), "Text2": ("阀后压力", "kgf/cm2"),
               "Text3": ("介质比重", ""), "Text4": ("最大流量", "m3/h")},
    "gas": {"Text1": ("阀前压力", "kgf/cm2 abs"), "Text2": ("阀后压力", "kgf/cm2 abs"),
            "Text3": ("介质比重", ""), "Text4": ("最大流量", "m3/h"),
            "Text7": ("介质温度", "℃")},
    "water steam": {"Text1": ("阀前压力", "kgf/cm2 abs"), "Text2": ("阀后压力", "kgf/cm2 abs"),
                    "Text4": ("最大流量", "kg/h"), "Text7": ("过热温度", "℃")},
    "other steam": {"Text1": ("阀前压力", "kgf/cm2 abs"), "Text2": ("阀后压力", "kgf/cm2 abs"),
                    "Text3": ("出口比容", "cm3/g"), "Text4": ("最大流量", "kg/h"),
                    "Text7": ("入口比容", "cm3/g")},
}


def main():
    xvfb = start_xvfb()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    env.pop("QT_SCALE_FACTOR", None)
    app = subprocess.Popen([sys.argv[1]], env=env)
    try:
        import pyatspi  # after DISPLAY is set: the bus address is read from the X server

        def window():
            for a in pyatspi.Registry.getDesktop(0):
                if a is not None and a.get_process_id() == app.pid and a.childCount:
                    return a[0]
            return None

        frame = until(window, "the window on the accessibility bus")
        wid = until(lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^Quorvel$"],
            capture_output=True, text=True).stdout.split(), "the X window")[0]

        def boxes():
            """(name, description) of each showing text box, by its position."""
            seen = {}
            for child in frame:
                if child.getRole() != pyatspi.ROLE_TEXT or not child.getState().contains(
                        pyatspi.STATE_SHOWING):
                    continue
                x, y, w, h = child.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
                for box, (cx, cy) in BOXES.items():
                    if x <= cx < x + w and y <= cy < y + h:
                        seen[box] = (child.name, child.description)
            return seen

        failures = 0
        for medium, (x, y) in OPTIONS.items():
            subprocess.run(["xdotool", "mousemove", "--window", wid, str(x), str(y), "click", "1"],
                           check=True)
            expected = EXPECTED[medium]
            seen = until_equal(boxes, expected)
            if seen == expected:
                print(f"PASS: {medium}")
            else:
                failures += 1
                print(f"FAIL: {medium}\n  expected {expected}\n  heard    {seen}")
        print(f"{len(OPTIONS) - failures} passed, {failures} failed")
        return 1 if failures else 0
    finally:
        app.kill()
        app.wait()
        xvfb.terminate()
        xvfb.wait()


sys.exit(main())
