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

A test script of the program subclasses KalvoCase (a settings folder of its own per test,
start_kalvo(), settle(), copy_table(), ...) and ends with main(), which exits 77 without a rig.
"""

import json
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest
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

    def windows(self, pid=None):
        """[(id, title)] of the top-level windows the window manager manages and that are mapped
        (message boxes included; override-redirect popups are not managed); with pid, only those
        of that process."""
        out = self.run(["xprop", "-root", "-notype", "_NET_CLIENT_LIST"], check=False)
        ids = [int(w, 16) for w in out.replace(",", " ").split() if w.startswith("0x")]
        found = []
        for win in ids:
            try:
                if "IsViewable" not in self.run(["xwininfo", "-id", str(win)]):
                    continue
                if pid is not None and self.window_pid(win) != pid:
                    continue
                found.append((win, self.title(win)))
            except RuntimeError:
                pass  # closed meanwhile
        return found

    def window_titles(self):
        return [title for _, title in self.windows()]

    def title(self, win):
        return self.run(["xdotool", "getwindowname", str(win)]).rstrip("\n")

    def wait_window(self, title, timeout=TIMEOUT, pid=None):
        """The id of a mapped top-level window whose title is exactly title (of process pid)."""
        deadline = time.monotonic() + timeout
        while True:
            seen = self.windows(pid)
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

    def _property(self, win, name):
        """The value text of an X property ("" when it is not set)."""
        out = self.run(["xprop", "-id", str(win), name], check=False)
        _, sep, value = out.partition("=")
        if not sep:
            _, sep, value = out.partition(":")  # WM_TRANSIENT_FOR(WINDOW): window id # 0x...
        return value.strip() if sep and "not found" not in out else ""

    def window_pid(self, win):
        value = self._property(win, "_NET_WM_PID")
        return int(value) if value.isdigit() else None

    def transient_for(self, win):
        """The window a dialog belongs to (WM_TRANSIENT_FOR), or None."""
        m = re.search(r"0x[0-9a-f]+", self._property(win, "WM_TRANSIENT_FOR"))
        return int(m.group(0), 16) if m else None

    def window_state(self, win):
        """The window manager's state atoms of a window (_NET_WM_STATE_ABOVE, ...)."""
        return {a.strip() for a in self._property(win, "_NET_WM_STATE").split(",") if a.strip()}

    def popups(self, pid=None):
        """[(id, Geometry)] of the mapped override-redirect top-level windows (menus, drop-downs,
        tooltips: the window manager does not manage them), with pid only those of that process."""
        out = self.run(["xwininfo", "-root", "-children"])
        found = []
        for win in (int(w, 16) for w in re.findall(r"^\s+(0x[0-9a-f]+)", out, re.M)):
            try:
                info = self.run(["xwininfo", "-id", str(win)])
            except RuntimeError:
                continue  # closed meanwhile
            if "IsViewable" not in info or "Override Redirect State: yes" not in info:
                continue
            if pid is not None and self.window_pid(win) != pid:
                continue
            found.append((win, self.geometry(win)))
        return found

    def frame(self, win):
        """Position and size of the window manager's frame around a managed window (its parent
        window), title bar included: the window as the user sees it on the screen."""
        tree = self.run(["xwininfo", "-tree", "-id", str(win)])
        m = re.search(r"Parent window id: (0x[0-9a-f]+)", tree)
        return self.geometry(int(m.group(1), 16))

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

    def focus(self):
        """The window that has the X keyboard focus."""
        return int(self.run(["xdotool", "getwindowfocus"], timeout=5).strip())

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

    def click(self, win, x, y, button=1):
        """A mouse click at (x, y) of the window's client area."""
        self.activate(win)
        self.run(["xdotool", "mousemove", "--window", str(win), str(x), str(y)])
        self.run(["xdotool", "click", str(button)])

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

    def output_dir(self, name):
        """A folder for what a test leaves to look at (screenshots), kept after the rig stops."""
        path = self.log_dir / name
        path.mkdir(parents=True, exist_ok=True)
        return path

    def pdfs(self):
        """The PDFs the rig's printer has written so far (to tell a new one with wait_pdf)."""
        return set(self.pdf_dir.glob("*.pdf"))

    def print_jobs(self):
        """The ids of all jobs the print server knows, finished ones included."""
        out = self.run(["lpstat", "-W", "all", "-o"], check=False)
        return {line.split()[0] for line in out.splitlines() if line.strip()}

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


# --- kalvo ---------------------------------------------------------------------------------------

TITLE = "Tarvo Mehrwertsteuer"


def kalvo_exe():
    """The program under test: $KALVO_EXE (CTest passes the built one), else build/bin/kalvo."""
    default = Path(__file__).resolve().parents[2] / "build" / "bin" / "kalvo"
    exe = Path(os.environ.get("KALVO_EXE") or default)
    if not exe.is_file():
        raise FileNotFoundError(f"no program {exe}: build it or set KALVO_EXE")
    return exe


class KalvoCase(unittest.TestCase):
    """A test with a settings folder of its own (XDG_CONFIG_HOME) that starts the real program
    and stops, at its end, exactly the programs it started."""

    rig = None  # set by main()

    def setUp(self):
        tmp = tempfile.TemporaryDirectory(prefix="kalvo-e2e-")
        self.addCleanup(tmp.cleanup)
        self.config_home = Path(tmp.name)
        self.ini = self.config_home / "Quorvath-Software" / "kalvo" / "kalvo.ini"

    def output_dir(self):
        """This test's folder for pictures to look at (kept in the rig's programs folder)."""
        name = f"{Path(sys.argv[0]).stem}.{type(self).__name__}.{self._testMethodName}"
        return self.rig.output_dir(name)

    def write_ini(self, data):
        self.ini.parent.mkdir(parents=True, exist_ok=True)
        self.ini.write_bytes(data.encode() if isinstance(data, str) else data)

    def read_ini(self):
        """{(section, key): value} of the settings file."""
        values, section = {}, None
        for line in self.ini.read_text(encoding="utf-8").splitlines():
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1]
            elif "=" in line:
                key, _, value = line.partition("=")
                values[(section, key)] = value
        return values

    def start_kalvo(self):
        """(program, main window id) once the main window is mapped."""
        program = self.rig.start([str(kalvo_exe())], config_home=self.config_home)
        self.addCleanup(program.stop)
        return program, self.main_window(program)

    def main_window(self, program, timeout=TIMEOUT):
        """The program's main window: its window with the title that belongs to no other window
        (the error boxes carry the same title)."""
        deadline = time.monotonic() + timeout
        while True:
            for win, title in self.rig.windows(program.pid):
                if title == TITLE and self.rig.transient_for(win) is None:
                    return win
            if time.monotonic() > deadline:
                raise TimeoutError(f"no main window within {timeout} s: {program.output()}")
            time.sleep(POLL)

    def wait_until(self, probe, timeout=TIMEOUT, what="the condition"):
        """probe()'s first true result, polled until the time is up."""
        deadline = time.monotonic() + timeout
        while True:
            result = probe()
            if result:
                return result
            if time.monotonic() > deadline:
                raise TimeoutError(f"{what} did not come within {timeout} s")
            time.sleep(POLL)

    def wait_box(self, program):
        """(id, title) of the program's message box: its window that belongs to another one."""
        return self.wait_until(
            lambda: next(((w, t) for w, t in self.rig.windows(program.pid)
                          if self.rig.transient_for(w)), None),
            what="a message box",
        )

    def settle(self, program, win):
        """Opens the options menu (F5) and closes it again: once it has shown, the program has
        handled every key sent before."""
        self.rig.key(win, "F5")
        self.wait_until(lambda: self.rig.popups(program.pid), what="the options menu")
        self.rig.key(win, "Escape")
        self.wait_until(lambda: not self.rig.popups(program.pid), what="the menu's closing")

    def close_window(self, program, win):
        """Alt+F4, as the window manager's close; the program must end by itself."""
        self.rig.key(win, "alt+F4")
        self.assertEqual(program.wait(), 0, program.output())

    def copy_table(self, program, win):
        """Ctrl+Y ("Zwischenablage"), then the clipboard text."""
        self.rig.key(win, "ctrl+y")
        self.settle(program, win)
        return self.rig.clipboard()


def main():
    """Runs the calling script's tests on the rig; exits 77 (skipped) when the rig is not there."""
    script = Path(sys.argv[0]).stem
    try:
        KalvoCase.rig = load_rig(sys.argv[1] if len(sys.argv) > 1 else None)
    except RigMissing as error:
        print(f"{script}: SKIPPED, the end-to-end rig is not running: {error}", file=sys.stderr)
        sys.exit(77)
    result = unittest.main(module="__main__", argv=sys.argv[:1], exit=False, verbosity=2).result
    sys.exit(0 if result.wasSuccessful() else 1)
