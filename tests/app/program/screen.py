"""Real X input (XTest) and the X view of a program's windows."""

import subprocess
import time

from Xlib import X, XK, display
from Xlib.ext import xtest


class ScreenError(AssertionError):
    pass


class Screen:
    """Real X input and the X view of the program's windows."""

    def __init__(self):
        self.d = display.Display()
        self.root = self.d.screen().root
        if not self.d.has_extension("XTEST"):
            raise ScreenError("the X server has no XTEST extension")
        self.pid_atom = self.d.intern_atom("_NET_WM_PID")

    def windows(self, pid):
        """Mapped top-level windows of pid, as dicts (id, name, x, y, w, h, popup)."""
        found = []
        for w in self.root.query_tree().children:
            try:
                attrs = w.get_attributes()
                if attrs.map_state != X.IsViewable:
                    continue
                prop = w.get_full_property(self.pid_atom, X.AnyPropertyType)
                if not prop or prop.value[0] != pid:
                    continue
                g = w.get_geometry()
                name = w.get_full_property(self.d.intern_atom("_NET_WM_NAME"), X.AnyPropertyType)
                title = name.value.decode("utf-8", "replace") if name else ""
                found.append({"id": w.id, "name": title, "x": g.x, "y": g.y, "w": g.width,
                              "h": g.height, "popup": bool(attrs.override_redirect)})
            except Exception:  # a window that went away while we looked
                continue
        return found

    def move(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=int(x), y=int(y))
        self.d.sync()

    def button(self, number, down):
        xtest.fake_input(self.d, X.ButtonPress if down else X.ButtonRelease, number)
        self.d.sync()

    def click(self, x, y, number=1, count=1):
        self.move(x, y)
        time.sleep(0.03)
        for i in range(count):
            self.button(number, True)
            self.button(number, False)
            if i + 1 < count:
                time.sleep(0.05)

    def drag(self, x0, y0, x1, y1, steps=8):
        self.move(x0, y0)
        time.sleep(0.03)
        self.button(1, True)
        for i in range(1, steps + 1):
            self.move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps)
            time.sleep(0.02)
        self.button(1, False)

    def word_drag(self, x0, y0, x1, y1, steps=8):
        """A double click held down and dragged: the selection grows by
        whole words, from the word under (x0, y0) to the one under (x1, y1)."""
        self.click(x0, y0)
        time.sleep(0.05)
        self.button(1, True)
        for i in range(1, steps + 1):
            self.move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps)
            time.sleep(0.02)
        self.button(1, False)

    def wheel(self, x, y, clicks):
        """Turns the wheel over (x, y): clicks > 0 scrolls down, < 0 up."""
        self.move(x, y)
        button = 5 if clicks > 0 else 4
        for _ in range(abs(clicks)):
            self.button(button, True)
            self.button(button, False)
            time.sleep(0.02)

    def keycode(self, keysym_name):
        keysym = XK.string_to_keysym(keysym_name)
        if keysym == 0:
            raise ScreenError(f"no keysym {keysym_name}")
        code = self.d.keysym_to_keycode(keysym)
        if code == 0:
            raise ScreenError(f"no key for {keysym_name}")
        # Whether the key needs Shift for this symbol.
        shifted = self.d.keycode_to_keysym(code, 0) != keysym
        return code, shifted

    def key(self, name, mods=()):
        """Presses one key by keysym name ("Return", "a", "Escape") with
        modifier keysym names ("Control_L", "Shift_L")."""
        code, shifted = self.keycode(name)
        mods = list(mods)
        if shifted and "Shift_L" not in mods:
            mods.append("Shift_L")
        mod_codes = [self.keycode(m)[0] for m in mods]
        for c in mod_codes:
            xtest.fake_input(self.d, X.KeyPress, c)
        xtest.fake_input(self.d, X.KeyPress, code)
        xtest.fake_input(self.d, X.KeyRelease, code)
        for c in reversed(mod_codes):
            xtest.fake_input(self.d, X.KeyRelease, c)
        self.d.sync()

    def type(self, text_):
        names = {" ": "space", "/": "slash", ".": "period", "-": "minus", "_": "underscore",
                 ":": "colon", "#": "numbersign", ",": "comma"}
        for ch in text_:
            self.key(names.get(ch, ch))
            time.sleep(0.01)

    def pointer_grabbed(self):
        """Whether a pop-up (an open menu) holds the pointer: clicks then go
        to it, and no close box on the screen can be reached."""
        status = self.root.grab_pointer(False, X.ButtonPressMask, X.GrabModeAsync,
                                        X.GrabModeAsync, X.NONE, X.NONE, X.CurrentTime)
        if status == X.GrabSuccess:
            self.d.ungrab_pointer(X.CurrentTime)
            self.d.sync()
            return False
        return True

    def pixels(self, x, y, w, h):
        """The screen's pixels in a rectangle, to compare looks."""
        return self.root.get_image(int(x), int(y), int(w), int(h), X.ZPixmap, 0xFFFFFFFF).data

    def close_window(self, window_id):
        """What a window manager sends when the user clicks a close box."""
        from Xlib.protocol import event
        window = self.d.create_resource_object("window", window_id)
        protocols = self.d.intern_atom("WM_PROTOCOLS")
        delete = self.d.intern_atom("WM_DELETE_WINDOW")
        message = event.ClientMessage(window=window, client_type=protocols,
                                      data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(message)
        self.d.sync()

    def resize(self, window_id, width, height):
        """What a window manager does when the user drags a window's edge."""
        window = self.d.create_resource_object("window", window_id)
        window.configure(width=int(width), height=int(height))
        self.d.sync()

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", str(path)], check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
