"""Two real stations on one computer find each other, light each other's lamps
and exchange a message over loopback. A registers B by "近くの局を探す" alone:
no address is typed on A. Both programs share one Xvfb; each has its own HOME,
set.ini and lamp. The fixed station ports cannot be shared, so each station is
pinned to its own loopback address with --station-address: A on 127.R.S.1,
B on 127.R.S.2, with R.S chosen free so that runs side by side never meet.
B does its part by keys alone: its settings, green placed on station 1 and
sent, its message window opened and closed."""

import os
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
FINDER_STATUS = ((12, 8), (356, 44))
FIRST_ROW = ((14, 58), (352, 18))

# The message window (420 x 380).
def destination_box(k):
    return 12 + 11, 46 + (k - 1) * 30 + 12


MEMO = (210 + 99, 46 + 100)
MESSAGE_BOX = (12 + 148, 262 + 14)
SEND = (318 + 45, 256 + 19)
CLOSE = (318 + 45, 330 + 19)

def established(local, remote, port):
    """Whether the kernel holds a connection from `local` to `remote`:`port`."""
    def hexed(address, port_number):
        return "".join(f"{int(part):02X}" for part in reversed(address.split("."))) + f":{port_number:04X}"
    with open("/proc/net/tcp") as f:
        rows = [line.split() for line in f.readlines()[1:]]
    return any(r[1].startswith(hexed(local, 0)[:9]) and r[2] == hexed(remote, port) and r[3] == "01" for r in rows)


COMMAND_PORT, MESSAGE_PORT = 49153, 49152


class Station(lk72e2e.Session):
    """One running program with its own HOME, set.ini, lamp and record of its
    writes, on the classroom's display. The harness's session does the rest:
    waiting until the program has taken its input, reading and judging the
    lamp. Its processes belong to the classroom, which ends them."""

    def __init__(self, room, name, address, origin):
        self.room = room
        self.name = name
        self.address = address
        self.bindir = room.bindir
        self.home = tempfile.mkdtemp(prefix=f"lk72net-{name}-")
        room.homes.append(self.home)
        self.procs = room.procs
        self.env = dict(room.env, HOME=self.home)
        self.lines = []
        self.unmeasured = []
        self.chat = None
        lamp, device, lines = lk72e2e.start_lamp(self.bindir, self.env)
        self.procs.append(lamp)
        self.lamps, self.devices, self.lamp_lines = [lamp], [device], [lines]
        self.lamp, self.device = lamp, device
        self.consumed, self.received = [0], [[]]
        self.wire_log = os.path.join(self.home, "wire.log")
        self.sync_file = os.path.join(self.home, "input-sync")
        work = os.path.join(self.home, "Documents", "LK-72Temp")
        os.makedirs(work)
        with open(os.path.join(work, "set.ini"), "wb") as f:
            f.write(f"[comport]\r\nname=0\r\ncom1={device}\r\n".encode("cp932"))
        self.start_program()
        self.move(self.window, origin)

    def move(self, window, origin):
        """Moves a window of this program. Qt may still place a new window once
        more: moved until it stands there once the program has taken the move."""
        def stays():
            self.xdo("windowmove", window, str(origin[0]), str(origin[1]))
            self.settle()
            return self.room.geometry(window)[:2] == origin
        self.wait_for(stays, lk72e2e.DEADLINE, f"window {window} does not move to {origin}")

    def main_window_or_exit(self):
        """This program's main window: another program's shares the display and the title."""
        if self.app.poll() is not None:
            raise AssertionError(lk72e2e.exit_report(self.app, self.stderr_path, f"{self.name}'s lk72"))
        out = self.xdo("search", "--all", "--onlyvisible", "--pid", str(self.app.pid), "--name", "^LK-72$")
        for w in out.splitlines():
            try:
                if w and self.room.geometry(w)[2:] == (780, 560):
                    return w
            except AssertionError:
                pass  # the window went away meanwhile
        return None

    def named_windows(self):
        out = self.xdo("search", "--all", "--onlyvisible", "--pid", str(self.app.pid), "--name", ".*")
        return [w for w in out.splitlines() if w and self.xdo("getwindowname", w)]

    def boxes(self):
        """Open message boxes: named windows other than the main and message windows."""
        return [w for w in self.named_windows() if w not in (self.window, self.chat)]

    def focus(self, window=None):
        # There is no window manager: the keyboard goes where it is sent.
        self.xdo("windowfocus", "--sync", window or self.window)

    def click_at(self, point, window=None):
        self.focus(window)
        self.click_in(window or self.window, *point)

    def type_into(self, point, text, window=None):
        self.click_at(point, window)
        self.xdo("key", "ctrl+a")
        self.type_text(text)

    def expect_lamp(self, line, why):
        got = self.read_lamp(1)
        assert got == [line], f"{self.name}'s lamp: {why}: got {got}, expected {line!r}"

    def expect_quiet_lamp(self, why):
        self.expect_nothing_sent(f"{self.name}'s program: {why}")

    def open_network_page(self):
        self.focus()
        for _ in range(7):  # STEP1 to STEP8, one page per F8
            self.key("F8")

    def apply_settings(self, peer_name, peer_address, own_name):
        self.click_at(SETTINGS_BUTTON)
        self.type_into(station_name_box(1), peer_name)
        for part, number in enumerate(peer_address.split(".")):
            self.type_into(station_address_box(1, part), number)
        self.type_into(OWN_NAME_BOX, own_name)
        self.click_at(SETTINGS_OK)
        self.settle()

    def tab(self, times, back=False):
        for _ in range(times):
            self.key("shift+Tab" if back else "Tab")

    # The page by keys: Tab runs the nine palette colours, ネット設定,
    # メッセージ, then each station's name, command, length and execute.
    PALETTE_TO_SETTINGS = 10

    def apply_settings_by_keys(self, peer_name, peer_address, own_name):
        self.focus()
        self.tab(self.PALETTE_TO_SETTINGS)
        self.key("Return")                  # the panel opens on station 1's name
        self.type_text(peer_name)
        for number in peer_address.split("."):
            self.key("Tab")                 # the next part, its text selected
            self.type_text(number)
        self.tab(6 * 5 - 4)                 # past stations 2 to 6 to 自分の名前
        self.type_text(own_name)
        self.key("Return")                  # Enter applies as OK; the keyboard is back on ネット設定
        self.settle()

    def light_station_1_by_keys(self, colour):
        """From ネット設定: picks palette colour `colour`, puts it on station 1
        (the first place it may go) and runs station 1."""
        self.focus()
        self.tab(self.PALETTE_TO_SETTINGS - 1 - colour, back=True)
        self.key("space")                   # held over station 1
        self.key("Return")                  # placed: the link opens, the keyboard is back on the colour
        self.settle()

    def copy_all(self, point, window=None):
        """A box's text, taken by selecting it all and copying it."""
        self.click_at(point, window)
        self.xdo("key", "ctrl+a")
        self.xdo("key", "ctrl+c")
        self.settle()
        return self.room.clipboard()

    def read_box(self, point):
        return self.copy_all(point).strip()

    def finder_window(self):
        out = self.xdo("search", "--all", "--onlyvisible", "--pid", str(self.app.pid), "--name", ".*")
        for w in out.splitlines():
            if w and w not in (self.window, self.chat) and self.room.geometry(w)[2:] == (380, 300):
                return w
        return None

    def search_done(self, dialog, searching):
        """The list of nearby stations shows a station, or its search has
        ended: the status line no longer shows what it showed at the start."""
        return (self.room.region(dialog, FIRST_ROW, "finder-row")[1] > 0.01
                or self.room.region(dialog, FINDER_STATUS, "finder-status")[0] != searching)

    def find_and_register(self, peer_name, own_name):
        """Registers the station called peer_name with one choice in the list of nearby stations."""
        self.click_at(SETTINGS_BUTTON)
        self.type_into(OWN_NAME_BOX, own_name)
        searching = None
        for _ in range(3):  # a search on a loaded machine may miss a late answer: search again
            self.click_at(FINDER_BUTTON)
            dialog = self.wait_for(self.finder_window, lk72e2e.DEADLINE,
                                   f"{self.name}'s list of nearby stations did not open")
            self.settle()
            if searching is None:
                searching = self.room.region(dialog, FINDER_STATUS, "finder-searching")[0]
            self.wait_for(lambda: self.search_done(dialog, searching), lk72e2e.DEADLINE,
                          f"{self.name}'s search for nearby stations did not end")
            self.focus(dialog)
            self.settle()
            ox, oy, _, _ = self.room.geometry(dialog)
            lk72e2e.move_pointer(self.xdo, ox + FIRST_FOUND[0], oy + FIRST_FOUND[1])
            self.xdo("click", "--repeat", "2", "--delay", "80", "1")
            self.click_at(FINDER_CLOSE, dialog)
            self.wait_for(lambda: not self.finder_window(), lk72e2e.DEADLINE, f"{self.name}'s list did not close")
            if self.read_box(station_name_box(1)):
                break
        name = self.read_box(station_name_box(1))
        address = ".".join(self.read_box(station_address_box(1, part)) for part in range(4))
        self.click_at(SETTINGS_OK)
        self.settle()
        return name, address

    def link_up(self, peer, port):
        """Waits until the link to `peer` is open and the program has seen it open."""
        self.wait_for(lambda: established(self.address, peer.address, port), lk72e2e.DEADLINE,
                      f"{self.name} did not connect to {peer.name}")
        self.settle()

    def open_chat(self, origin):
        self.click_at(MESSAGE_BUTTON)
        self.chat = self.wait_for(lambda: self.chat_window(), lk72e2e.DEADLINE,
                                  f"{self.name}'s message window did not open")
        self.move(self.chat, origin)

    def chat_window(self):
        out = self.xdo("search", "--all", "--onlyvisible", "--pid", str(self.app.pid), "--name", ".*")
        for w in out.splitlines():
            if w and w != self.window and self.room.geometry(w)[2:] == (420, 380):
                return w
        return None

    def chat_log(self):
        """The message window's log, taken by selecting it all and copying it."""
        return self.copy_all(MEMO, self.chat).splitlines()

    def chat_log_of(self, lines):
        """The message window's log once it holds `lines` lines."""
        def grown():
            log = self.chat_log()
            return log if len(log) >= lines else None
        return self.wait_for(grown, lk72e2e.DEADLINE, f"{self.name}'s log did not reach {lines} lines")


class Classroom:
    """One Xvfb shared by two stations."""

    def __init__(self, bindir):
        self.open_display(bindir, SCREEN)
        a, b = lk72e2e.free_loopback(2)
        try:
            self.a = self.station("A", a, (0, 0))
            self.b = self.station("B", b, (800, 0))
        except BaseException:
            self.close()
            raise

    def open_display(self, bindir, size):
        """The shared display of `size` and the environment every station starts from."""
        self.bindir = bindir
        self.procs = []
        self.homes = []
        xvfb, self.display = lk72e2e.start_xvfb(size)
        self.procs.append(xvfb)
        self.env = dict(os.environ, DISPLAY=self.display, LANG="C.UTF-8")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("XDG_RUNTIME_DIR", None)

    def station(self, name, address, origin):
        return Station(self, name, address, origin)

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

    def region(self, window, region, name):
        """The pixels of a region of `window` on a fresh screenshot, and how
        far they stray from one flat colour."""
        (x, y), (w, h) = region
        ox, oy, _, _ = self.geometry(window)
        path = self.screenshot(name)
        pixels = subprocess.run(["convert", path, "-crop", f"{w}x{h}+{ox + x}+{oy + y}", "+repage", "rgb:-"],
                                capture_output=True).stdout
        spread = subprocess.run(["convert", path, "-crop", f"{w}x{h}+{ox + x}+{oy + y}", "+repage",
                                 "-format", "%[fx:standard_deviation]", "info:"], capture_output=True, text=True).stdout
        return pixels, float(spread or 0)

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
        s.settle()
        boxes = s.boxes()
        assert not boxes, f"{s.name} shows a message box: {[s.xdo('getwindowname', w) for w in boxes]}"


def drag(s, start, end):
    s.focus()
    lk72e2e.drag(s, start, end, steps=10)


def lamps_light_each_other(room):
    a, b = room.a, room.b
    for s in (a, b):
        s.open_network_page()
    # B applies its name first: a station answers with the settings in force.
    b.apply_settings_by_keys("taro", a.address, "hanako")
    found = a.find_and_register("hanako", "taro")
    assert found == ("hanako", b.address), f"A registered {found} from its list of nearby stations"
    no_boxes(a, b)

    # A: red on station 1 opens the link to B; its execute lights B's lamp.
    drag(a, panel(RED), slot_target(1))
    a.link_up(b, COMMAND_PORT)
    room.screenshot("1-a-linked")
    a.click_at(slot_execute(1))
    b.expect_lamp("direct-light 160", "A's execute for red 0.5 s")
    a.click_at(TRANSFER_ALL)
    b.expect_lamp("light-program 160" + " 223" * 19, "A's transfer to all")
    a.click_at(EXECUTE_ALL)
    b.expect_lamp("execute 6", "A's execute on all")
    a.expect_quiet_lamp("A's own lamp got what A sent to B")

    # B, by keys: green on station 1 lights A's lamp.
    b.light_station_1_by_keys(GREEN)
    b.link_up(a, COMMAND_PORT)
    b.tab(14 - GREEN)                   # the colours after it, the two buttons, station 1's name, command, length, execute
    b.key("space")
    a.expect_lamp("direct-light 168", "B's execute for green 0.5 s")
    b.expect_quiet_lamp("B's own lamp got what B sent to A")
    room.screenshot("2-both-linked")
    no_boxes(a, b)

    # A message from A appears in B's message window under A's registered name.
    b.tab(4, back=True)                 # メッセージ
    b.key("Return")
    b.chat = b.wait_for(b.chat_window, lk72e2e.DEADLINE, "B's message window did not open by keys")
    b.move(b.chat, (800, 590))
    a.open_chat((0, 590))
    a.click_at(destination_box(1), a.chat)
    a.link_up(b, MESSAGE_PORT)
    a.type_into(MESSAGE_BOX, "hello B", a.chat)
    a.click_at(SEND, a.chat)
    a_log, b_log = a.chat_log_of(2), b.chat_log_of(2)
    room.screenshot("3-message")
    assert a_log[:1] == ["[ taro ---> hanako ]接続"], f"A's log: {a_log}"
    assert len(a_log) == 2 and a_log[1].startswith("taro[") and a_log[1].endswith("]:hello B"), f"A's log: {a_log}"
    assert b_log[:1] == ["[ taro ---> hanako ]接続"], f"B's log: {b_log}"
    assert b_log[1:] == [a_log[1]], f"B's log does not show A's message under A's name: {b_log}"

    # A closes its window: B logs the closing of A's connection.
    a.click_at(CLOSE, a.chat)
    room.wait_for(lambda: not a.chat_window(), lk72e2e.DEADLINE, "A's message window did not close")
    b_log = b.chat_log_of(3)
    assert b_log[2:] == ["[ taro ---> hanako ]切断"], f"B's log after A closed: {b_log}"
    room.screenshot("4-closed")
    no_boxes(a)
    # B leaves its message window by Escape.
    b.focus(b.chat)
    b.xdo("key", "--window", b.chat, "Escape")
    room.wait_for(lambda: not b.chat_window(), lk72e2e.DEADLINE, "Escape did not close B's message window")
    for s in (a, b):
        warnings = [line for line in s.received[0] if line.startswith("warning")]
        assert not warnings, f"{s.name}'s lamp saw {warnings}"
        judged = s.judge_wire()
        print(f"{s.name}: pauses judged at the sender: {judged}; not measured by the lamp: {len(s.unmeasured)}")


def run_room(room, test, shot):
    """Runs test(room); a failure leaves the screenshot `shot` behind."""
    try:
        test(room)
    except Exception:
        print("screenshot:", room.screenshot(shot))
        room.close()
        raise
    room.close()
    print("e2e: 1 passed, 0 failed")


def main():
    run_room(Classroom(sys.argv[1]), lamps_light_each_other, "failure")


if __name__ == "__main__":
    main()
