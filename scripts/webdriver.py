"""Firefox ESR through Marionette and WebKitGTK (Safari's engine) through
WebKitWebDriver, both over W3C WebDriver commands with Python's standard
library alone, each a real window on the X display in $DISPLAY. Used by the
browser page's test in those engines.

    with Firefox() as browser:
        browser.navigate(url)
        browser.script("return document.title")
"""
import base64
import http.client
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time

from patience import DEADLINE


def start_xvfb(screen="800x600x24"):
    """An X server of the caller's own on a free display, which $DISPLAY then names."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", screen,
                             "-nolisten", "tcp", "-noreset"], pass_fds=[write],
                            stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        os.environ["DISPLAY"] = ":" + f.readline().strip()
    return xvfb


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for_port(port, process, timeout=DEADLINE):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if process.poll() is not None:
            raise RuntimeError(f"{process.args[0]} ended with status {process.returncode}")
        try:
            return socket.create_connection(("127.0.0.1", port), timeout=5)
        except OSError:
            time.sleep(0.1)
    raise TimeoutError(f"{process.args[0]} did not listen on port {port}")


def stop(process, timeout=20):
    """Waits for `process` to end, and ends it after `timeout` seconds."""
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class WebDriver:
    """The commands both engines take; `command` carries one and returns its value."""
    name = ""

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def script(self, body, *args):
        """Runs a function body in the page (its `arguments` are `args`) and
        returns what it returns; a promise is awaited."""
        wrapped = ("var done = arguments[arguments.length - 1];"
                   "Promise.resolve().then(() => (function () {" + body + "}).apply(null, "
                   "Array.prototype.slice.call(arguments, 0, -1)))"
                   ".then(v => done([true, v]), e => done([false, String(e)]));")
        ok, value = self.command("execute_async", script=wrapped, args=list(args))
        if not ok:
            raise RuntimeError(f"{body[:200]}: {value}")
        return value

    def actions(self, *sources):
        self.command("actions", actions=list(sources))
        self.command("release_actions")

    def screenshot(self, path):
        with open(path, "wb") as f:
            f.write(base64.b64decode(self.command("screenshot")))


class Firefox(WebDriver):
    """Firefox ESR with a fresh profile, through its Marionette protocol:
    JSON messages "<length>:[0, id, command, parameters]" over TCP."""
    name = "firefox"
    COMMANDS = {"new_session": "WebDriver:NewSession", "navigate": "WebDriver:Navigate",
                "execute_async": "WebDriver:ExecuteAsyncScript",
                "actions": "WebDriver:PerformActions",
                "release_actions": "WebDriver:ReleaseActions",
                "screenshot": "WebDriver:TakeScreenshot", "alert_text": "WebDriver:GetAlertText",
                "accept_alert": "WebDriver:AcceptAlert", "print": "WebDriver:Print",
                "quit": "Marionette:Quit"}

    def __init__(self, width=800, height=600, scale=1, env=None):
        exe = shutil.which("firefox-esr")
        if not exe:
            raise SystemExit("firefox-esr is not installed (scripts/test installs it)")
        self.profile = tempfile.mkdtemp(prefix="quorvel-firefox.")
        port = free_port()
        prefs = {
            "marionette.port": port,
            # Nothing of the browser's own goes out: no updates, reports,
            # studies, safe browsing or first-run pages.
            "app.update.disabledForTesting": True, "browser.shell.checkDefaultBrowser": False,
            "browser.startup.homepage_override.mstone": "ignore", "browser.startup.page": 0,
            "datareporting.policy.dataSubmissionEnabled": False,
            "toolkit.telemetry.reportingpolicy.firstRun": False,
            "app.normandy.enabled": False, "browser.safebrowsing.malware.enabled": False,
            "browser.safebrowsing.phishing.enabled": False, "network.connectivity-service.enabled": False,
            "network.captive-portal-service.enabled": False, "extensions.update.enabled": False,
            "browser.newtabpage.enabled": False, "remote.prefs.recommended": True,
            # Screen readers see the page: the accessibility tree is built.
            "accessibility.force_disabled": -1,
            "layout.css.devPixelsPerPx": str(float(scale)),
        }
        with open(os.path.join(self.profile, "user.js"), "w") as f:
            for key, value in prefs.items():
                f.write(f"user_pref({json.dumps(key)}, {json.dumps(value)});\n")
        self.process = subprocess.Popen(
            [exe, "--marionette", "--no-remote", "--profile", self.profile,
             "--width", str(width), "--height", str(height)],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=env)
        self.socket = wait_for_port(port, self.process)
        self.socket.settimeout(DEADLINE)
        self.buffer = b""
        self.next_id = 0
        self._read()  # the server's greeting
        self.command("new_session", capabilities={"alwaysMatch": {"unhandledPromptBehavior": "ignore"}})

    def _read(self):
        while b":" not in self.buffer:
            self.buffer += self._recv()
        length, rest = self.buffer.split(b":", 1)
        while len(rest) < int(length):
            rest += self._recv()
        message, self.buffer = rest[:int(length)], rest[int(length):]
        return json.loads(message)

    def _recv(self):
        chunk = self.socket.recv(1 << 20)
        if not chunk:
            raise ConnectionError("Firefox ended")
        return chunk

    def command(self, name, **params):
        self.next_id += 1
        message = json.dumps([0, self.next_id, self.COMMANDS[name], params]).encode()
        self.socket.sendall(str(len(message)).encode() + b":" + message)
        while True:
            _, answer_id, error, result = self._read()
            if answer_id == self.next_id:
                break
        if error:
            raise RuntimeError(f"{name}: {error.get('error')}: {error.get('message')}")
        return result.get("value") if isinstance(result, dict) and "value" in result else result

    def navigate(self, url):
        self.command("navigate", url=url)

    def close(self):
        try:
            self.command("quit", flags=["eForceQuit"])
        except Exception:
            pass
        self.socket.close()
        stop(self.process)
        shutil.rmtree(self.profile, ignore_errors=True)


class WebKit(WebDriver):
    """WebKitGTK's MiniBrowser, through WebKitWebDriver's W3C WebDriver over HTTP."""
    name = "webkit"
    BROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
    ROUTES = {"navigate": ("POST", "url"), "execute_async": ("POST", "execute/async"),
              "actions": ("POST", "actions"), "release_actions": ("DELETE", "actions"),
              "screenshot": ("GET", "screenshot"), "alert_text": ("GET", "alert/text"),
              "accept_alert": ("POST", "alert/accept"), "window_rect": ("POST", "window/rect")}

    def __init__(self, width=800, height=600, scale=1, env=None):
        exe = shutil.which("WebKitWebDriver")
        if not exe or not os.path.exists(self.BROWSER):
            raise SystemExit("WebKitWebDriver or MiniBrowser is missing "
                             "(scripts/test installs webkit2gtk-driver)")
        env = dict(env or os.environ)
        if scale != 1:
            env["GDK_SCALE"] = str(scale)  # WebKitGTK's page zoom keeps devicePixelRatio at 1
        self.port = free_port()
        self.process = subprocess.Popen([exe, f"--port={self.port}"], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        env=env)
        wait_for_port(self.port, self.process).close()
        self.session = None
        self.session = self._http("POST", "session", {"capabilities": {"alwaysMatch": {
            "browserName": "MiniBrowser",
            "webkitgtk:browserOptions": {"binary": self.BROWSER, "args": ["--automation"]},
            "unhandledPromptBehavior": "ignore"}}})["sessionId"]
        self.command("window_rect", width=width, height=height)

    def _http(self, method, path, body=None):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=DEADLINE)
        try:
            connection.request(method, "/" + path, json.dumps(body or {}) if method == "POST" else None,
                               {"Content-Type": "application/json"})
            answer = json.loads(connection.getresponse().read() or b"{}")
        finally:
            connection.close()
        value = answer.get("value")
        if isinstance(value, dict) and "error" in value:
            raise RuntimeError(f"{path}: {value['error']}: {value.get('message')}")
        return value

    def command(self, name, **params):
        method, path = self.ROUTES[name]
        return self._http(method, f"session/{self.session}/{path}", params)

    def navigate(self, url):
        self.command("navigate", url=url)

    def close(self):
        try:
            if self.session:
                self._http("DELETE", f"session/{self.session}")
        except Exception:
            pass
        self.process.terminate()
        stop(self.process)


ENGINES = {"firefox": Firefox, "webkit": WebKit}
