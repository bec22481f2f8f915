"""The window around the list: Help, the about box, the languages and their
message boxes, Repeat, the always-on-top pin and the wheel over a tip."""

import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import text  # noqa: E402
from known_faults import known  # noqa: E402
from program_case import COMMANDS, SAMPLE_NAMES, ProgramCase  # noqa: E402
from tree import center, extents, find, find_all, name, value  # noqa: E402


class WindowCommands(ProgramCase):

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
            f"<format>a#DATA,1#b</format><url>{self.session.server.url('prices.html')}</url></item>\r\n"
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
