"""Drives the built pagelark program as a person does.

The program runs on the X display of the caller (xvfb-run) with its own home
folder, and is read through its accessibility tree (AT-SPI on the D-Bus
session of the caller, dbus-run-session). The pointer and the keys are real X
input (XTest), so the program gets the same events a person's hands give it.

Nothing here leaves the machine: the sample pages come from a server on
127.0.0.1, every other host is refused (a proxy on a closed local port for the
downloads, a resolver rule for the browser engine), and the desktop's "open
this link" goes to a stand-in that only notes the address.
"""

import hashlib
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

from screen import Screen
from server import SampleServer
from tree import (Atspi, center, children, drain_events, extents, find, find_all, init_atspi,
                  name, role, states)

ROOT = Path(__file__).resolve().parents[3]
PROGRAM = Path(os.environ.get("PAGELARK_PROGRAM", ROOT / "build" / "app" / "pagelark"))

# A window that takes longer than this to answer counts as frozen.
ANSWER_LIMIT_S = 2.0
MAIN_TITLE = "Pagelark V1.05"


class Failure(AssertionError):
    pass


# ----------------------------------------------------------------- strings


def load_strings():
    """The program's string table: id -> [English, Simplified, Traditional]."""
    table = {}
    for line in (ROOT / "resources" / "strings.txt").read_text(encoding="utf-8").splitlines():
        if not line or line.startswith("#"):
            continue
        number, text = line.split("\t", 1)
        text = text.replace("\\n", "\n").replace("\\t", "\t").replace("\\\\", "\\")
        pieces = text.split("|")
        while len(pieces) < 3:
            pieces.append(pieces[0])
        table[int(number)] = pieces
    return table


STRINGS = load_strings()


def text(number, language=0):
    return STRINGS[number][language]


# ------------------------------------------------------------ page server


# ------------------------------------------------------------ file choosers
# Known by their shape and the program's own filter texts: Qt's texts in
# them ("Open", "Save As", "File name:") change with the language.


def is_file_chooser(window):
    kinds = [role(c) for c in children(window)]
    return (role(window) == "dialog" and "split pane" in kinds and kinds.count("combo box") >= 2
            and "text" in kinds)


def chooser_field(dialog):
    """The file name field."""
    return next(c for c in children(dialog) if role(c) == "text")


def chooser_accept(dialog):
    """The Open or Save button: the first of the button box."""
    for box in children(dialog):
        if role(box) == "panel":
            buttons = [b for b in children(box) if role(b) == "push button"]
            if buttons:
                return buttons[0]
    raise Failure(f"no buttons in the file chooser {name(dialog)!r}")


def chooser_filter(dialog):
    """The file type shown: "Script File(*.xml)" or "Snap File(*.txt)"."""
    combos = [name(c) for c in children(dialog) if role(c) == "combo box"]
    return combos[-1] if combos else ""


# ------------------------------------------------------------ the program


class Files:
    """Files whose bytes may change only when the user saves to them."""

    def __init__(self):
        self.known = {}

    @staticmethod
    def digest(path):
        try:
            return hashlib.sha256(Path(path).read_bytes()).hexdigest()
        except FileNotFoundError:
            return None
        except IsADirectoryError:
            return "folder"

    def watch(self, path):
        self.known[str(path)] = self.digest(path)

    def saved(self, path):
        """The user saved to path: its new bytes are the ones to keep."""
        self.watch(path)

    def changed(self):
        return [p for p, d in self.known.items() if self.digest(p) != d]


class Program:
    """One run of the pagelark binary."""

    def __init__(self, screen, workdir, args=()):
        self.screen = screen
        self.workdir = Path(workdir)
        self.home = self.workdir / "home"
        self.home.mkdir(parents=True, exist_ok=True)
        self.opened = self.workdir / "opened-urls.txt"
        stub = self.workdir / "bin"
        stub.mkdir(exist_ok=True)
        opener = stub / "xdg-open"
        opener.write_text(f'#!/bin/sh\nprintf "%s\\n" "$*" >> "{self.opened}"\n')
        opener.chmod(0o755)
        env = dict(os.environ)
        for var in ("QT_QPA_PLATFORM", "QT_ACCESSIBILITY", "SESSION_MANAGER"):
            env.pop(var, None)
        closed = "http://127.0.0.1:9"  # nothing listens there: no host but ours is reached
        env.update({
            "HOME": str(self.home),
            "XDG_CONFIG_HOME": str(self.home / ".config"),
            "XDG_DATA_HOME": str(self.home / ".local/share"),
            "XDG_CACHE_HOME": str(self.home / ".cache"),
            "XDG_RUNTIME_DIR": str(self.workdir / "runtime"),
            "PATH": f"{stub}:{env.get('PATH', '/usr/bin:/bin')}",
            "BROWSER": str(opener),
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_QPA_PLATFORM": "xcb",
            # The browser's pages in the accessibility tree: where the words
            # to select are on the screen.
            "QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY": "1",
            "LANG": "C.UTF-8",
            "http_proxy": closed, "https_proxy": closed, "ftp_proxy": closed,
            "all_proxy": closed, "no_proxy": "127.0.0.1", "NO_PROXY": "127.0.0.1",
            "QTWEBENGINE_CHROMIUM_FLAGS":
                "--no-sandbox --host-resolver-rules=\"MAP * ~NOTFOUND, EXCLUDE 127.0.0.1\"",
        })
        (self.workdir / "runtime").mkdir(mode=0o700, exist_ok=True)
        self.log_path = self.workdir / "program.log"
        self.args = [str(a) for a in args]
        self.started = time.monotonic()
        self.log_file = open(self.log_path, "wb")
        self.proc = subprocess.Popen([str(PROGRAM), *self.args], env=env,
                                     stdout=self.log_file, stderr=subprocess.STDOUT,
                                     cwd=str(self.workdir), start_new_session=True)
        self.pid = self.proc.pid
        self._app = None
        self._main_xid = None

    # --- process

    def alive(self):
        return self.proc.poll() is None

    def exit_description(self):
        code = self.proc.poll()
        if code is None:
            return "running"
        if code < 0:
            return f"killed by {signal.Signals(-code).name}"
        return f"exited with status {code}"

    def log(self):
        try:
            return self.log_path.read_text(errors="replace")[-3000:]
        except OSError:
            return ""

    def stop(self):
        if self.alive():
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(5)
        self.log_file.close()

    # --- accessibility

    def app(self, timeout=10):
        if self._app is not None:
            return self._app
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not self.alive():
                raise Failure(f"the program {self.exit_description()} before it showed a window\n{self.log()}")
            desktop = Atspi.get_desktop(0)
            for a in children(desktop):
                try:
                    if a.get_process_id() == self.pid:
                        self._app = a
                        return a
                except Exception:
                    continue
            time.sleep(0.05)
        raise Failure("the program did not appear in the accessibility tree")

    def top_levels(self):
        return children(self.app())

    def main(self):
        """The main window: the dialog that holds the item list."""
        for w in self.top_levels():
            if role(w) == "dialog" and any(role(c) == "table" for c in children(w)):
                return w
        return None

    def wait_main(self, timeout=10):
        return self.wait_for(self.main, timeout, "the main window")

    def wait_for(self, probe, timeout=5, what="it"):
        deadline = time.monotonic() + timeout
        while True:
            if not self.alive():
                raise Failure(f"the program {self.exit_description()} while waiting for {what}\n{self.log()}")
            got = probe()
            if got:
                return got
            if time.monotonic() > deadline:
                raise Failure(f"timed out waiting for {what}")
            time.sleep(0.05)

    def dialogs(self):
        """Top-level windows other than the main window that are showing."""
        main = self.main()
        main_name = name(main) if main is not None else None
        return [w for w in self.top_levels()
                if not (role(w) == "dialog" and name(w) == main_name)
                and "showing" in states(w) and role(w) != "filler"]

    def dialog(self, title=None, timeout=5):
        def probe():
            for w in self.dialogs():
                if title is None or name(w) == title:
                    return w
            return None
        return self.wait_for(probe, timeout, f"the window {title!r}")

    def gone(self, acc, timeout=5, what="the window"):
        def probe():
            return "showing" not in states(acc)
        return self.wait_for(probe, timeout, f"{what} to close")

    def splash_windows(self):
        """The splash: a mapped window of ours of the splash picture's size."""
        return [w for w in self.screen.windows(self.pid) if (w["w"], w["h"]) == (300, 160)]

    def wait_ready(self, splash=True, timeout=10):
        """The main window is up and, when a splash is expected, the splash
        came and went (a click while it shows only closes it)."""
        main = self.wait_main(timeout)
        if splash:
            self.wait_for(self.splash_windows, timeout, "the splash")
            self.wait_for(lambda: not self.splash_windows(), timeout, "the splash to go")
        return main

    def button(self, label, within=None):
        b = find(within or self.main(), "push button", label)
        if b is None:
            raise Failure(f"no button {label!r}")
        return b

    def click(self, acc, count=1, number=1):
        x, y = center(acc)
        self.screen.click(x, y, number, count)
        time.sleep(0.1)

    def rows(self):
        """The list's rows as tuples of cell texts."""
        table = find(self.main(), "table")
        cells = [c for c in children(table) if role(c) == "table cell"]
        return [tuple(name(c) for c in cells[i:i + 4]) for i in range(0, len(cells) - len(cells) % 4, 4)]

    def cell(self, row, column):
        table = find(self.main(), "table")
        cells = [c for c in children(table) if role(c) == "table cell"]
        return cells[row * 4 + column]

    def x_window(self, title):
        for w in self.screen.windows(self.pid):
            if w["name"] == title and not w["popup"]:
                return w
        return None

    def close_window(self, title):
        """Clicks the close box of the window with this title."""
        w = self.x_window(title)
        if w is None:
            raise Failure(f"no window {title!r} to close")
        self.screen.close_window(w["id"])

    def alert(self, timeout=5):
        """A message box of the program (its text, the box)."""
        def probe():
            for w in self.dialogs():
                if role(w) == "alert":
                    return w
            return None
        return self.wait_for(probe, timeout, "a message box")

    def alert_text(self, box):
        labels = [name(c) for c in children(box) if role(c) == "label" and name(c)]
        return "\n".join(labels)

    def answer(self, box, label):
        """Clicks the button of a dialog or message box by its caption."""
        button = find(box, "push button", label)
        if button is None:
            names = [name(b) for b in find_all(box, "push button")]
            raise Failure(f"no button {label!r} in {name(box)!r}: {names}")
        self.click(button)
        return button

    def file_dialog(self, timeout=5):
        """A file chooser of the program."""
        def probe():
            return next((w for w in self.dialogs() if is_file_chooser(w)), None)
        return self.wait_for(probe, timeout, "a file chooser")

    def type_file_name(self, dialog, file_name):
        """Types a name into a file chooser's name field, as a person does."""
        self.click(chooser_field(dialog))
        self.screen.key("a", ["Control_L"])
        self.screen.type(file_name)
        time.sleep(0.2)

    def choose_file(self, dialog, file_name):
        self.type_file_name(dialog, file_name)
        self.screen.key("Return")

    # --- health

    def main_x_window(self):
        """The main window on the X screen, None while it is not mapped."""
        windows = [w for w in self.screen.windows(self.pid) if not w["popup"]]
        for w in windows:
            if w["id"] == self._main_xid:
                return w
        # Found by its title once (again after a change of window flags,
        # which makes a new X window); the title changes later.
        main = self.main()
        title = name(main) if main else MAIN_TITLE
        for w in windows:
            if w["name"] == title:
                self._main_xid = w["id"]
                return w
        return None

    def check_healthy(self, what="after the step"):
        """The process is alive, the main window is mapped and it answers a
        question about itself within ANSWER_LIMIT_S."""
        drain_events()
        if not self.alive():
            raise Failure(f"{what}: the program {self.exit_description()}\n{self.log()}")
        main = self.main()
        if main is None:
            raise Failure(f"{what}: the main window is gone from the accessibility tree")
        began = time.monotonic()
        try:
            extents(main)
        except Exception as error:
            raise Failure(f"{what}: the main window did not answer: {error}")
        took = time.monotonic() - began
        if took > ANSWER_LIMIT_S:
            raise Failure(f"{what}: the main window took {took:.1f} s to answer")
        if self.main_x_window() is None:
            raise Failure(f"{what}: the main window is not mapped")

    def shot(self, path):
        self.screen.screenshot(path)


class Session:
    """Everything one suite or monkey run shares: the display, the server, a
    scratch folder. Each program started gets a fresh folder and home."""

    def __init__(self, keep=None):
        init_atspi()
        Atspi.set_timeout(int(ANSWER_LIMIT_S * 1000) + 500, 10000)
        self.screen = Screen()
        self.server = SampleServer()
        self.scratch = Path(tempfile.mkdtemp(prefix="pagelark-program-"))
        self.shots = Path(keep) if keep else self.scratch / "shots"
        self.shots.mkdir(parents=True, exist_ok=True)
        self.programs = []
        self.count = 0

    def folder(self):
        self.count += 1
        f = self.scratch / f"run{self.count}"
        f.mkdir()
        return f

    def start(self, args=(), folder=None):
        program = Program(self.screen, folder or self.folder(), args)
        self.programs.append(program)
        return program

    def write(self, folder, name_, content):
        path = Path(folder) / name_
        if isinstance(content, bytes):
            path.write_bytes(content)
        else:
            path.write_text(content, encoding="utf-8")
        return path

    def close(self):
        for p in self.programs:
            p.stop()
        self.server.close()
        self.screen.d.close()
        if not os.environ.get("PAGELARK_KEEP_SCRATCH"):
            shutil.rmtree(self.scratch, ignore_errors=True)
