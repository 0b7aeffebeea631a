#!/usr/bin/env python3
"""Takes the README's pictures of the real program on a running rig and writes them into
docs/screenshots/: the window collapsed and expanded at normal and double size with a computation
under way, the drop-down calculator, the state menu, and a printed page.

    tests/e2e/rig start /tmp/rig
    python3 tests/e2e/make_screenshots.py /tmp/rig          # KALVO_EXE, else build/bin/kalvo
    tests/e2e/rig stop /tmp/rig

Not a test: run it by hand after a change to the window's looks.
"""

import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import kalvo_e2e  # noqa: E402
from kalvo_e2e import TITLE, kalvo_exe  # noqa: E402

OUT = Path(__file__).resolve().parents[2] / "docs" / "screenshots"
MARGIN = 4  # pixels of the background around a popup that reaches past the window


def wait_until(probe, what, timeout=kalvo_e2e.TIMEOUT):
    deadline = time.monotonic() + timeout
    while not (result := probe()):
        if time.monotonic() > deadline:
            raise TimeoutError(f"{what} did not come within {timeout} s")
        time.sleep(kalvo_e2e.POLL)
    return result


class Shooter:
    def __init__(self, rig, program, win, work):
        self.rig, self.program, self.win, self.work = rig, program, win, work

    def frame(self):
        return self.rig.frame(self.win)

    def shoot(self, name, *extra):
        """The window with its frame (and the given popups' rectangles) cut out of the screen."""
        self.rig.run(["xdotool", "mousemove", "1020", "764"])  # no hover highlight
        time.sleep(0.5)  # the last repaint
        boxes = [self.frame(), *extra]
        left = min(b.x for b in boxes) - (MARGIN if extra else 0)
        top = min(b.y for b in boxes) - (MARGIN if extra else 0)
        right = max(b.x + b.width for b in boxes) + (MARGIN if extra else 0)
        bottom = max(b.y + b.height for b in boxes) + (MARGIN if extra else 0)
        left, top = max(left, 0), max(top, 0)
        screen = self.rig.screenshot(self.work / "screen.png")
        path = OUT / name
        self.rig.run(["convert", str(screen), "-crop",
                      f"{right - left}x{bottom - top}+{left}+{top}", "+repage", str(path)])
        print(path)

    def wait_size(self, size):
        wait_until(lambda: tuple(self.rig.geometry(self.win)[2:]) == size, f"the size {size}")

    def side_button(self, scale):
        # The button ">"/"<" is the 13 x 13 square at (194, 118) of the client area.
        self.rig.click(self.win, int(200.5 * scale), int(124.5 * scale))

    def popup(self):
        popups = wait_until(lambda: self.rig.popups(self.program.pid), "a popup")
        return popups[0][1]


def main():
    try:
        rig = kalvo_e2e.load_rig(sys.argv[1] if len(sys.argv) > 1 else None)
    except kalvo_e2e.RigMissing as error:
        sys.exit(f"make_screenshots: no rig: {error}")
    OUT.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="kalvo-shots-") as tmp:
        work = Path(tmp)
        with rig.start([str(kalvo_exe())], config_home=work / "config") as program:
            win = rig.wait_window(TITLE, pid=program.pid)
            s = Shooter(rig, program, win, work)
            s.wait_size((207, 131))
            # Two lines in the table and a third computation typed into the net field.
            rig.key(win, "Tab")
            for amount in ("100", "250"):
                rig.type(win, amount)
                rig.key(win, "F2")
            rig.type(win, "1234,50")

            s.shoot("collapsed.png")
            s.side_button(1)
            s.wait_size((347, 131))
            s.shoot("expanded.png")
            s.side_button(1)
            rig.key(win, "F12")
            s.wait_size((414, 262))
            s.shoot("double-collapsed.png")
            s.side_button(2)
            s.wait_size((694, 262))
            s.shoot("double-expanded.png")
            s.side_button(2)
            rig.key(win, "F12")
            s.wait_size((207, 131))

            rig.key(win, "alt+Down")  # the net field's calculator
            s.shoot("calculator.png", s.popup())
            rig.key(win, "Escape")
            wait_until(lambda: not rig.popups(program.pid), "the calculator's closing")

            rig.click(win, 26, 19)  # the letter code opens the state menu
            s.shoot("state-menu.png", s.popup())
            rig.key(win, "Escape")
            wait_until(lambda: not rig.popups(program.pid), "the menu's closing")

            before = rig.pdfs()
            rig.key(win, "F8")
            pdf, _ = rig.wait_pdf(before)
            # 100 dpi: the Courier lines are about 13 pixels high.
            rig.run(["pdftoppm", "-png", "-r", "100", "-singlefile", str(pdf),
                     str(work / "page")], timeout=60)
            # The top third of the page holds the print-out; the rest is blank paper.
            rig.run(["convert", str(work / "page.png"), "-crop", "100%x33%+0+0", "+repage",
                     "-bordercolor", "gray60", "-border", "1", str(OUT / "printout.png")])
            print(OUT / "printout.png")

            rig.key(win, "F5", "Up", "Return")  # "Schließen"
            program.wait()


if __name__ == "__main__":
    main()
