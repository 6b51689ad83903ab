#!/usr/bin/env python3
"""The page in headless Chromium, driven through the DevTools protocol with
real mouse and key events: every control at its place at 100 % and 200 %,
the tab order, a calculation typed and clicked, the error dialog, a row
pasted, Ctrl+Shift+C and a short list through the clipboard, "退出", and no
request of any kind leaving the page. The calculation itself is tested
below the window (core and form tests).

usage: web_page_test.py PAGE.html [SCREENSHOT.png]
"""
import base64
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from chromium import Chromium  # noqa: E402
from patience import until  # noqa: E402
from book_pdf import check_book, twelve_valves  # noqa: E402

PAGE = "file://" + os.path.abspath(sys.argv[1])
SHOT = sys.argv[2] if len(sys.argv) > 2 else None


def control_table():
    """(name, kind, left, top, width, height, visible, tab index) of each
    control, read from the table in ui/controls.h."""
    with open(os.path.join(ROOT, "ui", "controls.h"), encoding="utf-8") as f:
        source = f.read()
    row = re.compile(r'\{(\w+),\s*"\w+",\s*(\w+),\s*"[^"]*",\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+),'
                     r'[^}]*?,\s*(true|false),\s*(\d+),\s*\w+\}')
    table = [(m[0], m[1], *map(int, m[2:6]), m[6] == "true", int(m[7]))
             for m in row.findall(source)]
    assert len(table) == 28, len(table)
    return table


def command_table():
    """(letter, shift) of each command, in the order of ui/commands.h."""
    with open(os.path.join(ROOT, "ui", "commands.h"), encoding="utf-8") as f:
        source = f.read()
    return [(m[0], m[1] == "true")
            for m in re.findall(r"\{ CommandId::\w+, \"[^\"]*\", \{ '([A-Z])', (true|false) \}", source)]


KEYS = {"Enter": (13, "Enter", "\r"), "Tab": (9, "Tab", ""), "Escape": (27, "Escape", ""),
        "Backspace": (8, "Backspace", "")}


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = Chromium(800, 500)
        cls.browser.call("Browser.grantPermissions", browser=True,
                         permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
        cls.browser.call("Network.enable")
        cls.browser.call("Runtime.enable")

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def setUp(self):
        self.b = self.browser
        self.b.open(PAGE)
        # The window's WebAssembly runs and is wired up once the page is read.
        until(lambda: self.b.evaluate("performance.getEntriesByName('quorvel-ready').length"),
              "the page's WebAssembly to start")

    def js(self, expression):
        return self.b.evaluate(expression)

    def value(self, name):
        return self.js(f"document.getElementById('{name}').value")

    def click(self, name):
        r = self.js(f"JSON.stringify(document.getElementById('{name}').getBoundingClientRect())")
        x, y = (lambda d: (d["x"] + d["width"] / 2, d["y"] + d["height"] / 2))(json.loads(r))
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            self.b.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                        clickCount=1)

    def key(self, name, ctrl=False, shift=False):
        modifiers = (2 if ctrl else 0) | (8 if shift else 0)
        if name in KEYS:
            code, key, text = KEYS[name]
            event = dict(windowsVirtualKeyCode=code, key=key, code=key, text=text)
        else:  # a letter
            event = dict(windowsVirtualKeyCode=ord(name.upper()), code="Key" + name.upper(),
                         key=name.upper() if shift else name,
                         text="" if ctrl else name)
        self.b.call("Input.dispatchKeyEvent", type="keyDown" if event["text"] else "rawKeyDown",
                    modifiers=modifiers, **event)
        self.b.call("Input.dispatchKeyEvent", type="keyUp", modifiers=modifiers, **event)

    def type(self, text):
        for c in text:
            self.b.call("Input.dispatchKeyEvent", type="keyDown", text=c, key=c)
            self.b.call("Input.dispatchKeyEvent", type="keyUp", key=c)

    def clipboard(self, text=None):
        if text is not None:
            self.js(f"navigator.clipboard.writeText({text!r})")
        return self.js("navigator.clipboard.readText()")

    def message(self):
        """The open message's icon and text, or None."""
        return self.js("document.getElementById('message').open ? "
                       "[document.getElementById('message').className, "
                       "document.getElementById('message-text').textContent] : null")

    def test_every_control_at_its_place_at_100_and_200_percent(self):
        for scale in (1, 2):
            self.b.call("Emulation.setDeviceMetricsOverride", width=800, height=500,
                        deviceScaleFactor=scale, mobile=False)
            self.assertEqual(self.js("window.devicePixelRatio"), scale)
            for name, _, left, top, width, height, visible, _ in control_table():
                with self.subTest(scale=scale, control=name):
                    found = json.loads(self.js(
                        f"(e => JSON.stringify([e.hidden, e.getBoundingClientRect()]))"
                        f"(document.getElementById('{name}'))"))
                    self.assertEqual(found[0], not visible)
                    if visible:
                        r = found[1]
                        self.assertEqual((r["x"], r["y"], r["width"], r["height"]),
                                         (left / 15, top / 15, width / 15, height / 15))
            if SHOT and scale == 1:
                self.b.screenshot(SHOT)
        self.b.call("Emulation.clearDeviceMetricsOverride")
        self.assertEqual(self.js("document.title"), "Quorvel")
        self.assertEqual(self.js("document.documentElement.lang"), "zh-CN")

    def test_tab_order_typing_and_a_calculation(self):
        table = control_table()
        chain = [name for name, kind, *_, visible, tab in sorted(table, key=lambda c: c[-1])
                 if visible and kind in ("TextBox", "CommandButton")
                 or name == "Option1"]
        seen = [self.js("document.activeElement.id")]
        for _ in range(len(chain) - 1):
            self.key("Tab")
            seen.append(self.js("document.activeElement.closest('[id]').id"))
        self.assertEqual(seen, chain)
        for box, text in (("Text1", "5"), ("Text2", "4"), ("Text3", "1"), ("Text4", "10")):
            self.click(box)
            self.type(text)
        self.click("Command1")
        self.assertEqual((self.value("Text5"), self.value("Text6")), ("11.6999995708466", "10"))
        self.assertIn("11.6999995708466（液体）", self.js("document.getElementById('Text5').title"))
        self.click("Option4")
        self.assertEqual(self.js("document.getElementById('Label5').textContent"), "出口比容:")
        self.assertEqual(self.js("document.getElementById('Text7').hidden"), False)
        # What a screen reader hears: the label as the box's name, the unit as its description.
        root = self.b.call("DOM.getDocument")["root"]["nodeId"]
        node = self.b.call("DOM.querySelector", nodeId=root, selector="#Text3")["nodeId"]
        heard = self.b.call("Accessibility.getPartialAXTree", nodeId=node,
                            fetchRelatives=False)["nodes"][0]
        self.assertEqual((heard["name"]["value"], heard["description"]["value"]),
                         ("出口比容:", "cm3/g"))

    def test_keys_run_exactly_the_table_commands(self):
        table = command_table()
        self.assertGreaterEqual(len(table), 3)
        cases, expected = [], []
        for letter in "ABCDEFGHIJKLMNOPQRSTUVWXYZ":
            for held in range(8):
                ctrl, shift, alt = bool(held & 1), bool(held & 2), bool(held & 4)
                cases.append(dict(key=letter if shift else letter.lower(), code="Key" + letter,
                                  ctrlKey=ctrl, shiftKey=shift, altKey=alt, metaKey=False))
                found = [i for i, keys in enumerate(table) if keys == (letter, shift)]
                expected.append(found[0] if ctrl and not alt and found else -1)
        # Cmd on a Mac, and a keyboard whose letters are not Latin.
        for i, (letter, shift) in enumerate(table):
            cases.append(dict(key=letter, code="Key" + letter, ctrlKey=False, shiftKey=shift,
                              altKey=False, metaKey=True))
            cases.append(dict(key="ы", code="Key" + letter, ctrlKey=True, shiftKey=shift,
                              altKey=False, metaKey=False))
            expected += [i, i]
        self.assertEqual(json.loads(self.js(
            f"JSON.stringify({json.dumps(cases)}.map(QuorvelPage.commandFor))")), expected)

    def test_early_input_and_a_browser_that_compiles_only_small_modules_at_once(self):
        # Chrome and Edge long refused to compile a module of over 4 KB on
        # the main thread at once (new WebAssembly.Module); the page must
        # start there too.
        limit = self.b.call("Page.addScriptToEvaluateOnNewDocument", source="""
            WebAssembly.Module = (function (Module) {
              return function (bytes) {
                if (bytes.byteLength > 4096) throw new RangeError('WebAssembly.Compile is disallowed on the main thread, if the buffer size is larger than 4KB.');
                return new Module(bytes);
              };
            })(WebAssembly.Module);""")["identifier"]
        self.addCleanup(self.b.call, "Page.removeScriptToEvaluateOnNewDocument", identifier=limit)
        # The window is wired just after its first paint: a click, a pasted
        # row and an Enter as soon as the page is read are kept until then.
        self.clipboard("10\t8\t1\t1000\t27\r\n")
        self.b.events.clear()
        self.b.call("Page.navigate", url=PAGE)
        self.b.wait_for("Page.domContentEventFired")
        self.click("Option2")
        self.click("Text1")
        self.key("v", ctrl=True)
        self.key("Enter")
        until(lambda: self.js("performance.getEntriesByName('quorvel-ready').length"),
              "the page's WebAssembly to start")
        until(lambda: self.value("Text5") != "", "the kept row and Enter to be answered")
        self.assertEqual([self.value(b) for b in ("Text1", "Text2", "Text3", "Text4", "Text7")],
                         ["10", "8", "1", "1000", "27"])
        self.assertTrue(self.js("document.getElementById('Option2').querySelector('input').checked"))
        self.assertIsNone(self.message())
        self.key("c", ctrl=True, shift=True)
        self.assertIn(self.value("Text5"), self.clipboard())

    def test_error_dialog_closes_and_gives_the_focus_back(self):
        for closing in ("Enter", "Escape"):
            self.key("Enter")  # in Text2, every box empty: no pressure drop
            icon, text = self.message()
            self.assertEqual(icon, "error")
            self.assertIn("除数为零", text)
            self.assertEqual(self.js("document.activeElement.textContent"), "确定")
            self.key(closing)
            self.assertIsNone(self.message())
            self.assertEqual(self.js("document.activeElement.id"), "Text2")

    def test_row_pasted_row_copied_and_a_list(self):
        self.click("Option2")
        self.clipboard("10\t8\t1\t1000\t27\r\n")
        self.click("Text1")
        self.key("v", ctrl=True)
        self.assertEqual([self.value(b) for b in ("Text1", "Text2", "Text3", "Text4", "Text7")],
                         ["10", "8", "1", "1000", "27"])
        self.key("c", ctrl=True, shift=True)
        self.assertEqual(self.clipboard(),
                         "气体\t10\t8\t1\t1000\t27\t10.0583670590527\t8.59689470350021\n")
        answer = "Cv\tC\n11.6999995708466\t10\n\n出错：第 4 行 P2（第 3 列）是空的\t\n"
        # In a box the browser's paste brings the list; on a button the page reads it.
        for focus in ("Text4", "Command1"):
            with self.subTest(focus=focus):
                self.clipboard("介质\tP1\tP2\tG\tQ\r\n液体\t5\t4\t1\t10\r\n\r\n液体\t0\n")
                self.js(f"document.getElementById('{focus}').focus()")
                self.key("v", ctrl=True, shift=True)
                icon, text = until(self.message, "the list's message")
                self.assertEqual(icon, "information")
                self.assertIn("已计算 2 行：1 行得出 Cv 和 C，1 行出错（第 4 行）", text)
                self.key("Enter")
                self.assertEqual(self.clipboard(), answer)
                self.assertEqual(self.value("Text4"), "1000")

    def test_ctrl_p_prints_the_calculation_sheet_not_the_window(self):
        self.js("window.printed = 0; window.print = () => { window.printed++; }")
        self.key("p", ctrl=True)  # every box empty: no pressure drop
        self.assertEqual(self.message()[0], "error")
        self.key("Enter")
        self.assertEqual(self.js("window.printed"), 0)
        for box, text in (("Text1", "5"), ("Text2", "4"), ("Text3", "1"), ("Text4", "10")):
            self.click(box)
            self.type(text)
        self.key("p", ctrl=True)
        self.assertEqual(self.js("window.printed"), 1)
        self.assertEqual(self.value("Text5"), "11.6999995708466")
        pdf = self.b.call("Page.printToPDF", preferCSSPageSize=True)["data"]
        with tempfile.NamedTemporaryFile(suffix=".pdf") as f:
            f.write(base64.b64decode(pdf))
            f.flush()
            text = subprocess.run(["pdftotext", f.name, "-"], capture_output=True, text=True,
                                  check=True).stdout
        self.assertEqual(text.count("\f"), 1)  # one page
        lines = [line.strip() for line in text.splitlines()]
        for line in ("调节阀流通能力计算书", "介质：液体", "ΔP = P1 − P2 = 5 − 4 = 1",
                     "Cv = 11.6999995708466", "C = 10", "Quorvel 0.1.0"):
            self.assertIn(line, lines)
        self.assertIn("校核", text)
        self.assertNotIn("退出", text)  # the window's button
        self.js("window.print = undefined")
        self.key("p", ctrl=True)
        self.assertEqual(self.message()[0], "error")
        self.assertTrue(self.message()[1].startswith("打印失败：这个浏览器不能打印网页。"))

    def test_ctrl_shift_p_prints_the_list_s_calculation_book(self):
        self.js("window.printed = 0; window.print = () => { window.printed++; }")
        self.clipboard(twelve_valves())
        self.click("Text4")
        self.key("p", ctrl=True, shift=True)
        until(lambda: self.js("window.printed"), "the book's window.print()")
        self.assertEqual(self.js("window.printed"), 1)
        self.assertEqual(self.value("Text5"), "")  # the window as it was
        pdf = self.b.call("Page.printToPDF", preferCSSPageSize=True)["data"]
        check_book(self, base64.b64decode(pdf))

    def test_exit_ends_the_page_and_nothing_is_requested(self):
        self.click("Command2")
        self.assertEqual(self.js("document.body.innerText").strip(),
                         "Quorvel 已退出。关闭此页面即可；刷新页面可重新开始。")
        requests = [e["params"]["request"]["url"] for e in self.b.events
                    if e["method"] == "Network.requestWillBeSent"]
        self.assertEqual(requests, [PAGE])
        errors = [e for e in self.b.events if e["method"] == "Runtime.exceptionThrown"]
        self.assertEqual(errors, [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
