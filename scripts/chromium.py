"""Headless Chromium driven through the DevTools protocol over a pipe, with
Python's standard library alone: no websocket, no X server. Used by the
browser page's test, its start-up measurement and its screenshot.

    with Chromium() as browser:
        browser.call("Page.navigate", url=...)
"""
import base64
import fcntl
import json
import os
import shutil
import subprocess
import tempfile
import time

from patience import DEADLINE


def _as_3_and_4(read, write):
    # Out of the way first, in case either already is 3 or 4.
    read, write = fcntl.fcntl(read, fcntl.F_DUPFD, 10), fcntl.fcntl(write, fcntl.F_DUPFD, 10)
    os.dup2(read, 3)
    os.dup2(write, 4)


class Chromium:
    def __init__(self, width=800, height=600):
        exe = shutil.which("chromium")
        if not exe:
            raise SystemExit("chromium is not installed (scripts/test installs it)")
        self.profile = tempfile.mkdtemp(prefix="quorvel-chromium.")
        # Chromium reads commands from descriptor 3 and answers on 4.
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        self.process = subprocess.Popen(
            [exe, "--headless=new", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
             "--no-first-run", "--no-default-browser-check", "--disable-extensions",
             "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--mute-audio", "--remote-debugging-pipe",
             # Frames as soon as they are ready, not at the next tick of a 60 Hz
             # clock: paint times are not rounded up to it.
             "--disable-gpu-vsync", "--disable-frame-rate-limit",
             f"--user-data-dir={self.profile}", f"--window-size={width},{height}",
             "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            pass_fds=(3, 4), preexec_fn=lambda: _as_3_and_4(to_browser_r, from_browser_w))
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.events = []
        self.session = None
        targets = self.call("Target.getTargets")["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.session = self.call("Target.attachToTarget", targetId=page["targetId"],
                                 flatten=True)["sessionId"]

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def close(self):
        try:
            self.session = None
            self.call("Browser.close")
        except Exception:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)

    def _read_message(self, deadline):
        while b"\0" not in self.buffer:
            if time.monotonic() > deadline:
                raise TimeoutError("Chromium did not answer")
            chunk = os.read(self.from_browser, 1 << 20)
            if not chunk:
                raise ConnectionError("Chromium ended")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, timeout=DEADLINE, browser=False, **params):
        """Sends a command to the page (or the browser) and returns its result."""
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session and not browser:
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            answer = self._read_message(deadline)
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(f"{method}: {answer['error']}")
                return answer.get("result", {})
            if "method" in answer:
                self.events.append(answer)

    def wait_for(self, method, timeout=DEADLINE, where=lambda params: True):
        """The parameters of the first event `method` (seen or to come) that `where` accepts."""
        deadline = time.monotonic() + timeout
        while True:
            for i, event in enumerate(self.events):
                if event["method"] == method and where(event.get("params", {})):
                    del self.events[i]
                    return event.get("params", {})
            self.events.append(self._read_message(deadline))

    def new_tab(self):
        """Opens a blank tab, which the page commands then go to."""
        target = self.call("Target.createTarget", browser=True, url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", browser=True, targetId=target,
                                 flatten=True)["sessionId"]
        self.tab = target

    def close_tab(self):
        self.call("Target.closeTarget", browser=True, targetId=self.tab)
        self.session = None

    def evaluate(self, expression):
        """The value of a JavaScript expression in the page (a promise is awaited)."""
        result = self.call("Runtime.evaluate", expression=expression, awaitPromise=True,
                           returnByValue=True, userGesture=True)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"].get("exception", {}).get("description", "")
            raise RuntimeError(f"{expression[:200]}: {details[:500]}")
        return result["result"].get("value")

    def open(self, url):
        """Loads `url` and waits until it has loaded."""
        self.call("Page.enable")
        self.events.clear()
        self.call("Page.navigate", url=url)
        self.wait_for("Page.loadEventFired")

    def screenshot(self, path, **clip):
        """The page as a PNG, or the part of it that x, y, width and height give."""
        options = {"clip": dict(clip, scale=1)} if clip else {}
        data = self.call("Page.captureScreenshot", format="png", **options)["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))
