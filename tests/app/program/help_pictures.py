"""Takes the help's pictures of the filter builder from the built program:

    tests/app/program/in-session help_pictures.py [FOLDER]

writes pick-selection.png, pick-links.png and pick-editor.png (default
FOLDER: resources/help). Run it by hand when those windows change; each
picture is one window, cut from the screen with a thin frame around it."""

import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import ROOT, Session, text  # noqa: E402
from tree import extents, find, find_all, states  # noqa: E402


def picture(screen_shot, window, path):
    x, y, w, h = extents(window)
    subprocess.run(["convert", str(screen_shot), "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                    "-bordercolor", "#8a8a8a", "-border", "1", "-strip",
                    "-define", "png:compression-level=9", str(path)], check=True)


def fit(program, title):
    """The picker at a size the help's page shows whole."""
    window = program.x_window(title)
    program.screen.resize(window["id"], 600, 430)
    time.sleep(0.8)


def main(folder):
    session = Session()
    shot = session.scratch / "screen.png"
    try:
        program = session.start([session.write(session.folder(), "sample.xml",
                                               session.server.sample_list())])
        p = program
        p.wait_ready()
        p.click(p.button(text(173)))
        editor = p.dialog(text(150))
        name_, _, url = find_all(editor, "text")
        p.click(name_)
        p.screen.type("Silver price")
        p.click(url)
        p.screen.key("End")
        p.screen.type(f"127.0.0.1:{session.server.port}/prices.html")
        p.click(find(editor, "push button", text(230)))
        picker = p.dialog(text(232), timeout=10)
        fit(p, text(232))
        cell = p.wait_for(lambda: find(picker, "label", "23.85 USD per ounce"), 15, "the page")
        x, y, w, h = extents(cell)
        letters = len("23.85 USD per ounce")
        p.screen.word_drag(x + w * 2.5 / letters, y + h // 2, x + w * 7 / letters, y + h // 2)
        p.wait_for(lambda: find(picker, "label", "Selected: “23.85 USD”"), 5, "the selection")
        p.screen.move(0, 0)
        time.sleep(0.5)
        p.shot(shot)
        picture(shot, picker, folder / "pick-selection.png")
        p.answer(picker, text(234))
        p.gone(picker)
        time.sleep(0.5)
        p.shot(shot)
        picture(shot, editor, folder / "pick-editor.png")
        p.answer(editor, text(171))
        p.gone(editor)

        p.click(p.cell(0, 1))
        p.click(p.button(text(174)))
        editor = p.dialog(text(151))
        p.click(find(editor, "push button", text(230)))
        picker = p.dialog(text(232), timeout=10)
        fit(p, text(232))
        first = extents(p.wait_for(lambda: find(picker, "link", "Gold climbs to a two-year high"),
                                   15, "the page"))
        last = extents(find(picker, "link", "River level falls after a dry week"))
        p.screen.drag(first[0] - 3, first[1] + first[3] // 2, last[0] + last[2] + 15,
                      last[1] + last[3] // 2)
        p.wait_for(lambda: "checked" in states(find(picker, "check box")), 5, "the links")
        p.screen.move(0, 0)
        time.sleep(0.5)
        p.shot(shot)
        picture(shot, picker, folder / "pick-links.png")
        p.screen.key("Escape")
    finally:
        session.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "resources" / "help"))
