"""Drives real programs on the end-to-end rig (tests/e2e/rig) the way a user would.

    rig = kalvo_e2e.load_rig()              # KALVO_RIG_DIR or the given folder
    with rig.start([exe], config_home=tmp) as app:
        win = rig.wait_window("Tarvo Mehrwertsteuer")
        rig.type(win, "1234,5")
        rig.key(win, "ctrl+c", "F2")
        before = rig.pdfs()
        ...                                   # print
        path, text = rig.wait_pdf(before)

Every call has a timeout: a test fails, it never hangs. Standard library only.
"""

import json
import os
import re
import subprocess
import tempfile
import time
from pathlib import Path
from typing import NamedTuple

TIMEOUT = 10.0  # seconds, the default wait for anything to appear
POLL = 0.1


def _char_keysym(c):
    """The keysym X gives a character: Latin-1 as is, the rest as Unicode keysyms."""
    return ord(c) if ord(c) < 0x100 else 0x1000000 | ord(c)


class RigMissing(Exception):
    """The rig's env.json is not there: the rig was not started."""


class Geometry(NamedTuple):
    x: int  # absolute position of the client area (inside the window manager's frame)
    y: int
    width: int  # client size
    height: int


def load_rig(rig_dir=None):
    """The rig started in rig_dir (default: $KALVO_RIG_DIR)."""
    rig_dir = rig_dir or os.environ.get("KALVO_RIG_DIR")
    if not rig_dir:
        raise RigMissing("KALVO_RIG_DIR is not set")
    path = Path(rig_dir) / "env.json"
    try:
        data = json.loads(path.read_text(encoding="utf-8"))
    except FileNotFoundError:
        raise RigMissing(f"{path} is missing: start the rig with 'tests/e2e/rig start {rig_dir}'")
    return Rig(Path(rig_dir), data["export"], data.get("unset", []))


class Program:
    """A program started on the rig. stop() ends exactly this process, nothing else."""

    def __init__(self, argv, env, log_path):
        self.argv = list(argv)
        self.log_path = log_path
        with open(log_path, "wb") as log:
            self.process = subprocess.Popen(
                self.argv, env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT
            )
        self.pid = self.process.pid

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=TIMEOUT):
        """Waits for the program to end by itself; returns its exit code."""
        return self.process.wait(timeout=timeout)

    def stop(self, timeout=5.0):
        """SIGTERM, then SIGKILL after timeout; returns the exit code."""
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=timeout)
        return self.process.returncode

    def output(self):
        """What the program wrote to stdout and stderr so far."""
        return Path(self.log_path).read_text(encoding="utf-8", errors="replace")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class Rig:
    def __init__(self, rig_dir, exports, unset):
        self.dir = rig_dir
        self.pdf_dir = Path(exports["KALVO_RIG_PDF_DIR"])
        self.exports = dict(exports)
        self.unset = list(unset)
        self.log_dir = rig_dir / "programs"  # the output of what the tests start

    # --- environment and commands ------------------------------------------------------------

    def environ(self, extra=None):
        """The caller's environment with the rig's display and print server; in extra, a value
        of None removes that variable."""
        env = {k: v for k, v in os.environ.items() if k not in self.unset}
        env.update(self.exports)
        for key, value in (extra or {}).items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value
        return env

    def run(self, argv, timeout=TIMEOUT, check=True, input=None):
        """Runs a command against the rig; returns its stdout (text)."""
        result = subprocess.run(
            argv,
            env=self.environ(),
            input=input.encode() if isinstance(input, str) else input,
            stdout=subprocess.PIPE,
            stderr=subprocess.PIPE,
            timeout=timeout,
        )
        if check and result.returncode != 0:
            raise RuntimeError(
                f"{argv} failed ({result.returncode}): {result.stderr.decode(errors='replace')}"
            )
        return result.stdout.decode("utf-8", errors="replace")

    def start(self, argv, config_home, env=None):
        """Starts a program as a German user would run it: LANG=de_DE.UTF-8 (no LC_* or LANGUAGE
        to override it), settings in config_home (XDG_CONFIG_HOME). Its output goes to a log file
        under the rig's log folder (Program.output())."""
        base = {k: None for k in os.environ if k.startswith("LC_") or k == "LANGUAGE"}
        base.update({"LANG": "de_DE.UTF-8", "XDG_CONFIG_HOME": str(config_home)})
        base.update(env or {})
        name = Path(argv[0]).name
        fd, log_path = tempfile.mkstemp(prefix=name + "-", suffix=".log", dir=self.log_dir)
        os.close(fd)
        return Program(argv, self.environ(base), log_path)

    # --- windows -----------------------------------------------------------------------------

    def windows(self):
        """[(id, title)] of the top-level windows the window manager manages and that are mapped
        (message boxes included; override-redirect popups are not managed)."""
        out = self.run(["xprop", "-root", "-notype", "_NET_CLIENT_LIST"], check=False)
        ids = [int(w, 16) for w in out.replace(",", " ").split() if w.startswith("0x")]
        found = []
        for win in ids:
            try:
                if "IsViewable" not in self.run(["xwininfo", "-id", str(win)]):
                    continue
                found.append((win, self.title(win)))
            except RuntimeError:
                pass  # closed meanwhile
        return found

    def window_titles(self):
        return [title for _, title in self.windows()]

    def title(self, win):
        return self.run(["xdotool", "getwindowname", str(win)]).rstrip("\n")

    def wait_window(self, title, timeout=TIMEOUT):
        """The id of a mapped top-level window whose title is exactly title."""
        deadline = time.monotonic() + timeout
        while True:
            seen = self.windows()
            for win, name in seen:
                if name == title:
                    return win
            if time.monotonic() > deadline:
                raise TimeoutError(f"no window {title!r} within {timeout} s; mapped: {seen}")
            time.sleep(POLL)

    def wait_window_gone(self, win, timeout=TIMEOUT):
        deadline = time.monotonic() + timeout
        while win in (w for w, _ in self.windows()):
            if time.monotonic() > deadline:
                raise TimeoutError(f"window {win} still mapped after {timeout} s")
            time.sleep(POLL)

    def geometry(self, win):
        """Absolute position and size of the window's client area (xwininfo; xdotool's
        getwindowgeometry is wrong under openbox)."""
        values = {}
        for line in self.run(["xwininfo", "-id", str(win)]).splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return Geometry(
            int(values["Absolute upper-left X"]),
            int(values["Absolute upper-left Y"]),
            int(values["Width"]),
            int(values["Height"]),
        )

    def active_window(self):
        try:
            return int(self.run(["xdotool", "getactivewindow"], timeout=5).strip())
        except (RuntimeError, ValueError):
            return None

    def activate(self, win, timeout=TIMEOUT):
        """Gives the window the focus through the window manager, as a click on it would."""
        deadline = time.monotonic() + timeout
        while self.active_window() != win:
            if time.monotonic() > deadline:
                raise TimeoutError(f"window {win} did not become active within {timeout} s")
            try:
                self.run(["xdotool", "windowactivate", "--sync", str(win)], timeout=2, check=False)
            except subprocess.TimeoutExpired:
                pass

    # --- keyboard ----------------------------------------------------------------------------

    def key(self, win, *keys, delay_ms=30):
        """Presses keys in the focused window, one after the other: X keysym names joined by "+"
        ("ctrl+y", "alt+F4", "F2", "Return", "Escape", "KP_Decimal", "adiaeresis", "EuroSign")."""
        names = {k.split("+")[-1] for k in keys} - {"ctrl", "alt", "shift", "super", "meta"}
        self._bind_keysyms({name: None for name in names})
        self.activate(win)
        self.run(["xdotool", "key", "--delay", str(delay_ms), "--", *keys])

    def type(self, win, text, delay_ms=30):
        """Types text as key presses on a US keyboard, "ä", "ß" and "€" included."""
        self._bind_keysyms({f"U{ord(c):04X}": _char_keysym(c) for c in text if not c.isascii()})
        self.activate(win)
        self.run(["xdotool", "type", "--delay", str(delay_ms), "--", text])

    def _bind_keysyms(self, wanted):
        """Puts the keysyms the keyboard lacks on free keycodes, for the rest of the rig's life.
        Left to itself, xdotool maps a missing one on a spare keycode for a single press and maps
        it back at once; a program that reads the new mapping only after that sees NoSymbol (seen
        with xev under load). wanted: {xmodmap name: keysym value, or None to match by name}."""
        present, free = set(), []
        for line in self.run(["xmodmap", "-pk"]).splitlines():
            m = re.match(r"\s+(\d+)\s*(.*)$", line)
            if not m:
                continue
            syms = re.findall(r"0x([0-9a-f]+) \(([^)]*)\)", m.group(2))
            if not syms:
                free.append(int(m.group(1)))
            for value, name in syms:
                present.update((int(value, 16), name))
        missing = [n for n, v in wanted.items() if (n if v is None else v) not in present]
        if not missing:
            return
        free = free[2:]  # the lowest ones stay for xdotool's own spare mappings
        if len(missing) > len(free):
            raise RuntimeError(f"no free keycodes left for {missing}")
        args = []
        for name in missing:
            args += ["-e", f"keycode {free.pop()} = {name}"]
        self.run(["xmodmap", *args])

    # --- clipboard, screen, printer ----------------------------------------------------------

    def clipboard(self, timeout=TIMEOUT):
        """The CLIPBOARD text. There is no clipboard manager: this works only while the program
        that copied is still running."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                return self.run(["xclip", "-selection", "clipboard", "-o"], timeout=5)
            except (RuntimeError, subprocess.TimeoutExpired) as error:
                if time.monotonic() > deadline:
                    raise TimeoutError(f"nothing on the clipboard within {timeout} s: {error}")
            time.sleep(POLL)

    def own_clipboard(self, text):
        """Puts text on the CLIPBOARD as a program would; the returned Program owns it until
        stopped (xclip in the foreground, so that its pid is the one that serves it)."""
        fd, path = tempfile.mkstemp(prefix="clip-", dir=self.log_dir)
        with os.fdopen(fd, "w", encoding="utf-8") as f:
            f.write(text)
        argv = ["xclip", "-quiet", "-selection", "clipboard", "-i", path]
        return Program(argv, self.environ(), path + ".log")

    def screenshot(self, path):
        """A PNG of the whole screen."""
        self.run(["import", "-window", "root", str(path)], timeout=30)
        return Path(path)

    def pdfs(self):
        """The PDFs the rig's printer has written so far (to tell a new one with wait_pdf)."""
        return set(self.pdf_dir.glob("*.pdf"))

    def wait_pdf(self, before, timeout=30.0):
        """(path, text) of the first PDF not in before, once the print server has finished all
        jobs; the text by pdftotext -layout."""
        deadline = time.monotonic() + timeout
        while True:
            new = sorted(self.pdfs() - set(before), key=lambda p: p.stat().st_mtime)
            # cups-pdf writes the file in place; the job ends when it is complete.
            if new and not self.run(["lpstat", "-o"], check=False).strip():
                path = new[0]
                return path, self.run(["pdftotext", "-layout", str(path), "-"], timeout=30)
            if time.monotonic() > deadline:
                jobs = self.run(["lpstat", "-o"], check=False)
                raise TimeoutError(f"no new PDF in {self.pdf_dir} within {timeout} s; {jobs!r}")
            time.sleep(POLL)
