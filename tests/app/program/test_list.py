"""The commands that change the list and its files, used as a person does:
New, Add, Edit, Delete, Enable, Disable, a run with Detail, Stop on slow
pages, closing the window, Save, Load and Snap through the real file
choosers."""

import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import MAIN_TITLE, chooser_field, text  # noqa: E402
from program_case import NO, SAMPLE_NAMES, YES, ProgramCase  # noqa: E402
from tree import find, find_all, name, role, states, value  # noqa: E402


class ListCommands(ProgramCase):

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
            p.screen.type(f"127.0.0.1:{self.session.server.port}/weather.html")
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
                              self.session.server.url("weather.html")])
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
            chooser = p.file_dialog()
            self.shot("save-chooser")
            p.choose_file(chooser, "mine.xml")
            p.gone(chooser)
            p.wait_for(saved.exists, 3, "the saved file")
        written = saved.read_bytes().decode("utf-8")
        self.assertTrue(written.startswith("<xml version=1.0>\r\n"), written[:40])
        self.assertIn("<name>Extra</name>", written)
        with self.step("Save over it, answered No to the question"):
            self.press(179)
            chooser = p.file_dialog()
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
            chooser = p.file_dialog()
            p.choose_file(chooser, "mine.xml")
            p.gone(chooser)
            self.wait_rows(7)
        self.assertEqual(self.names(), SAMPLE_NAMES + ["Extra"])
        self.assertEqual(self.title(), f"{MAIN_TITLE} - mine.xml")
        with self.step("Load, cancelled"):
            self.press(178)
            chooser = p.file_dialog()
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
            chooser = p.file_dialog()
            self.assertEqual(value(chooser_field(chooser)), "My Snap.txt")
            p.screen.key("Return")
            p.gone(chooser)
            p.wait_for(snap.exists, 3, "the snapshot")
        lines = snap.read_text(encoding="utf-8").splitlines()
        self.assertTrue(any("Gold price" in line and "2,031.40 USD" in line for line in lines),
                        lines)
        self.assertTrue(any(line.endswith("/prices.html#gold") for line in lines), lines)
