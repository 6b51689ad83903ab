#!/usr/bin/env python3
"""Time from exec until the X server shows the first red pixels of the title
"调节阀流通能力计算" in its rectangle, and resident memory 0.5 s after that.

usage: measure_startup.py [--time-only] RUNS NAME=COMMAND [NAME=COMMAND ...]
Runs the commands (a program, or for instance "wine PROGRAM.exe") in
alternating order on the X display in $DISPLAY and prints the median of
each, and each one's ratio to the last one, then whether the first one is
within TARGET times the last on both (on time alone with --time-only).
"""
import ctypes
import os
import select
import shlex
import statistics
import subprocess
import sys
import time

X = ctypes.cdll.LoadLibrary("libX11.so.6")
X.XOpenDisplay.restype = ctypes.c_void_p
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
X.XPending.argtypes = [ctypes.c_void_p]
X.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
X.XConnectionNumber.argtypes = [ctypes.c_void_p]
X.XFlush.argtypes = [ctypes.c_void_p]
X.XGetImage.restype = ctypes.c_void_p
X.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
X.XDestroyImage.argtypes = [ctypes.c_void_p]
X.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
X.XSetErrorHandler.argtypes = [ctypes.c_void_p]

ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2
TITLE = (144, 0, 241, 33)  # Label1, in pixels
TARGET = 1.10


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


# A window that is not yet viewable makes XGetImage fail: ignore, poll again.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
X.XSetErrorHandler(ctypes.cast(ERROR_HANDLER, ctypes.c_void_p))

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", MapEvent), ("pad", ctypes.c_long * 24)]


display = X.XOpenDisplay(None)
if not display:
    sys.exit("measure_startup: cannot open the X display")
X.XSelectInput(display, X.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
X.XFlush(display)
fd = X.XConnectionNumber(display)


def drain():
    event = Event()
    while X.XPending(display):
        X.XNextEvent(display, ctypes.byref(event))


def wait_for_map(timeout):
    event = Event()
    deadline = time.perf_counter() + timeout
    while time.perf_counter() < deadline:
        while X.XPending(display):
            X.XNextEvent(display, ctypes.byref(event))
            if event.type == MAP_NOTIFY and not event.xmap.override_redirect:
                return event.xmap.window
        select.select([fd], [], [], 0.05)
    raise RuntimeError("no window was mapped")


def title_is_red(window):
    x, y, w, h = TITLE
    image = X.XGetImage(display, window, x, y, w, h, ALL_PLANES, Z_PIXMAP)
    if not image:
        return False
    try:
        img = ctypes.cast(image, ctypes.POINTER(XImage)).contents
        row = img.bytes_per_line
        data = ctypes.string_at(img.data, row * img.height)
        for j in range(img.height):
            line = data[j * row:j * row + 4 * img.width]  # 32-bit BGRX pixels
            for i in range(0, len(line), 4):
                if line[i + 2] > 200 and line[i + 1] < 90 and line[i] < 90:
                    return True
        return False
    finally:
        X.XDestroyImage(image)


def wait_for_title(window, timeout):
    deadline = time.perf_counter() + timeout
    while time.perf_counter() < deadline:
        if title_is_red(window):
            return time.perf_counter()
        time.sleep(0.002)
    raise RuntimeError("the title was never painted")


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError("no VmRSS")


def measure(program):
    drain()
    start = time.perf_counter()
    process = subprocess.Popen(shlex.split(program), stderr=subprocess.DEVNULL)
    try:
        shown = wait_for_title(wait_for_map(20), 20)
        time.sleep(0.5)
        return (shown - start) * 1000, rss_kib(process.pid)
    finally:
        process.kill()
        process.wait()


def main():
    args = sys.argv[1:]
    time_only = args[0] == "--time-only"
    args = args[1:] if time_only else args
    runs = int(args[0])
    programs = [arg.split("=", 1) for arg in args[1:]]
    results = {name: ([], []) for name, _ in programs}
    for run in range(runs):
        order = programs if run % 2 == 0 else programs[::-1]
        for name, program in order:
            ms, kib = measure(program)
            results[name][0].append(ms)
            results[name][1].append(kib)
    base = programs[-1][0]
    base_ms = statistics.median(results[base][0])
    base_kib = statistics.median(results[base][1])
    print(f"exec to the painted title, and VmRSS 0.5 s later: medians of {runs} alternating runs")
    ratios = {}
    for name, _ in programs:
        ms = statistics.median(results[name][0])
        kib = statistics.median(results[name][1])
        ratios[name] = (ms / base_ms, kib / base_kib)
        print(f"{name:>10}: {ms:7.1f} ms ({ms / base_ms:.3f}x)  {kib / 1024:6.1f} MiB ({kib / base_kib:.3f}x)")
    first = programs[0][0]
    time_ratio, memory_ratio = ratios[first]
    if time_only:
        verdict = "within" if time_ratio <= TARGET else "not within"
        print(f"{first} against {base}: time {time_ratio:.3f}x, {verdict} the {TARGET:.2f}x target")
        return
    verdict = "within" if max(time_ratio, memory_ratio) <= TARGET else "not within"
    print(f"{first} against {base}: time {time_ratio:.3f}x, memory {memory_ratio:.3f}x, "
          f"{verdict} the {TARGET:.2f}x target")


main()
