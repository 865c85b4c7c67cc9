#!/usr/bin/python3
"""The settings window as a screen reader (Orca) reads it, through AT-SPI.

Usage: atspi_test.py BIN_FOLDER [unittest arguments]
BIN_FOLDER is the build's bin/. The test runs on a session bus of its own
(it starts itself again under dbus-run-session), which starts the
accessibility bus when it is first asked for; each test runs the demo as a
portable copy on an Xvfb display of its own, with Qt's accessibility on,
and reads the window's objects as an assistive technology does. Waits are
bounded polls.

Exits 77 (skipped) where the tools are missing: the AT-SPI bus launcher,
dbus-run-session, Xvfb, xdotool or Python's pyatspi. Under CI, which installs
them, a missing tool fails the test instead.
"""
import importlib.util
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import warnings

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xvfb import start_xvfb  # noqa: E402

SKIPPED = 77
BUS_LAUNCHERS = ("/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher")
OWN_BUS = "QUORVEL_ATSPI_OWN_BUS"
TITLE = "Quorvel Gaming Mouse"

# What the Basic page shows of the factory settings, by interface language.
ENGLISH = {
    "commit": ["OK", "Apply", "Cancel"],
    "rows": ["Left Click", "Right Click", "Mid Click", "Forward", "Backward", "DPI +", "DPI -", "Triple-click"],
    "modes": ["Mode A", "Mode B"],
    "stages": ["DPI stage %d" % n for n in range(1, 5)],
}
CHINESE = {
    "commit": ["确定", "应用", "取消"],
    "rows": ["左键", "右键", "中键", "前进方向键", "后退方向键", "DPI +", "DPI -", "三连发"],
    "modes": ["Mode A", "Mode B"],
    "stages": ["DPI档位%d" % n for n in range(1, 5)],
}

BIN = None
pyatspi = None
Atspi = None
GLib = None


def missing_tools():
    missing = [tool for tool in ("dbus-run-session", "Xvfb", "xdotool") if shutil.which(tool) is None]
    if not any(os.access(path, os.X_OK) for path in BUS_LAUNCHERS) and shutil.which("at-spi-bus-launcher") is None:
        missing.append("at-spi-bus-launcher (at-spi2-core)")
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("pyatspi (python3-pyatspi)")
    return missing


def wait_for(condition, timeout=30.0, step=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            value = condition()
        except Exception:  # an object that went away while it was read
            value = None
        if value:
            return value
        time.sleep(step)
    return condition()


def children(accessible):
    found = []
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            found.append(child)
    return found


def descendants(accessible):
    """The objects below `accessible`, in reading order."""
    found = []
    for child in children(accessible):
        found.append(child)
        found.extend(descendants(child))
    return found


def states(accessible):
    return set(accessible.getState().getStates())


class ScreenReader(unittest.TestCase):
    def setUp(self):
        # pyatspi calls libatspi's older names.
        warnings.filterwarnings("ignore", category=DeprecationWarning, module="pyatspi")
        self.root = tempfile.mkdtemp(prefix="quorvel-atspi-")
        self.processes = []
        runtime = os.path.join(self.root, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", OWN_BUS)}
        self.env.update({"XDG_RUNTIME_DIR": runtime, "HOME": self.root,
                         "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
                         "QT_QPA_PLATFORM": "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                         "LANG": "C.UTF-8", "LANGUAGE": ""})
        self.app = os.path.join(self.root, "app")
        os.mkdir(self.app)
        for name in ("quorvel-demo", "config.bin", "str.ini"):
            shutil.copy2(os.path.join(BIN, name), self.app)
        for name in ("Skins", "factory"):
            shutil.copytree(os.path.join(BIN, name), os.path.join(self.app, name))
        xvfb, display = start_xvfb()
        self.processes.append(xvfb)
        self.assertTrue(display, "Xvfb gave no display")
        self.env["DISPLAY"] = display

    def tearDown(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
            if process.stderr is not None:
                process.stderr.close()
        shutil.rmtree(self.root, ignore_errors=True)

    def demo(self, *arguments, language=""):
        env = dict(self.env, LANGUAGE=language)
        process = subprocess.Popen([os.path.join(self.app, "quorvel-demo"), *arguments], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        self.processes.append(process)
        return process

    def xdotool(self, *arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True, text=True, timeout=10)
        return done.stdout.split()

    def application(self, process):
        """The demo's application object on the accessibility bus."""
        def find():
            desktop = pyatspi.Registry.getDesktop(0)
            for app in children(desktop):
                if app.get_process_id() == process.pid:
                    # Read afresh every time: the window's objects change as pages do.
                    app.set_cache_mask(Atspi.Cache.NONE)
                    return app
            return None
        app = wait_for(find)
        self.assertIsNotNone(app, "the demo never showed on the accessibility bus")
        return app

    def window(self, app, title=TITLE):
        """The top-level object whose name is `title`, once it has children."""
        window = wait_for(lambda: next((w for w in children(app) if w.name == title and w.childCount > 0), None))
        self.assertIsNotNone(window, "no window named %r with children; the application has %r"
                             % (title, [(w.getRoleName(), w.name, w.childCount) for w in children(app)]))
        return window

    def named(self, window, role):
        return [o.name for o in descendants(window) if o.getRole() == role]

    def focused(self, window):
        return next((o for o in descendants(window) if pyatspi.STATE_FOCUSED in states(o)), None)

    def settings_window(self, app):
        # The skinned window, with its controls: the demo's panel has another title.
        return self.window(app)

    def x_window(self, title):
        found = self.xdotool("search", "--onlyvisible", "--name", "^" + title + "$")
        return found[0] if found else None

    def test_the_demo_panel_shows_its_buttons(self):
        # The pipeline: the demo's own panel is made of standard widgets.
        demo = self.demo()
        app = self.application(demo)
        panel = self.window(app, "Quorvel demo mouse")
        self.assertIn("Stage 1", self.named(panel, pyatspi.ROLE_PUSH_BUTTON))

    def check_basic_page(self, window, texts):
        buttons = self.named(window, pyatspi.ROLE_PUSH_BUTTON)
        for name in texts["commit"]:
            self.assertIn(name, buttons)
        rows = self.named(window, pyatspi.ROLE_COMBO_BOX)
        self.assertEqual(rows[:8], texts["rows"], "the eight rows by their functions")
        radios = self.named(window, pyatspi.ROLE_RADIO_BUTTON)
        self.assertEqual(radios, texts["modes"] + ["125 Hz", "250 Hz", "500 Hz", "1000 Hz"])
        sliders = [o for o in descendants(window) if o.getRole() == pyatspi.ROLE_SLIDER]
        self.assertEqual([o.name for o in sliders], texts["stages"])
        for slider in sliders:
            value = slider.queryValue()
            self.assertEqual(value.minimumValue, 0)
            self.assertGreaterEqual(value.maximumValue, value.currentValue)

    def test_the_basic_page_names_its_controls_and_tab_moves_the_focus(self):
        demo = self.demo()
        app = self.application(demo)
        window = self.settings_window(app)
        self.check_basic_page(window, ENGLISH)
        # The window's title names it; OK is a button a reader can press.
        self.assertEqual(window.name, TITLE)
        ok = next(o for o in descendants(window) if o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == "OK")
        self.assertIn("Press", [ok.queryAction().getName(i) for i in range(ok.queryAction().nActions)])
        self.assertGreater(ok.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width, 0)

        x_window = wait_for(lambda: self.x_window(TITLE))
        self.assertTrue(x_window, "no settings window on the display")
        self.xdotool("windowfocus", "--sync", x_window)
        seen = []
        for _ in range(3):
            self.xdotool("key", "--window", x_window, "Tab")
            focused = wait_for(lambda: (lambda o: o if o is not None and (not seen or o.name != seen[-1]) else None)
                               (self.focused(window)), timeout=10)
            self.assertIsNotNone(focused, "Tab moved no focus that AT-SPI reports; seen %r" % seen)
            self.assertIn(pyatspi.STATE_FOCUSABLE, states(focused))
            seen.append(focused.name)
        self.assertEqual(len(set(seen)), 3, seen)

    def test_the_names_follow_the_interface_language(self):
        demo = self.demo(language="zh_CN")
        app = self.application(demo)
        window = self.settings_window(app)
        self.check_basic_page(window, CHINESE)

    def test_a_readers_press_is_told_back_as_a_state_change(self):
        # A screen reader keeps what it read and learns of changes from the
        # events; a press from the reader must be told like a click.
        told = []

        def heard(event):
            try:
                told.append((event.type, event.source.name, event.detail1))
            except Exception:  # an object that went away before it was read
                pass
        # Listening before the demo starts: its bridge sends only the events
        # that someone listens to, and asks which at start-up.
        pyatspi.Registry.registerEventListener(heard, "object:state-changed:checked")
        self.addCleanup(pyatspi.Registry.deregisterEventListener, heard, "object:state-changed:checked")
        demo = self.demo()
        app = self.application(demo)
        window = self.settings_window(app)
        rate = next(o for o in descendants(window) if o.getRole() == pyatspi.ROLE_RADIO_BUTTON and o.name == "250 Hz")
        self.assertNotIn(pyatspi.STATE_CHECKED, states(rate))
        rate.queryAction().doAction(0)

        def checked_told():
            while GLib.MainContext.default().iteration(False):
                pass
            return ("object:state-changed:checked", "250 Hz", 1) in told
        self.assertTrue(wait_for(checked_told, timeout=15), "no state change told of the pressed rate; heard %r" % told)
        self.assertIn(pyatspi.STATE_CHECKED, states(rate))

    def test_the_skins_dialog_is_named_by_its_own_title(self):
        demo = self.demo()
        app = self.application(demo)
        window = self.settings_window(app)
        skins = next(o for o in descendants(window) if o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == "Skins")
        skins.queryAction().doAction(0)
        dialog = wait_for(lambda: next((w for w in children(app) if w.getRole() == pyatspi.ROLE_DIALOG), None))
        self.assertIsNotNone(dialog, "the Skins button opened no dialog")
        self.assertEqual(dialog.name, "Skins")
        self.assertTrue(wait_for(lambda: dialog.childCount > 0), "the dialog shows no controls")


def main():
    global BIN, pyatspi, Atspi, GLib
    missing = missing_tools()
    if missing:
        print("atspi_test: missing " + ", ".join(missing), file=sys.stderr)
        if os.environ.get("CI"):
            print("atspi_test: scripts/install-deps.sh installs them; CI must have them", file=sys.stderr)
            return 1
        print("SKIP: the AT-SPI tools are not installed", file=sys.stderr)
        return SKIPPED
    if os.environ.get(OWN_BUS) != "1":
        # A session bus of the test's own: the accessibility bus it starts
        # and the registry on it end with the test.
        env = dict(os.environ, **{OWN_BUS: "1"})
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        env.pop("AT_SPI_BUS_ADDRESS", None)
        return subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__), *sys.argv[1:]],
                              env=env).returncode
    import pyatspi as atspi_module  # only on the test's own bus: it connects as it loads
    from gi.repository import Atspi as atspi_gi
    from gi.repository import GLib as glib_gi
    pyatspi, Atspi, GLib = atspi_module, atspi_gi, glib_gi
    BIN = os.path.abspath(sys.argv.pop(1))
    program = unittest.main(exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
