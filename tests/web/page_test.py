"""The game in headless Chromium, driven in real time through the DevTools
protocol, against the native game's own pictures of the same scenes drawn
under a virtual X server in this run (quarn-sim --gl, the same build and
world): the start, the menu and the editor after a click on the palette and
one on the map match apart from rasteriser differences. Walking moves the man;
the keypad zooms and the main row's 2 opens the editor; a painted and saved
tile is kept over a reload, and a save the browser could not store says so;
a newer default world is offered; a loaded map file is played and kept, and
the map downloads; sound starts with the first key, and a grenade is heard;
F9 and F10; Escape ends the game with painting never saved kept.

usage: page_test.py SITE_DIR NATIVE_BUILD_DIR WORK_DIR"""
import os
import re
import shutil
import subprocess
import sys
import time

import cdp

SITE, NATIVE, WORK = sys.argv[1:4]
W, H = 800, 600
TOLERANCE = 24        # a channel this close counts as the same colour
MATCH = 0.98          # the share of pixels that must be the same colour

KEYS = {  # name: (KeyboardEvent.code, key, Windows virtual-key code)
    "0": ("Digit0", "0", 0x30), "2": ("Digit2", "2", 0x32), "8": ("Digit8", "8", 0x38),
    "KP2": ("Numpad2", "2", 0x62), "KP8": ("Numpad8", "8", 0x68), "A": ("KeyA", "a", 0x41),
    "W": ("KeyW", "w", 0x57), "F9": ("F9", "F9", 0x78), "F10": ("F10", "F10", 0x79),
    "ESC": ("Escape", "Escape", 0x1B), "F6": ("F6", "F6", 0x75), "RETURN": ("Enter", "Enter", 0x0D),
    "TAB": ("Tab", "Tab", 0x09),
}
# the palette's tile 16 and 0, and a cell of the start chamber's empty air
TILE16, TILE0, CELL = (10, 30), (10, 10), (600, 200)
# where that cell lies on the screen at the start (a 56 x 75 pixel tile, at most)
CELL_BOX = (540, 140, 680, 280)
# the editor's labels: the tile number, the cell clicked, the tools
LABELS = (0, 305, 250, 415)


def fail(why):
    raise cdp.Failure(why)


def pixels(path):
    """The picture's RGB bytes, through ImageMagick."""
    ppm = subprocess.run(["convert-im6.q16", path, "-depth", "8", "ppm:-"], check=True,
                         capture_output=True).stdout
    head = ppm.split(b"\n", 3)
    if head[1] != b"%d %d" % (W, H):
        fail("%s is %s, not %d x %d" % (path, head[1].decode(), W, H))
    return head[3]


def differing(a, b, box=(0, 0, W, H)):
    """The pixels of box (x0, y0, x1, y1) whose colours differ, as (x, y)."""
    pa, pb = pixels(a), pixels(b)
    out = []
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        row = y * W * 3
        sa, sb = pa[row + x0 * 3:row + x1 * 3], pb[row + x0 * 3:row + x1 * 3]
        if sa == sb:
            continue
        for i in range(0, len(sa), 3):
            if (abs(sa[i] - sb[i]) > TOLERANCE or abs(sa[i + 1] - sb[i + 1]) > TOLERANCE
                    or abs(sa[i + 2] - sb[i + 2]) > TOLERANCE):
                out.append((x0 + i // 3, y))
    return out


def expect_match(a, b, what):
    d = len(differing(a, b))
    share = 1 - d / (W * H)
    print("%s: %.2f %% of pixels the same colour" % (what, 100 * share))
    if share < MATCH:
        fail("%s: only %.2f %% of pixels match (%s, %s)" % (what, 100 * share, a, b))


def expect_change(a, b, what, least=0.3):
    share = len(differing(a, b)) / (W * H)
    if share < least:
        fail("%s: only %.2f %% of the picture changed" % (what, 100 * share))


def native_pictures():
    """The native game's pictures of the start, the menu and the editor, drawn
    by quarn-sim --gl under a virtual X server."""
    world = os.path.join(WORK, "native-world")
    shutil.copytree(os.path.join(NATIVE, "data"), world)
    script = os.path.join(WORK, "native.keys")
    with open(script, "w") as f:
        f.write("400 0\n430 0\n500 2\n510 click %d %d\n520 click %d %d\n" % (*TILE16, *CELL))
    r, w = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "%dx%dx24" % (W, H),
                             "-nolisten", "tcp"], pass_fds=(w,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(w)
    try:
        display = b""
        while not display.endswith(b"\n"):   # closed early, the server would die writing the rest
            more = os.read(r, 64)
            if not more:
                break
            display += more
        display = display.decode().strip()
        if not display:
            fail("Xvfb did not start")
        shots = {"start": 399, "menu": 420, "editor": 530}
        args = []
        for name, frame in shots.items():
            args += ["--shot", str(frame), os.path.join(WORK, "native-%s.ppm" % name)]
        sim = subprocess.run([os.path.join(NATIVE, "tools/sim/quarn-sim"), "--gl", "--script", script,
                              "--frames", "540", *args], cwd=world,
                             env={**os.environ, "DISPLAY": ":" + display},
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if sim.returncode != 0:
            fail("quarn-sim --gl: " + sim.stderr[-300:])
    finally:
        os.close(r)
        xvfb.terminate()
        xvfb.wait()
    return {name: os.path.join(WORK, "native-%s.ppm" % name) for name in shots}


class Page:
    def __init__(self, browser):
        self.b, self.n = browser, 0
        self.origin = (0, 0)

    def load(self, url):
        self.b.navigate(url)
        self.started()

    def started(self):
        """Waits until the game runs and the man has landed; finds the canvas."""
        self.b.wait_for("the game's start", lambda: any("spawning triggers" in l for l in self.b.console))
        self.b.pump(1.5)
        rect = self.b.eval("(function(r) { return [r.x, r.y]; })"
                           "(document.getElementById('canvas').getBoundingClientRect())")
        self.origin = (rect[0], rect[1])

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

    def click(self, at, button="left"):
        self.b.click(self.origin[0] + at[0], self.origin[1] + at[1], button)
        self.b.pump(0.2)

    def line(self):
        return self.b.eval("document.getElementById('line').textContent")

    def line_bad(self):
        return self.b.eval("document.getElementById('line').className") == "bad"

    def wait_line(self, text):
        self.b.wait_for("the page's line to say " + text, lambda: text in self.line())

    def count(self, text):
        return sum(l.count(text) for l in self.b.console)

    def tile_x(self):
        """Player 0's tile column, as the A key prints it."""
        before = len(self.b.console)
        self.tap("A")
        self.b.wait_for("the position", lambda: any("X: " in l for l in self.b.console[before:]))
        return int(re.search(r"X: (\d+)", "\n".join(self.b.console[before:])).group(1))

    def sources_playing(self):
        return self.b.eval("(function(n) { for (var k in AL.currentCtx.sources)"
                           " n += AL.currentCtx.sources[k].state === 0x1012; return n; })(0)")

    def audio(self):
        return self.b.eval("typeof AL != 'undefined' && AL.currentCtx ? AL.currentCtx.audioCtx.state : 'none'")


def main():
    native = native_pictures()
    server, url = cdp.serve(SITE)
    downloads = os.path.join(WORK, "downloads")
    os.mkdir(downloads)
    b = cdp.Browser(os.path.join(WORK, "profile"))
    try:
        b.call("Browser.setDownloadBehavior", behavior="allow", downloadPath=downloads)
        p = Page(b)
        p.load(url)
        if p.audio() != "suspended":
            fail("sound runs before any key or click: %s" % p.audio())
        start = p.shot("start")
        expect_match(native["start"], start, "start")

        p.tap("0")
        p.b.pump(0.2)
        expect_match(native["menu"], p.shot("menu"), "menu")
        p.tap("0")
        if p.audio() != "running":
            fail("sound did not start with the first key: %s" % p.audio())

        # the keypad zooms in and out again, once a frame at the game's pace
        # of 125 frames a second; the editor stays off
        held = p.hold("KP2", 1.0)
        zoomed = p.shot("zoomed")
        p.hold("KP8", 1.0)
        rate = p.count("zoom in") / held
        if not 100 <= rate <= 140 or p.count("zoom out") < 100:
            fail("keypad 2 and 8: %.0f zoom in a second, %d zoom out" % (rate, p.count("zoom out")))
        print("keypad 2 held: %.0f frames a second" % rate)
        expect_change(start, zoomed, "zoomed in")
        expect_match(start, p.shot("zoomed-out"), "zoomed out again, no editor")

        # the main row's 2 opens the editor; a tile from the palette, painted
        p.tap("2")
        p.click(TILE16)
        p.click(CELL)
        editor = p.shot("editor")
        expect_match(native["editor"], editor, "editor")
        labels = differing(native["editor"], editor, LABELS)
        if len(labels) > 0.01 * (LABELS[2] - LABELS[0]) * (LABELS[3] - LABELS[1]):
            fail("the editor's labels differ from the native ones in %d pixels" % len(labels))
        p.hold("8", 0.1)
        p.wait_line("map\\phoebus.qnm kept in this browser")
        p.tap("2")
        painted = p.shot("painted")
        changed = differing(start, painted)
        inside = [d for d in changed if CELL_BOX[0] <= d[0] < CELL_BOX[2] and CELL_BOX[1] <= d[1] < CELL_BOX[3]]
        if len(inside) < 2000 or len(changed) - len(inside) > 2000:
            fail("the painting: %d pixels changed in the cell, %d elsewhere" % (len(inside), len(changed) - len(inside)))

        # walking moves the man; when the page loses the focus, the key held
        # is let go and he stops
        x0 = p.tile_x()
        b.key(*KEYS["W"], True)
        b.pump(1.0)
        x1 = p.tile_x()
        if x1 <= x0:
            fail("walking right took the man from tile column %d to %d" % (x0, x1))
        b.eval("window.dispatchEvent(new FocusEvent('blur')); true")
        b.pump(0.3)
        x2 = p.tile_x()
        b.pump(0.7)
        if p.tile_x() != x2:
            fail("the man walks on after the page lost the focus")
        b.key(*KEYS["W"], False)
        expect_change(painted, p.shot("walked"), "walked", least=0.05)
        if "map saved to map\\phoebus.qnm" not in "\n".join(p.b.console):
            fail("no console line for the save")

        # a grenade thrown is heard: a sound source plays
        p.tap("F6")
        b.key(*KEYS["RETURN"], True)
        playing = 0
        for _ in range(30):
            b.pump(0.1)
            playing = max(playing, p.sources_playing())
        b.key(*KEYS["RETURN"], False)
        if playing == 0:
            fail("no sound played while grenades were thrown")

        # the painted tile is kept over a reload
        b.console.clear()
        b.reload()
        p.started()
        expect_match(painted, p.shot("reloaded"), "reloaded with the painted tile")
        if len(differing(painted, p.shot("reloaded-cell"), CELL_BOX)) > 500:
            fail("the painted cell is not kept over a reload")

        # a save the browser cannot store (its storage full) is said to fail,
        # and is not kept
        b.eval("IDBObjectStore.prototype.realPut = IDBObjectStore.prototype.put;"
               "IDBObjectStore.prototype.put = function() {"
               " throw new DOMException('the disk is full', 'QuotaExceededError'); }; true")
        p.tap("2")
        p.click(TILE0)
        p.click(CELL)
        p.hold("8", 0.1)
        b.wait_for("the failed store", lambda: "not kept in this browser" in p.line())
        if not p.line_bad() or not any("not kept in this browser" in l for l in b.console):
            fail("a store that failed is not told on the page and the console: " + p.line())
        p.tap("2")
        b.eval("IDBObjectStore.prototype.put = IDBObjectStore.prototype.realPut; true")
        b.console.clear()
        b.reload()
        p.started()
        if len(differing(painted, p.shot("not-kept"), CELL_BOX)) > 500:
            fail("a store that failed changed what the browser keeps")

        # a map file: one of the wrong size is refused, an empty map is played,
        # kept and downloaded
        wrong = os.path.join(WORK, "wrong.qnm")
        empty = os.path.join(WORK, "empty.qnm")
        with open(wrong, "wb") as f:
            f.write(b"\0" * 1000)
        with open(empty, "wb") as f:
            f.write(b"\0" * 262144)
        doc = b.call("DOM.getDocument")["root"]["nodeId"]
        node = b.call("DOM.querySelector", nodeId=doc, selector="#load-map")["nodeId"]
        b.call("DOM.setFileInputFiles", nodeId=node, files=[wrong])
        b.wait_for("the refusal", lambda: "is not a map file" in p.line())
        loads = p.count("map map\\phoebus.qnm loaded")
        b.call("DOM.setFileInputFiles", nodeId=node, files=[empty])
        p.wait_line("map\\phoebus.qnm kept in this browser")
        if p.count("map map\\phoebus.qnm loaded") != loads + 1:
            fail("the loaded map was not reloaded by the game")
        p.b.pump(0.5)
        expect_change(painted, p.shot("empty-map"), "the empty map", least=0.3)
        b.eval("document.getElementById('download-map').click()")
        saved = os.path.join(downloads, "phoebus.qnm")
        b.wait_for("the download", lambda: os.path.exists(saved) and os.path.getsize(saved) == 262144)
        if open(saved, "rb").read() != b"\0" * 262144:
            fail("the downloaded map is not the map played")

        # a newer default world is offered; taking it brings the default back
        b.eval("new Promise(function(done) { FS.writeFile('/store/world', 'older');"
               " FS.syncfs(false, done); })")
        b.console.clear()
        b.reload()
        p.started()
        notice = b.eval("document.getElementById('notice').textContent")
        if "older default world" not in notice:
            fail("no offer of the newer world: " + notice)
        b.events.clear()
        b.eval("document.querySelector('#notice button').click()")
        b.wait_for("the page to load again",
                   lambda: any(e["method"] == "Page.loadEventFired" for e in b.events))
        b.console.clear()
        p.started()
        expect_match(start, p.shot("new-world"), "the new default world")

        # full screen and back to a 640 x 480 window
        p.tap("F9")
        b.wait_for("full screen", lambda: b.eval(
            "document.fullscreenElement === Module.canvas && Module.canvas.width === Math.round(innerWidth * devicePixelRatio)"))
        p.tap("F10")
        b.wait_for("the small window", lambda: b.eval(
            "!document.fullscreenElement && Module.canvas.width === 640 && Module.canvas.height === 480"))

        # the game's keys are kept from the page: Tab turns the man round and
        # leaves the focus where it was
        b.eval("document.getElementById('download-map').focus(); true")
        p.tap("TAB")
        if b.eval("document.activeElement.id") != "download-map":
            fail("Tab moved the page's focus")

        # Escape ends the game; painting never saved is kept beside the map
        p.tap("2")
        p.click(TILE16)
        p.click((400, 100))
        p.tap("ESC")
        b.wait_for("the end", lambda: "has ended" in b.eval("document.getElementById('notice').textContent"))
        p.wait_line("map\\phoebus.qnm.unsaved kept in this browser")
        text = "\n".join(b.console)
        if "unsaved painting saved to map\\phoebus.qnm.unsaved" not in text or \
                not text.rstrip().endswith("sound freed\nmasks freed"):
            fail("the shutdown lines: " + text[-300:])
        if b.eval("document.getElementById('download-unsaved').hidden"):
            fail("no button to download the painting never saved")
        errors = [l for l in b.console if l.startswith("EXCEPTION")]
        if errors:
            fail("exceptions in the page: %s" % errors)
    except cdp.Failure:
        print("--- console:\n" + "\n".join(b.console[-40:]), file=sys.stderr)
        raise
    finally:
        b.close()
        server.shutdown()
    print("web page: start, menu and editor as natively; walk, keypad zoom, editor, paint kept over "
          "a reload, failed store told, newer world offered, map files, sound, full screen, Escape")


if __name__ == "__main__":
    try:
        main()
    except cdp.Failure as e:
        print("FAIL: %s" % e, file=sys.stderr)
        sys.exit(1)
