#!/usr/bin/env python3
"""Proves the end-to-end rig and kalvo_e2e with programs Debian already has: a window appears and is
found by its exact title, keys reach it, the clipboard reads back, and the default printer writes a
readable A4 PDF. Exits 77 (skipped) when the rig is not running.

    tests/e2e/rig start /tmp/rig && KALVO_RIG_DIR=/tmp/rig python3 tests/e2e/test_rig.py
"""

import re
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import kalvo_e2e  # noqa: E402

RIG = None


class RigTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)

    def start(self, argv):
        program = RIG.start(argv, config_home=self.tmp.name)
        self.addCleanup(program.stop)
        return program

    def test_window_is_found_by_exact_title_and_takes_keys(self):
        title = "kalvo rig selftest"
        program = self.start(
            ["xmessage", "-title", title, "-geometry", "300x120+100+80",
             "-buttons", "okay:3", "-default", "okay", "Hallo"]
        )
        win = RIG.wait_window(title)
        self.assertIn(title, RIG.window_titles())
        with self.assertRaises(TimeoutError):
            RIG.wait_window("kalvo rig", timeout=0.5)  # a prefix is not the title

        g = RIG.geometry(win)
        self.assertEqual((g.width, g.height), (300, 120))
        # The client area sits inside openbox's frame, whose corner is at the asked position.
        self.assertTrue(100 <= g.x < 110 and 80 <= g.y < 120, g)

        RIG.key(win, "Return")  # the default button's value is the exit code
        self.assertEqual(program.wait(), 3)
        RIG.wait_window_gone(win)

    def test_typed_text_and_keys_arrive_as_key_presses_including_non_ascii(self):
        program = self.start(["xev", "-name", "kalvo rig xev"])
        win = RIG.wait_window("kalvo rig xev")
        RIG.type(win, "aä€ß1,5")
        RIG.key(win, "ctrl+y", "odiaeresis")
        deadline = time.monotonic() + kalvo_e2e.TIMEOUT
        while "odiaeresis" not in program.output() and time.monotonic() < deadline:
            time.sleep(0.1)  # xev reports what it has read from the display so far
        pressed = re.findall(r"KeyPress event.*\n.*\n.*\(keysym 0x\w+, (\w+)\)", program.output())
        self.assertEqual(
            pressed,
            ["a", "adiaeresis", "U20AC", "ssharp", "1", "comma", "5"]
            + ["Control_L", "y", "odiaeresis"],
        )

    def test_clipboard_reads_back_while_its_owner_runs(self):
        text = "Grüße: 1.234,50 €\nzweite Zeile"
        owner = RIG.own_clipboard(text)
        self.addCleanup(owner.stop)
        self.assertEqual(RIG.clipboard(), text)
        owner.stop()
        with self.assertRaises(TimeoutError):  # no clipboard manager keeps it
            RIG.clipboard(timeout=0.5)

    def test_default_printer_is_the_pdf_queue(self):
        self.assertEqual(RIG.run(["lpstat", "-d"]).strip(), "system default destination: PDF")
        self.assertRegex(RIG.run(["lpstat", "-p"]), r"^printer PDF is idle\.\s+enabled")

    def test_printing_to_the_default_printer_writes_a_readable_a4_pdf(self):
        page = Path(self.tmp.name, "seite.txt")
        line = "Mehrwertsteuer 19 %: 1.234,56 € Österreich"
        page.write_text(line + "\n", encoding="utf-8")
        before = RIG.pdfs()
        RIG.run(["lp", str(page)])
        path, text = RIG.wait_pdf(before)
        self.assertIn(line, " ".join(text.split()))  # -layout pads with spaces to keep columns
        self.assertRegex(RIG.run(["pdfinfo", str(path)]), r"Page size:.*\(A4\)")

    def test_screenshot_is_a_png_of_the_whole_screen(self):
        path = RIG.screenshot(Path(self.tmp.name, "screen.png"))
        header = path.read_bytes()[:24]
        self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
        width, height = int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")
        self.assertEqual((width, height), (1024, 768))


if __name__ == "__main__":
    try:
        RIG = kalvo_e2e.load_rig(sys.argv[1] if len(sys.argv) > 1 else None)
    except kalvo_e2e.RigMissing as error:
        print(f"test_rig: SKIPPED, the end-to-end rig is not running: {error}", file=sys.stderr)
        sys.exit(77)
    result = unittest.main(argv=sys.argv[:1], exit=False, verbosity=2).result
    sys.exit(0 if result.wasSuccessful() else 1)
