"""Network load on one station, all on loopback.

The real lk72 runs under a private Xvfb pinned to a loopback address of this
run's own (127.R.S.1) with its COM1 on the virtual lamp (lk72-lamp --log).
It registers five stations, 127.R.S.2 to 127.R.S.6, and accepts only registered
stations. A load generator then opens many connections to both station ports
from the first four (registered, as a class would) and 127.R.S.7 (not
registered): valid commands, chat messages, malformed texts, 1 MiB messages
and connections that stall or close half way. The fifth sends the ordered
stream: a station keeps a share of connections for each computer, so a busy
classmate never keeps it out.

Reported: messages handled, worst lateness of a 100 ms timer inside the
program, peak memory. Checked: the program lives and answers afterwards,
nothing from the stranger reached the lamp, every command of the registered
ordered stream reached the lamp whole and in order, the lamp saw no
interleaved bytes, and the program holds no connection after the load.
Exit status 0 when every check holds."""

import argparse
import asyncio
import os
import random
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
import lk72e2e  # noqa: E402

# Loopback addresses of this run's own, free of other runs' listeners.
STATION, *LOADERS, STEADY, STRANGER = lk72e2e.free_loopback(7)
REGISTERED = LOADERS + [STEADY]
COMMAND_PORT = 49153
MESSAGE_PORT = 49152
MIB = 1024 * 1024

PAGE = (30, 70)  # the page host inside the main window


def page(x, y):
    return PAGE[0] + x, PAGE[1] + y


SETTINGS_BUTTON = page(470 + 55, 14 + 18)
MESSAGE_BUTTON = page(590 + 55, 14 + 18)
OWN_NAME_BOX = page(60 + 70, 312 + 12)
REGISTERED_ONLY = page(460 + 12, 92 + 12)
SETTINGS_OK = page(590 + 50, 360 + 22)


def name_box(row):
    return page(60 + 70, 54 + row * 38 + 12)


def address_box(row, part):
    return page(220 + part * 52 + 22, 54 + row * 38 + 12)


# Codes of the registered ordered stream and of the stranger never overlap, so
# a line on the lamp tells who sent it.
ORDERED_CODES = list(range(160, 208))
STRANGER_CODES = list(range(208, 222))
BURST_COMMAND = "223"
BURST = 40  # well over the commands that may wait for the lamp


def program(code):
    return ",".join([str(code)] + ["223"] * 19)


def lamp_line(command):
    if command == "06":
        return "execute 6"
    if "," in command:
        return "light-program " + command.replace(",", " ")
    return f"direct-light {command}"


MALFORMED = [
    "abc", "1234", "16a", "161,162", "-5", "999,", " 161", "161 ", "0x10", "１６１", "06 ", "6\n",
    "161,223,223", ",,,,", "256", "1e3", "nan", "\x00\x01\x02", "ＬＥＤ", "[]:", "127.0.0.3", "]:[",
]
MALFORMED_BYTES = [b"\x81", b"\xff\xfe\xfd", b"\x82\xa0\x82", b"\xe3\x81\x82"]


class Station(lk72e2e.Session):
    """The program under load, its lamp and its display. The harness's session
    waits until the program has taken its clicks and keys, and judges the
    pauses from the record of the program's own write calls."""

    def __init__(self, bindir, workdir):
        self.bindir = bindir
        self.procs = []
        self.home = tempfile.mkdtemp(prefix="lk72load-", dir=workdir)
        self.xvfb, self.display = lk72e2e.start_xvfb((1280, 1024))
        self.procs.append(self.xvfb)
        self.env = dict(os.environ, HOME=self.home, DISPLAY=self.display, LANG="C.UTF-8", LK72_LOAD_PROBE="1")
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("XDG_RUNTIME_DIR", None)
        self.lamp = self.spawn([os.path.join(bindir, "lk72-lamp"), "--log"], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True, bufsize=1)
        first = self.lamp.stdout.readline().strip()
        assert first.startswith("device "), f"the lamp said {first!r}"
        self.device = first.split(" ", 1)[1]
        work = os.path.join(self.home, "Documents", "LK-72Temp")
        os.makedirs(work)
        with open(os.path.join(work, "set.ini"), "wb") as f:
            f.write(f"[comport]\r\nname=0\r\ncom1={self.device}\r\n".encode("cp932"))
        self.lamp_lines = []
        self.probe_lines = []
        self.wire_log = os.path.join(self.home, "wire.log")
        self.sync_file = os.path.join(self.home, "input-sync")
        self.stderr_path = os.path.join(self.home, "lk72.stderr")  # the probe reads the program's standard error
        open(self.sync_file, "w").close()
        self.sync_sent = 0
        self.keys_received = 0
        # The wire recorder notes each write call's time as the program makes
        # it; the sync file says when the program has taken the input sent.
        env = lk72e2e.recorded_env(self.env, bindir, self.wire_log, self.sync_file)
        # NETLOAD_WRAP="gdb -q -batch -ex run -ex bt --args" runs the program under a debugger.
        wrap = os.environ.get("NETLOAD_WRAP", "").split()
        self.app = self.spawn(wrap + [os.path.join(bindir, "lk72"), f"--station-address={STATION}"], env=env,
                              stdout=open("/tmp/lk72load-wrap.log", "w") if wrap else subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, bufsize=1)
        threading.Thread(target=self.collect, args=(self.lamp.stdout, self.lamp_lines), daemon=True).start()
        threading.Thread(target=self.collect, args=(self.app.stderr, self.probe_lines), daemon=True).start()
        self.window = self.wait_for(self.main_window, lk72e2e.DEADLINE, "the main window did not appear")
        self.xdo("windowactivate", "--sync", self.window)
        self.settle()

    @staticmethod
    def collect(stream, into):
        for line in stream:
            into.append((time.monotonic(), line.rstrip("\n")))

    def spawn(self, args, env=None, **kw):
        p = subprocess.Popen(args, env=env or self.env, **kw)
        self.procs.append(p)
        return p

    def main_window(self):
        if self.app.poll() is not None:
            raise AssertionError(f"the program ended (status {self.app.returncode})")
        mine = [] if os.environ.get("NETLOAD_WRAP") else ["--pid", str(self.app.pid)]
        out = self.xdo("search", "--all", "--onlyvisible", *mine, "--name", "^LK-72$")
        for w in out.splitlines():
            geo = self.xdo("getwindowgeometry", "--shell", w)
            if "WIDTH=780" in geo and "HEIGHT=560" in geo:
                return w
        return None

    def click_at(self, point):
        self.xdo("windowfocus", "--sync", self.window)
        self.click(*point)

    def type_into(self, point, text):
        self.click_at(point)
        self.xdo("key", "ctrl+a")
        self.type_text(text)

    def register(self):
        """STEP8, stations 1 to 5 = the registered addresses, only registered stations, then the message window."""
        self.xdo("windowfocus", "--sync", self.window)
        for _ in range(7):
            self.key("F8")
        self.click_at(SETTINGS_BUTTON)
        for row, address in enumerate(REGISTERED):
            self.type_into(name_box(row), f"hanako{row + 1}")
            for part, number in enumerate(address.split(".")):
                self.type_into(address_box(row, part), number)
        self.type_into(OWN_NAME_BOX, "taro")
        self.click_at(REGISTERED_ONLY)
        self.click_at(SETTINGS_OK)
        self.click_at(MESSAGE_BUTTON)
        self.wait_for(lambda: listening(MESSAGE_PORT), lk72e2e.DEADLINE, "the message window does not listen")

    def lamp_decoded(self):
        """What the lamp decoded so far, without the pauses it could not measure."""
        return [l for _, l in list(self.lamp_lines) if not l.startswith("unmeasured ")]

    def written(self):
        """What the program wrote to the lamp, judged with its own write times."""
        return lk72e2e.judge_record(self.bindir, self.env, self.wire_log, self.device)

    def peak_memory_kib(self):
        with open(f"/proc/{self.app.pid}/status") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
        return 0

    def screenshot(self, name):
        path = os.path.join(tempfile.gettempdir(), f"lk72load-{name}.png")
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
        shutil.rmtree(self.home, ignore_errors=True)


def listening(port):
    try:
        with socket.create_connection((STATION, port), timeout=1, source_address=(STEADY, 0)):
            return True
    except OSError:
        return False


class Load:
    """The generator: asyncio connections, each a small script of sends."""

    def __init__(self, scale, seconds, written, burst_drained):
        """`written()` is what the program has written to its lamp so far;
        `burst_drained()` says when it has taken or refused the whole burst."""
        self.scale = scale
        self.seconds = seconds
        self.written = written
        self.burst_drained = burst_drained
        self.burst_done = asyncio.Event()
        self.sent = 0            # messages written, whole or in part
        self.attempts = 0
        self.stranger_sent = 0
        self.burst_sent = 0
        self.ordered = []        # the registered ordered stream, as sent
        self.open_now = 0
        self.peak_open = 0
        self.connections = 0
        self.stop = None
        self.refused = {}        # errno of refused connects: count

    async def connect(self, source, port):
        loop = asyncio.get_running_loop()
        sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        sock.setblocking(False)
        sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        sock.bind((source, 0))
        try:
            await loop.sock_connect(sock, (STATION, port))
        except OSError as e:
            sock.close()
            key = (source, port, e.errno, round(time.monotonic() - self.began, 1))
            self.refused[key] = self.refused.get(key, 0) + 1
            return None
        self.connections += 1
        self.open_now += 1
        self.peak_open = max(self.peak_open, self.open_now)
        return sock

    def release(self, sock):
        self.open_now -= 1
        sock.close()

    async def send(self, sock, data):
        try:
            await asyncio.get_running_loop().sock_sendall(sock, data)
            self.sent += 1
            return True
        except OSError:
            return False

    async def pause(self, low, high):
        try:
            await asyncio.wait_for(self.stop.wait(), random.uniform(low, high))
        except asyncio.TimeoutError:
            pass
        return not self.stop.is_set()

    async def burst(self, count):
        """The registered station sends far more at once than the lamp can take,
        each command on a connection of its own so that none share a read."""
        async def one(source):
            sock = await self.connect(source, COMMAND_PORT)
            if sock:
                if await self.send(sock, BURST_COMMAND.encode()):
                    self.burst_sent += 1
                await asyncio.sleep(0.2)
                self.release(sock)
        await asyncio.gather(*(one(LOADERS[i % len(LOADERS)]) for i in range(count)))
        self.burst_done.set()

    async def until(self, condition, what):
        """Waits for the program's state, asked in a thread of its own."""
        end = time.monotonic() + lk72e2e.DEADLINE
        while not await asyncio.to_thread(condition):
            assert time.monotonic() < end, what
            await asyncio.sleep(0.2)  # each look decodes the whole write record

    async def ordered_stream(self, count):
        """One registered link; the order is checked. It starts once the program
        has taken or refused the whole burst, and sends each command once the
        program has written the one before to the lamp, so its queue never
        fills however slow the machine is."""
        await self.burst_done.wait()
        await self.until(self.burst_drained, "the burst was not drained")
        sock = await self.connect(STEADY, COMMAND_PORT)
        assert sock, f"the registered station cannot connect ({self.refused})"
        for i in range(count):
            if i % 25 == 24:
                text = "06"
            elif i % 15 == 14:
                text = program(ORDERED_CODES[i % len(ORDERED_CODES)])
            else:
                text = str(ORDERED_CODES[i % len(ORDERED_CODES)])
            line = lamp_line(text)
            before = self.written().count(line)
            if not await self.send(sock, text.encode("cp932")):
                break
            self.ordered.append(text)
            await self.until(lambda: self.written().count(line) > before, f"{text} was not written to the lamp")
        self.release(sock)

    async def chat(self, count, gap, malformed):
        source = random.choice(LOADERS)
        sock = await self.connect(source, MESSAGE_PORT)
        if not sock:
            return
        for i in range(count):
            if malformed:
                text = random.choice(MALFORMED).encode("cp932") if i % 3 else random.choice(MALFORMED_BYTES)
            else:
                text = f"{source}[12:00:{i % 60:02d}]:こんにちは {i}".encode("cp932")
            if not await self.send(sock, text) or not await self.pause(gap * 0.5, gap * 1.5):
                break
        self.release(sock)

    async def malformed_commands(self, count, gap):
        sock = await self.connect(random.choice(LOADERS), COMMAND_PORT)
        if not sock:
            return
        for i in range(count):
            text = random.choice(MALFORMED).encode("cp932") if i % 3 else random.choice(MALFORMED_BYTES)
            if not await self.send(sock, text) or not await self.pause(gap * 0.5, gap * 1.5):
                break
        self.release(sock)

    async def stranger(self, count, gap, port):
        """The unregistered station keeps trying: every attempt a fresh connection."""
        for i in range(count):
            sock = await self.connect(STRANGER, port)
            if sock:
                code = STRANGER_CODES[i % len(STRANGER_CODES)]
                if port == MESSAGE_PORT:
                    text = f"{STRANGER}[12:00:00]:だれ {i}"
                else:
                    text = ["06", str(code), program(code)][i % 3]
                if await self.send(sock, text.encode("cp932")):
                    self.stranger_sent += 1
                await asyncio.sleep(0.02)
                self.release(sock)
            self.attempts += 1
            if not await self.pause(gap * 0.5, gap * 1.5):
                break

    async def big(self, port, count):
        source = random.choice(LOADERS)
        sock = await self.connect(source, port)
        if not sock:
            return
        # Every piece of these looks like a message of its own: only the whole
        # may count, and it is far too large to be one.
        unit = f"{source}[12:00:00]:big".encode("cp932") if port == MESSAGE_PORT else b"223,"
        data = (unit * (MIB // len(unit) + 1))[:MIB]
        for _ in range(count):
            if not await self.send(sock, data) or not await self.pause(1, 3):
                break
        self.release(sock)

    async def silent(self):
        """Connects and never sends, until the end."""
        sock = await self.connect(random.choice(LOADERS), random.choice([COMMAND_PORT, MESSAGE_PORT]))
        if sock:
            await self.stop.wait()
            self.release(sock)

    async def stalled(self):
        """Sends half a message and stalls until the end."""
        port = random.choice([COMMAND_PORT, MESSAGE_PORT])
        source = random.choice(LOADERS)
        sock = await self.connect(source, port)
        if sock:
            await self.send(sock, b"162,223,2" if port == COMMAND_PORT else f"{source}[12:".encode())
            await self.stop.wait()
            self.release(sock)

    async def cut(self):
        """Starts a 1 MiB message and closes a third of the way through."""
        port = random.choice([COMMAND_PORT, MESSAGE_PORT])
        sock = await self.connect(random.choice(LOADERS), port)
        if sock:
            await self.send(sock, b"B" * (MIB // 3))
            await self.pause(0.5, 2)
            self.release(sock)

    async def run(self):
        self.stop = asyncio.Event()
        self.began = time.monotonic()
        s, t = self.scale, self.seconds
        # 200 connections at scale 1, about 10,000 messages, a third malformed.
        chats, bad_chats, bad_commands, strangers = int(45 * s), int(25 * s), int(30 * s), int(40 * s)
        per_conn = 10000 * s * 0.40 / chats, 10000 * s * 0.33 / (bad_chats + bad_commands), 10000 * s * 0.22 / strangers
        gaps = [t / n for n in per_conn]
        jobs = [self.ordered_stream(int((t - 3) / 0.33)), self.burst(BURST)]
        jobs += [self.chat(int(per_conn[0]), gaps[0], False) for _ in range(chats)]
        jobs += [self.chat(int(per_conn[1]), gaps[1], True) for _ in range(bad_chats)]
        jobs += [self.malformed_commands(int(per_conn[1]), gaps[1]) for _ in range(bad_commands)]
        jobs += [self.stranger(int(per_conn[2]), gaps[2], MESSAGE_PORT if i % 2 else COMMAND_PORT) for i in range(strangers)]
        jobs += [self.big(COMMAND_PORT if i % 2 else MESSAGE_PORT, 2) for i in range(max(2, int(8 * s)))]
        jobs += [self.silent() for _ in range(max(2, int(20 * s)))]
        jobs += [self.stalled() for _ in range(max(2, int(16 * s)))]
        jobs += [self.cut() for _ in range(max(2, int(15 * s)))]
        tasks = [asyncio.ensure_future(j) for j in jobs]
        await asyncio.sleep(t)
        self.stop.set()
        # The ordered stream ends by itself; everything else stops now.
        await tasks[0]
        await asyncio.wait_for(asyncio.gather(*tasks[1:], return_exceptions=True), 20)


PROBE = re.compile(r"lk72-probe late-ms=(-?\d+) commands=(\d+) commands-dropped=(\d+) messages=(\d+) "
                   r"messages-dropped=(\d+) connections=(\d+) refused=(\d+)(?: capped=(\d+))?")


def probe_values(station, since=0.0, until=None):
    values = []
    for at, line in list(station.probe_lines):
        m = PROBE.match(line)
        if m and at >= since and (until is None or at <= until):
            values.append(tuple(int(g or 0) for g in m.groups()))
    return values


def well_formed(line):
    if re.fullmatch(r"direct-light \d{1,3}", line) or line == "execute 6":
        return True
    return re.fullmatch(r"light-program( \d{1,3}){20}", line) is not None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("bindir")
    ap.add_argument("--seconds", type=float, default=60)
    ap.add_argument("--scale", type=float, default=1.0, help="share of the 200 connections")
    args = ap.parse_args()
    started = time.monotonic()
    station = Station(args.bindir, None)
    failures = []
    try:
        station.register()
        # The station answers its registered peer before the load starts.
        with socket.create_connection((STATION, COMMAND_PORT), source_address=(STEADY, 0)) as s:
            s.sendall(b"223")
        station.wait_for(lambda: "direct-light 223" in station.lamp_decoded(), lk72e2e.DEADLINE,
                         "the registered station's first command did not reach the lamp")
        before = len(station.lamp_decoded())

        def burst_drained():
            last = probe_values(station)[-1] if probe_values(station) else None
            burst = station.written()[0].count(lamp_line(BURST_COMMAND))
            return last is not None and burst + last[6] + last[7] >= load.burst_sent

        load = Load(args.scale, args.seconds, lambda: station.written()[0], burst_drained)
        load_start = time.monotonic()
        asyncio.run(load.run())
        load_end = time.monotonic()

        # The lamp drains what waited, then a fresh command still gets through,
        # after everything sent before it.
        expected = [lamp_line(c) for c in load.ordered] + ["direct-light 222"]
        with socket.create_connection((STATION, COMMAND_PORT), source_address=(STEADY, 0), timeout=5) as s:
            s.sendall(b"222")
            try:
                station.wait_for(lambda: "direct-light 222" in station.lamp_decoded()[before:]
                                 or station.app.poll() is not None, lk72e2e.DEADLINE, "")
            except AssertionError:
                failures.append("the fresh command after the load did not reach the lamp")
        alive = station.app.poll() is None
        if alive:
            station.settle()
        # Everything the program wrote, judged with its own write times; the
        # lamp must have decoded exactly that.
        written, short_pauses, judged = station.written()
        try:
            station.wait_for(lambda: len(station.lamp_decoded()) >= len(written), lk72e2e.DEADLINE, "")
        except AssertionError:
            pass
        decoded = station.lamp_decoded()
        if decoded != written:
            first = next((i for i, (a, b) in enumerate(zip(decoded, written)) if a != b), min(len(decoded), len(written)))
            failures.append(f"the lamp decoded {len(decoded)} lines, the program wrote {len(written)}; first difference "
                            f"at {first}: decoded {decoded[first:first + 2]}, written {written[first:first + 2]}")
        if short_pauses:
            failures.append(f"{len(short_pauses)} pauses the program kept short, first: {short_pauses[0]}")
        unmeasured = [l for _, l in list(station.lamp_lines) if l.startswith("unmeasured ")]
        peak = station.peak_memory_kib() if alive else 0
        got = station.lamp_decoded()[before:]
        during = probe_values(station, load_start, load_end + 1)
        # The program lets go of the load's connections in its own time: its
        # probe, once a second, says when it holds none.
        drained = time.monotonic()

        def let_go():
            fresh = probe_values(station, drained)
            return fresh and (fresh[-1][5] == 0 or station.app.poll() is not None) and fresh[-1]
        try:
            last = station.wait_for(let_go, lk72e2e.DEADLINE, "") if alive else None
        except AssertionError:
            last = None
        last = last or (probe_values(station)[-1] if probe_values(station) else None)
        burst = [l for l in got if l == lamp_line(BURST_COMMAND)]
        got = [l for l in got if l not in burst]
        refused = last[6] if last else 0
        # A connection beyond the station's cap is refused at once; the
        # command sent on it is lost to the sender, as with any refusal.
        capped = last[7] if last else 0
        if not len(burst) + refused <= load.burst_sent <= len(burst) + refused + capped:
            failures.append(f"of {load.burst_sent} commands sent at once {len(burst)} reached the lamp and "
                            f"{refused} were refused: the rest went missing")
        handled = (last[1] + last[2] + last[3] + last[4]) if last else 0

        if not alive:
            failures.append(f"the program ended during the load (status {station.app.returncode})")
        bad = [l for l in got if not well_formed(l)]
        if bad:
            failures.append(f"{len(bad)} lamp lines not whole commands, first: {bad[:3]}")
        leaked = [l for l in got if re.match(r"(direct-light|light-program) (2(0[89]|1\d|2[0-1]))\b", l)]
        if leaked:
            failures.append(f"{len(leaked)} commands of the unregistered station reached the lamp: {leaked[:3]}")
        if got != expected:
            missing = len(expected) - len(got)
            first = next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b), min(len(got), len(expected)))
            failures.append(f"the lamp saw {len(got)} commands, {len(expected)} sent in order ({missing} short); "
                            f"first difference at {first}: got {got[first:first + 2]}, sent {expected[first:first + 2]}")
        if last and last[5] != 0:
            failures.append(f"the program still holds {last[5]} connections after the load")

        print(f"load: {load.seconds:.0f} s, {load.connections} connections ({load.peak_open} open at once, "
              f"{load.attempts} attempts by the unregistered station), "
              f"{load.sent} messages sent ({load.stranger_sent} of them by the unregistered station)")
        if last:
            print(f"messages handled: {handled} (commands port {last[1]} read + {last[2]} dropped as too large, "
                  f"message port {last[3]} read + {last[4]} dropped)")
        if load.refused:
            print(f"connections refused (source, port, errno, s into the load): {sorted(load.refused.items())[:12]}")
        print(f"lamp: {len(got)} commands reached, {len(expected)} sent by the registered ordered stream; "
              f"burst of {load.burst_sent}: {len(burst)} reached, {refused} refused as too many waiting; "
              f"pauses judged at the sender: {judged}; not measured by the lamp: {len(unmeasured)}")
        if during:
            print(f"worst UI lateness: {max(v[0] for v in during)} ms (100 ms timer, {len(during)} one-second samples)")
        print(f"peak memory: {peak / 1024:.1f} MiB (VmHWM)")
        print(f"total time: {time.monotonic() - started:.0f} s")
    except Exception as e:
        failures.append(f"{type(e).__name__}: {e}")
        if station.app.poll() is not None:
            failures.append(f"the program ended (status {station.app.returncode})")
        if station.xvfb.poll() is not None:
            failures.append(f"the X server ended (status {station.xvfb.returncode})")
        for _, line in station.probe_lines[-5:]:
            print("program:", line)
        print("screenshot:", station.screenshot("failure"))
    finally:
        station.close()
    for f in failures:
        print("FAIL:", f)
    print("netload:", "passed" if not failures else "failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
