"""End-to-end harness: the real lk72 under a private Xvfb, its COM1 on the
virtual lamp in --log mode, driven with real clicks and keys (xdotool)."""

import os
import random
import select
import shutil
import subprocess
import sys
import tempfile
import time


class Session:
    def __init__(self, bindir, lamps=1, comport=0):
        """`lamps` virtual lamps on COM1, COM2, ...; `comport` is set.ini's [comport] name."""
        self.bindir = bindir
        self.home = tempfile.mkdtemp(prefix="lk72e2e-")
        self.procs = []
        self.lines = []
        # Well above the low display numbers other sessions on the machine use.
        self.display = f":{random.randint(1001, 59999)}"
        self.env = dict(os.environ, HOME=self.home, DISPLAY=self.display, LANG="C.UTF-8")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("XDG_RUNTIME_DIR", None)
        xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(xvfb)
        self.wait_for(lambda: subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode == 0,
                      10, "Xvfb did not start")

        self.lamps = []
        self.devices = []
        for _ in range(lamps):
            lamp = subprocess.Popen([os.path.join(bindir, "lk72-lamp"), "--log"], stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, env=self.env, text=True, bufsize=1)
            self.procs.append(lamp)
            first = lamp.stdout.readline().strip()
            assert first.startswith("device "), f"lamp said {first!r}"
            self.lamps.append(lamp)
            self.devices.append(first.split(" ", 1)[1])
        self.lamp = self.lamps[0]
        self.device = self.devices[0]

        work = os.path.join(self.home, "Documents", "LK-72Temp")
        os.makedirs(work)
        keys = "".join(f"com{n + 1}={d}\r\n" for n, d in enumerate(self.devices))
        with open(os.path.join(work, "set.ini"), "wb") as f:
            f.write(f"[comport]\r\nname={comport}\r\n{keys}".encode("cp932"))

        self.app = subprocess.Popen([os.path.join(bindir, "lk72")], env=self.env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.procs.append(self.app)
        self.window = self.wait_for(lambda: self.find_window("^LK-72$"), 60, "the main window did not appear")
        time.sleep(0.8)  # the splash goes as the event loop starts
        self.xdo("windowactivate", "--sync", self.window)

    # --- helpers ---------------------------------------------------------
    def wait_for(self, probe, seconds, message):
        end = time.time() + seconds
        while time.time() < end:
            value = probe()
            if value:
                return value
            time.sleep(0.05)
        raise AssertionError(message)

    def xdo(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True).stdout.strip()

    def find_window(self, name):
        out = self.xdo("search", "--onlyvisible", "--name", name)
        return out.splitlines()[0] if out else None

    def window_origin(self):
        geo = self.xdo("getwindowgeometry", "--shell", self.window)
        vals = dict(line.split("=") for line in geo.splitlines() if "=" in line)
        return int(vals["X"]), int(vals["Y"])

    def click(self, x, y):
        """A real click at window coordinates (x, y)."""
        ox, oy = self.window_origin()
        self.xdo("mousemove", "--sync", str(ox + x), str(oy + y))
        time.sleep(0.05)
        self.xdo("click", "1")
        time.sleep(0.1)

    def key(self, name):
        self.xdo("key", "--window", self.window, name)
        time.sleep(0.15)

    def message_boxes(self):
        """Visible windows other than the main window (message boxes, dialogs)."""
        out = self.xdo("search", "--onlyvisible", "--pid", str(self.app.pid), "--name", ".*")
        # Qt keeps an unnamed leader window of the screen's size; it is no box.
        return [w for w in out.splitlines() if w and w != self.window and self.xdo("getwindowname", w)]

    def read_lamp(self, count, seconds=10, lamp=0):
        """Waits for `count` more decoded lines from lamp number `lamp` (0 is COM1)."""
        out = self.lamps[lamp].stdout
        end = time.time() + seconds
        got = []
        while len(got) < count and time.time() < end:
            ready, _, _ = select.select([out], [], [], 0.1)
            if ready:
                line = out.readline().strip()
                if line:
                    got.append(line)
        self.lines += got
        return got

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, capture_output=True)

    def close(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
        shutil.rmtree(self.home, ignore_errors=True)


    def window_geometry(self, window):
        geo = self.xdo("getwindowgeometry", "--shell", window)
        vals = dict(line.split("=") for line in geo.splitlines() if "=" in line)
        return int(vals["X"]), int(vals["Y"]), int(vals["WIDTH"]), int(vals["HEIGHT"])

    def click_in(self, window, x, y):
        """A real click at (x, y) inside another window of the program (a dialog)."""
        ox, oy, _, _ = self.window_geometry(window)
        self.xdo("mousemove", "--sync", str(ox + x), str(oy + y))
        time.sleep(0.05)
        self.xdo("click", "1")
        time.sleep(0.15)

    def type_text(self, text):
        self.xdo("type", "--delay", "30", text)
        time.sleep(0.1)


def run(test, **options):
    """Runs test(session); prints one closing line in the form CI reads."""
    bindir = sys.argv[1]
    session = Session(bindir, **options)
    try:
        test(session)
        warnings = [l for l in session.lines if l.startswith("warning")]
        assert not warnings, f"the lamp saw {warnings}"
    except Exception:
        session.screenshot(os.path.join(tempfile.gettempdir(), f"lk72e2e-{os.path.basename(sys.argv[0])}.png"))
        session.close()
        raise
    session.close()
    print("e2e: 1 passed, 0 failed")


def drag(s, start, end, steps=20):
    """A real drag in the main window: button down on `start`, moved in steps,
    released on `end`."""
    ox, oy = s.window_origin()

    def move(x, y):
        s.xdo("mousemove", "--sync", str(int(ox + x)), str(int(oy + y)))
        time.sleep(0.02)

    move(*start)
    s.xdo("mousedown", "1")
    time.sleep(0.05)
    for i in range(1, steps + 1):
        move(start[0] + (end[0] - start[0]) * i / steps, start[1] + (end[1] - start[1]) * i / steps)
    time.sleep(0.05)
    s.xdo("mouseup", "1")
    time.sleep(0.3)


def file_dialog(s, path):
    """Types a path into the open Qt file dialog's file name field and presses Return."""
    dialog = s.wait_for(lambda: s.message_boxes(), 5, "the file dialog did not open")[0]
    time.sleep(0.5)
    s.xdo("windowactivate", "--sync", dialog)
    s.xdo("key", "--window", dialog, "ctrl+a")
    s.type_text(path)
    # The name field's completer may take the first Return to close its list.
    for _ in range(2):
        s.xdo("key", "Return")
        if dialog not in s.wait_for(lambda: [s.message_boxes()], 1, "")[0]:
            break
        time.sleep(1)
    s.wait_for(lambda: not s.message_boxes(), 5, "the file dialog did not close")
    s.xdo("windowactivate", "--sync", s.window)
    time.sleep(0.3)
