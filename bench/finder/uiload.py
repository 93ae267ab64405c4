"""The finder's cost to the user-interface thread, all on loopback.

The real lk72 runs under a private Xvfb pinned to 127.0.0.2 (see
bench/netload) and shows STEP8, so its finder is open. Four phases of equal
length, each reported with the worst lateness of the program's 100 ms probe
timer (LK72_LOAD_PROBE) per second:

  idle       nothing happens;
  class      29 classmates on 127.0.0.3 to 127.0.0.31 search without pause
             (a question every 300 ms each, as a search repeats it);
  flood      one sender on 127.0.0.40 sends valid questions and malformed
             datagrams as fast as it can (capped at --rate per second);
  searching  the program itself searches every 3 s ("近くの局を探す", then
             closes the list), and the 29 classmates answer it.

Reported per phase: median and worst per-second lateness, answers the program
sent and datagrams it ignored (from the probe's counters); for "searching",
how many of the program's questions reached each classmate per search.
Nothing leaves the loopback addresses."""

import argparse
import os
import re
import socket
import statistics
import struct
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "netload"))
from netload import Station, STATION, page  # noqa: E402

FINDER_PORT = 49154
SETTINGS_BUTTON = page(470 + 55, 14 + 18)
FINDER_BUTTON = page(460 + 100, 170 + 16)
FINDER_CLOSE = (268 + 50, 250 + 16)
CLASSMATES = [f"127.0.0.{host}" for host in range(3, 32)]
FLOODER = "127.0.0.40"
PROBE = re.compile(r"lk72-probe late-ms=(-?\d+) .*finder-answered=(\d+) finder-ignored=(\d+)")


def datagram(kind, search_id, code="", name="", address=""):
    out = b"LK72" + bytes([1, kind]) + struct.pack(">I", search_id)
    for field in (code, name, address):
        raw = field.encode("utf-8")
        out += bytes([len(raw)]) + raw
    return out


def parse(data):
    """(kind, id, code, name, address) of a well-formed datagram, else None."""
    if len(data) < 13 or not data.startswith(b"LK72") or data[4] != 1:
        return None
    kind, search_id, at, fields = data[5], struct.unpack(">I", data[6:10])[0], 10, []
    for _ in range(3):
        if at >= len(data):
            return None
        n = data[at]
        fields.append(data[at + 1:at + 1 + n].decode("utf-8", "replace"))
        at += 1 + n
    return (kind, search_id, *fields)


class Classmates:
    """29 stations of this program played by sockets: they answer and they ask."""

    def __init__(self):
        self.socks = []
        for address in CLASSMATES:
            s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
            s.bind((address, FINDER_PORT))
            s.settimeout(0.05)
            self.socks.append(s)
        self.asking = False
        self.questions_seen = 0
        self.answers_got = 0
        self.stop = False
        self.threads = [threading.Thread(target=self.serve, args=(i,), daemon=True) for i in range(len(self.socks))]
        for t in self.threads:
            t.start()

    def serve(self, i):
        s, me, next_ask, search_id = self.socks[i], CLASSMATES[i], 0.0, 1000 * (i + 1)
        while not self.stop:
            now = time.monotonic()
            if self.asking and now >= next_ask:
                search_id += 1
                s.sendto(datagram(1, search_id), (STATION, FINDER_PORT))
                next_ask = now + 0.3
            try:
                data, sender = s.recvfrom(2048)
            except socket.timeout:
                continue
            d = parse(data)
            if d is None:
                continue
            if d[0] == 1:
                self.questions_seen += 1
                s.sendto(datagram(2, d[1], "", f"pupil{i + 3}", me), sender)
            elif d[0] == 2:
                self.answers_got += 1

    def close(self):
        self.stop = True
        for t in self.threads:
            t.join()
        for s in self.socks:
            s.close()


def flood(seconds, rate):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind((FLOODER, 0))
    s.setblocking(False)
    junk = [b"", b"06", b"161,223", b"LK72", b"LK72\x02" + bytes(20), b"x" * 1500,
            datagram(1, 5, "other"), datagram(2, 5, "", "x", "1.2.3")]
    sent, end, i = 0, time.monotonic() + seconds, 0
    while time.monotonic() < end:
        batch_start = time.monotonic()
        for _ in range(rate // 100):
            payload = datagram(1, i) if i % 3 == 0 else junk[i % len(junk)]
            try:
                s.sendto(payload, (STATION, FINDER_PORT))
                sent += 1
            except BlockingIOError:
                pass
            try:
                while True:
                    s.recvfrom(2048)
            except BlockingIOError:
                pass
            i += 1
        time.sleep(max(0.0, 0.01 - (time.monotonic() - batch_start)))
    s.close()
    return sent


def probe_in(station, start, end):
    values = []
    for at, line in list(station.probe_lines):
        m = PROBE.match(line)
        if m and start <= at <= end:
            values.append(tuple(int(g) for g in m.groups()))
    return values


def report(name, values, extra=""):
    if not values:
        print(f"{name:9s}: no probe lines")
        return
    late = [v[0] for v in values]
    answered = values[-1][1] - values[0][1]
    ignored = values[-1][2] - values[0][2]
    print(f"{name:9s}: late-ms median {statistics.median(late):.0f}, worst {max(late)}, over {len(late)} s; "
          f"answers sent {answered}, datagrams ignored {ignored}{extra}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("bindir")
    ap.add_argument("--seconds", type=int, default=15)
    ap.add_argument("--rate", type=int, default=5000)
    args = ap.parse_args()
    station = Station(args.bindir, None)
    classmates = None
    try:
        station.xdo("windowfocus", "--sync", station.window)
        for _ in range(7):
            station.xdo("key", "F8")
            time.sleep(0.15)
        time.sleep(1)
        classmates = Classmates()
        phases = []

        start = time.monotonic()
        time.sleep(args.seconds)
        phases.append(("idle", start, time.monotonic(), ""))

        start = time.monotonic()
        classmates.asking = True
        time.sleep(args.seconds)
        classmates.asking = False
        phases.append(("class", start, time.monotonic(), f", classmates' answers {classmates.answers_got}"))

        start = time.monotonic()
        sent = flood(args.seconds, args.rate)
        phases.append(("flood", start, time.monotonic(), f", datagrams sent {sent}"))

        station.click(SETTINGS_BUTTON)
        time.sleep(0.5)
        start, seen, searches = time.monotonic(), classmates.questions_seen, 0
        while time.monotonic() - start < args.seconds:
            station.click(FINDER_BUTTON)
            time.sleep(2.5)
            dialog = None
            for w in station.xdo("search", "--all", "--onlyvisible", "--pid", str(station.app.pid), "--name", ".*").split():
                geo = station.xdo("getwindowgeometry", "--shell", w)
                if "WIDTH=380" in geo and "HEIGHT=300" in geo:
                    dialog = w
            if dialog and searches == 0:
                print("list after the first search:", station.screenshot("finder-list"))
            if dialog:
                geo = dict(l.split("=") for l in station.xdo("getwindowgeometry", "--shell", dialog).splitlines() if "=" in l)
                station.xdo("mousemove", "--sync", str(int(geo["X"]) + FINDER_CLOSE[0]), str(int(geo["Y"]) + FINDER_CLOSE[1]))
                station.xdo("click", "1")
            searches += 1
            time.sleep(0.3)
        phases.append(("searching", start, time.monotonic(),
                       f", {searches} searches, questions reaching each classmate per search "
                       f"{(classmates.questions_seen - seen) / max(1, searches) / len(CLASSMATES):.1f}"))
        time.sleep(1.5)
        for name, s, e, extra in phases:
            # A probe line tells of the second before it: only lines wholly inside the phase count.
            report(name, probe_in(station, s + 1.0, e), extra)
        alive = station.app.poll() is None
        print(f"program alive afterwards: {alive}")
        return 0 if alive else 1
    finally:
        if classmates:
            classmates.close()
        station.close()


if __name__ == "__main__":
    sys.exit(main())
