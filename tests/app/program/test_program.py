"""The built pagelark program under a user's hands.

Each test starts the real binary on an X display, waits for its window as a
person would (the splash comes and goes), and drives it with the pointer and
the keys. Dialogs, file choosers and message boxes are answered the same
way. After every step: the program is alive, its main window is mapped and
answers within two seconds, and no script file on disk changed unless the user
saved to it.

Run it as ctest does: tests/app/program/run-suite (under xvfb-run and
dbus-run-session). PAGELARK_PROGRAM_SHOTS names a folder for the
screenshots taken along the way.
"""

import contextlib
import os
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import (MAIN_TITLE, Failure, Files, Session, center, extents,  # noqa: E402
                     find, find_all, name, role, states, text, value)
from known_faults import known  # noqa: E402

SAMPLE_NAMES = ["Top stories", "Gold price", "Coffee price", "Weather today", "水位 River level",
                "Gazette headlines"]
# The top row and the right column, by string id.
COMMANDS = [172, 173, 174, 175, 176, 177, 186, 178, 179, 180, 181, 182]
YES, NO = "Yes", "No"

session = None


def setUpModule():
    global session
    session = Session(keep=os.environ.get("PAGELARK_PROGRAM_SHOTS"))


def tearDownModule():
    session.close()


class ProgramCase(unittest.TestCase):
    """Starts the program for a test and checks it after each step."""

    language = 0  # the interface language the test has switched to

    def setUp(self):
        self.files = Files()
        self.program = None
        self.folder = session.folder()

    def tearDown(self):
        if self.program is not None:
            self.program.stop()

    # --- starting

    def write(self, file_name, content):
        path = session.write(self.folder, file_name, content)
        self.files.watch(path)
        return path

    def sample(self, url_prefix=""):
        return self.write("sample.xml", session.server.sample_list(url_prefix))

    def launch(self, *args, splash=True, rows=None):
        """Starts the program and waits for its window (and for that many
        rows, when the list is known)."""
        self.program = session.start(args, folder=self.folder)
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
        self.program.shot(session.shots / f"{self.id().split('.')[-1]}-{label}.png")

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
        button = self.program.button(text(184, self.language))
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


class StartUp(ProgramCase):

    def test_the_sample_list_opens_after_the_splash(self):
        p = self.launch(self.sample(), rows=6)
        self.assertEqual(self.title(), f"{MAIN_TITLE} - sample.xml")
        self.assertEqual(self.names(), SAMPLE_NAMES)
        self.assertEqual([name(b) for b in find_all(p.main(), "push button")][:12],
                         [text(i) for i in COMMANDS])
        self.shot("sample")

    def test_no_file_opens_an_empty_untitled_list(self):
        self.launch()
        self.assertEqual(self.title(), MAIN_TITLE)
        self.assertEqual(self.program.rows(), [])

    def test_embedding_opens_without_the_splash(self):
        path = self.sample()
        self.program = session.start(["/Embedding", path], folder=self.folder)
        self.program.wait_main()
        deadline = time.monotonic() + 1.5
        while time.monotonic() < deadline:
            self.assertEqual(self.program.splash_windows(), [], "a splash under /Embedding")
            time.sleep(0.05)
        self.checked("start-up under /Embedding")
        self.wait_rows(6)
        self.assertEqual(self.names(), SAMPLE_NAMES)

    def test_damaged_files_open_as_an_empty_list(self):
        whole = session.server.sample_list().encode()
        damaged = {
            "empty.xml": b"",
            "truncated.xml": whole[: len(whole) // 2],
            "not-xml.xml": b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR" + bytes(range(256)),
            "text.xml": "Dear diary, today the river was high.\n".encode(),
        }
        for file_name, content in damaged.items():
            with self.subTest(file_name):
                self.folder = session.folder()
                self.files = Files()
                path = self.write(file_name, content)
                self.launch(path)
                self.program.wait_for(lambda: self.title().endswith(file_name), 5, "the title")
                # No message: a file that is not a list opens as an empty list.
                self.assertEqual([role(w) for w in self.program.dialogs()], [])
                self.assertLessEqual(len(self.program.rows()), len(SAMPLE_NAMES))
                if file_name != "truncated.xml":
                    self.assertEqual(self.program.rows(), [])
                self.assertEqual(self.title(), f"{MAIN_TITLE} - {file_name}")
                self.program.stop()

    @known("unreadable-start-file")
    def test_a_file_that_cannot_be_opened_gives_message_136_over_the_window(self):
        for label in ("missing", "folder"):
            with self.subTest(label):
                self.folder = session.folder()
                path = self.folder / ("gone.xml" if label == "missing" else "a-folder.xml")
                if label == "folder":
                    path.mkdir()
                self.program = session.start([path], folder=self.folder)
                self.program.wait_main()
                box = self.program.alert(timeout=8)
                self.assertEqual(self.program.alert_text(box), text(136))
                # Over the main window, which is on screen behind it.
                bx, by, bw, bh = extents(box)
                mx, my, mw, mh = extents(self.program.main())
                self.assertTrue(mx <= bx + bw // 2 <= mx + mw and my <= by + bh // 2 <= my + mh)
                self.checked("the message for an unreadable file")
                self.shot(f"{label}-message")
                self.program.answer(box, "OK")
                self.program.gone(box)
                self.checked("the message answered")
                self.assertEqual(self.program.rows(), [])
                self.program.stop()


class Commands(ProgramCase):

    def test_new_asks_first_and_no_keeps_the_list(self):
        self.launch(self.sample(), rows=6)
        with self.step("New, answered No"):
            self.press(172)
            box = self.program.alert()
            self.assertEqual(self.program.alert_text(box), text(130))
            self.shot("new-question")
            self.program.answer(box, NO)
            self.program.gone(box)
        self.assertEqual(self.names(), SAMPLE_NAMES)
        self.assertEqual(self.title(), f"{MAIN_TITLE} - sample.xml")
        with self.step("New, answered Yes"):
            self.press(172)
            self.program.answer(self.program.alert(), YES)
            self.wait_rows(0)
        self.assertEqual(self.title(), MAIN_TITLE)
        with self.step("New on an empty list asks nothing"):
            self.press(172)
            time.sleep(0.5)
            self.assertEqual(self.program.dialogs(), [])

    def test_add_edit_delete_change_the_list_but_not_the_file(self):
        p = self.launch(self.sample(), rows=6)
        with self.step("Add, refused while the Name is blank"):
            self.press(173)
            dialog = p.dialog(text(150))
            fields = find_all(dialog, "text")
            self.assertEqual([value(f) for f in fields], ["", "", "http://"])
            p.answer(dialog, text(170))
            box = p.alert()
            self.assertEqual(p.alert_text(box), text(131))
            p.answer(box, "OK")
            p.gone(box)
            self.assertIn("showing", states(dialog))
        with self.step("Add, filled in"):
            p.click(fields[0])
            p.screen.type("River gauge")
            p.click(fields[1])
            p.screen.type("River level:#DATA,1,2#falling")
            p.click(fields[2])
            p.screen.key("End")
            p.screen.type(f"127.0.0.1:{session.server.port}/weather.html")
            self.shot("add-filled")
            p.answer(dialog, text(170))
            p.gone(dialog)
            self.wait_rows(7)
        self.assertEqual(self.names()[-1], "River gauge")
        with self.step("Edit"):
            self.select(6)
            self.press(174)
            dialog = p.dialog(text(151))
            fields = find_all(dialog, "text")
            self.assertEqual([value(f) for f in fields],
                             ["River gauge", "River level:#DATA,1,2#falling",
                              session.server.url("weather.html")])
            p.click(fields[0])
            p.screen.key("End")
            p.screen.type(" 2")
            p.screen.key("Return")
            p.gone(dialog)
        self.assertEqual(self.names()[-1], "River gauge 2")
        with self.step("Edit, cancelled"):
            self.press(174)
            dialog = p.dialog(text(151))
            p.answer(dialog, text(171))
            p.gone(dialog)
        with self.step("Delete"):
            self.select(1)
            self.press(175)
            self.wait_rows(6)
        self.assertNotIn("Gold price", self.names())

    def test_disable_skips_a_row_in_the_run_and_enable_brings_it_back(self):
        p = self.launch(self.sample(), rows=6)
        with self.step("Disable"):
            self.select(1)
            self.press(177)
        self.assertEqual(p.cell(1, 0).get_description(), "Disabled")
        self.run_to_end()
        rows = p.rows()
        self.assertEqual(rows[1][2], "")
        self.assertTrue(rows[2][2].startswith("1.87 USD"), rows[2])
        with self.step("Enable"):
            self.select(1)
            self.press(176)
        self.assertEqual(p.cell(1, 0).get_description(), "Ready")
        self.run_to_end()
        self.assertTrue(p.rows()[1][2].startswith("2,031.40 USD"), p.rows()[1])

    def test_a_run_fills_the_rows_and_the_detail_window_opens_and_closes(self):
        p = self.launch(self.sample(), rows=6)
        self.run_to_end()
        rows = p.rows()
        self.assertEqual(rows[0][2], "5 Items Found")
        self.assertTrue(rows[3][2].startswith("sunny spells"), rows[3])
        self.assertTrue(all(r[3] for r in rows), rows)
        self.shot("after-run")
        for how in ("Detail", "double click"):
            with self.step(f"{how} opens the detail window"):
                if how == "Detail":
                    self.select(0)
                    self.press(186)
                else:
                    p.click(p.cell(5, 1), count=2)
                detail = p.dialog(text(152), timeout=15)
                p.wait_for(lambda: find_all(detail, "table cell"), 5, "the entries")
                cells = [name(c) for c in find_all(detail, "table cell")]
                address = find(detail, "text")
                self.assertEqual(value(address), cells[1])
            if how == "Detail":
                self.assertEqual(cells[0], "1. New footbridge opens over the river")
                time.sleep(1)  # the page comes
                self.shot("detail")
                with self.step("the main window's close box, refused behind the detail window"):
                    p.close_window(self.title())
                    time.sleep(1)
                self.assertIn("showing", states(detail))
            with self.step("the detail window closed"):
                p.click(find_all(detail, "table cell")[0])
                p.screen.key("Escape")
                p.gone(detail)
            self.assertEqual(len(p.rows()), 6)

    def test_stop_ends_a_run_of_slow_pages_and_the_window_answers_meanwhile(self):
        p = self.launch(self.sample("slow/6/"), rows=6)
        with self.step("Start on slow pages"):
            self.press(182)
            p.wait_for(lambda: name(self.start_button()) == text(183), 3, "Stop")
        deadline = time.monotonic() + 2
        while time.monotonic() < deadline:
            self.checked("during the run")
            time.sleep(0.2)
        self.shot("running")
        with self.step("Stop"):
            began = time.monotonic()
            p.click(self.start_button())
            self.wait_idle(timeout=5)
            self.assertLess(time.monotonic() - began, 5)
        self.assertTrue(any(r[2] == "" for r in p.rows()), p.rows())
        with self.step("Start and Stop at once"):
            for _ in range(3):
                self.press(182)
                time.sleep(0.3)
                p.click(self.start_button())
                self.wait_idle(timeout=5)
        self.assertEqual(len(p.rows()), 6)

    def test_closing_the_window_during_a_run_ends_the_program_cleanly(self):
        p = self.launch(self.sample("slow/6/"), rows=6)
        with self.step("Start on slow pages"):
            self.press(182)
            p.wait_for(lambda: name(self.start_button()) == text(183), 3, "Stop")
        time.sleep(0.5)
        began = time.monotonic()
        p.close_window(self.title())
        p.proc.wait(10)
        self.assertEqual(p.exit_description(), "exited with status 0")
        self.assertLess(time.monotonic() - began, 5)
        self.assertEqual(self.files.changed(), [])

    def test_save_to_a_new_file_and_load_it_back(self):
        p = self.launch(self.sample(), rows=6)
        with self.step("Add an item"):
            self.press(173)
            dialog = p.dialog(text(150))
            p.screen.type("Extra")
            p.screen.key("Tab")
            p.screen.type("a#DATA,1#b")
            p.screen.key("Return")
            p.gone(dialog)
            self.wait_rows(7)
        saved = self.folder / "mine.xml"
        self.files.watch(saved)
        with self.step("Save as a new file", saved=[saved]):
            self.press(179)
            chooser = p.file_dialog(None)
            self.shot("save-chooser")
            p.choose_file(chooser, "mine.xml")
            p.gone(chooser)
            p.wait_for(saved.exists, 3, "the saved file")
        written = saved.read_bytes().decode("utf-8")
        self.assertTrue(written.startswith("<xml version=1.0>\r\n"), written[:40])
        self.assertIn("<name>Extra</name>", written)
        with self.step("Save over it, answered No to the question"):
            self.press(179)
            chooser = p.file_dialog(None)
            p.choose_file(chooser, "mine.xml")
            box = p.wait_for(lambda: [w for w in p.dialogs() if role(w) == "alert"], 5,
                             "the question to replace the file")[0]
            p.answer(box, NO)
            p.gone(box)
            p.answer(chooser, "Cancel")
            p.gone(chooser)
        with self.step("New"):
            self.press(172)
            p.answer(p.alert(), YES)
            self.wait_rows(0)
        with self.step("Load the saved file"):
            self.press(178)
            chooser = p.file_dialog(None)
            p.choose_file(chooser, "mine.xml")
            p.gone(chooser)
            self.wait_rows(7)
        self.assertEqual(self.names(), SAMPLE_NAMES + ["Extra"])
        self.assertEqual(self.title(), f"{MAIN_TITLE} - mine.xml")
        with self.step("Load, cancelled"):
            self.press(178)
            chooser = p.file_dialog(None)
            p.answer(chooser, "Cancel")
            p.gone(chooser)
        self.assertEqual(len(p.rows()), 7)

    def test_snap_writes_the_rows_and_links(self):
        p = self.launch(self.sample(), rows=6)
        self.run_to_end()
        snap = self.folder / "My Snap.txt"
        self.files.watch(snap)
        with self.step("Snap", saved=[snap]):
            self.press(180)
            chooser = p.file_dialog(None)
            field = find(chooser, "text", "File name:")
            self.assertEqual(value(field), "My Snap.txt")
            p.screen.key("Return")
            p.gone(chooser)
            p.wait_for(snap.exists, 3, "the snapshot")
        lines = snap.read_text(encoding="utf-8").splitlines()
        self.assertTrue(any("Gold price" in line and "2,031.40 USD" in line for line in lines),
                        lines)
        self.assertTrue(any(line.endswith("/prices.html#gold") for line in lines), lines)

    def test_help_opens_from_the_button_and_from_escape(self):
        p = self.launch(self.sample(), rows=6)
        for how in ("button", "Escape"):
            with self.step(f"Help from the {how}"):
                if how == "button":
                    self.press(181)
                else:
                    p.click(p.cell(0, 1))
                    p.screen.key("Escape")
                p.wait_for(lambda: p.x_window(text(197)), 5, "the help window")
            if how == "button":
                time.sleep(0.3)
                self.shot("help")
            with self.step("the help window closed"):
                p.close_window(text(197))
                p.wait_for(lambda: p.x_window(text(197)) is None, 5, "the help to close")

    def test_the_copyright_link_opens_the_about_box(self):
        p = self.launch(self.sample(), rows=6)
        with self.step("the copyright link"):
            p.click(find(p.main(), "label", text(163)))
            about = p.dialog(text(153))
        self.shot("about")
        with self.step("the website link"):
            link = find(about, "label", text(103)) or find(about, "link", text(103))
            p.click(link)
            p.wait_for(lambda: p.opened.exists() and text(103) in p.opened.read_text(), 5,
                       "the website handed to the desktop")
        with self.step("OK"):
            p.answer(about, text(170))
            p.gone(about)

    def test_each_language_relabels_the_window(self):
        p = self.launch(self.sample(), rows=6)
        for language in (1, 2, 0):
            with self.step(f"language {language}"):
                self.pick_language(language)
                self.language = language
                p.wait_for(lambda: find(p.main(), "push button", text(172, language)), 3,
                           "the new captions")
            main = p.main()
            self.assertEqual([name(b) for b in find_all(main, "push button")][:12],
                             [text(i, language) for i in COMMANDS])
            headers = [name(c) for c in find_all(main, "table column header")]
            self.assertEqual(headers, [text(i, language) for i in (112, 113, 114, 115)])
            self.assertEqual(self.names(), SAMPLE_NAMES)
            self.shot(f"language-{language}")

    @known("message-box-buttons-english")
    def test_message_box_buttons_speak_the_interface_language(self):
        p = self.launch(self.sample(), rows=6)
        for language in (1, 2):
            with self.step(f"New under language {language}"):
                self.pick_language(language)
                self.language = language
                self.press(172, language)
                box = p.alert()
                self.assertEqual(p.alert_text(box), text(130, language))
                self.shot(f"question-{language}")
                buttons = [name(b) for b in find_all(box, "push button")]
                # Answered by position: No is the second button.
                p.click(find_all(box, "push button")[1])
                p.gone(box)
            self.assertEqual(len(p.rows()), 6)
            for caption in buttons:
                self.assertTrue(any(ord(ch) >= 0x3000 for ch in caption),
                                f"an English button {caption!r} under language {language}")

    def test_repeat_opens_from_the_language_menu(self):
        p = self.launch(self.sample(), rows=6)
        title = text(202).replace("...", "")
        with self.step("Repeat, cancelled"):
            self.pick_language(3)
            dialog = p.dialog(title)
            self.shot("repeat")
            p.answer(dialog, text(171))
            p.gone(dialog)
        with self.step("Repeat, set to 5 minutes"):
            self.pick_language(3)
            dialog = p.dialog(title)
            spin = find(dialog, "spin button")
            p.click(spin)
            p.screen.key("a", ["Control_L"])
            p.screen.type("5")
            p.answer(dialog, text(170))
            p.gone(dialog)
        with self.step("Repeat shows the setting again"):
            self.pick_language(3)
            dialog = p.dialog(title)
            self.assertEqual(value(find(dialog, "spin button")), "5")
            p.screen.key("Escape")
            p.gone(dialog)

    @known("pin-ends-program")
    def test_the_pin_keeps_the_window_where_it_is_and_flips_back(self):
        p = self.launch(self.sample(), rows=6)
        before = p.main_x_window()
        pin = p.button(text(185))
        area = extents(pin)
        p.screen.move(*center(pin))
        time.sleep(0.3)
        unpinned = p.screen.pixels(*area)
        looks = []
        for click in (1, 2):
            with self.step(f"pin click {click}"):
                p.click(pin)
                time.sleep(0.5)
            after = p.main_x_window()
            self.assertEqual((after["x"], after["y"], after["w"], after["h"]),
                             (before["x"], before["y"], before["w"], before["h"]))
            looks.append(p.screen.pixels(*area))
            if click == 1:
                self.shot("pinned")
        self.assertNotEqual(looks[0], unpinned, "the pin does not look pressed")
        self.assertEqual(looks[1], unpinned, "the pin did not flip back")
        self.assertEqual(self.names(), SAMPLE_NAMES)

    @known("wheel-over-tip")
    def test_the_wheel_scrolls_the_list_while_a_tip_shows(self):
        items = "".join(
            f"<item><name>Item {n:02} with a name far too long for its column</name>"
            f"<format>a#DATA,1#b</format><url>{session.server.url('prices.html')}</url></item>\r\n"
            for n in range(60))
        p = self.launch(self.write("long.xml", f"<xml version=1.0>\r\n{items}</xml>"), rows=60)
        first = p.cell(0, 1)
        self.select(0)  # tips show while the list has the focus
        x, y = center(p.cell(2, 1))
        p.screen.move(x - 20, y)
        time.sleep(0.1)
        p.screen.move(x, y)
        p.wait_for(lambda: [w for w in p.screen.windows(p.pid) if w["popup"]], 3, "the tip")
        self.shot("tip")
        top = extents(first)[1]
        with self.step("the wheel over the tip"):
            p.screen.wheel(x, y, 3)
            time.sleep(0.5)
        self.assertNotEqual(extents(first)[1], top, "the list did not scroll")


if __name__ == "__main__":
    unittest.main(verbosity=2)
