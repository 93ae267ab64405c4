"""End-to-end harness: the real lk72 under a private Xvfb, its COM1 on the
virtual lamp in --log mode, driven with real clicks and keys (xdotool)."""

import os
import queue
import random
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

STATION_PORTS = (49152, 49153, 49155)
# One long deadline for anything the program does: only a hang reaches it.
DEADLINE = 90


def start_xvfb(size):
    """A private X server, ready for clients when this returns. Returns
    (process, ":N").

    The display number is drawn at random from a wide range rather than taken
    as the lowest free one: a number another run has just given up may still be
    in the hands of its dying server, which then removes the new server's lock
    or socket as it goes. -displayfd says when the server accepts clients, and
    -noreset keeps it from resetting (and refusing clients meanwhile) each time
    its last client leaves."""
    for _ in range(20):
        number = random.randint(1000, 59999)
        read_end, write_end = os.pipe()
        # -r: no auto-repeat; a key the display still holds down (see
        # Session.key) must not type itself again and again.
        xvfb = subprocess.Popen(["Xvfb", f":{number}", "-displayfd", str(write_end), "-noreset", "-r",
                                 "-screen", "0", f"{size[0]}x{size[1]}x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            ready = pipe.readline().strip()  # empty when the server gave up (display in use)
        if ready:
            return xvfb, f":{number}"
        xvfb.wait()
    raise AssertionError("Xvfb did not start on any of 20 display numbers")


def free_loopback(count):
    """`count` consecutive loopback addresses 127.R.S.1, 127.R.S.2, ... whose
    station ports are free, so that test runs side by side never share a
    listener. Each program is pinned to one with --station-address."""
    for _ in range(200):
        base = f"127.{random.randint(16, 250)}.{random.randint(1, 250)}"
        addresses = [f"{base}.{i + 1}" for i in range(count)]
        if all(_port_free(a, p) for a in addresses for p in STATION_PORTS):
            return addresses
    raise AssertionError("no free loopback addresses for the station ports")


def _port_free(address, port):
    with socket.socket() as probe:
        try:
            probe.bind((address, port))
            return True
        except OSError:
            return False


def recorded_env(env, bindir, wire_log, sync_file):
    """The program's environment with the wire recorder preloaded and the
    input sync on. A program built with AddressSanitizer wants its runtime
    first among the libraries; the recorder only wraps write() and hands
    each call on, so the sanitizer is told not to insist."""
    asan = env.get("ASAN_OPTIONS", "")
    return dict(env, LD_PRELOAD=os.path.join(bindir, "liblk72wirerecorder.so"), LK72_WIRE_LOG=wire_log,
                LK72_INPUT_SYNC=sync_file, ASAN_OPTIONS=(asan + ":" if asan else "") + "verify_asan_link_order=0")


def move_pointer(xdo, x, y):
    """Moves the pointer to screen point (x, y) and waits until it is there.
    xdotool's --sync waits for the pointer to move, which it never does when it
    already stands there (several seconds lost on every such click)."""
    x, y = int(x), int(y)
    where = dict(line.split("=", 1) for line in xdo("getmouselocation", "--shell").splitlines() if "=" in line)
    if (where.get("X"), where.get("Y")) != (str(x), str(y)):
        xdo("mousemove", "--sync", str(x), str(y))


def start_lamp(bindir, env):
    """A virtual lamp in --log mode: (its process, its device, a queue of the
    lines it prints). A reader of its own per lamp: a line left in a file
    object's buffer is invisible to select(), and would be found late or never."""
    lamp = subprocess.Popen([os.path.join(bindir, "lk72-lamp"), "--log"], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, env=env, text=True, bufsize=1)
    first = lamp.stdout.readline().strip()
    assert first.startswith("device "), f"lamp said {first!r}"
    lines = queue.Queue()
    threading.Thread(target=lambda: [lines.put(l.strip()) for l in lamp.stdout], daemon=True).start()
    return lamp, first.split(" ", 1)[1], lines


def judge_record(bindir, env, wire_log, device):
    """What the program wrote to `device`, decoded from the wire recorder's
    record of its write calls with their own times: (lines, short-pause
    warnings, pauses judged)."""
    if not os.path.exists(wire_log):
        return [], [], 0
    out = subprocess.run([os.path.join(bindir, "lk72-lamp"), "--judge", wire_log, "--judge-device", device],
                         env=env, capture_output=True, text=True, check=True).stdout.splitlines()
    judged = int(re.fullmatch(r"pauses judged (\d+), short \d+", out[-1]).group(1))
    lines = out[:-1]
    return [l for l in lines if not l.startswith("warning")], [l for l in lines if l.startswith("warning")], judged


def exit_report(proc, stderr_path, what):
    """Why a program ended: its exit status and the last lines it wrote."""
    try:
        with open(stderr_path, errors="replace") as f:
            tail = f.read().splitlines()[-15:]
    except OSError:
        tail = []
    status = proc.poll()
    reason = f"signal {-status}" if status is not None and status < 0 else f"exit status {status}"
    return f"{what} ended ({reason}); its last lines:\n" + "\n".join(tail)


class Session:
    def __init__(self, bindir, lamps=1, comport=0):
        """`lamps` virtual lamps on COM1, COM2, ...; `comport` is set.ini's [comport] name."""
        self.bindir = bindir
        self.home = tempfile.mkdtemp(prefix="lk72e2e-")
        self.procs = []
        self.lines = []
        self.unmeasured = []  # pauses the lamp could not see; the sender's record judges them
        self.sync_sent = 0
        self.keys_received = 0
        try:
            self.start(lamps, comport)
        except BaseException:
            self.close()
            raise

    def start(self, lamps, comport):
        xvfb, self.display = start_xvfb((1280, 1024))
        self.procs.append(xvfb)
        self.env = dict(os.environ, HOME=self.home, DISPLAY=self.display, LANG="C.UTF-8")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("XDG_RUNTIME_DIR", None)

        self.lamps = []
        self.devices = []
        self.lamp_lines = []
        for _ in range(lamps):
            lamp, device, lines = start_lamp(self.bindir, self.env)
            self.procs.append(lamp)
            self.lamps.append(lamp)
            self.devices.append(device)
            self.lamp_lines.append(lines)
        self.lamp = self.lamps[0]
        self.device = self.devices[0]

        work = os.path.join(self.home, "Documents", "LK-72Temp")
        os.makedirs(work)
        keys = "".join(f"com{n + 1}={d}\r\n" for n, d in enumerate(self.devices))
        with open(os.path.join(work, "set.ini"), "wb") as f:
            f.write(f"[comport]\r\nname={comport}\r\n{keys}".encode("cp932"))

        self.consumed = [0] * lamps  # lamp lines each lamp has handed to the test
        self.received = [[] for _ in range(lamps)]
        self.wire_log = os.path.join(self.home, "wire.log")
        self.sync_file = os.path.join(self.home, "input-sync")
        self.address = free_loopback(1)[0]
        self.start_program()

    def start_program(self, *args):
        """Starts lk72 in this session's home; its standard error goes to a
        file, read back when it ends too early."""
        self.stderr_path = os.path.join(self.home, "lk72.stderr")
        # The wire recorder notes each write call's time as the program makes
        # it; the sync file says when the program has taken the input sent.
        env = recorded_env(self.env, self.bindir, self.wire_log, self.sync_file)
        open(self.sync_file, "w").close()
        self.sync_sent = 0
        self.keys_received = 0
        with open(self.stderr_path, "ab") as err:
            self.app = subprocess.Popen([os.path.join(self.bindir, "lk72"), f"--station-address={self.address}",
                                         *args], env=env, stdout=subprocess.DEVNULL, stderr=err)
        self.procs.append(self.app)
        self.window = self.wait_for(self.main_window_or_exit, DEADLINE, "the main window did not appear")
        self.xdo("windowactivate", "--sync", self.window)
        self.settle()

    # --- helpers ---------------------------------------------------------
    def settle(self):
        """Waits until the program has taken every click and key sent so far
        and waits for the next (no transfer or melody running, or a dialog
        open): a change of the LK72_SYNC property reaches it after them, and
        it answers in the sync file once it has handled them."""
        self.sync_sent += 1
        subprocess.run(["xprop", "-id", self.window, "-f", "LK72_SYNC", "32c", "-set", "LK72_SYNC",
                        str(self.sync_sent)], env=self.env, check=True, capture_output=True)

        def answered():
            if self.app.poll() is not None:
                raise AssertionError(exit_report(self.app, self.stderr_path, "lk72"))
            with open(self.sync_file) as f:
                lines = f.read().splitlines()
            # "idle N keys K": N property changes seen, K key presses received.
            last = lines[-1].split() if lines else []
            if len(last) == 4 and int(last[1]) >= self.sync_sent:
                self.keys_received = int(last[3])
                return True
            return False

        self.wait_for(answered, DEADLINE, "the program did not come back to wait for input")

    def wait_for(self, probe, seconds, message):
        end = time.time() + seconds
        while time.time() < end:
            value = probe()
            if value:
                return value
            time.sleep(0.05)
        raise AssertionError(message)

    def main_window_or_exit(self):
        if self.app.poll() is not None:
            raise AssertionError(exit_report(self.app, self.stderr_path, "lk72"))
        return self.find_window("^LK-72$")

    def xdo(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True).stdout.strip()

    def find_window(self, name):
        out = self.xdo("search", "--onlyvisible", "--name", name)
        return out.splitlines()[0] if out else None

    def window_origin(self):
        geo = self.xdo("getwindowgeometry", "--shell", self.window)
        vals = dict(line.split("=") for line in geo.splitlines() if "=" in line)
        return int(vals["X"]), int(vals["Y"])

    def click(self, x, y, settle=True):
        """A real click at window coordinates (x, y), once the program takes
        input; with settle=False at once (a click meant to come while the
        program is busy, as in the game)."""
        if settle:
            self.settle()
        ox, oy = self.window_origin()
        move_pointer(self.xdo, ox + x, oy + y)
        self.xdo("click", "1")

    def press(self, name):
        """Presses and releases `name` on the main window. When a window the
        key opens takes the keyboard between its press and its release,
        xdotool sends the release to the main window alone and the display
        still holds the key down: its next press would then come as a
        release only. The release the display itself gets clears that."""
        self.xdo("key", "--window", self.window, name)
        self.xdo("keyup", name)

    def return_to(self, window):
        """Return for `window` alone: once it has closed, a Return sent to
        wherever the keyboard is would press the button that has it."""
        self.xdo("key", "--window", window, "Return")
        self.xdo("keyup", "Return")

    def key(self, name, settle=True):
        """Presses `name` on the main window. Once the program takes input,
        the key is checked to have arrived, and sent again if the program
        saw nothing of it."""
        if not settle:
            self.press(name)
            return
        self.settle()
        before = self.keys_received
        for _ in range(3):
            self.press(name)
            self.settle()
            if self.keys_received > before:
                return
            print(f"the key {name} never reached the program; sent again", flush=True)
        raise AssertionError(f"the key {name} never reached the program")

    def message_boxes(self):
        """Visible windows other than the main window (message boxes, dialogs)."""
        out = self.xdo("search", "--onlyvisible", "--pid", str(self.app.pid), "--name", ".*")
        # Qt keeps an unnamed leader window of the screen's size; it is no box.
        return [w for w in out.splitlines() if w and w != self.window and self.xdo("getwindowname", w)]

    def read_lamp(self, count, seconds=DEADLINE, lamp=0, timed=False):
        """Waits for `count` more decoded lines from lamp number `lamp` (0 is
        COM1), at most `seconds`; with `timed`, each comes as (line, arrival
        time). Pauses the lamp could not see are kept aside in `unmeasured`."""
        got = self._receive(count, seconds, lamp)
        self.consumed[lamp] += len(got)
        self.lines += [line for line, _ in got]
        return got if timed else [line for line, _ in got]

    def _receive(self, count, seconds, lamp):
        end = time.time() + seconds
        got = []
        while len(got) < count and time.time() < end:
            try:
                line = self.lamp_lines[lamp].get(timeout=max(0.0, min(0.1, end - time.time())))
            except queue.Empty:
                continue
            if line.startswith("unmeasured "):
                self.unmeasured.append(line)
            elif line:
                got.append((line, time.time()))
                self.received[lamp].append(line)
        return got

    def sent(self, lamp=0):
        """What the program has written to lamp `lamp` so far, decoded from
        its write calls with their own times: (lines, short-pause warnings,
        pauses judged)."""
        return judge_record(self.bindir, self.env, self.wire_log, self.devices[lamp])

    def last_write_time(self, lamp=0):
        """When the program began its last write to lamp `lamp`, on the clock
        of time.monotonic()."""
        device = self.devices[lamp]
        with open(self.wire_log) as f:
            times = [int(line.split()[0]) for line in f if line.split()[1:2] == [device]]
        return times[-1] / 1e9

    def expect_nothing_sent(self, what, lamp=0):
        """Once the program has taken the input so far, it has written nothing
        to the lamp beyond the lines the test has already read."""
        self.settle()
        lines = self.sent(lamp)[0]
        assert len(lines) == self.consumed[lamp], f"{what} sent {lines[self.consumed[lamp]:]}"

    def judge_wire(self):
        """Every lamp got exactly what the program wrote to it, and every pause
        the protocol asks for was kept by the program. Returns the pauses judged."""
        total = 0
        for lamp in range(len(self.lamps)):
            lines, warnings, judged = self.sent(lamp)
            assert not warnings, f"the program's writes to lamp {lamp + 1}: {warnings}"
            missing = len(lines) - len(self.received[lamp])
            if missing > 0:
                self._receive(missing, DEADLINE, lamp)
            assert self.received[lamp] == lines, \
                f"lamp {lamp + 1} decoded {self.received[lamp]}, the program wrote {lines}"
            total += judged
        return total

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
        self.settle()
        ox, oy, _, _ = self.window_geometry(window)
        move_pointer(self.xdo, ox + x, oy + y)
        self.xdo("click", "1")

    def type_text(self, text):
        """Types `text`, which must be ASCII: xdotool types any other
        character by mapping it onto a spare key for a moment, and a busy
        program that reads the key after the mapping is undone gets nothing
        (a Japanese file name then arrives with holes in it)."""
        assert text.isascii(), f"cannot type {text!r} reliably: give the program an ASCII path or text"
        self.settle()
        self.xdo("type", "--delay", "30", text)


def run(test, **options):
    """Runs test(session); prints one closing line in the form CI reads."""
    bindir = sys.argv[1]
    session = Session(bindir, **options)
    try:
        test(session)
        warnings = [l for lamp in session.received for l in lamp if l.startswith("warning")]
        assert not warnings, f"the lamp saw {warnings}"
        judged = session.judge_wire()
        print(f"pauses judged at the sender: {judged}; not measured by the lamp: {len(session.unmeasured)}")
    except Exception:
        if session.app.poll() is not None:
            print(exit_report(session.app, session.stderr_path, "lk72"), file=sys.stderr)
        session.screenshot(os.path.join(tempfile.gettempdir(), f"lk72e2e-{os.path.basename(sys.argv[0])}.png"))
        session.close()
        raise
    session.close()
    print("e2e: 1 passed, 0 failed")


def drag(s, start, end, steps=20):
    """A real drag in the main window: button down on `start`, moved in steps,
    released on `end`. Once the drag has begun the program is inside it and
    takes the moves in order; each move only waits for the pointer."""
    s.settle()
    ox, oy = s.window_origin()

    def move(x, y):
        move_pointer(s.xdo, ox + x, oy + y)

    move(*start)
    s.xdo("mousedown", "1")
    for i in range(1, steps + 1):
        move(start[0] + (end[0] - start[0]) * i / steps, start[1] + (end[1] - start[1]) * i / steps)
    s.xdo("mouseup", "1")


def file_dialog(s, path):
    """Types a path into the open Qt file dialog's file name field and presses Return."""
    dialog = s.wait_for(lambda: s.message_boxes(), DEADLINE, "the file dialog did not open")[0]
    s.settle()
    s.xdo("windowactivate", "--sync", dialog)
    s.xdo("key", "--window", dialog, "ctrl+a")
    s.type_text(path)
    # The name field's completer may take the first Return to close its list.
    for _ in range(3):
        s.settle()
        if dialog not in s.message_boxes():
            break
        s.return_to(dialog)
    s.wait_for(lambda: not s.message_boxes(), DEADLINE, "the file dialog did not close")
    s.xdo("windowactivate", "--sync", s.window)
