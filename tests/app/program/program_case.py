"""What every test of the built program shares: one display, one page
server and a scratch folder for the whole run, and a test case that starts
the program and checks it after every step: the program is alive, its main
window is mapped and answers within two seconds, and no script file on disk
changed unless the user saved to it."""

import atexit
import contextlib
import os
import time
import unittest

from harness import Failure, Files, Session, text
from tree import find, name

SAMPLE_NAMES = ["Top stories", "Gold price", "Coffee price", "Weather today", "水位 River level",
                "Gazette headlines"]
# The top row and the right column, by string id.
COMMANDS = [172, 173, 174, 175, 176, 177, 186, 178, 179, 180, 181, 182]
YES, NO = "Yes", "No"

_session = None


def shared_session():
    global _session
    if _session is None:
        _session = Session(keep=os.environ.get("PAGELARK_PROGRAM_SHOTS"))
        atexit.register(_session.close)
    return _session


class ProgramCase(unittest.TestCase):
    """Starts the program for a test and checks it after each step."""

    @property
    def session(self):
        return shared_session()

    language = 0  # the interface language the test has switched to

    def setUp(self):
        self.files = Files()
        self.program = None
        self.folder = self.session.folder()

    def tearDown(self):
        if self.program is not None:
            self.program.stop()

    # --- starting

    def write(self, file_name, content):
        path = self.session.write(self.folder, file_name, content)
        self.files.watch(path)
        return path

    def sample(self, url_prefix=""):
        return self.write("sample.xml", self.session.server.sample_list(url_prefix))

    def launch(self, *args, splash=True, rows=None):
        """Starts the program and waits for its window (and for that many
        rows, when the list is known)."""
        self.program = self.session.start(args, folder=self.folder)
        self.program.wait_ready(splash=splash)
        if rows is not None:
            self.wait_rows(rows)
        self.checked("start-up")
        return self.program

    # --- the checks after every step

    def checked(self, what, saved=()):
        for path in saved:
            self.files.saved(path)
        self.program.check_healthy(what)
        changed = self.files.changed()
        if changed:
            raise Failure(f"{what}: {changed} changed on disk without a save")

    @contextlib.contextmanager
    def step(self, what, saved=()):
        yield
        time.sleep(0.1)
        self.checked(what, saved)

    def shot(self, label):
        self.program.shot(self.session.shots / f"{self.id().split('.')[-1]}-{label}.png")

    # --- reading the window

    def title(self):
        return name(self.program.main())

    def names(self):
        return [row[1] for row in self.program.rows()]

    def wait_rows(self, count, timeout=5):
        self.program.wait_for(lambda: len(self.program.rows()) == count, timeout,
                              f"{count} rows")

    def select(self, row):
        self.program.click(self.program.cell(row, 1))

    def press(self, string_id, language=0):
        self.program.click(self.program.button(text(string_id, language)))

    def start_button(self, language=0):
        main = self.program.main()
        return find(main, "push button", text(182, language)) or find(main, "push button",
                                                                       text(183, language))

    def wait_idle(self, timeout=20, language=0):
        self.program.wait_for(
            lambda: name(self.start_button(language)) == text(182, language), timeout,
            "the run to end")

    def run_to_end(self):
        with self.step("Start"):
            self.press(182)
        self.wait_idle()
        self.checked("the end of the run")

    def pick_language(self, index):
        """Opens the language menu and picks its item number index (0 English,
        1 Simplified, 2 Traditional, 3 Repeat...) with the keys, as the menu
        is a pop-up the accessibility tree does not list."""
        button = self.program.button(text(207, self.language))
        self.program.click(button)
        self.program.wait_for(lambda: [w for w in self.program.screen.windows(self.program.pid)
                                       if w["popup"]], 3, "the language menu")
        if index == 0:
            self.shot("language-menu")
        for _ in range(index + 1):
            self.program.screen.key("Down")
            time.sleep(0.05)
        self.program.screen.key("Return")
        time.sleep(0.3)
