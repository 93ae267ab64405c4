"""Two real stations on one computer find each other, light each other's lamps
and exchange a message over loopback. A registers B by "近くの局を探す" alone:
no address is typed on A. Both programs share one Xvfb; each has its own HOME,
set.ini and lamp. The fixed station ports cannot be shared, so each station is
pinned to its own loopback address with --station-address: A on 127.R.S.1,
B on 127.R.S.2, with R.S chosen free so that runs side by side never meet."""

import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

import lk72e2e


PAGE = (30, 70)  # the page host inside the main window
SCREEN = (1600, 1000)


def page(x, y):
    return PAGE[0] + x, PAGE[1] + y


# The network page.
SETTINGS_BUTTON = page(484 + 55, 14 + 18)
MESSAGE_BUTTON = page(600 + 55, 14 + 18)
TRANSFER_ALL = page(505 + 45, 200 + 25)
EXECUTE_ALL = page(605 + 45, 200 + 25)
RED, GREEN = 0, 1


def panel(i):
    return page(8 + i * 52 + 25, 14 + 25)


def slot_target(k):
    return page(160 + 21, 70 + (k - 1) * 52 + 21)


def slot_execute(k):
    return page(405 + 40, 70 + (k - 1) * 52 + 5 + 16)


# The settings panel, once in view.
def station_name_box(k):
    return page(60 + 70, 54 + (k - 1) * 38 + 12)


def station_address_box(k, part):
    return page(220 + part * 52 + 22, 54 + (k - 1) * 38 + 12)


OWN_NAME_BOX = page(60 + 70, 312 + 12)
SETTINGS_OK = page(590 + 50, 360 + 22)
FINDER_BUTTON = page(460 + 100, 170 + 16)

# The list of nearby stations (380 x 300).
FIRST_FOUND = (12 + 100, 56 + 10)
FINDER_CLOSE = (268 + 50, 250 + 16)
SEARCH_SECONDS = 2

# The message window (420 x 380).
def destination_box(k):
    return 12 + 11, 46 + (k - 1) * 30 + 12


MEMO = (210 + 99, 46 + 100)
MESSAGE_BOX = (12 + 148, 262 + 14)
SEND = (318 + 45, 256 + 19)
CLOSE = (318 + 45, 330 + 19)

LAMP_IDLE = 1.5  # seconds of quiet that count as "nothing arrived"


class Station:
    """One running program with its own HOME, set.ini and lamp."""

    def __init__(self, net, name, address, origin):
        self.net = net
        self.name = name
        self.address = address
        self.home = tempfile.mkdtemp(prefix=f"lk72net-{name}-")
        self.env = dict(net.env, HOME=self.home)
        self.lines = []
        self.late = []
        self.lamp = net.spawn([os.path.join(net.bindir, "lk72-lamp"), "--log"], self.env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, bufsize=1)
        first = self.lamp.stdout.readline().strip()
        assert first.startswith("device "), f"{name}'s lamp said {first!r}"
        work = os.path.join(self.home, "Documents", "LK-72Temp")
        os.makedirs(work)
        with open(os.path.join(work, "set.ini"), "wb") as f:
            f.write(f"[comport]\r\nname=0\r\ncom1={first.split(' ', 1)[1]}\r\n".encode("cp932"))
        self.stderr_path = os.path.join(self.home, "lk72.stderr")
        with open(self.stderr_path, "ab") as err:
            self.app = net.spawn([os.path.join(net.bindir, "lk72"), f"--station-address={address}"], self.env,
                                 stdout=subprocess.DEVNULL, stderr=err)
        # The splash has the same title: the main window is the one of its size.
        net.wait_for(lambda: self.main_window(), 60, f"{name}'s main window did not appear")
        time.sleep(2)  # the splash, of the same size, goes as the event loop starts
        self.window = net.wait_for(lambda: self.main_window(), 5, f"{name}'s main window went away")
        net.move(self.window, origin)
        self.chat = None

    def find_window(self, pattern):
        out = self.net.xdo("search", "--all", "--onlyvisible", "--pid", str(self.app.pid), "--name", pattern)
        return out.splitlines()[0] if out else None

    def main_window(self):
        if self.app.poll() is not None:
            raise AssertionError(lk72e2e.exit_report(self.app, self.stderr_path, f"{self.name}'s lk72"))
        out = self.net.xdo("search", "--all", "--onlyvisible", "--pid", str(self.app.pid), "--name", "^LK-72$")
        for w in out.splitlines():
            try:
                if w and self.net.geometry(w)[2:] == (780, 560):
                    return w
            except AssertionError:
                pass  # the splash went away meanwhile
        return None

    def named_windows(self):
        out = self.net.xdo("search", "--all", "--onlyvisible", "--pid", str(self.app.pid), "--name", ".*")
        return [w for w in out.splitlines() if w and self.net.xdo("getwindowname", w)]

    def boxes(self):
        """Open message boxes: named windows other than the main and message windows."""
        return [w for w in self.named_windows() if w not in (self.window, self.chat)]

    def click(self, point, window=None):
        self.net.focus(window or self.window)
        self.net.click_in(window or self.window, *point)

    def type_into(self, point, text, window=None):
        self.click(point, window)
        self.net.xdo("key", "ctrl+a")
        self.net.xdo("type", "--delay", "30", text)
        time.sleep(0.1)

    def key(self, name):
        self.net.xdo("key", name)
        time.sleep(0.15)

    def drag(self, start, end):
        """A real drag with the left button, slow enough for the drag to start."""
        ox, oy, _, _ = self.net.geometry(self.window)
        lk72e2e.move_pointer(self.net.xdo, ox + start[0], oy + start[1])
        self.net.xdo("mousedown", "1")
        time.sleep(0.1)
        for step in range(1, 11):
            x = start[0] + (end[0] - start[0]) * step // 10
            y = start[1] + (end[1] - start[1]) * step // 10
            lk72e2e.move_pointer(self.net.xdo, ox + x, oy + y)
            time.sleep(0.05)
        time.sleep(0.2)
        self.net.xdo("mouseup", "1")
        time.sleep(0.3)

    def read_lamp(self, count, seconds):
        out = self.lamp.stdout
        end = time.time() + seconds
        got = []
        while len(got) < count and time.time() < end:
            ready, _, _ = select.select([out], [], [], 0.1)
            if ready:
                line = out.readline().strip()
                if lk72e2e.tolerable_pause(line):
                    self.late.append(line)
                elif line:
                    got.append(line)
        self.lines += got
        return got

    def expect_lamp(self, line, why):
        got = self.read_lamp(1, 10)
        assert got == [line], f"{self.name}'s lamp: {why}: got {got}, expected {line!r}"

    def expect_quiet_lamp(self, why):
        got = self.read_lamp(1, LAMP_IDLE)
        assert got == [], f"{self.name}'s lamp: {why}: got {got}"

    def open_network_page(self):
        self.net.focus(self.window)
        for _ in range(7):  # STEP1 to STEP8, one page per F8
            self.key("F8")
        time.sleep(0.5)

    def apply_settings(self, peer_name, peer_address, own_name):
        self.click(SETTINGS_BUTTON)
        time.sleep(0.5)
        self.type_into(station_name_box(1), peer_name)
        for part, number in enumerate(peer_address.split(".")):
            self.type_into(station_address_box(1, part), number)
        self.type_into(OWN_NAME_BOX, own_name)
        self.click(SETTINGS_OK)
        time.sleep(0.3)

    def read_box(self, point):
        """A box's text, taken by selecting it all and copying it."""
        self.click(point)
        self.net.xdo("key", "ctrl+a")
        self.net.xdo("key", "ctrl+c")
        time.sleep(0.3)
        return self.net.clipboard().strip()

    def finder_window(self):
        out = self.net.xdo("search", "--all", "--onlyvisible", "--pid", str(self.app.pid), "--name", ".*")
        for w in out.splitlines():
            if w and w not in (self.window, self.chat) and self.net.geometry(w)[2:] == (380, 300):
                return w
        return None

    def find_and_register(self, peer_name, own_name):
        """Registers the station called peer_name with one choice in the list of nearby stations."""
        self.click(SETTINGS_BUTTON)
        time.sleep(0.5)
        self.type_into(OWN_NAME_BOX, own_name)
        for _ in range(3):  # a search on a loaded machine may miss a late answer: search again
            self.click(FINDER_BUTTON)
            dialog = self.net.wait_for(self.finder_window, 10, f"{self.name}'s list of nearby stations did not open")
            time.sleep(SEARCH_SECONDS + 0.5)
            self.net.focus(dialog)
            self.net.click_in(dialog, *FIRST_FOUND, repeat=2)
            self.click(FINDER_CLOSE, dialog)
            self.net.wait_for(lambda: not self.finder_window(), 5, f"{self.name}'s list did not close")
            if self.read_box(station_name_box(1)):
                break
        name = self.read_box(station_name_box(1))
        address = ".".join(self.read_box(station_address_box(1, part)) for part in range(4))
        self.click(SETTINGS_OK)
        time.sleep(0.3)
        return name, address

    def open_chat(self, origin):
        self.click(MESSAGE_BUTTON)
        self.chat = self.net.wait_for(lambda: self.chat_window(), 5, f"{self.name}'s message window did not open")
        self.net.move(self.chat, origin)
        time.sleep(0.3)

    def chat_window(self):
        out = self.net.xdo("search", "--all", "--onlyvisible", "--pid", str(self.app.pid), "--name", ".*")
        for w in out.splitlines():
            if w and w != self.window and self.net.geometry(w)[2:] == (420, 380):
                return w
        return None

    def chat_log(self):
        """The message window's log, taken by selecting it all and copying it."""
        self.click(MEMO, self.chat)
        self.net.xdo("key", "ctrl+a")
        self.net.xdo("key", "ctrl+c")
        time.sleep(0.3)
        return self.net.clipboard().splitlines()


class Classroom:
    """One Xvfb shared by two stations."""

    def __init__(self, bindir):
        self.bindir = bindir
        self.procs = []
        self.homes = []
        xvfb, self.display = lk72e2e.start_xvfb(SCREEN)
        self.procs.append(xvfb)
        self.env = dict(os.environ, DISPLAY=self.display, LANG="C.UTF-8")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("XDG_RUNTIME_DIR", None)
        a, b = lk72e2e.free_loopback(2)
        try:
            self.a = self.station("A", a, (0, 0))
            self.b = self.station("B", b, (800, 0))
        except BaseException:
            self.close()
            raise

    def station(self, name, address, origin):
        s = Station(self, name, address, origin)
        self.homes.append(s.home)
        return s

    def spawn(self, args, env, **kw):
        p = subprocess.Popen(args, env=env, **kw)
        self.procs.append(p)
        return p

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

    def geometry(self, window):
        geo = self.xdo("getwindowgeometry", "--shell", window)
        vals = dict(line.split("=") for line in geo.splitlines() if "=" in line)
        assert "X" in vals, f"window {window} has no geometry: {geo!r}"
        return int(vals["X"]), int(vals["Y"]), int(vals["WIDTH"]), int(vals["HEIGHT"])

    def move(self, window, origin):
        # Qt may still place a new window once more: move until it stays.
        for _ in range(20):
            self.xdo("windowmove", window, str(origin[0]), str(origin[1]))
            time.sleep(0.2)
            if self.geometry(window)[:2] == origin:
                return
        raise AssertionError(f"window {window} does not move to {origin}")

    def focus(self, window):
        # There is no window manager: the keyboard goes where it is sent.
        self.xdo("windowfocus", "--sync", window)
        time.sleep(0.1)

    def click_in(self, window, x, y, repeat=1):
        ox, oy, _, _ = self.geometry(window)
        lk72e2e.move_pointer(self.xdo, ox + x, oy + y)
        time.sleep(0.05)
        self.xdo("click", "--repeat", str(repeat), "--delay", "80", "1")
        time.sleep(0.2)

    def clipboard(self):
        read = "import tkinter\nr = tkinter.Tk()\nr.withdraw()\nprint(r.clipboard_get())\n"
        out = subprocess.run([sys.executable, "-c", read], env=self.env, capture_output=True, timeout=10)
        return out.stdout.decode("utf-8", "replace")

    def screenshot(self, name):
        path = os.path.join(tempfile.gettempdir(), f"lk72net-{name}.png")
        subprocess.run(["import", "-window", "root", path], env=self.env, capture_output=True)
        return path

    def close(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
        for home in self.homes:
            shutil.rmtree(home, ignore_errors=True)


def no_boxes(*stations):
    for s in stations:
        boxes = s.boxes()
        assert not boxes, f"{s.name} shows a message box: {[s.net.xdo('getwindowname', w) for w in boxes]}"


def lamps_light_each_other(room):
    a, b = room.a, room.b
    for s in (a, b):
        s.open_network_page()
    # B applies its name first: a station answers with the settings in force.
    b.apply_settings("taro", a.address, "hanako")
    found = a.find_and_register("hanako", "taro")
    assert found == ("hanako", b.address), f"A registered {found} from its list of nearby stations"
    no_boxes(a, b)

    # A: red on station 1 opens the link to B; its execute lights B's lamp.
    a.drag(panel(RED), slot_target(1))
    time.sleep(0.5)
    room.screenshot("1-a-linked")
    a.click(slot_execute(1))
    b.expect_lamp("direct-light 160", "A's execute for red 0.5 s")
    a.click(TRANSFER_ALL)
    b.expect_lamp("light-program 160" + " 223" * 19, "A's transfer to all")
    a.click(EXECUTE_ALL)
    b.expect_lamp("execute 6", "A's execute on all")
    a.expect_quiet_lamp("A's own lamp got what A sent to B")

    # B: green on station 1 lights A's lamp.
    b.drag(panel(GREEN), slot_target(1))
    time.sleep(0.5)
    b.click(slot_execute(1))
    a.expect_lamp("direct-light 168", "B's execute for green 0.5 s")
    b.expect_quiet_lamp("B's own lamp got what B sent to A")
    room.screenshot("2-both-linked")
    no_boxes(a, b)

    # A message from A appears in B's message window under A's registered name.
    b.open_chat((800, 590))
    a.open_chat((0, 590))
    a.click(destination_box(1), a.chat)
    time.sleep(0.8)
    a.type_into(MESSAGE_BOX, "hello B", a.chat)
    a.click(SEND, a.chat)
    time.sleep(0.8)
    room.screenshot("3-message")
    a_log, b_log = a.chat_log(), b.chat_log()
    assert a_log[:1] == ["[ taro ---> hanako ]接続"], f"A's log: {a_log}"
    assert len(a_log) == 2 and a_log[1].startswith("taro[") and a_log[1].endswith("]:hello B"), f"A's log: {a_log}"
    assert b_log[:1] == ["[ taro ---> hanako ]接続"], f"B's log: {b_log}"
    assert b_log[1:] == [a_log[1]], f"B's log does not show A's message under A's name: {b_log}"

    # A closes its window: B logs the closing of A's connection.
    a.click(CLOSE, a.chat)
    room.wait_for(lambda: not a.chat_window(), 5, "A's message window did not close")
    time.sleep(0.5)
    b_log = b.chat_log()
    assert b_log[2:] == ["[ taro ---> hanako ]切断"], f"B's log after A closed: {b_log}"
    room.screenshot("4-closed")
    no_boxes(a)
    for s in (a, b):
        warnings = [line for line in s.lines if line.startswith("warning")]
        assert not warnings, f"{s.name}'s lamp saw {warnings}"
        if s.late:
            print(f"pauses {s.name}'s lamp measured short but not left out: {s.late}")


def main():
    room = Classroom(sys.argv[1])
    try:
        lamps_light_each_other(room)
    except Exception:
        print("screenshot:", room.screenshot("failure"))
        room.close()
        raise
    room.close()
    print("e2e: 1 passed, 0 failed")


main()
