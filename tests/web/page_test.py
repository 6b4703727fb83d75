"""The game in headless Chromium, driven in real time through the DevTools
protocol. The start, the menu and the editor match the native game's pictures
(WORK/native-*.ppm, of the clicks in WORK/native.keys) apart from rasteriser
differences, the editor's labels all but exactly. The game keeps its own pace;
walking moves the man and losing the focus lets his key go; the keypad zooms
and the main row's 2 opens the editor; a painted and saved tile is kept over a
reload, and a store the browser refuses is told; a newer default world is
offered; map files load and download; sound starts with the first key and is
heard; F9 and F10; Tab stays in the game; Escape ends it, painting never saved
kept.

usage: page_test.py SITE_DIR WORK_DIR"""
import os
import re
import subprocess
import sys
import time

import cdp

SITE, WORK = sys.argv[1:3]
W, H = 800, 600
TOLERANCE = 24        # a channel this close counts as the same colour
MATCH = 0.98          # the share of pixels that must be the same colour
KEYS = {  # name: (KeyboardEvent.code, key, Windows virtual-key code)
    "0": ("Digit0", "0", 0x30), "2": ("Digit2", "2", 0x32), "8": ("Digit8", "8", 0x38),
    "KP2": ("Numpad2", "2", 0x62), "KP8": ("Numpad8", "8", 0x68), "A": ("KeyA", "a", 0x41),
    "W": ("KeyW", "w", 0x57), "F6": ("F6", "F6", 0x75), "F9": ("F9", "F9", 0x78),
    "F10": ("F10", "F10", 0x79), "ESC": ("Escape", "Escape", 0x1B),
    "RETURN": ("Enter", "Enter", 0x0D), "TAB": ("Tab", "Tab", 0x09),
}
# the native clicks: the palette's tile 16, then a cell of the start chamber's air
TILE16, CELL = [(int(x), int(y)) for x, y in
                re.findall(r"click (\d+) (\d+)", open(os.path.join(WORK, "native.keys")).read())]
TILE0 = (10, 10)
CELL_BOX = (540, 140, 680, 280)   # where that cell shows at the start (56 x 75 pixels)
LABELS = (0, 305, 250, 415)       # the editor's labels: tile number, cell, tools


def check(ok, why):
    if not ok:
        raise cdp.Failure(why)


def pixels(path):
    ppm = subprocess.run(["convert-im6.q16", path, "-depth", "8", "ppm:-"], check=True,
                         capture_output=True).stdout
    head = ppm.split(b"\n", 3)
    check(head[1] == b"%d %d" % (W, H), "%s is not %d x %d" % (path, W, H))
    return head[3]


def differing(a, b, box=(0, 0, W, H)):
    """The pixels of box (x0, y0, x1, y1) whose colours differ, as (x, y)."""
    pa, pb, (x0, y0, x1, y1), out = pixels(a), pixels(b), box, []
    for y in range(y0, y1):
        sa, sb = (p[(y * W + x0) * 3:(y * W + x1) * 3] for p in (pa, pb))
        if sa != sb:
            out += [(x0 + i // 3, y) for i in range(0, len(sa), 3)
                    if max(abs(sa[i + c] - sb[i + c]) for c in range(3)) > TOLERANCE]
    return out


def same(a, b, what, box=(0, 0, W, H), share=MATCH):
    area = (box[2] - box[0]) * (box[3] - box[1])
    got = 1 - len(differing(a, b, box)) / area
    print("%s: %.2f %% of pixels the same colour" % (what, 100 * got))
    check(got >= share, "%s: only %.2f %% of pixels match (%s, %s)" % (what, 100 * got, a, b))


def changed(a, b, what, least):
    check(len(differing(a, b)) >= least * W * H, "%s: the picture hardly changed" % what)


class Page:
    def __init__(self, browser):
        self.b, self.n, self.origin = browser, 0, (0, 0)

    def started(self):
        """Waits until the game runs and the man has landed; finds the canvas."""
        self.b.wait_for("the game's start", lambda: self.count("spawning triggers"))
        self.b.pump(1.5)
        self.origin = tuple(self.js("(function(r) { return [r.x, r.y]; })"
                                    "(Module.canvas.getBoundingClientRect())"))

    def js(self, expression):
        return self.b.eval(expression)

    def el(self, name, what="textContent"):
        return self.js("document.getElementById('%s').%s" % (name, what))

    def shot(self, name):
        self.n += 1
        path = os.path.join(WORK, "web-%02d-%s.png" % (self.n, name))
        self.b.screenshot(path, (*self.origin, W, H))
        return path

    def hold(self, key, seconds):
        """Holds the key down; answers for how long it was."""
        self.b.key(*KEYS[key], True)
        t0 = time.monotonic()
        self.b.pump(seconds)
        self.b.key(*KEYS[key], False)
        held = time.monotonic() - t0
        self.b.pump(0.2)
        return held

    def tap(self, key):
        self.hold(key, 0.05)

    def click(self, at):
        self.b.click(self.origin[0] + at[0], self.origin[1] + at[1])
        self.b.pump(0.2)

    def says(self, text):
        self.b.wait_for("the page's line to say " + text, lambda: text in self.el("line"))

    def count(self, text):
        return sum(line.count(text) for line in self.b.console)

    def again(self, load):
        self.b.console.clear()
        load()
        self.started()

    def tile_x(self):
        """Player 0's tile column, as the A key prints it."""
        before = len(self.b.console)
        self.tap("A")
        self.b.wait_for("the position", lambda: "X: " in "".join(self.b.console[before:]))
        return int(re.search(r"X: (\d+)", "\n".join(self.b.console[before:])).group(1))


def play(b, p, url, native):
    p.again(lambda: b.navigate(url))
    audio = "AL.currentCtx.audioCtx.state"
    check(p.js(audio) == "suspended", "sound runs before any key or click")
    start = p.shot("start")
    same(native("start"), start, "start")
    p.tap("0")
    same(native("menu"), p.shot("menu"), "menu")
    p.tap("0")
    check(p.js(audio) == "running", "sound did not start with the first key")

    # the keypad zooms in and out again, once a frame at the game's pace of
    # 125 frames a second; the editor stays off
    held = p.hold("KP2", 1.0)
    changed(start, p.shot("zoomed"), "zoomed in", 0.3)
    p.hold("KP8", 1.0)
    rate = p.count("zoom in") / held
    print("keypad 2 held: %.0f frames a second" % rate)
    check(100 <= rate <= 140 and p.count("zoom out") >= 100, "keypad 2 and 8: %.0f zoom in a "
          "second, %d zoom out" % (rate, p.count("zoom out")))
    same(start, p.shot("zoomed-out"), "zoomed out again, no editor")

    # the main row's 2 opens the editor; a tile from the palette, painted, saved
    p.tap("2")
    p.click(TILE16)
    p.click(CELL)
    editor = p.shot("editor")
    same(native("editor"), editor, "editor")
    same(native("editor"), editor, "the editor's labels", LABELS, 0.99)
    p.hold("8", 0.1)
    p.says("map\\phoebus.qnm kept in this browser")
    p.tap("2")
    painted = p.shot("painted")
    outside = differing(start, painted)
    inside = [d for d in outside if CELL_BOX[0] <= d[0] < CELL_BOX[2] and CELL_BOX[1] <= d[1] < CELL_BOX[3]]
    check(len(inside) > 2000 and len(outside) - len(inside) < 2000, "the painting: %d pixels "
          "changed in the cell, %d elsewhere" % (len(inside), len(outside) - len(inside)))

    # walking moves the man; when the page loses the focus his key is let go
    x0 = p.tile_x()
    b.key(*KEYS["W"], True)
    b.pump(1.0)
    x1 = p.tile_x()
    check(x1 > x0, "walking right took the man from tile column %d to %d" % (x0, x1))
    p.js("window.dispatchEvent(new FocusEvent('blur'))")
    b.pump(0.3)
    x2 = p.tile_x()
    b.pump(0.7)
    check(p.tile_x() == x2, "the man walks on after the page lost the focus")
    b.key(*KEYS["W"], False)
    changed(painted, p.shot("walked"), "walked", 0.05)
    check(p.count("map saved to map\\phoebus.qnm"), "no console line for the save")

    # grenades thrown are heard: a sound source plays
    p.tap("F6")
    b.key(*KEYS["RETURN"], True)
    b.wait_for("a sound", lambda: p.js("(function(n) { for (var k in AL.currentCtx.sources)"
                                       " n += AL.currentCtx.sources[k].state === 0x1012; return n; })(0)"), 5)
    b.key(*KEYS["RETURN"], False)

    # the painted tile is kept over a reload
    p.again(b.reload)
    same(painted, p.shot("reloaded"), "reloaded with the painted tile")
    same(painted, p.shot("reloaded-cell"), "the painted cell", CELL_BOX)

    # a save the browser refuses to store (its disk full) is told, not kept
    p.js("IDBObjectStore.prototype.realPut = IDBObjectStore.prototype.put;"
         "IDBObjectStore.prototype.put = function() {"
         " throw new DOMException('the disk is full', 'QuotaExceededError'); }")
    p.tap("2")
    p.click(TILE0)
    p.click(CELL)
    p.hold("8", 0.1)
    p.says("not kept in this browser")
    check(p.el("line", "className") == "bad" and p.count("not kept in this browser: QuotaExceededError"),
          "a store that failed is not told on the page and the console")
    p.tap("2")
    p.js("IDBObjectStore.prototype.put = IDBObjectStore.prototype.realPut")
    p.again(b.reload)
    same(painted, p.shot("not-kept"), "the cell after a store that failed", CELL_BOX)

    # map files: one of the wrong size is refused, an empty map is played, kept
    # and downloaded
    files = {}
    for name, size in (("wrong.qnm", 1000), ("empty.qnm", 262144)):
        files[name] = os.path.join(WORK, name)
        with open(files[name], "wb") as f:
            f.write(b"\0" * size)
    node = b.call("DOM.querySelector", nodeId=b.call("DOM.getDocument")["root"]["nodeId"],
                  selector="#load-map")["nodeId"]
    b.call("DOM.setFileInputFiles", nodeId=node, files=[files["wrong.qnm"]])
    p.says("is not a map file")
    loads = p.count("map map\\phoebus.qnm loaded")
    b.call("DOM.setFileInputFiles", nodeId=node, files=[files["empty.qnm"]])
    p.says("map\\phoebus.qnm kept in this browser")
    check(p.count("map map\\phoebus.qnm loaded") == loads + 1, "the loaded map was not played")
    b.pump(0.3)
    changed(painted, p.shot("empty-map"), "the empty map", 0.3)
    p.el("download-map", "click()")
    saved = os.path.join(WORK, "downloads", "phoebus.qnm")
    b.wait_for("the download", lambda: os.path.exists(saved) and os.path.getsize(saved) == 262144)
    check(open(saved, "rb").read() == b"\0" * 262144, "the downloaded map is not the map played")

    # a newer default world is offered; taking it brings the default back
    p.js("new Promise(function(done) { FS.writeFile('/store/world', 'older'); FS.syncfs(false, done); })")
    p.again(b.reload)
    check("older default world" in p.el("notice"), "no offer of the newer world")
    p.again(lambda: b.navigated(lambda: p.js("document.querySelector('#notice button').click()")))
    same(start, p.shot("new-world"), "the new default world")

    # full screen, and back to a 640 x 480 window
    p.tap("F9")
    b.wait_for("full screen", lambda: p.js("document.fullscreenElement === Module.canvas && "
                                           "Module.canvas.width === Math.round(innerWidth * devicePixelRatio)"))
    p.tap("F10")
    b.wait_for("the small window", lambda: p.js("!document.fullscreenElement && "
                                                "Module.canvas.width === 640 && Module.canvas.height === 480"))

    # the game's keys are kept from the page: Tab leaves the focus where it was
    p.el("download-map", "focus()")
    p.tap("TAB")
    check(p.js("document.activeElement.id") == "download-map", "Tab moved the page's focus")

    # Escape ends the game; painting never saved is kept beside the map
    p.tap("2")
    p.click(TILE16)
    p.click((400, 100))
    p.tap("ESC")
    b.wait_for("the end", lambda: "has ended" in p.el("notice"))
    p.says("map\\phoebus.qnm.unsaved kept in this browser")
    text = "\n".join(b.console)
    check("unsaved painting saved to map\\phoebus.qnm.unsaved" in text and
          text.rstrip().endswith("sound freed\nmasks freed"), "the shutdown lines: " + text[-300:])
    check(not p.el("download-unsaved", "hidden"), "no button to download the painting never saved")
    check(not p.count("EXCEPTION"), "exceptions in the page")


def main():
    server, url = cdp.serve(SITE)
    os.makedirs(os.path.join(WORK, "downloads"))
    b = cdp.Browser(os.path.join(WORK, "profile"))
    try:
        b.call("Browser.setDownloadBehavior", behavior="allow", downloadPath=os.path.join(WORK, "downloads"))
        play(b, Page(b), url, lambda name: os.path.join(WORK, "native-%s.ppm" % name))
    except cdp.Failure as e:
        print("--- console:\n" + "\n".join(b.console[-40:]) + "\nFAIL: %s" % e, file=sys.stderr)
        sys.exit(1)
    finally:
        b.close()
        server.shutdown()
    print("web page: all checks passed")


if __name__ == "__main__":
    main()
