import sys, time
sys.path.insert(0, "/work/wt/i23w/tests/app/program")
from harness import Session, text
from tree import find, find_all, name, role, value, extents, children, walk, states
s = Session(keep="/tmp/i23w-try/shots")
try:
    folder = s.folder()
    path = s.write(folder, "sample.xml", s.server.sample_list())
    p = s.start([path], folder=folder)
    p.wait_ready()
    p.click(p.button(text(181)))
    p.wait_for(lambda: p.x_window(text(197)), 5, "help")
    time.sleep(1)
    help_ = [w for w in p.top_levels() if name(w) == text(197)][0]
    item = p.wait_for(lambda: find(help_, None, "Picking a Filter on the page"), 5, "item")
    p.click(item)
    time.sleep(1)
    p.shot("/tmp/i23w-try/shots/help.png")
    p.screen.wheel(*[v + 300 for v in extents(help_)[:2]], 6)
    time.sleep(0.5)
    p.shot("/tmp/i23w-try/shots/help2.png")
finally:
    s.close()
