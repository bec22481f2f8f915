"""A monkey on the built pagelark program: seeded random clicks, drags,
wheel turns and keys over its windows, with the sample server up.

    monkey.py SECONDS [SEED]      (run through tests/app/program/in-session)

File choosers would take the monkey out of the program (and could delete
files), so the harness answers them as a user would: cancel, or a file of the
scratch folder. After every action: the program is alive, its main window is
mapped and answers within two seconds, and no file changed unless the user
saved to it. A failure prints the seed and the last 50 actions; the same seed
makes the same choices again (the program's timing may still differ).
"""

import collections
import os
import random
import sys
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import (Failure, Files, Session, chooser_accept, chooser_field,  # noqa: E402
                     chooser_filter, is_file_chooser, text)
from tree import GLib, center, extents, find_all, name, role, states, value  # noqa: E402
from known_faults import is_known  # noqa: E402

KEYS = ["Return", "Escape", "Tab", "space", "Delete", "BackSpace", "Up", "Down", "Left", "Right",
        "Prior", "Next", "Home", "End", "F2", "a", "b", "x", "1", "9", "period", "slash",
        "numbersign", "comma"]
MODIFIERS = [(), (), (), (), ("Control_L",), ("Shift_L",), ("Control_L", "Shift_L")]


class Monkey:

    def __init__(self, session, seed):
        self.session = session
        self.seed = seed
        self.rng = random.Random(seed)
        self.folder = session.folder()
        self.files = Files()
        server = session.server
        self.lists = {
            "sample.xml": server.sample_list(),
            "slow.xml": server.sample_list("slow/2/"),
            "long.xml": "<xml version=1.0>\r\n" + "".join(
                f"<item><name>Row {n:02} with a name too long for its column</name>"
                f"<format>Price:#DATA,1,2#USD</format><url>{server.url('news.html')}</url>"
                "</item>\r\n" for n in range(40)) + "</xml>",
        }
        for file_name, content in self.lists.items():
            self.files.watch(session.write(self.folder, file_name, content))
        self.actions = collections.deque(maxlen=50)
        self.count = 0
        self.saves = 0
        self.answered = collections.Counter()
        self.slowest = 0.0
        self.program = None
        self.pin = None
        # PAGELARK_MONKEY_TRAIL=FILE writes every action there as it happens.
        trail = os.environ.get("PAGELARK_MONKEY_TRAIL")
        self.trail = open(trail, "w", encoding="utf-8") if trail else None

    # --- the run

    def run(self, seconds):
        self.launch(self.folder / "sample.xml")
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.answer_chooser()
            self.act()
            self.check()
        self.program.stop()

    def launch(self, path):
        self.program = self.session.start([path], folder=self.folder)
        self.program.wait_ready()
        self.pin = self.pin_rect()

    def quit(self):
        """The main window's close box: the program ends, unless a modal
        dialog blocks the window; then it starts again on a list of ours."""
        p = self.program
        if p.screen.pointer_grabbed():
            return self.note("close box out of reach: a pop-up holds the pointer")
        main = p.main_x_window()
        self.note(f"close box of the main window {main['name']!r}")
        p.screen.close_window(main["id"])
        time.sleep(1)
        if p.alive() and p.main_x_window() is not None:
            return self.note("  the close was refused (a dialog is open)")
        try:
            p.proc.wait(10)
        except Exception:
            raise Failure(f"after action {self.count}: the window closed but the program "
                          "did not end within 10 s")
        if p.exit_description() != "exited with status 0":
            raise Failure(f"after action {self.count}: closing the window: the program "
                          f"{p.exit_description()}\n{p.log()}")
        p.stop()
        pick = self.rng.choice(sorted(self.folder.glob("*.xml")))
        self.note(f"  the program ended; started again on {pick.name}")
        self.launch(pick)

    def note(self, description):
        self.count += 1
        self.actions.append(f"{self.count:5} {description}")
        if self.trail is not None:
            print(self.actions[-1], file=self.trail, flush=True)

    def check(self):
        began = time.monotonic()
        self.program.check_healthy(f"after action {self.count}")
        self.slowest = max(self.slowest, time.monotonic() - began)
        changed = self.files.changed()
        if changed:
            raise Failure(f"after action {self.count}: {changed} changed on disk without a save")

    def pin_rect(self):
        if not is_known("pin-ends-program"):
            return None
        button = self.program.button(text(185))
        return extents(button)

    def on_pin(self, x, y):
        if self.pin is None:
            return False
        px, py, pw, ph = self.pin
        return px - 2 <= x <= px + pw + 2 and py - 2 <= y <= py + ph + 2

    # --- file choosers, answered by the harness

    def answer_chooser(self):
        p = self.program
        rng = self.rng
        window = next((w for w in p.dialogs() if is_file_chooser(w)), None)
        if window is None:
            return
        offered = value(chooser_field(window))
        if rng.random() < 0.3:
            self.note(f"file chooser (offered {offered!r}): cancelled with Escape")
            self.cancel_chooser(window)
            return
        # A name that does not exist yet: a save chooser takes it, an open
        # chooser keeps its Open button disabled.
        snap = "(*.txt)" in chooser_filter(window)
        fresh = self.folder / (f"snap-{self.count}.txt" if snap else f"saved-{self.count}.xml")
        p.type_file_name(window, str(fresh))
        if "enabled" not in states(chooser_accept(window)):
            pick = rng.choice(sorted(f.name for f in self.folder.glob("*.xml")))
            self.note(f"open chooser: {pick}")
            p.choose_file(window, str(self.folder / pick))
            p.gone(window)
            self.answered["opened"] += 1
            return
        saved = sorted(self.folder.glob("snap-*.txt" if snap else "saved-*.xml"))
        target = rng.choice(saved) if saved and rng.random() < 0.4 else fresh
        self.note(f"save chooser (offered {offered!r}): {target.name}")
        before = self.files.digest(target)
        if target != fresh:
            p.type_file_name(window, str(target))
        p.screen.key("Return")
        if target != fresh:
            box = p.wait_for(lambda: [w for w in p.dialogs() if role(w) == "alert"], 5,
                             "the question to replace the file")[0]
            buttons = find_all(box, "push button")
            if rng.random() < 0.5:
                self.note("  replace? yes")
                p.click(buttons[0])
            else:
                self.note("  replace? no, then the chooser cancelled")
                p.click(buttons[1])
                p.gone(box)
                self.cancel_chooser(window)
                return
        p.gone(window)
        # The user saved: the file's new bytes are the ones to keep.
        deadline = time.monotonic() + 3
        while self.files.digest(target) == before and time.monotonic() < deadline:
            time.sleep(0.05)
        self.files.saved(target)
        self.saves += 1
        self.answered["saved"] += 1

    def cancel_chooser(self, window):
        self.program.click(chooser_field(window))
        self.program.screen.key("Escape")
        self.program.gone(window)
        self.answered["cancelled"] += 1

    # --- random actions

    def target(self):
        """A window of ours to act on: mostly the topmost, which is the one a
        modal dialog leaves the user."""
        windows = self.program.screen.windows(self.program.pid)
        if not windows:
            raise Failure(f"after action {self.count}: no window of the program is mapped")
        if self.rng.random() < 0.75:
            return windows[-1]
        return self.rng.choice(windows)

    def point(self, window):
        x = window["x"] + self.rng.randrange(max(1, window["w"]))
        y = window["y"] + self.rng.randrange(max(1, window["h"]))
        return x, y

    def control_point(self, window):
        """The middle of a random control of the window: a random walk down
        its accessibility tree (random points rarely hit the small ones)."""
        for top in self.program.top_levels():
            try:
                if extents(top) != (window["x"], window["y"], window["w"], window["h"]):
                    continue
            except Exception:
                continue
            current, path = top, []
            for _ in range(5):
                count = current.get_child_count()
                if count == 0 or (path and self.rng.random() < 0.25):
                    break
                for _ in range(3):
                    child = current.get_child_at_index(self.rng.randrange(count))
                    if child is not None and "showing" in states(child):
                        x, y, w, h = extents(child)
                        if w > 0 and h > 0:
                            current = child
                            path.append(f"{role(child)} {name(child)[:30]!r}")
                            break
                else:
                    break
            if path:
                return center(current), path[-1]
        return self.point(window), "a point"

    def act(self):
        rng = self.rng
        p = self.program
        screen = p.screen
        window = self.target()
        where = f"{window['name']!r}" + (" (pop-up)" if window["popup"] else "")
        kind = rng.choices(
            ["control", "click", "double", "right", "drag", "wheel", "key", "type", "hover",
             "close", "quit"], [30, 20, 6, 4, 8, 8, 16, 4, 6, 3, 1])[0]
        if kind == "control":
            try:
                (x, y), what = self.control_point(window)
            except GLib.Error:  # the window went away meanwhile
                (x, y), what = self.point(window), "a point"
            if self.on_pin(x, y):
                return self.note("skipped the pin (a known fault ends the program)")
            self.note(f"click {what} at {x},{y} in {where}")
            screen.click(x, y)
        elif kind in ("click", "double", "right"):
            x, y = self.point(window)
            if self.on_pin(x, y):
                return self.note("skipped the pin (a known fault ends the program)")
            self.note(f"{kind} click at {x},{y} in {where}")
            screen.click(x, y, number=3 if kind == "right" else 1,
                         count=2 if kind == "double" else 1)
        elif kind == "drag":
            x0, y0 = self.point(window)
            x1, y1 = x0 + rng.randint(-200, 200), y0 + rng.randint(-60, 60)
            if self.on_pin(x0, y0) or self.on_pin(x1, y1):
                return self.note("skipped a drag over the pin")
            self.note(f"drag {x0},{y0} -> {x1},{y1} in {where}")
            screen.drag(x0, y0, x1, y1)
        elif kind == "wheel":
            x, y = self.point(window)
            clicks = rng.choice([-5, -3, -1, 1, 2, 3, 6])
            self.note(f"wheel {clicks:+} at {x},{y} in {where}")
            screen.wheel(x, y, clicks)
        elif kind == "key":
            key = rng.choice(KEYS)
            mods = rng.choice(MODIFIERS)
            self.note(f"key {'+'.join([*mods, key])}")
            screen.key(key, mods)
        elif kind == "type":
            word = "".join(rng.choice("abcxyz019 #,.:/") for _ in range(rng.randint(1, 8)))
            self.note(f"type {word!r}")
            screen.type(word)
        elif kind == "hover":
            x, y = self.point(window)
            self.note(f"rest the pointer at {x},{y} in {where}")
            screen.move(x - 3, y)
            screen.move(x, y)
            time.sleep(0.6)
        elif kind == "quit":
            self.quit()
        elif kind == "close":
            if screen.pointer_grabbed():
                return self.note("close box out of reach: a pop-up holds the pointer")
            main = p.main_x_window()
            others = [w for w in screen.windows(p.pid)
                      if not w["popup"] and (main is None or w["id"] != main["id"])]
            if not others:
                return self.note("nothing to close but the main window")
            chosen = rng.choice(others)
            self.note(f"close box of {chosen['name']!r}")
            screen.close_window(chosen["id"])
        time.sleep(rng.choice([0.02, 0.05, 0.1, 0.2]))

    def report(self):
        return (f"{self.count} actions, {self.saves} saves, choosers {dict(self.answered)}, "
                f"slowest answer {self.slowest:.2f} s")


def main(argv):
    if len(argv) not in (2, 3):
        print("usage: monkey.py SECONDS [SEED]", file=sys.stderr)
        return 2
    seconds = float(argv[1])
    seed = int(argv[2]) if len(argv) == 3 else random.SystemRandom().randrange(1, 10**6)
    print(f"monkey: {seconds:g} s, seed {seed}", flush=True)
    session = Session(keep=os.environ.get("PAGELARK_PROGRAM_SHOTS"))
    monkey = Monkey(session, seed)
    try:
        monkey.run(seconds)
    except Exception as error:  # noqa: BLE001 - every failure is reported with the seed
        shot = session.shots / f"monkey-{seed}-failure.png"
        session.screen.screenshot(shot)
        print(f"monkey: FAILED with seed {seed}: {error}")
        if not isinstance(error, Failure):
            traceback.print_exc()
        print(f"monkey: the last {len(monkey.actions)} actions:")
        print("\n".join(monkey.actions))
        print(f"monkey: {monkey.report()}; screenshot {shot}")
        print(f"monkey: replay with: scripts/monkey {seconds:g} {seed}")
        session.close()
        print("0 passed, 1 failed")
        return 1
    print(f"monkey: seed {seed} passed: {monkey.report()}")
    session.close()
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
