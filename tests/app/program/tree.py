"""Reading a program through its accessibility tree (AT-SPI)."""

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


def init_atspi():
    """Starts the accessibility bus of this D-Bus session before any program,
    so that the program finds it when it starts."""
    Atspi.init()
    desktop = Atspi.get_desktop(0)
    # Every read asks the program: a cached name or state would go stale, as
    # nothing here runs the loop that takes the program's change events.
    desktop.set_cache_mask(Atspi.Cache.NONE)
    desktop.get_child_count()


def drain_events():
    """Takes the events the accessibility bus sent meanwhile, so they do not
    pile up over a long run."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def children(acc):
    out = []
    try:
        count = acc.get_child_count()
    except Exception:
        return out
    for i in range(count):
        try:
            c = acc.get_child_at_index(i)
        except Exception:
            continue
        if c is not None:
            out.append(c)
    return out


def role(acc):
    try:
        return acc.get_role_name()
    except Exception:
        return ""


def name(acc):
    try:
        return acc.get_name() or ""
    except Exception:
        return ""


def states(acc):
    try:
        s = acc.get_state_set()
        return {Atspi.StateType(i).value_nick for i in range(Atspi.StateType.LAST_DEFINED)
                if s.contains(Atspi.StateType(i))}
    except Exception:
        return set()


def extents(acc):
    """(x, y, w, h) on the screen."""
    r = acc.get_extents(Atspi.CoordType.SCREEN)
    return r.x, r.y, r.width, r.height


def center(acc):
    x, y, w, h = extents(acc)
    return x + w // 2, y + h // 2


def walk(acc, depth=0, limit=30):
    yield acc
    if depth >= limit:
        return
    for c in children(acc):
        yield from walk(c, depth + 1, limit)


def find_all(acc, role_=None, name_=None, showing=False, limit=30):
    found = []
    for a in walk(acc, limit=limit):
        if role_ is not None and role(a) != role_:
            continue
        if name_ is not None and name(a) != name_:
            continue
        if showing and "showing" not in states(a):
            continue
        found.append(a)
    return found


def find(acc, role_=None, name_=None, showing=False):
    found = find_all(acc, role_, name_, showing)
    return found[0] if found else None


def value(acc):
    """The text inside an editable field."""
    try:
        return Atspi.Text.get_text(acc, 0, Atspi.Text.get_character_count(acc))
    except Exception:
        return ""
