#!/usr/bin/env python3
"""The page in Firefox ESR and in WebKitGTK (Safari's engine), each a real
window on an X server of the test's own, driven through WebDriver with real
pointer and key actions: every control at its place at 100 % and 200 %, the
start state, a calculation, the error dialog, a row and a list through the X
clipboard, Ctrl+Shift+C, what a screen reader hears for each medium (read
through AT-SPI), the buttons' caption colour, the closed dialog in an engine
without <dialog>, "退出", and no request. Chromium has its own test
(web_page_test.py), through the DevTools protocol.

usage: python3 web_engines_test.py firefox|webkit PAGE.html
(Debian's Python, which has the AT-SPI client; the test starts its own D-Bus
session and X server.)
"""
import base64
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from patience import DEADLINE, until, until_equal  # noqa: E402
from webdriver import ENGINES, start_xvfb  # noqa: E402
from web_page_test import control_table  # noqa: E402
from book_pdf import check_book, twelve_valves  # noqa: E402

ENGINE, PAGE_FILE = sys.argv[1], os.path.abspath(sys.argv[2])
PAGE = "file://" + PAGE_FILE

# W3C WebDriver's key values.
KEYS = {"Enter": "\ue007", "Tab": "\ue004", "Escape": "\ue00c", "Backspace": "\ue003",
        "Control": "\ue009", "Shift": "\ue008"}

# (name, description) of each input box a medium shows, as a screen reader
# hears them; water steam hides Text3, which other steam shows again.
HEARD = {
    "Option1": {("阀前压力:", "kgf/cm2"), ("阀后压力:", "kgf/cm2"), ("介质比重:", ""),
                ("最大流量:", "m3/h")},
    "Option2": {("阀前压力:", "kgf/cm2 abs"), ("阀后压力:", "kgf/cm2 abs"), ("介质比重:", ""),
                ("最大流量:", "m3/h"), ("介质温度:", "℃")},
    "Option3": {("阀前压力:", "kgf/cm2 abs"), ("阀后压力:", "kgf/cm2 abs"),
                ("最大流量:", "kg/h"), ("过热温度:", "℃")},
    "Option4": {("阀前压力:", "kgf/cm2 abs"), ("阀后压力:", "kgf/cm2 abs"),
                ("出口比容:", "cm3/g"), ("最大流量:", "kg/h"), ("入口比容:", "cm3/g")},
}


def set_x_clipboard(text):
    # WebKit reads text/plain;charset=utf-8 only; a paste takes it too.
    subprocess.run(["xclip", "-selection", "clipboard", "-t", "text/plain;charset=utf-8"],
                   input=text.encode(), check=True)


def x_clipboard():
    for target in ("UTF8_STRING", "text/plain;charset=utf-8"):
        read = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", target],
                              capture_output=True, timeout=DEADLINE)
        if read.returncode == 0:
            return read.stdout.decode().replace("\r\n", "\n")
    return None


class EnginePageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = ENGINES[ENGINE](800, 500)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def setUp(self):
        self.b = self.browser
        self.open(self.b, PAGE)

    def open(self, browser, url):
        browser.navigate(url)
        # The window's WebAssembly runs and is wired up once the page is read.
        until(lambda: browser.script(
            "return performance.getEntriesByName('quorvel-ready').length"),
            "the page's WebAssembly to start")

    def js(self, body, *args):
        return self.b.script(body, *args)

    def value(self, name):
        return self.js("return document.getElementById(arguments[0]).value", name)

    def message(self):
        """The open message's icon and text, or None."""
        return self.js("var d = document.getElementById('message');"
                       "return d.open ? [d.className, document.getElementById('message-text')"
                       ".textContent] : null")

    def click(self, name):
        r = json.loads(self.js("return JSON.stringify(document.getElementById(arguments[0])"
                               ".getBoundingClientRect())", name))
        x, y = int(r["x"] + r["width"] / 2), int(r["y"] + r["height"] / 2)
        self.b.actions({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                        "actions": [{"type": "pointerMove", "x": x, "y": y, "origin": "viewport"},
                                    {"type": "pointerDown", "button": 0},
                                    {"type": "pointerUp", "button": 0}]})

    def keys(self, *keys, ctrl=False, shift=False):
        held = [KEYS[k] for k, down in (("Control", ctrl), ("Shift", shift)) if down]
        actions = [{"type": "keyDown", "value": k} for k in held]
        for key in keys:
            value = KEYS.get(key, key)
            actions += [{"type": "keyDown", "value": value}, {"type": "keyUp", "value": value}]
        actions += [{"type": "keyUp", "value": k} for k in reversed(held)]
        self.b.actions({"type": "key", "id": "keyboard", "actions": actions})

    def type(self, text):
        self.keys(*text)

    def heard(self):
        """(name, description) of each input box showing in the page, through AT-SPI."""
        import pyatspi  # after DISPLAY: the accessibility bus is found through it

        def find(node, role, name=None, depth=0):
            found = []
            for child in node:
                if child is None:
                    continue
                if child.getRoleName() == role and (name is None or child.name == name):
                    found.append(child)
                elif depth < 25:
                    found += find(child, role, name, depth + 1)
            return found
        documents = find(pyatspi.Registry.getDesktop(0), "document web", "Quorvel")
        if not documents:
            return None
        return {(e.name, e.description) for e in find(documents[0], "entry")
                if e.getState().contains(pyatspi.STATE_SHOWING)
                and not e.name.startswith("计算")}

    def test_every_control_at_its_place_at_100_and_200_percent(self):
        table = control_table()
        for scale in (1, 2):
            browser = self.b if scale == 1 else ENGINES[ENGINE](800, 500, scale=scale)
            try:
                if scale != 1:
                    self.open(browser, PAGE)
                self.assertEqual(browser.script("return window.devicePixelRatio"), scale)
                places = json.loads(browser.script(
                    "return JSON.stringify(arguments[0].map(n => { var e = "
                    "document.getElementById(n), r = e.getBoundingClientRect(); "
                    "return [e.hidden, r.x, r.y, r.width, r.height]; }))",
                    [name for name, *_ in table]))
                for (name, _, left, top, width, height, visible, _), found in zip(table, places):
                    with self.subTest(scale=scale, control=name):
                        self.assertEqual(found[0], not visible)
                        if visible:
                            self.assertEqual(found[1:], [left / 15, top / 15, width / 15,
                                                         height / 15])
            finally:
                if scale != 1:
                    browser.close()
        self.assertEqual(self.js("return [document.title, document.documentElement.lang]"),
                         ["Quorvel", "zh-CN"])

    def test_start_state_a_calculation_and_what_a_screen_reader_hears(self):
        self.assertEqual(self.js("return document.activeElement.id"), "Text2")
        self.assertTrue(self.js("return document.querySelector('#Option1 input').checked"))
        for box, text in (("Text1", "5"), ("Text2", "4"), ("Text3", "1"), ("Text4", "10")):
            self.click(box)
            self.type(text)
        self.click("Command1")
        self.assertEqual((self.value("Text5"), self.value("Text6")), ("11.6999995708466", "10"))
        self.keys("Tab")  # from Command1 to Text4, as the tab indices go
        self.assertEqual(self.js("return document.activeElement.id"), "Text4")
        for option, heard in HEARD.items():
            with self.subTest(medium=option):
                self.click(option)
                self.assertEqual(until_equal(self.heard, heard), heard)

    # WebKitWebDriver does not answer WebDriver's Print; Firefox prints as
    # its "Save to PDF" does. Firefox ESR's PDF loses the text of some
    # Chinese characters, which it draws right: the lines checked are those
    # of Latin letters and digits.
    @unittest.skipUnless(ENGINE == "firefox", "WebKitWebDriver has no Print command")
    def test_ctrl_p_prints_the_sheet_and_ctrl_shift_p_the_book(self):
        self.js("window.printed = 0; window.print = () => { window.printed++; }")
        for box, text in (("Text1", "5"), ("Text2", "4"), ("Text3", "1"), ("Text4", "10")):
            self.click(box)
            self.type(text)
        self.keys("p", ctrl=True)
        until(lambda: self.js("return window.printed"), "window.print()")
        pdf = base64.b64decode(self.b.command("print", page={"width": 21.0, "height": 29.7},
                                              margin={"top": 0, "bottom": 0, "left": 0, "right": 0}))
        text = subprocess.run(["pdftotext", "-raw", "-", "-"], input=pdf, capture_output=True,
                              check=True).stdout.decode()
        self.assertEqual(text.count("\f"), 1)
        lines = text.splitlines()
        for line in ("ΔP = P1 − P2 = 5 − 4 = 1", "Cv = 11.6999995708466", "C = 10"):
            self.assertIn(line, lines)
        self.assertTrue(lines[-2].endswith("1 页 共 1 页 Quorvel 0.1.0"), lines[-2])
        self.assertNotIn("kgf/cm2 abs", text)  # the liquid's unit, not the gas one's
        # And the list's book, through Ctrl+Shift+P in a box, and a paste
        # there, since the clipboard's popup takes no synthetic click.
        set_x_clipboard(twelve_valves())
        self.click("Text4")
        self.keys("p", ctrl=True, shift=True)
        self.keys("v", ctrl=True)
        until(lambda: self.js("return window.printed") == 2, "the book's window.print()")
        check_book(self, base64.b64decode(self.b.command(
            "print", page={"width": 21.0, "height": 29.7},
            margin={"top": 0, "bottom": 0, "left": 0, "right": 0})))

    def test_error_dialog_closes_and_gives_the_focus_back(self):
        for closing in ("Enter", "Escape"):
            self.keys("Enter")  # in Text2, every box empty: no pressure drop
            icon, text = until(self.message, "the error dialog")
            self.assertEqual(icon, "error")
            self.assertIn("除数为零", text)
            self.assertEqual(self.js("return document.activeElement.id"), "message-ok")
            self.keys(closing)
            until(lambda: self.message() is None, "the dialog to close")
            self.assertEqual(self.js("return document.activeElement.id"), "Text2")

    def test_buttons_are_drawn_in_the_windows_caption_colour(self):
        colours = self.js("var c = n => getComputedStyle(document.getElementById(n)).color;"
                          "return [c('Form1'), c('Command1'), c('Command2'), c('message-ok')]")
        self.assertEqual(colours, ["rgb(0, 0, 0)"] * 4)

    def test_closed_dialog_hidden_where_the_engine_has_no_dialog(self):
        # As an engine without <dialog> sees the page: an unknown element,
        # and the report through alert().
        work = tempfile.mkdtemp(prefix="quorvel-nodialog.")
        try:
            with open(PAGE_FILE, encoding="utf-8") as f:
                page = f.read().replace("<dialog ", "<x-dialog ").replace("</dialog>", "</x-dialog>")
            page = page.replace("<head>", "<head><script>window.alerted = [];"
                                "window.alert = t => window.alerted.push(t);</script>", 1)
            old = os.path.join(work, "page.html")
            with open(old, "w", encoding="utf-8") as f:
                f.write(page)
            self.open(self.b, "file://" + old)
            self.keys("Enter")
            alerted = until(lambda: self.js("return window.alerted"), "the alert")
            self.assertIn("除数为零", alerted[0])
            self.assertEqual(self.js("var m = document.getElementById('message');"
                                     "return [m.tagName, getComputedStyle(m).display, "
                                     "m.getBoundingClientRect().height]"),
                             ["X-DIALOG", "none", 0])
        finally:
            shutil.rmtree(work, ignore_errors=True)

    def test_row_pasted_row_copied_and_a_list_through_the_x_clipboard(self):
        self.click("Option2")
        set_x_clipboard("10\t8\t1\t1000\t27\r\n")
        self.click("Text1")
        self.keys("v", ctrl=True)
        until(lambda: self.value("Text7") == "27", "the pasted row")
        self.assertEqual([self.value(b) for b in ("Text1", "Text2", "Text3", "Text4")],
                         ["10", "8", "1", "1000"])
        self.keys("c", ctrl=True, shift=True)
        self.assertEqual(until(lambda: (x_clipboard() or "").startswith("气体") and x_clipboard(),
                               "the copied row"),
                         "气体\t10\t8\t1\t1000\t27\t10.0583670590527\t8.59689470350021\n")
        set_x_clipboard("介质\tP1\tP2\tG\tQ\r\n液体\t5\t4\t1\t10\r\n\r\n液体\t0\n")
        self.click("Text4")
        self.keys("v", ctrl=True, shift=True)
        icon, text = until(self.message, "the list's message")
        self.assertEqual(icon, "information")
        self.assertIn("已计算 2 行：1 行得出 Cv 和 C，1 行出错（第 4 行）", text)
        self.keys("Enter")
        self.assertEqual(until(lambda: (x_clipboard() or "").startswith("Cv") and x_clipboard(),
                               "the list's answer"),
                         "Cv\tC\n11.6999995708466\t10\n\n出错：第 4 行 P2（第 3 列）是空的\t\n")
        self.assertEqual(self.value("Text4"), "1000")

    def test_exit_ends_the_page_and_nothing_is_requested(self):
        self.click("Command2")
        self.assertEqual(self.js("return document.body.innerText").strip(),
                         "Quorvel 已退出。关闭此页面即可；刷新页面可重新开始。")
        self.assertEqual(self.js("return performance.getEntriesByType('resource').length"), 0)


def in_a_session_of_its_own():
    """Runs this test again in a D-Bus session of its own, whose accessibility
    bus has its socket in a runtime folder of its own: two such tests at once
    would otherwise share one and fail."""
    runtime = tempfile.mkdtemp(prefix="quorvel-runtime.")
    try:
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, QUORVEL_IN_SESSION="1")
        return subprocess.run(["dbus-run-session", "--", sys.executable, *sys.argv],
                              env=env).returncode
    finally:
        remove_runtime(runtime)


def remove_runtime(runtime):
    """Removes a session's runtime folder, in which the browser's document
    portal may have left its file system mounted (runtime/doc), its server
    gone with the session: unmounted first, or removing it fails."""
    with open("/proc/mounts", encoding="utf-8") as f:
        mounts = [fields[1] for fields in map(str.split, f) if fields[1].startswith(runtime + "/")]
    unmount = ["fusermount3", "-u", "-z"] if shutil.which("fusermount3") else ["umount", "-l"]
    for mount in mounts:
        subprocess.run([*unmount, mount], check=False)
    try:
        shutil.rmtree(runtime)
    except OSError as e:
        print(f"web_engines_test: {runtime} stays: {e}", file=sys.stderr)


if __name__ == "__main__":
    if not os.environ.get("QUORVEL_IN_SESSION"):
        sys.exit(in_a_session_of_its_own())
    xvfb = start_xvfb("1600x1200x24")
    os.environ.update(GNOME_ACCESSIBILITY="1", NO_AT_BRIDGE="0")
    try:
        unittest.main(argv=sys.argv[:1], verbosity=2)
    finally:
        xvfb.terminate()
        xvfb.wait()
