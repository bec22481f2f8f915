"""The filter builder under a person's hands: Pick on page... in the item
editors, a selection made with the pointer, Use selection, the Result under
the Filter, Test, and the run that then shows that Result in the row."""

import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import text  # noqa: E402
from program_case import ProgramCase  # noqa: E402
from tree import extents, find, find_all, name, states, value  # noqa: E402

PICK, TEST, PICKER, USE, LINKS, NOTHING_SELECTED, RESULT_ON_PAGE, PRESS_TEST = (
    230, 231, 232, 234, 235, 241, 244, 245)


class FilterBuilder(ProgramCase):

    # --- the editor and the picker

    def result_label(self, dialog):
        """What shows under the Filter: the label that begins with the
        Result's caption or the hint."""
        starts = (text(RESULT_ON_PAGE, self.language).split("%1")[0],
                  text(PRESS_TEST, self.language))
        return self.program.wait_for(
            lambda: next((lab for lab in find_all(dialog, "label")
                          if name(lab).startswith(starts)), None), 5, "the Result line")

    def shown_result(self, dialog):
        caption = text(RESULT_ON_PAGE, self.language).split("%1")[0]
        shown = name(self.result_label(dialog))
        self.assertTrue(shown.startswith(caption), shown)
        return shown[len(caption):]

    def open_picker(self, dialog):
        p = self.program
        p.click(find(dialog, "push button", text(PICK, self.language)))
        picker = p.dialog(text(PICKER, self.language), timeout=10)
        p.wait_for(lambda: find(picker, "label", text(NOTHING_SELECTED, self.language)), 15,
                   "the page in the picker")
        return picker

    def in_page(self, picker, role_, label):
        return self.program.wait_for(lambda: find(picker, role_, label), 10, f"{label!r} on the page")

    def use(self, picker):
        p = self.program
        p.answer(picker, text(USE, self.language))
        p.gone(picker)

    def retype(self, field, new_text):
        p = self.program
        p.click(field)
        p.screen.key("a", ["Control_L"])
        p.screen.type(new_text)

    # --- the tests

    def test_pick_use_see_the_result_save_run_and_the_row_shows_it(self):
        p = self.launch(self.sample(), rows=6)
        with self.step("Add, with the URL"):
            self.press(173)
            dialog = p.dialog(text(150))
            name_, filter_, url = find_all(dialog, "text")
            p.click(name_)
            p.screen.type("Silver price")
            p.click(url)
            p.screen.key("End")
            p.screen.type(f"127.0.0.1:{self.session.server.port}/prices.html")
        with self.step("Pick on page..."):
            picker = self.open_picker(dialog)
        with self.step("the words selected with the pointer"):
            cell = self.in_page(picker, "label", "23.85 USD per ounce")
            x, y, w, h = extents(cell)
            letters = len("23.85 USD per ounce")
            # A double click held and dragged takes whole words: "23.85" to "USD".
            p.screen.word_drag(x + w * 2.5 / letters, y + h // 2, x + w * 7 / letters, y + h // 2)
            p.wait_for(lambda: find(picker, "label", "Selected: “23.85 USD”"), 5, "the selection")
            self.assertNotIn("checked", states(find(picker, "check box")))
            self.shot("picker-selection")
        with self.step("Use selection"):
            self.use(picker)
            p.wait_for(lambda: value(filter_), 5, "the proposed Filter")
        self.assertEqual(value(filter_), "Silver:#DATA,1,2#")
        result = self.shown_result(dialog)
        self.assertEqual(result, "23.85 USD ")
        self.shot("editor-proposed")
        with self.step("Test gives the same"):
            p.click(find(dialog, "push button", text(TEST)))
            time.sleep(0.5)
            self.assertEqual(self.shown_result(dialog), result)
        with self.step("OK saves the item"):
            p.answer(dialog, text(170))
            p.gone(dialog)
            self.wait_rows(7)
        self.run_to_end()
        row = p.rows()[6]
        self.assertEqual(row[1], "Silver price")
        self.assertEqual(row[2], result)

    def test_a_list_of_links_in_chinese_after_a_filter_typed_by_hand(self):
        p = self.launch(self.sample(), rows=6)
        self.pick_language(1)
        self.language = 1
        p.wait_for(lambda: find(p.main(), "push button", text(174, 1)), 3, "the new captions")
        with self.step("Edit Top stories"):
            self.select(0)
            self.press(174, 1)
            dialog = p.dialog(text(151, 1))
            filter_ = find_all(dialog, "text")[1]
        with self.step("a Filter typed by hand, then Test"):
            self.retype(filter_, "Top stories#HREF,2,8#")
            self.assertEqual(name(self.result_label(dialog)), text(PRESS_TEST, 1))
            p.click(find(dialog, "push button", text(TEST, 1)))
            p.wait_for(lambda: self.shown_result(dialog).startswith("2 Items Found"), 10,
                       "the Result of the typed Filter")
        self.assertEqual(self.shown_result(dialog),
                         "2 Items Found\n1. New footbridge opens over the river\n"
                         "2. Gold climbs to a two-year high")
        with self.step("Pick on page..., three links dragged over"):
            picker = self.open_picker(dialog)
            first = extents(self.in_page(picker, "link", "Gold climbs to a two-year high"))
            last = extents(self.in_page(picker, "link", "River level falls after a dry week"))
            # From beside the first link's text to past the end of the last.
            p.screen.drag(first[0] - 3, first[1] + first[3] // 2,
                          last[0] + last[2] + 15, last[1] + last[3] // 2)
            p.wait_for(lambda: "checked" in states(find(picker, "check box")), 5,
                       "the links to be offered")
            self.shot("picker-links")
        with self.step("Use selection"):
            self.use(picker)
            p.wait_for(lambda: self.shown_result(dialog).startswith("3 Items Found"), 5,
                       "the proposed Filter's Result")
        self.assertEqual(self.shown_result(dialog).split("\n"),
                         ["3 Items Found", "1. Gold climbs to a two-year high",
                          "2. Sunny spells ahead of the regatta",
                          "3. River level falls after a dry week"])
        self.assertIn("#HREF,3,", value(filter_))
        self.shot("editor-links")
        with self.step("OK"):
            p.answer(dialog, text(170, 1))
            p.gone(dialog)
        with self.step("Start"):
            self.press(182, 1)
        self.wait_idle(language=1)
        self.assertEqual(p.rows()[0][2], "3 Items Found")
