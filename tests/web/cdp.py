"""A headless Chromium driven through the DevTools protocol over its pipe
(--remote-debugging-pipe: JSON messages ended by a NUL byte on file
descriptors 3 and 4), on Python's standard library alone; and a static server
for a folder on a free port of the loopback address."""
import base64
import functools
import http.server
import json
import os
import select
import shutil
import subprocess
import threading
import time

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--enable-unsafe-swiftshader", "--remote-debugging-pipe",
]


class Failure(Exception):
    pass


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    """Serves the folder on 127.0.0.1; answers the server and its address."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/" % server.server_address[1]


class Browser:
    """One headless Chromium with one page. The page's console lines (and
    "EXCEPTION ..." for what it throws) gather in `console` as they come."""

    def __init__(self, profile, width=1000, height=900):
        chromium = shutil.which("chromium")
        if not chromium:
            raise Failure("no chromium")
        to_r, self.to_w = os.pipe()
        self.from_r, from_w = os.pipe()

        def pipes():
            os.dup2(to_r, 3)
            os.dup2(from_w, 4)

        self.proc = subprocess.Popen(
            [chromium, *CHROMIUM_FLAGS, "--user-data-dir=" + profile, "--window-size=%d,%d" % (width, height),
             "about:blank"], pass_fds=(3, 4), preexec_fn=pipes, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_r)
        os.close(from_w)
        self.buf, self.next_id, self.events, self.console, self.session = b"", 0, [], [], None
        page = next(t for t in self.call("Target.getTargets")["targetInfos"] if t["type"] == "page")
        self.session = self.call("Target.attachToTarget", targetId=page["targetId"], flatten=True)["sessionId"]
        self.call("Page.enable")
        self.call("Runtime.enable")

    def close(self):
        try:
            self.call("Browser.close", timeout=10)
            self.proc.wait(timeout=10)
        except (Failure, subprocess.TimeoutExpired):
            self.proc.kill()
            self.proc.wait()
        os.close(self.to_w)
        os.close(self.from_r)

    def _read(self, deadline):
        while b"\0" not in self.buf:
            if time.monotonic() > deadline:
                raise Failure("no answer from chromium")
            if select.select([self.from_r], [], [], max(0, deadline - time.monotonic()))[0]:
                chunk = os.read(self.from_r, 1 << 20)
                if not chunk:
                    raise Failure("chromium went away")
                self.buf += chunk
        raw, self.buf = self.buf.split(b"\0", 1)
        message = json.loads(raw)
        if "method" in message:
            self.events.append(message)
            params = message["params"]
            if message["method"] == "Runtime.consoleAPICalled":
                self.console.append(" ".join(str(a.get("value", a.get("description", ""))) for a in params["args"]))
            elif message["method"] == "Runtime.exceptionThrown":
                details = params["exceptionDetails"]
                self.console.append("EXCEPTION " + details.get("exception", {}).get("description", details["text"]))
        return message

    def call(self, method, timeout=60, **params):
        """Sends a command to the browser (Target. and Browser.) or to the page."""
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session and not method.startswith(("Target.", "Browser.")):
            message["sessionId"] = self.session
        os.write(self.to_w, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            answer = self._read(deadline)
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise Failure("%s: %s" % (method, answer["error"]))
                return answer.get("result", {})

    def pump(self, seconds):
        """Lets the page run for a while, gathering what it says."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if b"\0" in self.buf or select.select([self.from_r], [], [], deadline - time.monotonic())[0]:
                self._read(deadline + 5)

    def wait_for(self, what, test, timeout=30):
        deadline = time.monotonic() + timeout
        while not test():
            if time.monotonic() > deadline:
                raise Failure("timed out waiting for " + what)
            self.pump(0.05)

    def eval(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise Failure("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def navigated(self, action):
        """Does what loads a page (a navigation, a reload, a click) and waits
        until it has loaded."""
        self.events.clear()
        action()
        self.wait_for("the page to load", lambda: any(e["method"] == "Page.loadEventFired" for e in self.events))

    def navigate(self, url):
        self.navigated(lambda: self.call("Page.navigate", url=url))

    def reload(self):
        self.navigated(lambda: self.call("Page.reload"))

    def screenshot(self, path, clip):
        """Saves the page's pixels inside clip (x, y, width, height) as PNG."""
        x, y, w, h = clip
        data = self.call("Page.captureScreenshot", format="png",
                         clip={"x": x, "y": y, "width": w, "height": h, "scale": 1})["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def key(self, code, key, vk, down):
        self.call("Input.dispatchKeyEvent", type="keyDown" if down else "keyUp", code=code, key=key,
                  windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk)

    def click(self, x, y, button="left"):
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, clickCount=1)
