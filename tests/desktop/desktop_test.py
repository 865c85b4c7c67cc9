#!/usr/bin/python3
"""End-to-end tests of the window program on an X server of its own.

Usage: desktop_test.py BIN_FOLDER [unittest arguments]
BIN_FOLDER is the build's bin/ (the programs, factory files and skins). Each
test runs the demo, or the program itself without its mouse, as a portable
copy in a temporary folder, with its own runtime folder (so its own instance
lock), home and Xvfb display; a tray host (trayer, or a StatusNotifier
stand-in on a private session bus) is started where the test wants one.
Waits are bounded polls.
"""
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb import start_xvfb  # noqa: E402

BIN = None
HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(HERE, "..", "..", "res")
TITLE = "Quorvel Gaming Mouse"
CLOSE_BUTTON = (859, 14)  # the middle of the window's close button


def desktop_entry(path):
    """The keys of a desktop entry's [Desktop Entry] group."""
    keys, group = {}, None
    with open(path, encoding="utf-8") as entry:
        for line in entry.read().splitlines():
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and "=" in line and not line.startswith("#"):
                key, value = line.split("=", 1)
                keys[key.strip()] = value.strip()
    return keys


def json_lines(path):
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as log:
        return [json.loads(line) for line in log if line.strip()]


def wait_for(condition, timeout=60.0, step=0.05):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return condition()


class Desktop(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="quorvel-desktop-")
        self.processes = []
        runtime = os.path.join(self.root, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = {k: v for k, v in os.environ.items() if k not in ("DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY")}
        self.env.update({"XDG_RUNTIME_DIR": runtime, "HOME": self.root,
                         "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
                         "QT_QPA_PLATFORM": "xcb", "LANG": "C.UTF-8", "LANGUAGE": ""})
        self.app = os.path.join(self.root, "app")
        os.mkdir(self.app)
        for name in ("quorvel-demo", "config.bin", "str.ini"):
            shutil.copy2(os.path.join(BIN, name), self.app)
        for name in ("Skins", "factory"):
            shutil.copytree(os.path.join(BIN, name), os.path.join(self.app, name))
        self.start_display()

    def tearDown(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(self.root, ignore_errors=True)

    def start_display(self, *options):
        xvfb, display = start_xvfb(*options)
        self.processes.append(xvfb)
        self.assertTrue(display, "Xvfb gave no display")
        self.env["DISPLAY"] = display

    def start(self, *command, **kwargs):
        process = subprocess.Popen(list(command), env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   text=True, **kwargs)
        self.processes.append(process)
        return process

    def demo(self, *arguments):
        return self.start(os.path.join(self.app, "quorvel-demo"), *arguments)

    def start_tray(self):
        # At the bottom left, where neither the settings window nor the demo's
        # panel covers it (nothing stacks windows without a window manager).
        tray = self.start("trayer", "--edge", "bottom", "--align", "left", "--widthtype", "request",
                          "--height", "32", "--SetDockType", "false", "--transparent", "false")
        self.assertTrue(wait_for(lambda: self.windows("--class", "trayer")), "trayer did not come up")
        return tray

    def xdotool(self, *arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True, text=True, timeout=10)
        return done.stdout.split()

    def windows(self, *query):
        return self.xdotool("search", *query)

    def settings_window(self):
        # The skinned window, not a message box of the same title.
        for window in self.windows("--onlyvisible", "--name", "^" + TITLE):
            if self.size(window)[0] >= 400:
                return window
        return None

    def size(self, window):
        fields = dict(line.split("=", 1) for line in subprocess.run(
            ["xdotool", "getwindowgeometry", "--shell", window], env=self.env, capture_output=True,
            text=True, timeout=10).stdout.split())
        return int(fields["WIDTH"]), int(fields["HEIGHT"])

    def tray_icon(self):
        # The icon is the program's one small window, embedded in the tray.
        for window in self.windows("--onlyvisible", "--classname", "^quorvel-demo$"):
            width, height = self.size(window)
            if width <= 64 and height <= 64:
                return window
        return None

    def click(self, window, x, y, button=1):
        self.xdotool("mousemove", "--window", window, str(x), str(y), "click", str(button))

    def ended(self, process, timeout=60.0):
        try:
            return process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end")

    def test_tray_icon_opens_the_window_and_its_menu_exits_cleanly(self):
        self.start_tray()
        demo = self.demo()
        icon = wait_for(self.tray_icon)
        self.assertTrue(icon, "no icon in the tray")
        self.assertIsNone(self.settings_window(), "with a tray the window starts hidden")
        self.click(icon, 5, 5)
        self.assertTrue(wait_for(self.settings_window), "a left click shows the window")
        known = set(self.windows("--onlyvisible", "--classname", "^quorvel-demo$"))
        self.click(icon, 5, 5, button=3)
        menu = wait_for(lambda: [w for w in self.windows("--onlyvisible", "--classname", "^quorvel-demo$")
                                 if w not in known])
        self.assertTrue(menu, "a right click opens the menu")
        width, height = self.size(menu[0])
        self.click(menu[0], width // 2, height * 7 // 8)  # Exit, the last of four items
        self.assertEqual(self.ended(demo), 0, demo.stderr.read())

    def test_without_a_tray_the_window_comes_back_and_takes_a_late_tray(self):
        demo = self.demo()
        window = wait_for(self.settings_window)
        self.assertTrue(window, "without a tray the window shows at start")
        # A second launch ends at once and leaves the first running.
        second = self.demo()
        self.assertEqual(self.ended(second), 0)
        self.assertIsNone(demo.poll())
        self.assertTrue(self.settings_window())
        # A tray that comes later gets the icon, and the window moves there.
        self.start_tray()
        icon = wait_for(self.tray_icon)
        self.assertTrue(icon, "the late tray got no icon")
        self.xdotool("key", "--window", window, "Escape")
        self.assertTrue(wait_for(lambda: self.settings_window() is None), "Escape hides into the tray")
        self.click(icon, 5, 5)
        self.assertTrue(wait_for(self.settings_window), "the icon shows the window again")
        self.assertIsNone(demo.poll())

    def test_without_a_tray_a_second_launch_shows_the_window_and_closing_ends(self):
        demo = self.demo()
        window = wait_for(self.settings_window)
        self.assertTrue(window)
        # Escape minimises (a window manager would keep it in the taskbar); it
        # is never withdrawn where nothing could bring it back.
        self.xdotool("key", "--window", window, "Escape")
        second = self.demo()
        self.assertEqual(self.ended(second), 0)
        self.assertTrue(wait_for(self.settings_window), "the second launch did not bring the window back")
        self.assertIsNone(demo.poll())
        window = self.settings_window()
        self.click(window, *CLOSE_BUTTON)
        self.assertEqual(self.ended(demo), 0, demo.stderr.read())

    def close_message_box(self, known):
        # The box is the program's one new window of the title; Return closes it.
        box = wait_for(lambda: [w for w in self.windows("--onlyvisible", "--name", "^" + TITLE)
                                if w not in known])
        self.assertTrue(box, "no message box came")
        self.xdotool("windowfocus", "--sync", box[0])
        self.xdotool("key", "Return")
        self.assertTrue(wait_for(lambda: box[0] not in self.windows("--onlyvisible", "--name", "^" + TITLE)),
                        "the message box did not close")

    def test_an_apply_in_the_window_keeps_a_macro_quorvelctl_added_meanwhile(self):
        # The program in the tray all day, the user adding a macro from a
        # script, then pressing Apply in the window.
        demo = self.demo()
        window = wait_for(self.settings_window)
        self.assertTrue(window, "without a tray the window shows at start")
        config_bin = os.path.join(self.app, "demo", "config.bin")
        self.assertTrue(wait_for(lambda: os.path.exists(config_bin)), "the demo made no data folder")
        added = subprocess.run([os.path.join(BIN, "quorvelctl"), "--data", os.path.dirname(config_bin), "macro", "add",
                                "Outside", "-"], input="A   Dn\n50 ms\nA   Up\n", capture_output=True, text=True,
                               timeout=60)
        self.assertEqual(added.returncode, 0, added.stderr)

        def slot_one():
            with open(config_bin, "rb") as f:
                return f.read()[1 + 384:1 + 384 + 6]
        self.assertEqual(slot_one(), bytes([0, 1, 0x05, 0x04, 0x80, 0x04]))
        before = os.stat(config_bin).st_mtime_ns
        self.click(window, 620, 615)  # Apply
        self.assertTrue(wait_for(lambda: os.stat(config_bin).st_mtime_ns != before), "Apply wrote nothing")
        self.assertEqual(slot_one(), bytes([0, 1, 0x05, 0x04, 0x80, 0x04]), "the window's Apply undid the macro")
        with open(os.path.join(self.app, "demo", "record.ini")) as f:
            self.assertIn("[Outside]", f.read())
        self.click(window, *CLOSE_BUTTON)
        self.assertEqual(self.ended(demo), 0, demo.stderr.read())

    def test_keys_held_while_the_machine_is_busy_record_one_press_and_one_release_each(self):
        # X11 repeats a held key as release and press pairs; with both cores
        # busy Qt marks only some of them, or none, as repeats.
        self.start_display("-ardelay", "200", "-arinterval", "33")  # auto-repeat on, quick
        demo_folder = os.path.join(self.app, "demo")
        os.mkdir(demo_folder)
        record_ini = os.path.join(demo_folder, "record.ini")
        with open(record_ini, "w") as f:
            f.write("[Hold]\nItemCount=0\n")
        demo = self.demo()
        window = wait_for(self.settings_window)
        self.assertTrue(window, "without a tray the window shows at start")
        known = set(self.windows("--onlyvisible", "--name", "^" + TITLE))
        self.click(window, 90, 75)  # the Advanced page
        self.click(window, 749, 243)  # Start Recording, and its box
        self.close_message_box(known)
        self.xdotool("windowfocus", "--sync", window)

        # Every core busy, twice over; each key held 1.2 s while it is.
        busy = [subprocess.Popen(["/bin/sh", "-c", "while :; do :; done"]) for _ in range(2 * (os.cpu_count() or 2))]
        try:
            time.sleep(0.3)
            for key in ("a", "b", "c"):
                self.xdotool("keydown", key)
                time.sleep(1.2)
                self.xdotool("keyup", key)
                time.sleep(0.3)
        finally:
            for process in busy:
                process.kill()
                process.wait()

        self.click(window, 749, 279)  # Stop Recording, and its box
        self.close_message_box(known)
        self.click(window, 770, 538)  # Confirm
        lines = ["A   Dn", "50 ms", "A   Up", "50 ms", "B   Dn", "50 ms", "B   Up", "50 ms", "C   Dn", "50 ms", "C   Up"]
        expected = "[Hold]\nItemCount=11\n" + "".join("Item%d=%s\n" % (i, line) for i, line in enumerate(lines))

        def saved():
            with open(record_ini) as f:
                text = f.read()
            return text if text != "[Hold]\nItemCount=0\n" else None
        self.assertEqual(wait_for(saved, timeout=30), expected)

    def wm_class(self, window):
        done = subprocess.run(["xprop", "-id", window, "WM_CLASS"], env=self.env, capture_output=True, text=True,
                              timeout=10)
        return tuple(re.findall(r'"([^"]*)"', done.stdout))

    def test_the_desktop_ties_the_program_to_its_menu_entry_and_names_its_tray_item(self):
        # The program itself (without its mouse) on a desktop whose tray is a
        # StatusNotifier host, as KDE's is and GNOME's with AppIndicator.
        shutil.copy2(os.path.join(BIN, "quorvel"), self.app)
        entry = desktop_entry(os.path.join(RES, "desktop", "io.github.quorvel.Quorvel.desktop"))
        log = os.path.join(self.root, "items.log")
        session = self.start("dbus-run-session", "--", sys.executable, os.path.join(HERE, "status_notifier_watcher.py"),
                             log, "--", os.path.join(self.app, "quorvel"))
        items = wait_for(lambda: json_lines(log))
        self.assertTrue(items, "no item in the tray")
        self.assertEqual(items[0].get("Title"), entry["Name"], "the tray names the program as its menu entry does")
        # A dock ties a window to the menu entry whose StartupWMClass is its
        # class (the instance name is the command's).
        windows = wait_for(lambda: self.windows("--onlyvisible", "--classname", "^quorvel$"))
        self.assertTrue(windows, "the program showed no window")
        for window in windows:
            self.assertEqual(self.wm_class(window), ("quorvel", entry["StartupWMClass"]))
        os.kill(int(self.xdotool("getwindowpid", windows[0])[0]), signal.SIGTERM)
        self.ended(session)

    def program_windows(self):
        return set(self.windows("--onlyvisible", "--classname", "^quorvel$"))

    def choose_from_tray_menu(self, icon, item, items=4):
        known = self.program_windows()
        self.click(icon, 5, 5, button=3)
        menu = wait_for(lambda: list(self.program_windows() - known))
        self.assertTrue(menu, "a right click opens the menu")
        width, height = self.size(menu[0])
        self.click(menu[0], width // 2, height * (2 * item + 1) // (2 * items))

    def test_started_with_the_desktop_it_stays_quiet_and_its_menu_turns_the_users_autostart(self):
        # The program itself, without its mouse, as the session starts it at
        # login: the package's entry is in the system's autostart folder.
        shutil.copy2(os.path.join(BIN, "quorvel"), self.app)
        program = os.path.join(self.app, "quorvel")
        name = "io.github.quorvel.Quorvel.desktop"
        system = os.path.join(self.root, "xdg", "autostart")
        os.makedirs(system)
        shutil.copy2(os.path.join(RES, "desktop", "quorvel-autostart.desktop"), os.path.join(system, name))
        self.env["XDG_CONFIG_DIRS"] = os.path.join(self.root, "xdg")
        started = desktop_entry(os.path.join(system, name))["Exec"].split()
        self.assertEqual(started[0], "quorvel")
        self.start_tray()
        log = os.path.join(self.root, "notify.log")
        session = self.start("dbus-run-session", "--", sys.executable, os.path.join(HERE, "notification_server.py"),
                             log, "--", program, *started[1:])

        # A missing mouse is a notification; nothing else comes up but the icon.
        told = wait_for(lambda: json_lines(log), timeout=30)
        self.assertTrue(told, "no notification")
        self.assertEqual((told[0]["summary"], told[0]["body"]),
                         ("Warning", "The system did not detect the gaming mouse!"))
        icon = wait_for(lambda: [w for w in self.program_windows() if self.size(w)[0] <= 64])
        self.assertTrue(icon, "no icon in the tray")
        self.assertEqual([w for w in self.program_windows() if self.size(w)[0] > 64], [],
                         "a window or a message box came up")

        # "Start with the desktop" is ticked (the system's entry starts it);
        # a click hides the system's entry behind the user's own, another
        # makes the user's start the program again.
        user = os.path.join(self.env["XDG_CONFIG_HOME"], "autostart", name)
        self.choose_from_tray_menu(icon[0], 0)
        self.assertTrue(wait_for(lambda: os.path.exists(user)), "no entry of the user's")
        entry = desktop_entry(user)
        self.assertEqual(entry.get("Hidden"), "true")
        self.choose_from_tray_menu(icon[0], 0)
        self.assertTrue(wait_for(lambda: "Hidden" not in desktop_entry(user)))
        entry = desktop_entry(user)
        self.assertEqual(entry["Exec"], program + " --autostart")
        self.assertEqual(entry["TryExec"], program)
        self.assertEqual(entry["Name"], "Quorvel Gaming Mouse")
        self.assertEqual(os.listdir(os.path.dirname(user)), [name], "nothing else is left in the folder")

        self.choose_from_tray_menu(icon[0], 3)  # Exit, below Export and Import settings
        self.assertEqual(self.ended(session), 0)

    def test_a_picture_is_taken_beside_a_running_demo_and_leaves_it_alone(self):
        self.start_tray()
        demo = self.demo()
        self.assertTrue(wait_for(self.tray_icon), "no icon in the tray")
        # The demo's lock is its own: the program's lock held elsewhere does not stop it.
        runtime = self.env["XDG_RUNTIME_DIR"]
        self.assertTrue(os.path.exists(os.path.join(runtime, "quorvel-demo.lock")))
        self.assertFalse(os.path.exists(os.path.join(runtime, "quorvel.lock")))
        picture = os.path.join(self.root, "beside.png")
        shot = subprocess.run([os.path.join(self.app, "quorvel-demo"), "--screenshot", picture], env=self.env,
                              capture_output=True, text=True, timeout=60)
        self.assertEqual(shot.returncode, 0, shot.stderr)
        self.assertGreater(os.path.getsize(picture), 0)
        # The running demo was not asked to show its window.
        self.assertIsNone(wait_for(self.settings_window, timeout=2), "the running demo's window came up")
        self.assertIsNone(demo.poll())


class CommandLine(unittest.TestCase):
    """The demo's command line and its own files, without a display."""

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="quorvel-cli-")
        runtime = os.path.join(self.root, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=self.root,
                        XDG_CONFIG_HOME=os.path.join(self.root, "config"), QT_QPA_PLATFORM="offscreen")
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.app = os.path.join(self.root, "app")
        os.mkdir(self.app)
        for name in ("quorvel", "quorvel-demo"):
            shutil.copy2(os.path.join(BIN, name), self.app)
        shutil.copytree(os.path.join(BIN, "Skins"), os.path.join(self.app, "Skins"))
        shutil.copytree(os.path.join(BIN, "factory"), os.path.join(self.app, "factory"))

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def run_demo(self, *arguments):
        return subprocess.run([os.path.join(self.app, "quorvel-demo"), *arguments], env=self.env,
                              capture_output=True, text=True, timeout=60)

    def test_help_version_and_bad_values(self):
        no_display = dict(self.env, QT_QPA_PLATFORM="xcb", DISPLAY="")
        for argument in ("--help", "--version"):
            done = subprocess.run([os.path.join(self.app, "quorvel-demo"), argument], env=no_display,
                                  capture_output=True, text=True, timeout=30)
            self.assertEqual(done.returncode, 0, argument + done.stderr)
            self.assertIn("quorvel-demo", done.stdout, argument)
        for bad in (["--open-row", "9", "--screenshot", "x.png"], ["--open-row", "one", "--screenshot", "x.png"],
                    ["--open-list", "colour", "--screenshot", "x.png"], ["--frobnicate"], ["stray"],
                    ["--screenshot"]):
            done = self.run_demo(*bad)
            self.assertNotEqual(done.returncode, 0, bad)
            self.assertTrue(done.stderr.strip(), bad)

    def test_without_a_display_the_options_are_read_and_the_program_says_why_it_cannot_run(self):
        # No X server, no compositor: Qt's own end would be an abort (134)
        # advising to reinstall, whatever the command line said.
        no_display = {k: v for k, v in self.env.items()
                      if k not in ("DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE")}
        for program in ("quorvel", "quorvel-demo"):
            for platform in ("", "xcb", "wayland"):
                env = dict(no_display, QT_QPA_PLATFORM=platform)
                for arguments, status, out, err in (
                        (["--bogus"], 2, "", "Try '%s --help'" % program),
                        (["stray"], 2, "", "unexpected argument 'stray'"),
                        (["--help"], 0, "Usage:", ""),
                        (["--version"], 0, program + " ", ""),
                        ([], 1, "", "no usable display")):
                    case = "%s %s with QT_QPA_PLATFORM=%s" % (program, " ".join(arguments), platform)
                    done = subprocess.run([os.path.join(self.app, program), *arguments], env=env,
                                          capture_output=True, text=True, timeout=30)
                    self.assertEqual(done.returncode, status, case + "\n" + done.stderr)
                    self.assertIn(out, done.stdout, case)
                    self.assertIn(err, done.stderr, case)
                    self.assertNotIn("Reinstalling", done.stderr, case)
        # The demo's own values are checked before a display is wanted, too.
        for bad in (["--open-row", "9", "--screenshot", "x.png"], ["--page", "expert"]):
            done = subprocess.run([os.path.join(self.app, "quorvel-demo"), *bad],
                                  env=dict(no_display, QT_QPA_PLATFORM=""), capture_output=True, text=True,
                                  timeout=30)
            self.assertEqual(done.returncode, 2, bad)

    def test_a_portable_copy_without_config_bin_stays_portable_and_the_demo_keeps_its_own_files(self):
        # The program's own files of this portable copy: str.ini only, no config.bin.
        shutil.copy2(os.path.join(BIN, "str.ini"), self.app)
        with open(os.path.join(self.app, "str.ini"), "rb") as original:
            program_str_ini = original.read()
        picture = os.path.join(self.root, "shot.png")
        done = self.run_demo("--screenshot", picture, "--open-row", "1")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertTrue(os.path.getsize(picture) > 0)
        demo_folder = os.path.join(self.app, "demo")
        self.assertTrue(os.path.isfile(os.path.join(demo_folder, "config.bin")), "the demo seeds its own folder")
        self.assertFalse(os.path.exists(os.path.join(self.app, "config.bin")), "the program's folder is untouched")
        with open(os.path.join(self.app, "str.ini"), "rb") as after:
            self.assertEqual(after.read(), program_str_ini)
        self.assertFalse(os.path.exists(os.path.join(self.root, "config")), "a portable copy stays portable")
        # A picture takes no lock, neither the program's nor the demo's.
        self.assertEqual(os.listdir(self.env["XDG_RUNTIME_DIR"]), [])

    def test_a_copy_in_a_read_only_folder_reads_the_factory_files_and_says_once_why_nothing_is_saved(self):
        # Root writes through any file mode, so the folder no one may write is
        # a read-only bind mount, in a mount namespace of the test's own.
        if os.geteuid() != 0 or shutil.which("unshare") is None:
            self.skipTest("a private read-only mount needs root and unshare")
        writable = os.path.join(self.root, "writable")
        shutil.copytree(self.app, writable)
        expected = os.path.join(self.root, "expected.png")
        done = subprocess.run([os.path.join(writable, "quorvel-demo"), "--screenshot", expected], env=self.env,
                              capture_output=True, text=True, timeout=60)
        self.assertEqual(done.returncode, 0, done.stderr)

        before = sorted(os.listdir(self.app))
        picture = os.path.join(self.root, "read-only.png")
        script = 'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && exec "$1/quorvel-demo" --screenshot "$2"'
        done = subprocess.run(["unshare", "--mount", "sh", "-c", script, "sh", self.app, picture], env=self.env,
                              capture_output=True, text=True, timeout=60)
        if done.returncode != 0 and "mount" in done.stderr and "quorvel-demo" not in done.stderr:
            self.skipTest("no read-only mount here: " + done.stderr.strip())
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stderr.count("Settings cannot be saved in this folder"), 1, done.stderr)
        self.assertIn(os.path.join(self.app, "demo") + ": cannot be written: Read-only file system", done.stderr)
        for misleading in ("No such file or directory", "holds no skin", "Config file is not exist"):
            self.assertNotIn(misleading, done.stderr)
        with open(expected, "rb") as a, open(picture, "rb") as b:
            self.assertTrue(a.read() == b.read(), "the window shows the factory settings, as a writable copy does")
        self.assertEqual(sorted(os.listdir(self.app)), before, "nothing is made in the copy")

    def test_a_picture_that_cannot_be_written_fails(self):
        done = self.run_demo("--screenshot", os.path.join(self.root, "missing", "shot.png"))
        self.assertNotEqual(done.returncode, 0)
        self.assertIn("cannot save", done.stderr)


if __name__ == "__main__":
    BIN = os.path.abspath(sys.argv.pop(1))
    unittest.main()
