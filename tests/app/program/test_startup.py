"""Start-up as a person meets it: on the sample list, on no file, on damaged
files and files that cannot be opened, and with /Embedding."""

import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import MAIN_TITLE, Files, text  # noqa: E402
from known_faults import known  # noqa: E402
from program_case import COMMANDS, SAMPLE_NAMES, ProgramCase  # noqa: E402
from tree import extents, find_all, name, role  # noqa: E402


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
        self.program = self.session.start(["/Embedding", path], folder=self.folder)
        self.program.wait_main()
        deadline = time.monotonic() + 1.5
        while time.monotonic() < deadline:
            self.assertEqual(self.program.splash_windows(), [], "a splash under /Embedding")
            time.sleep(0.05)
        self.checked("start-up under /Embedding")
        self.wait_rows(6)
        self.assertEqual(self.names(), SAMPLE_NAMES)

    def test_damaged_files_open_as_an_empty_list(self):
        whole = self.session.server.sample_list().encode()
        damaged = {
            "empty.xml": b"",
            "truncated.xml": whole[: len(whole) // 2],
            "not-xml.xml": b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR" + bytes(range(256)),
            "text.xml": "Dear diary, today the river was high.\n".encode(),
        }
        for file_name, content in damaged.items():
            with self.subTest(file_name):
                self.folder = self.session.folder()
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
                self.folder = self.session.folder()
                path = self.folder / ("gone.xml" if label == "missing" else "a-folder.xml")
                if label == "folder":
                    path.mkdir()
                self.program = self.session.start([path], folder=self.folder)
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
