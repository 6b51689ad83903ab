"""How long the tests and the measurements wait for what they need: a
window, a dialog, an alert, a clipboard's owner, a printed file, a browser's
answer. A wait ends as soon as what it waits for has happened; only a broken
program makes it last to its deadline, however busy the machine. Under CI
the machine may be slower still, and the deadline is doubled.

    from patience import DEADLINE, until
    until(lambda: page.message(), "the error dialog")
"""
import os
import time

DEADLINE = 120.0 if os.environ.get("CI") == "true" else 60.0  # seconds

# How often a wait looks again.
POLL = 0.05


def until(probe, what, timeout=DEADLINE):
    """What `probe` returns once it is truthy; an AssertionError that names
    `what` when it is still falsy after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(POLL)


def until_equal(probe, expected, timeout=DEADLINE):
    """What `probe` returned last: `expected` as soon as it returns that, or
    what it returned at the deadline, for the caller to show beside it."""
    deadline = time.monotonic() + timeout
    while (found := probe()) != expected and time.monotonic() <= deadline:
        time.sleep(POLL)
    return found
