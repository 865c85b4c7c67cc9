#!/usr/bin/python3
"""The programs against the uhid mouse, through the kernel's own hidraw and udev.

Usage (as root, inside the virtual machine of run-vm.sh --udev; test.sh runs it):
    guest_tests.py BUILD_DIR [unittest arguments]

BUILD_DIR is a build with quorvelctl and quorvel in bin/ and
tools/uhid_mouse/quorvel-uhid-mouse; it may be read-only. Each test makes its own
mouse (a quorvel-uhid-mouse process, commands on its standard input) and runs
the programs in a folder of its own under /tmp. Waits are bounded; the bounds
the behaviour asks for are checked against the real clock, and every measured
time is printed as "time: ..." on standard error.
"""
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb import start_xvfb  # noqa: E402

BUILD = None
BIN = None
MOUSE = None

FOUND = "The system detect the gaming mouse."
LOST = "The system did not detect the gaming mouse!"
NOT_ALLOWED = "The gaming mouse is connected, but this user is not allowed to open it."
LINK_BROKE = "the link to the mouse broke during Apply"
NO_HANDSHAKE = "the mouse did not answer the handshake"

# A fault ends within the program's own 1 s time-out and some margin, never
# after the kernel's 5 s one; the window shows the mouse's events, its loss
# and its return within 2 s.
# A sanitizer build runs several times slower: QUORVEL_VM_SLOWDOWN stretches
# the bounds for it (its run looks for memory faults, not for speed).
SLOWDOWN = float(os.environ.get("QUORVEL_VM_SLOWDOWN", "1"))
FAULT_BOUND = 1.5 * SLOWDOWN
MESSAGE_BOUND = 2.0 * SLOWDOWN
# How long the kernel waits for the answer to a feature report.
KERNEL_TIMEOUT = 5.0
# Starting a program under software emulation; not a bound of the behaviour.
START_PATIENCE = 60.0

TITLE = "Quorvel Gaming Mouse"
APPLY_BUTTON = ("669", "619")  # the middle of the Apply button
CLOSE_BUTTON = ("859", "14")  # the middle of the window's close button

NOBODY = 65534
AS_NOBODY = ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups"]
REQUESTS = ("set-feature", "get-feature", "write")


def report_time(what, seconds):
    print(f"time: {what}: {seconds:.3f} s", file=sys.stderr, flush=True)


class Lines:
    """The lines of a stream, each with the time it came, read on a thread of its own."""

    def __init__(self, stream):
        self.lines = []
        self.changed = threading.Condition()
        self.thread = threading.Thread(target=self._read, args=(stream,), daemon=True)
        self.thread.start()

    def _read(self, stream):
        for line in stream:
            with self.changed:
                self.lines.append((time.monotonic(), line.rstrip("\n")))
                self.changed.notify_all()

    def mark(self):
        with self.changed:
            return len(self.lines)

    def wait_for(self, test, since=0, timeout=10.0):
        """The first line from `since` on that passes `test` (a text it must hold,
        or a function): (index, time, text), or None after `timeout`."""
        if isinstance(test, str):
            wanted = test
            test = lambda text: wanted in text
        deadline = time.monotonic() + timeout
        with self.changed:
            while True:
                for index in range(since, len(self.lines)):
                    if test(self.lines[index][1]):
                        return (index, *self.lines[index])
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.changed.wait(left)

    def text(self, since=0):
        with self.changed:
            return "\n".join(text for _, text in self.lines[since:])


class Mouse:
    """A quorvel-uhid-mouse and its command line."""

    def __init__(self, *arguments):
        self.process = subprocess.Popen([MOUSE, *arguments], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True, bufsize=1)
        self.out = Lines(self.process.stdout)
        self.err = Lines(self.process.stderr)
        if "--unplugged" not in arguments:
            self.nodes = self.answer_to(None, "ready")

    def answer_to(self, command, answer="ok", timeout=20.0):
        since = self.out.mark()
        if command is not None:
            self.process.stdin.write(command + "\n")
            self.process.stdin.flush()
        got = self.out.wait_for(lambda text: text.startswith(answer) or text.startswith("error"), since, timeout)
        if got is None or not got[2].startswith(answer):
            raise AssertionError(f"the mouse did not answer {command!r} with {answer!r}: {got}\n"
                                 f"{self.out.text(since)}\n{self.err.text()}")
        return got[2].split()[1:]

    def tell(self, *commands):
        for command in commands:
            self.answer_to(command)

    def transfers(self):
        """[(kind, bytes, milliseconds, ok)] of every transfer so far."""
        since = self.out.mark()
        self.answer_to("transfers", "end")
        found = []
        for text in self.out.text(since).splitlines():
            words = text.split()
            if text == "end":
                break
            if not words or words[0] not in (*REQUESTS, "read", "event"):
                continue
            at = next(word for word in words if word.startswith("@"))
            found.append((words[0], tuple(w for w in words[1:] if len(w) == 2), float(at[1:]),
                          words[-1] != "failed"))
        return found

    def close(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.close()
                self.process.wait(20)
            except (subprocess.TimeoutExpired, BrokenPipeError):
                self.process.kill()
                self.process.wait()
        close_pipes(self.process, self.out, self.err)


def close_pipes(process, *readers):
    for reader in readers:
        reader.thread.join(5)
    for pipe in (process.stdin, process.stdout, process.stderr):
        if pipe is not None:
            try:
                pipe.close()
            except BrokenPipeError:
                pass


def requests_of(transfers):
    return [(kind, data) for kind, data, _, ok in transfers if kind in REQUESTS]


def trace_requests(trace):
    """The requests of a `quorvelctl --trace` output, as the mouse records them."""
    found = []
    for line in trace.splitlines():
        words = line.split()
        if words and words[0] in REQUESTS:
            found.append((words[0], tuple(words[1:])))
    return found


def trace_reads(trace):
    return [tuple(line.split()[1:]) for line in trace.splitlines() if line.startswith("read ")]


def data_folder(root, name, owner=None):
    """A copy of the factory files, as `--data` takes them."""
    folder = os.path.join(root, name)
    os.makedirs(folder)
    for file in ("config.bin", "str.ini"):
        shutil.copy2(os.path.join(BIN, "factory", file), folder)
    if owner is not None:
        for path in (folder, *(os.path.join(folder, f) for f in os.listdir(folder))):
            os.chown(path, owner, owner)
    return folder


class Case(unittest.TestCase):
    def setUp(self):
        self.started = time.monotonic()
        self.root = tempfile.mkdtemp(prefix="quorvel-vm-")
        os.chmod(self.root, 0o755)
        self.mice = []
        self.processes = []

    def tearDown(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
            close_pipes(process, *getattr(process, "readers", ()))
        for mouse in self.mice:
            mouse.close()
        shutil.rmtree(self.root, ignore_errors=True)
        report_time(f"the whole of {self.id().split('.', 1)[1]}", time.monotonic() - self.started)

    def mouse(self, *arguments):
        mouse = Mouse(*arguments)
        self.mice.append(mouse)
        return mouse

    def quorvelctl(self, *arguments, user=None):
        """(status, standard output, standard error, started, ended): the times of the real clock."""
        prefix = AS_NOBODY if user == NOBODY else []
        # Once before, so that the time measured is the program's and not
        # that of the shared root's first reads of it.
        subprocess.run([*prefix, os.path.join(BIN, "quorvelctl"), "--version"], capture_output=True, timeout=60)
        started = time.monotonic()
        done = subprocess.run([*prefix, os.path.join(BIN, "quorvelctl"), *arguments], capture_output=True,
                              text=True, timeout=60, cwd=self.root)
        return done.returncode, done.stdout, done.stderr, started, time.monotonic()


def hidraw_request(number, length):
    """HIDIOCSFEATURE (6) and HIDIOCGFEATURE (7) of <linux/hidraw.h>: read and write, type 'H'."""
    return (3 << 30) | (length << 16) | (ord("H") << 8) | number


class Hidraw(Case):
    """What the kernel's hidraw hands on, without the program's adapter in between."""

    maxDiff = None

    def test_the_report_number_0_travels_in_front_of_feature_reports_and_chunks(self):
        mouse = self.mouse()
        mouse.tell("answers-plain-probe")
        probe = bytes.fromhex("00 00 aa dd 3b 62 00 00 db")
        chunk = bytes([0]) + bytes(range(1, 33))
        node = os.open(mouse.nodes[1], os.O_RDWR)
        try:
            set_length = fcntl.ioctl(node, hidraw_request(6, len(probe)), bytearray(probe), True)
            answer = bytearray([0] + [0xFF] * 8)
            got_length = fcntl.ioctl(node, hidraw_request(7, len(answer)), answer, True)
            written = os.write(node, chunk)
        finally:
            os.close(node)
        # The set reaches the mouse with the report number 0 in front, and
        # hidraw hands on the answer as the mouse gave it: nine bytes, the
        # eight of the answer after the number, where the adapter expects
        # them of usbhid.
        self.assertEqual((set_length, got_length, written), (9, 9, 33))
        self.assertEqual(bytes(answer), probe)
        # A write does not wait for the mouse to take the chunk.
        deadline = time.monotonic() + 5
        while len(requests_of(mouse.transfers())) < 3 and time.monotonic() < deadline:
            time.sleep(0.02)
        self.assertEqual(requests_of(mouse.transfers()),
                         [("set-feature", tuple(f"{b:02x}" for b in probe)),
                          ("get-feature", tuple(f"{b:02x}" for b in probe)),
                          ("write", tuple(f"{b:02x}" for b in chunk))])


class Quorvelctl(Case):
    """quorvelctl through hidraw on the uhid mouse."""

    simulated_trace = None

    @classmethod
    def simulated(cls):
        # The same Apply on the simulated mouse, as the device tests see it.
        if cls.simulated_trace is None:
            root = tempfile.mkdtemp(prefix="quorvel-vm-sim-")
            done = subprocess.run([os.path.join(BIN, "quorvelctl"), "--simulate", "--trace", "--data",
                                   data_folder(root, "data"), "apply"], capture_output=True, text=True, timeout=60)
            shutil.rmtree(root, ignore_errors=True)
            if done.returncode != 0:
                raise AssertionError("the simulated Apply failed: " + done.stderr)
            cls.simulated_trace = done.stdout
        return cls.simulated_trace

    def test_apply_through_hidraw_sends_what_the_simulated_apply_sends(self):
        simulated = self.simulated()
        mouse = self.mouse()
        status, trace, errors, started, ended = self.quorvelctl("--trace", "--data",
                                                                 data_folder(self.root, "data"), "apply")
        report_time("quorvelctl apply through hidraw", ended - started)
        self.assertEqual(status, 0, errors)
        # What the program sent and got, pauses included, byte for byte.
        self.assertEqual(trace.splitlines(), simulated.splitlines())
        # What the mouse took and answered, and the chunks it sent.
        transfers = mouse.transfers()
        self.assertEqual(requests_of(transfers), trace_requests(simulated))
        self.assertEqual([data for kind, data, _, ok in transfers if kind == "read" and ok], trace_reads(simulated))
        self.assertTrue(all(ok for kind, _, _, ok in transfers if kind in REQUESTS))

    def test_faults_end_with_their_message_within_the_programs_own_time_out(self):
        # Half-way through Apply: past the handshake and the sensor record.
        middle = len(trace_requests(self.simulated())) // 2
        cases = [
            # name, commands to the mouse, its notice of the fault, the message, user
            ("a mouse that answers the plain probe", ["answers-plain-probe"], None, NO_HANDSHAKE, None),
            ("pulled out during Apply", [f"unplug-after {middle}"], "pulled", LINK_BROKE, None),
            ("silent during Apply", [f"silent {middle}"], "silenced", LINK_BROKE, None),
            ("a user without permission", [], None, NOT_ALLOWED, NOBODY),
        ]
        for name, commands, notice, message, user in cases:
            with self.subTest(name):
                mouse = self.mouse()
                mouse.tell(*commands)
                since = mouse.out.mark()
                data = data_folder(self.root, name.replace(" ", "-"), owner=user)
                status, _, errors, started, ended = self.quorvelctl("--data", data, "apply", user=user)
                fault = started
                if notice is not None:
                    noticed = mouse.out.wait_for(notice, since, timeout=0)
                    self.assertIsNotNone(noticed, f"the mouse was never {notice}:\n{errors}")
                    fault = noticed[1]
                report_time(f"quorvelctl, {name}: fault to end", ended - fault)
                self.assertEqual(status, 1, errors)
                self.assertIn(message, errors)
                self.assertLessEqual(ended - fault, FAULT_BOUND, errors)
                mouse.close()


class Window(Case):
    """The window program, found and followed through udevd: on the offscreen
    platform, or on an X server of its own where a test clicks its buttons."""

    def start_program(self, display=None):
        app = os.path.join(self.root, "app")
        if not os.path.exists(app):
            # A portable copy of its own: the build folder is read-only here.
            os.makedirs(app)
            shutil.copy2(os.path.join(BIN, "quorvel"), app)
            for file in ("config.bin", "str.ini"):
                shutil.copy2(os.path.join(BIN, "factory", file), app)
            for folder in ("Skins", "factory"):
                shutil.copytree(os.path.join(BIN, folder), os.path.join(app, folder))
            for folder in ("runtime", "config", "home"):
                os.makedirs(os.path.join(self.root, folder), mode=0o700)
        # No tray and no notification service: the messages go to standard error.
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LANG": "C.UTF-8", "LANGUAGE": "",
               "HOME": os.path.join(self.root, "home"), "XDG_RUNTIME_DIR": os.path.join(self.root, "runtime"),
               "XDG_CONFIG_HOME": os.path.join(self.root, "config"), "GSETTINGS_BACKEND": "memory"}
        if display is None:
            env["QT_QPA_PLATFORM"] = "offscreen"
        else:
            env.update({"QT_QPA_PLATFORM": "xcb", "DISPLAY": display})
        process = subprocess.Popen([os.path.join(app, "quorvel")], env=env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, cwd=self.root)
        self.processes.append(process)
        process.err = Lines(process.stderr)
        process.readers = (process.err, Lines(process.stdout))
        return process

    def start_display(self):
        xvfb, display = start_xvfb()
        self.processes.append(xvfb)
        self.assertTrue(display, "Xvfb gave no display")
        return display

    def wait_message(self, program, message, since, after, bound, what):
        got = program.err.wait_for(message, since, timeout=max(bound, START_PATIENCE))
        self.assertIsNotNone(got, f"{what}: no {message!r} on standard error:\n{program.err.text()}")
        report_time(what, got[1] - after)
        self.assertLessEqual(got[1] - after, bound, f"{what}:\n{program.err.text()}")
        return got

    def wait_found_at_start(self, program, started):
        got = program.err.wait_for(FOUND, 0, START_PATIENCE)
        self.assertIsNotNone(got, program.err.text())
        report_time("window start to mouse found", got[1] - started)
        # The window listens for later launches once it has drawn its first
        # page: from then on it waits for events, and the times measured are
        # those of the events, not of the start.
        socket = os.path.join(self.root, "runtime", "quorvel.socket")
        deadline = time.monotonic() + START_PATIENCE
        while not os.path.exists(socket) and time.monotonic() < deadline and program.poll() is None:
            time.sleep(0.02)
        self.assertTrue(os.path.exists(socket), program.err.text())
        report_time("window start to waiting for events", time.monotonic() - started)

    def test_the_window_follows_the_mouse_through_events_unplug_and_plug(self):
        mouse = self.mouse()
        started = time.monotonic()
        program = self.start_program()
        self.wait_found_at_start(program, started)
        at_start = requests_of(mouse.transfers())

        since = program.err.mark()
        pressed = time.monotonic()
        mouse.tell("rate")
        self.wait_message(program, "Switch report rate into 500HZ", since, pressed, MESSAGE_BOUND,
                          "report-rate button to its message")

        mouse.tell("clear")
        since = program.err.mark()
        pulled = time.monotonic()
        mouse.answer_to("unplug", "unplugged")
        self.wait_message(program, LOST, since, pulled, MESSAGE_BOUND, "unplug to the lost message")

        since = program.err.mark()
        plugged = time.monotonic()
        mouse.answer_to("plug", "ready")
        report_time("plug to both nodes ready (kernel and udev)", time.monotonic() - plugged)
        self.wait_message(program, FOUND, since, plugged, MESSAGE_BOUND, "plug to the found message")
        # A fresh link: the handshake again, as at the start.
        after_plug = requests_of(mouse.transfers())
        self.assertEqual(after_plug[:4], at_start[:4])

        since = program.err.mark()
        pressed = time.monotonic()
        mouse.tell("dpi")
        self.wait_message(program, "Switch DPI into the second stage", since, pressed, MESSAGE_BOUND,
                          "DPI button after the plug to its message")
        self.assertIsNone(program.poll(), program.err.text())

    def test_a_mouse_silent_during_apply_loses_the_link_and_the_window_closes_before_the_kernel_gives_up(self):
        # Apply is a click: an X server of its own, a window but no tray.
        display = self.start_display()
        xdotool = lambda *arguments: subprocess.run(["xdotool", *arguments], env={"DISPLAY": display},
                                                    capture_output=True, text=True, timeout=10).stdout.split()
        mouse = self.mouse()
        started = time.monotonic()
        program = self.start_program(display)
        self.wait_found_at_start(program, started)
        window = None
        deadline = time.monotonic() + START_PATIENCE
        while window is None and time.monotonic() < deadline:
            window = next(iter(xdotool("search", "--onlyvisible", "--name", "^" + TITLE)), None)
            time.sleep(0.05)
        self.assertIsNotNone(window, "the window did not show")

        # Falls silent a few requests into Apply.
        mouse.tell("silent 10")
        since = program.err.mark()
        xdotool("mousemove", "--window", window, *APPLY_BUTTON, "click", "1")
        silenced = mouse.out.wait_for("silenced", 0, START_PATIENCE)
        self.assertIsNotNone(silenced, "Apply did not reach the mouse")
        self.wait_message(program, LOST, since, silenced[1], FAULT_BOUND, "silent during Apply to the lost message")

        # The kernel still waits for the mouse's answer; the window takes the
        # close button's click and the program ends before the kernel gives up.
        clicked = time.monotonic()
        xdotool("mousemove", "--window", window, *CLOSE_BUTTON, "click", "1")
        try:
            status = program.wait(START_PATIENCE)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end")
        ended = time.monotonic()
        report_time("close click to the end, the mouse silent", ended - clicked)
        report_time("silent during Apply to the end", ended - silenced[1])
        self.assertEqual(status, 0, program.err.text())
        self.assertLess(ended - silenced[1], KERNEL_TIMEOUT, program.err.text())


if __name__ == "__main__":
    BUILD = os.path.abspath(sys.argv.pop(1))
    BIN = os.path.join(BUILD, "bin")
    MOUSE = os.path.join(BUILD, "tools", "uhid_mouse", "quorvel-uhid-mouse")
    unittest.main(verbosity=2)
