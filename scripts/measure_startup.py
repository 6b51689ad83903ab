#!/usr/bin/env python3
"""Time from exec to the window being mapped, and resident memory once shown.

usage: measure_startup.py RUNS NAME=PROGRAM [NAME=PROGRAM ...]
Runs the programs in alternating order on the X display in $DISPLAY and
prints the median of each, and each program's ratio to the last one.
"""
import ctypes
import os
import select
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
                return time.perf_counter()
        select.select([fd], [], [], 0.05)
    raise RuntimeError("no window was mapped")


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError("no VmRSS")


def measure(program):
    drain()
    start = time.perf_counter()
    process = subprocess.Popen([program], stderr=subprocess.DEVNULL)
    try:
        mapped = wait_for_map(20)
        time.sleep(0.3)  # let it paint what it shows
        return (mapped - start) * 1000, rss_kib(process.pid)
    finally:
        process.kill()
        process.wait()


def main():
    runs = int(sys.argv[1])
    programs = [arg.split("=", 1) for arg in sys.argv[2:]]
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
    print(f"start-up to mapped window and VmRSS once shown, median of {runs} alternating runs")
    for name, _ in programs:
        ms = statistics.median(results[name][0])
        kib = statistics.median(results[name][1])
        print(f"{name:>10}: {ms:7.1f} ms ({ms / base_ms:.3f}x)  {kib / 1024:6.1f} MiB ({kib / base_kib:.3f}x)")


main()
