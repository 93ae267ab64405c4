"""A teacher's station and three pupils on loopback addresses, on the real
windows. The pupils join class 3A on the network page: taro takes commands
from everyone, hanako only from the registered teacher, jiro from nobody.
The teacher's view, opened from the network page, lists all four with their
receive modes and the lessons they show. The teacher's STEP3 program sent to
everyone reaches taro and hanako on their STEP3 screens, and each one's own
earlier work is kept as a file the read button opens; jiro's screen is left
alone. A collection brings exactly taro's and hanako's records into one
folder, byte for byte what their save buttons write; one of them opened on
the teacher's screen shows in the teacher's STEP3, the teacher's own kept."""

import datetime
import glob
import os
import subprocess
import sys

import lk72e2e
import e2e_network as net

SCREEN = (2400, 1200)
CLASS = "3A"

# STEP3's read and save buttons.
STEP3_READ = net.page(16 + 45, 8 + 25)
STEP3_SAVE = net.page(112 + 45, 8 + 25)
# The network page's settings panel and the way to the teacher's view.
CLASS_CODE_BOX = net.page(220 + 50, 312 + 12)
RADIO = {1: net.page(460 + 20, 60 + 12), 2: net.page(460 + 20, 92 + 12), 3: net.page(460 + 20, 124 + 12)}
TEACHER_BUTTON = net.page(505 + 95, 270 + 16)
MODE_TEXT = {1: "すべて受け付ける", 2: "登録した相手だけ", 3: "受け付けない"}


def step3_record(kind, item):
    """A STEP3 record as the save button writes it: one block in slot 1."""
    lines = ["STEP3", str(kind)] + ["0"] * 19 + [str(item)] + ["-1"] * 19
    return ("\r\n".join(lines) + "\r\n").encode("cp932")


def read_file(path):
    with open(path, "rb") as f:
        return f.read()


class Pupil(net.Station):
    view = None  # the teacher's view, once open: a window of its own, not a dialog

    def boxes(self):
        return [w for w in super().boxes() if w != self.view]

    def work_folder(self):
        return os.path.join(self.home, "Documents", "LK-72Temp")

    def go(self, presses, key):
        self.focus()
        for _ in range(presses):
            self.key(key)

    def dialog(self, path):
        """Types `path` into the file dialog this program has open and presses Return."""
        dialog = self.wait_for(self.boxes, lk72e2e.DEADLINE, f"{self.name}'s file dialog did not open")[0]
        self.settle()
        self.focus(dialog)
        self.xdo("key", "ctrl+a")
        self.type_text(path)
        for _ in range(3):  # the name field's completer may take the first Return
            self.settle()
            if dialog not in self.boxes():
                break
            self.return_to(dialog)

        def closed():
            return not self.boxes()
        if not self.wait_for_or_none(closed):
            names = [self.xdo("getwindowname", w) for w in self.boxes()]
            raise AssertionError(f"{self.name}'s file dialog did not close; open: {names}")
        self.focus()

    def wait_for_or_none(self, probe):
        try:
            return self.wait_for(probe, lk72e2e.DEADLINE, "")
        except AssertionError:
            return None

    def read_step3(self, path):
        self.click_at(STEP3_READ)
        self.dialog(path)

    def save_step3(self, name):
        path = os.path.join(self.home, "Documents", name)
        self.click_at(STEP3_SAVE)
        self.dialog(path)
        self.wait_for(lambda: os.path.exists(path), lk72e2e.DEADLINE, f"{self.name}'s save button wrote no file")
        return read_file(path)

    def join_class(self, own_name, mode, teacher=None):
        """On the network page: own name, class code, receive mode, applied."""
        self.click_at(net.SETTINGS_BUTTON)
        if teacher:
            self.type_into(net.station_name_box(1), "sensei")
            for part, number in enumerate(teacher.address.split(".")):
                self.type_into(net.station_address_box(1, part), number)
        self.type_into(net.OWN_NAME_BOX, own_name)
        self.type_into(CLASS_CODE_BOX, CLASS)
        self.click_at(RADIO[mode])
        self.click_at(net.SETTINGS_OK)
        self.settle()

    def ascii_path(self, target, name):
        """A link named `name` in this station's home to `target`, whose name
        is Japanese: the file dialog is typed only ASCII (Session.type_text)."""
        link = os.path.join(self.home, name)
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(target, link)
        return link

    def kept_aside(self):
        return sorted(glob.glob(os.path.join(self.work_folder(), "STEP3_自動保存_*.lk7")))


class TeacherRoom(net.Classroom):
    def __init__(self, bindir):
        self.open_display(bindir, SCREEN)
        addresses = lk72e2e.free_loopback(4)
        origins = [(0, 0), (800, 0), (0, 600), (800, 600)]
        try:
            self.stations = [Pupil(self, name, address, origin)
                             for name, address, origin in zip(("T", "P1", "P2", "P3"), addresses, origins)]
        except BaseException:
            self.close()
            raise


def teacher_window(t):
    def found():
        for w in t.named_windows():
            if w != t.window and t.xdo("getwindowname", w) == "先生の画面":
                return w
        return None
    return t.wait_for(found, lk72e2e.DEADLINE, "the teacher's view did not open")


def class_list(t, view):
    """The teacher's list as the teacher copies it: one row per line, cells between tabs."""
    t.focus(view)
    _, _, width, height = t.room.geometry(view)
    t.click_in(view, width // 2, height // 3)
    t.xdo("key", "ctrl+a")
    t.xdo("key", "ctrl+c")
    t.settle()
    return sorted(tuple(line.split("\t")[:4]) for line in t.room.clipboard().splitlines() if line.strip())


def teacher_and_three_pupils(room):
    t, taro, hanako, jiro = room.stations
    teachers = step3_record(207, 3)  # white, 3 seconds
    own = {taro: step3_record(159, 1), hanako: step3_record(175, 2), jiro: step3_record(183, 4)}
    programs = os.path.join(t.home, "Documents", "teacher.lk7")
    with open(programs, "wb") as f:
        f.write(teachers)
    for pupil, record in own.items():
        path = os.path.join(pupil.home, "Documents", "own.lk7")
        with open(path, "wb") as f:
            f.write(record)

    # Each one's STEP3 holds work of its own; then each joins class 3A on the network page.
    t.go(2, "F8")
    t.read_step3(programs)
    for pupil in own:
        pupil.go(2, "F8")
        pupil.read_step3(os.path.join(pupil.home, "Documents", "own.lk7"))
    for s in room.stations:
        s.go(5, "F8")
    t.join_class("sensei", 1)
    taro.join_class("taro", 1)
    hanako.join_class("hanako", 2, teacher=t)
    jiro.join_class("jiro", 3)
    for pupil in own:
        pupil.go(5, "F5")  # back on STEP3, where the program is to arrive
    net.no_boxes(*room.stations)

    # The teacher's view from the network page's button: all four, as they are.
    t.click_at(TEACHER_BUTTON)
    view = teacher_window(t)
    t.view = view
    t.move(view, (1620, 0))
    expected = sorted([("sensei", t.address, MODE_TEXT[1], "STEP8"), ("taro", taro.address, MODE_TEXT[1], "STEP3"),
                       ("hanako", hanako.address, MODE_TEXT[2], "STEP3"), ("jiro", jiro.address, MODE_TEXT[3], "STEP3")])
    listed = t.wait_for(lambda: (lambda rows: rows if rows == expected else None)(class_list(t, view)),
                        lk72e2e.DEADLINE, f"the teacher's list never showed {expected}")
    room.screenshot("teacher-1-list")
    assert listed == expected

    # STEP3 to everyone (Alt+S): taro and hanako take it, each one's own work kept first.
    t.focus(view)
    t.xdo("key", "alt+s")
    for pupil in (taro, hanako):
        kept = pupil.wait_for(pupil.kept_aside, lk72e2e.DEADLINE, f"{pupil.name} kept nothing of its own work")
        assert len(kept) == 1 and read_file(kept[0]) == own[pupil], f"{pupil.name} kept {kept}"
    shots = os.environ.get("LK72_SCREENSHOT_DIR")
    if shots:  # the README's picture of the teacher's view (scripts/screenshots.sh)
        _, _, width, height = room.geometry(view)
        t.click_in(view, width // 2, height * 3 // 4)  # below the rows: none stays selected
        t.settle()
        subprocess.run(["import", "-window", view, os.path.join(shots, "teacher.png")], env=room.env, check=True)
    for pupil in (taro, hanako):
        pupil.settle()
        assert pupil.save_step3("arrived.lk7") == teachers, f"{pupil.name}'s STEP3 does not show the teacher's program"
        # The read button opens the kept work again.
        pupil.read_step3(pupil.ascii_path(pupil.kept_aside()[0], "kept.lk7"))
        assert pupil.save_step3("own-again.lk7") == own[pupil], f"{pupil.name}'s kept work does not read back"
    jiro.settle()
    assert not jiro.kept_aside(), "jiro (receiving nothing) kept work aside"
    assert jiro.save_step3("still-own.lk7") == own[jiro], "jiro's STEP3 was changed"
    net.no_boxes(taro, hanako, jiro)

    # The collection (Alt+C): exactly taro's and hanako's records, as their save buttons write them.
    hint_before = {p: room.region(p.window, lk72e2e_hint(), f"hint-before-{p.name}")[0] for p in (taro, hanako)}
    t.focus(view)
    t.xdo("key", "alt+c")
    folder = os.path.join(t.work_folder(), "作品", f"{datetime.date.today():%Y-%m-%d} {CLASS}")
    names = sorted(f"STEP{n}_{who}.lk7" for n in (3, 5, 7) for who in ("taro", "hanako"))

    def collected():
        return os.path.isdir(folder) and sorted(os.listdir(folder)) == names
    t.wait_for(collected, lk72e2e.DEADLINE, f"the collection folder never held {names}")
    room.screenshot("teacher-2-collected")
    for pupil, who in ((taro, "taro"), (hanako, "hanako")):
        assert read_file(os.path.join(folder, f"STEP3_{who}.lk7")) == own[pupil], f"{who}'s STEP3 differs from its save"
        for n in (5, 7):
            assert read_file(os.path.join(folder, f"STEP{n}_{who}.lk7")).startswith(f"STEP{n}\r\n".encode()), f"{who}'s STEP{n}"
        # Its hint area now says so.
        pupil.wait_for(lambda: room.region(pupil.window, lk72e2e_hint(), f"hint-after-{pupil.name}")[0] != hint_before[pupil],
                       lk72e2e.DEADLINE, f"{who}'s hint area did not change on the collection")
    net.no_boxes(taro, hanako, jiro)
    assert sorted(os.listdir(folder)) == names, f"the folder holds {sorted(os.listdir(folder))}"

    # One pupil's work on the teacher's screen (Alt+O): the teacher's STEP3 shows it, the teacher's own kept first.
    t.focus(view)
    t.xdo("key", "alt+o")
    t.dialog(os.path.join(t.ascii_path(folder, "collected"), "STEP3_hanako.lk7"))
    assert t.save_step3("shown.lk7") == own[hanako], "the teacher's STEP3 does not show hanako's work"
    kept = t.kept_aside()
    assert len(kept) == 1 and read_file(kept[0]) == teachers, f"the teacher kept {kept}"
    net.no_boxes(t)


def lk72e2e_hint():
    """The main window's hint area (window coordinates)."""
    return (205, 507), (433, 44)


net.run_room(TeacherRoom(sys.argv[1]), teacher_and_three_pupils, "teacher-failure")
