#!/usr/bin/env python3
"""The record table as the outside world gets it: typed computations added with F2, copied with
Ctrl+Y (the clipboard text) and printed with F8 (the PDF of the rig's printer).

    KALVO_RIG_DIR=/tmp/rig KALVO_EXE=build/bin/kalvo python3 tests/e2e/test_kalvo_table.py
"""

import html
import re
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from kalvo_e2e import KalvoCase, main  # noqa: E402

HEADER = "Netto\tBrutto\tUSt\t%\r\n"


def clipboard_text(*rows):
    return HEADER + "".join("\t".join(row) + "\r\n" for row in rows)


# (keys that move the focus, typed text, the line F2 then adds). The focus starts in the rate field.
COMPUTATIONS = [
    (["Tab"], "100", ("100,00", "119,00", "19,00", "19")),
    # The add selected the whole net text, so typing replaces it.
    ([], "1234,5", ("1234,50", "1469,06", "234,56", "19")),
    (["Tab", "Tab"], "50", ("42,02", "50,00", "7,98", "19")),  # gross
    (["shift+Tab"], "19", ("100,00", "119,00", "19,00", "19")),  # VAT
    # A new rate recomputes from the net amount.
    (["shift+Tab", "shift+Tab"], "7,5", ("100,00", "107,50", "7,50", "7,5")),
    (["Tab"], "1234567,89", ("1234567,89", "1327160,48", "92592,59", "7,5")),
]


class ClipboardTest(KalvoCase):
    def clear_table(self, win):
        """"Tabelle löschen" through the options menu: its shortcut Alt+L selects Latvia. Its
        letter l is shared with "Schließen", so it only highlights; Return chooses."""
        self.rig.key(win, "F5", "l", "Return")

    def test_added_lines_are_copied_as_tab_separated_lines(self):
        before = self.rig.own_clipboard("vorher")
        self.addCleanup(before.stop)
        program, win = self.start_kalvo()

        # An empty or zero net amount adds nothing, so the table commands stay disabled.
        self.rig.key(win, "F2", "Tab", "0", "F2", "ctrl+y")
        self.settle(program, win)
        self.assertTrue(before.running(), "the program took the clipboard")
        self.assertEqual(self.rig.clipboard(), "vorher")
        self.rig.key(win, "shift+Tab")

        rows = []
        for keys, text, row in COMPUTATIONS:
            if keys:
                self.rig.key(win, *keys)
            self.rig.type(win, text)
            self.rig.key(win, "F2")
            rows.append(row)
        expected = clipboard_text(*rows)
        self.assertEqual(self.copy_table(program, win), expected)
        self.assertEqual(self.copy_table(program, win), expected, "a second copy")

        self.rig.key(win, "ctrl+alt+l")  # "letzte Zeile löschen"
        self.assertEqual(self.copy_table(program, win), clipboard_text(*rows[:-1]))

        self.clear_table(win)
        self.assertEqual(self.copy_table(program, win), HEADER)
        self.rig.key(win, "F2")  # the net field still holds the last amount
        self.assertEqual(self.copy_table(program, win), clipboard_text(rows[-1]))


def page_lines(rig, path):
    """The printed page as fixed-pitch text lines. Every word goes to the row and column that its
    position gives, counted from the title (the item at the top left) in line pitches and in the
    width of one character; the pitch is a quarter of the title-to-header distance."""
    bbox = rig.run(["pdftotext", "-bbox", str(path), "-"])
    words = [
        (float(x0), float(y0), float(x1), html.unescape(text))
        for x0, y0, x1, text in re.findall(
            r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>',
            bbox,
        )
    ]
    title = next(w for w in words if w[3] == "Umsatzsteuerberechnungen")
    header = next(w for w in words if w[3] == "Nr.")
    char = (title[2] - title[0]) / len(title[3])
    pitch = (header[1] - title[1]) / 4
    grid = {}
    for x0, y0, _, text in words:
        row, col = round((y0 - title[1]) / pitch), round((x0 - title[0]) / char)
        line = grid.setdefault(row, [])
        line.extend(" " * (col - len(line)))
        if len(line) != col:
            raise AssertionError(f"{text!r} overlaps the text before it in row {row}: {line}")
        line.extend(text)
    return ["".join(grid.get(row, [])) for row in range(max(grid) + 1)]


def header_line():
    return "%4s%15s%15s%15s%5s" % ("Nr.", "Netto", "Brutto", "USt", "%")


def table_line(number, net, gross, vat, rate):
    return "%4s%15s%15s%15s%5s %%" % (number, net, gross, vat, rate)


def totals_line(net, gross, vat):
    return "%4s%15s%15s%15s" % ("ges.", net, gross, vat)


class PrintOutTest(KalvoCase):
    def print_page(self, program, win):
        before = self.rig.pdfs()
        self.rig.key(win, "F8")
        path, _ = self.rig.wait_pdf(before)
        self.assertRegex(self.rig.run(["pdfinfo", str(path)]), r"\nPages:\s+1\n")
        return page_lines(self.rig, path)

    def test_f8_prints_the_table_with_numbered_lines_and_totals_on_one_page(self):
        program, win = self.start_kalvo()
        jobs = self.rig.print_jobs()
        self.rig.key(win, "F8")  # no line yet: the command is disabled
        self.settle(program, win)
        self.assertEqual(self.rig.print_jobs(), jobs, "F8 printed an empty table")

        self.rig.key(win, "Tab")
        for amount in ("100", "50"):
            self.rig.type(win, amount)
            self.rig.key(win, "F2")
        title, blank = ["Umsatzsteuerberechnungen"], [""] * 3
        self.assertEqual(
            self.print_page(program, win),
            title + blank + [header_line(), "", ""]
            + [table_line(1, "100,00", "119,00", "19,00", "19"),
               table_line(2, "50,00", "59,50", "9,50", "19"),
               "",
               totals_line("150,00", "178,50", "28,50")],
        )

        # A cleared table still prints, with the totals where the first line would stand.
        self.rig.key(win, "F5", "l", "Return")
        self.assertEqual(
            self.print_page(program, win),
            title + blank + [header_line(), "", "", "", totals_line("0,00", "0,00", "0,00")],
        )


if __name__ == "__main__":
    main()
