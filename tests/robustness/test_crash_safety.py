"""kalvo.ini survives being killed in the middle of a write: after every SIGKILL the file is the
old or the new complete file, never a mix or a truncated one.

First the settings writer is killed at random moments, hundreds of times; then, on the rig, the
real program is killed at random moments while it closes (which writes the file).
"""

import os
import random
import re
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import kalvo_e2e  # noqa: E402

WRITER = os.environ.get("KALVO_SETTINGS_WRITER")
KILLS = int(os.environ.get("KALVO_CRASH_KILLS", "400"))
# A line of its own that every generation must keep, byte for byte.
PADDING = "Polster=" + "x" * (1 << 20)
ORIGINAL = "; von Hand\n[Fremd]\n" + PADDING + "\n"


def generation(text):
    """The one generation a complete file holds; raises AssertionError for anything else."""
    assert text.startswith(ORIGINAL), "the other lines of the file were lost"
    values = dict(re.findall(r"^(Nummer|links|oben|gross)=(-?\d+)$", text, re.M))
    if not values:
        assert text == ORIGINAL, "keys without their values"
        return 0
    assert set(values) == {"Nummer", "links", "oben", "gross"}, f"a partial file: {values}"
    g = int(values["links"])
    assert (int(values["Nummer"]), int(values["oben"]), int(values["gross"])) == (
        g % 30, -g, g % 2), f"keys of different generations: {values}"
    assert text.endswith("gross=%d\n" % (g % 2)), "a truncated file"
    return g


class SettingsWriterKilled(unittest.TestCase):
    @unittest.skipUnless(WRITER, "KALVO_SETTINGS_WRITER is not set")
    def test_every_kill_leaves_a_complete_file(self):
        rng = random.Random(int(os.environ.get("KALVO_CRASH_SEED", "20261210")))
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "kalvo.ini"
            path.write_text(ORIGINAL, encoding="utf-8")
            last = 0
            for kill in range(KILLS):
                writer = subprocess.Popen([WRITER, str(path)], stdout=subprocess.PIPE)
                time.sleep(rng.uniform(0.0, 0.03))
                writer.send_signal(signal.SIGKILL)
                out, _ = writer.communicate(timeout=10)
                reported = [int(n) for n in out.split()]
                g = generation(path.read_text(encoding="utf-8"))
                # The file holds the last generation the writer finished, or the one it was at.
                if reported:
                    self.assertIn(g, (reported[-1], reported[-1] + 1), f"kill {kill}")
                else:
                    self.assertIn(g, (last, 1), f"kill {kill}")
                last = g
            leftovers = [p.name for p in Path(folder).iterdir() if p.name != "kalvo.ini"]
            print(f"{KILLS} kills, last generation {last}, "
                  f"{len(leftovers)} temporary file(s) left by killed writes")


class ProgramKilledWhileClosing(unittest.TestCase):
    def test_a_kill_during_the_close_leaves_the_old_or_the_new_file(self):
        try:
            rig = kalvo_e2e.load_rig()
        except kalvo_e2e.RigMissing as e:
            self.skipTest(str(e))
        exe = os.environ["KALVO_EXE"]
        rng = random.Random(7)
        old = "[Staat]\nNummer=4\n[Lage]\nlinks=100\noben=100\n[Darstellung]\ngross=0\n"
        with tempfile.TemporaryDirectory() as home:
            ini = Path(home) / "Quorvath-Software" / "kalvo" / "kalvo.ini"
            ini.parent.mkdir(parents=True)
            outcomes = {"old": 0, "new": 0}
            for _ in range(int(os.environ.get("KALVO_CRASH_CLOSES", "15"))):
                ini.write_text(old, encoding="utf-8")
                with rig.start([exe], config_home=home) as app:
                    win = rig.wait_window("Tarvo Mehrwertsteuer")
                    rig.key(win, "ctrl+s")  # Schweden: the close stores 22
                    rig.key(win, "alt+F4")
                    time.sleep(rng.uniform(0.0, 0.05))
                    os.kill(app.pid, signal.SIGKILL)
                text = ini.read_text(encoding="utf-8")
                if text == old:
                    outcomes["old"] += 1
                else:
                    self.assertRegex(text, r"\A\[Staat\]\nNummer=22\n\[Lage\]\nlinks=-?\d+\n"
                                           r"oben=-?\d+\n\[Darstellung\]\ngross=0\n\Z")
                    outcomes["new"] += 1
            print(f"closes killed: {outcomes}")


if __name__ == "__main__":
    unittest.main()
