#!/usr/bin/env python3
"""Start, close and the settings file: what the first start selects, what a close through the
window manager (Alt+F4) writes into $XDG_CONFIG_HOME/Quorvath-Software/kalvo/kalvo.ini, what the
next start makes of it, that the exit command writes nothing, and a settings file that is no
integer.

    KALVO_RIG_DIR=/tmp/rig KALVO_EXE=build/bin/kalvo python3 tests/e2e/test_kalvo_settings.py
"""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from kalvo_e2e import TITLE, KalvoCase, kalvo_exe, main  # noqa: E402

HEADER = "Netto\tBrutto\tUSt\t%\r\n"
SCREEN = (1024, 768)


class SettingsCase(KalvoCase):
    def add_100(self, program, win):
        """Net 100, F2 and Ctrl+Y: the one line of the clipboard text, which shows the rate."""
        self.rig.key(win, "Tab")
        self.rig.type(win, "100")
        self.rig.key(win, "F2")
        text = self.copy_table(program, win)
        self.assertTrue(text.startswith(HEADER), repr(text))
        return text[len(HEADER):]

    def stored_position(self):
        ini = self.read_ini()
        return int(ini[("Lage", "links")]), int(ini[("Lage", "oben")])

    def files(self):
        """Every file below the settings home with its bytes and modification time."""
        return {
            p: (p.read_bytes(), p.stat().st_mtime_ns)
            for p in sorted(self.config_home.rglob("*"))
            if p.is_file()
        }


class FirstStartTest(SettingsCase):
    def test_without_settings_deutschland_is_selected_and_the_close_stores_it(self):
        program, win = self.start_kalvo()
        self.assertEqual(self.add_100(program, win), "100,00\t119,00\t19,00\t19\r\n")
        frame = self.rig.frame(win)
        self.close_window(program, win)
        self.assertEqual(
            self.ini.read_text(encoding="utf-8"),
            f"[Staat]\nNummer=4\n[Lage]\nlinks={frame.x}\noben={frame.y}\n"
            "[Darstellung]\ngross=0\n",
        )

    def test_a_state_chosen_by_its_shortcut_is_stored_and_comes_back(self):
        owner = self.rig.own_clipboard("vorher")
        self.addCleanup(owner.stop)
        program, win = self.start_kalvo()
        self.rig.key(win, "Tab")
        self.rig.type(win, "100")
        self.rig.key(win, "ctrl+c")  # Schweiz, although the focus is in an amount field
        self.settle(program, win)
        self.assertTrue(owner.running(), "Ctrl+C took the clipboard")
        self.assertEqual(self.rig.clipboard(), "vorher")
        frame = self.rig.frame(win)
        self.close_window(program, win)
        self.assertEqual(self.read_ini()[("Staat", "Nummer")], "23")
        self.assertEqual(self.stored_position(), (frame.x, frame.y))

        program, win = self.start_kalvo()
        self.assertEqual(self.add_100(program, win), "100,00\t107,70\t7,70\t7,7\r\n")

    def test_the_window_stands_where_the_settings_say(self):
        program, win = self.start_kalvo()
        self.assertEqual(self.wait_frame(win, (290, 180)), (290, 180))
        self.close_window(program, win)
        self.assertEqual(self.stored_position(), (290, 180))

        self.write_ini("[Lage]\nlinks=500\noben=300\n")
        program, win = self.start_kalvo()
        self.assertEqual(self.wait_frame(win, (500, 300)), (500, 300))

    def wait_frame(self, win, position):
        """The frame's top-left corner once it is at position, or where it is after the wait."""
        try:
            self.wait_until(lambda: self.rig.frame(win)[:2] == position, timeout=3)
        except TimeoutError:
            pass
        return tuple(self.rig.frame(win)[:2])


class ExitCommandTest(SettingsCase):
    def exit_through_the_menu(self):
        program, win = self.start_kalvo()
        self.rig.key(win, "ctrl+c", "F12")  # a state and the double size that a close would store
        self.settle(program, win)
        self.rig.key(win, "F5", "Up", "Return")  # "Schließen", the menu's last item
        self.assertEqual(program.wait(), 0, program.output())

    def test_the_exit_command_leaves_the_settings_file_as_it_was(self):
        self.write_ini(b"; eigene Zeile\r\n[Staat]\r\nNummer=7\r\n[Lage]\r\nlinks=100\r\n"
                       b"oben=50\r\n")
        files = self.files()
        self.exit_through_the_menu()
        self.assertEqual(self.files(), files)

    def test_the_exit_command_creates_no_settings_file(self):
        self.exit_through_the_menu()
        self.assertEqual(self.files(), {})


class BadSettingsTest(SettingsCase):
    def test_a_state_number_that_is_no_integer_is_reported_and_the_program_goes_on(self):
        self.write_ini("[Staat]\nNummer=x\n")
        program = self.rig.start([str(kalvo_exe())], config_home=self.config_home)
        self.addCleanup(program.stop)
        box, title = self.wait_box(program)
        self.assertEqual(title, TITLE)
        win = self.main_window(program)
        self.assertEqual(self.rig.transient_for(box), win)
        shot = self.rig.screenshot(self.output_dir() / "settings-error.png")
        print(f"\nthe error box \"'x' ist kein gültiger Integerwert.\": {shot}", file=sys.stderr)

        self.rig.key(box, "Return")
        self.rig.wait_window_gone(box)
        frame = self.rig.frame(win)
        self.assertTrue(
            frame.x >= 0 and frame.y >= 0
            and frame.x + frame.width <= SCREEN[0] and frame.y + frame.height <= SCREEN[1],
            f"the main window is not on the screen: {frame}",
        )
        self.rig.key(win, "ctrl+d")  # Deutschland
        self.assertEqual(self.add_100(program, win), "100,00\t119,00\t19,00\t19\r\n")
        self.close_window(program, win)
        self.assertEqual(self.read_ini()[("Staat", "Nummer")], "4")

        # The values written by that close read back without a box.
        program, win = self.start_kalvo()
        self.assertEqual(self.add_100(program, win), "100,00\t119,00\t19,00\t19\r\n")
        self.assertEqual([w for w, _ in self.rig.windows(program.pid)], [win])


if __name__ == "__main__":
    main()
