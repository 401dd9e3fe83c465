"""Drives the real Agendela and Avisela on a private X server through the accessibility tree.

Each test run gets its own Xvfb, its own D-Bus session with the accessibility bus, and its own
program directory holding copies of the programs, so that nothing leaks between runs or into
the user's session.
"""

import glob
import os
import random
import re
import shutil
import subprocess
import tempfile
import time

PROGRAM_FILES = ("Agendela", "Avisela", "libavisela_windows.so", "Cumple.WAV", "GUIA.md")
DEFAULT_TIMEOUT = 15.0


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(probe, what, timeout=DEFAULT_TIMEOUT, interval=0.1):
    """Calls probe until it gives something true, and returns that."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            value = probe()
            if value:
                return value
        except Exception as error:  # the tree changes under our feet while windows come and go
            last_error = error
        time.sleep(interval)
    raise Failure(f"timed out waiting for {what}" + (f" ({last_error})" if last_error else ""))


def faketime_library():
    """libfaketime from Debian's faketime package."""
    found = glob.glob("/usr/lib/*/faketime/libfaketime.so.1")
    check(found, "libfaketime is not installed")
    return found[0]


def start_private_x_server(screen="1280x800", attempts=30):
    """Xvfb on a display number of our own. Servers started at the same moment with -displayfd
    alone can both settle on the same number, so each try names a random one and keeps it only
    when the server reports it ready. Without -noreset the server resets whenever its last
    client leaves, and a program connecting at that moment fails."""
    for _ in range(attempts):
        number = random.randint(100, 30000)
        read_end, write_end = os.pipe()
        server = subprocess.Popen(
            ["Xvfb", f":{number}", "-displayfd", str(write_end), "-noreset",
             "-screen", "0", f"{screen}x24", "-nolisten", "tcp"],
            pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as ready:
            reported = ready.readline().strip()  # empty when the server gave up
        if reported == str(number) and subprocess.run(
                ["xdotool", "getdisplaygeometry"], env=dict(os.environ, DISPLAY=f":{number}"),
                capture_output=True).returncode == 0:
            return server, reported
        stop(server)
    raise Failure("no Xvfb display could be started")


def stop(process):
    """Asks a process to end, so that an X server removes its lock file and socket."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class Desktop:
    """A private X server and D-Bus session with the accessibility bus running, and openbox as
    the window manager when asked for."""

    def __init__(self, bin_dir, window_manager=False, screen="1280x800"):
        self.bin_dir = bin_dir
        self.window_manager = window_manager
        self.screen = screen
        self.root = tempfile.mkdtemp(prefix="tortavela-e2e-")
        self.processes = []

    def __enter__(self):
        self.xvfb, display = start_private_x_server(self.screen)
        os.environ["DISPLAY"] = ":" + display
        # Without DISPLAY in the bus's environment synthesized input goes nowhere; the memory
        # backend keeps settings from leaking into the user's dconf.
        os.environ["GSETTINGS_BACKEND"] = "memory"
        self.dbus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.dbus.stdout.readline().strip()
        subprocess.run(["dbus-send", "--session", "--dest=org.a11y.Bus", "--print-reply",
                        "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                       check=True, capture_output=True)
        self.runtime_dir = os.path.join(self.root, "runtime")
        os.makedirs(self.runtime_dir, mode=0o700)
        self.config_home = os.path.join(self.root, "config")
        # systemctl is a stand-in (fake_systemctl) whose user instance answers.
        self.fake_bin = os.path.join(self.root, "bin")
        self.systemd_dir = os.path.join(self.root, "systemd")
        os.makedirs(self.fake_bin)
        os.makedirs(self.systemd_dir)
        os.symlink(os.path.join(os.path.dirname(os.path.abspath(__file__)), "fake_systemctl"),
                   os.path.join(self.fake_bin, "systemctl"))
        import pyatspi  # only now: it connects to the session bus set above
        self.atspi = pyatspi
        if self.window_manager:
            try:
                self.start_window_manager()
            except BaseException:
                self.__exit__()  # no server is left behind
                raise
        return self

    def __exit__(self, *exc):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait()
            # libfaketime leaves these behind when its process is killed.
            for name in (f"faketime_shm_{process.pid}", f"sem.faketime_sem_{process.pid}"):
                try:
                    os.remove(os.path.join("/dev/shm", name))
                except OSError:
                    pass
        for process in (self.dbus, self.xvfb):
            stop(process)
        shutil.rmtree(self.root, ignore_errors=True)

    # --- programs -------------------------------------------------------------------------

    def program_dir(self, contacts=None):
        """A fresh program directory with the programs and, if given, a contact file (bytes)."""
        directory = tempfile.mkdtemp(prefix="prog-", dir=self.root)
        for name in PROGRAM_FILES:
            source = os.path.join(self.bin_dir, name)
            if os.path.exists(source):
                shutil.copy2(source, directory)
        if contacts is not None:
            with open(os.path.join(directory, "data.tvl"), "wb") as file:
                file.write(contacts)
        return directory

    def environment(self, extra=None):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_RUNTIME_DIR=self.runtime_dir, XDG_CONFIG_HOME=self.config_home,
                   LANG="es_ES.UTF-8", LC_ALL="es_ES.UTF-8", TZ="Europe/Madrid",
                   PATH=self.fake_bin + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin"),
                   FAKE_SYSTEMD_DIR=self.systemd_dir)
        env.pop("QT_QPA_PLATFORM", None)
        env.update(extra or {})
        return env

    def start(self, program_dir, program, today=None, extra_env=None):
        """Starts a program; `today` (YYYY-MM-DD) runs it under faketime with a running clock."""
        command = [os.path.join(program_dir, program)]
        env = self.environment(extra_env)
        if today:
            # The library itself, not the faketime wrapper: the wrapper keeps a semaphore named
            # after its process id in /dev/shm, and one left by a killed run makes a later
            # wrapper with that id refuse to start.
            env.update(LD_PRELOAD=faketime_library(), FAKETIME=f"@{today} 10:00:00")
        process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def systemctl(self, *arguments):
        """Runs the stand-in systemctl as the user would."""
        subprocess.run([os.path.join(self.fake_bin, "systemctl"), *arguments],
                       env=self.environment(), check=False)

    def systemctl_calls(self):
        try:
            with open(os.path.join(self.systemd_dir, "calls")) as calls:
                return calls.read().splitlines()
        except FileNotFoundError:
            return []

    def running(self, program_dir, program):
        """Whether a process of that program file runs, whoever started it."""
        wanted = os.path.realpath(os.path.join(program_dir, program))
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if os.path.realpath(f"/proc/{pid}/exe") == wanted:
                    return True
            except OSError:
                pass
        return False

    def minimized(self, title):
        """Whether the X window with this caption asked to be minimized (hidden)."""
        found = subprocess.run(["xdotool", "search", "--name", f"^{title}$"],
                               capture_output=True, text=True).stdout.split()
        return any("_NET_WM_STATE_HIDDEN" in self.net_wm_state(window) for window in found)

    # --- the window manager's view -------------------------------------------------------

    def start_window_manager(self, attempts=20):
        """openbox, once it really manages windows: it says it is ready before it does, and a
        window mapped in its first moments stays unmanaged for good. Throw-away windows are
        mapped one after the other until openbox takes one."""
        self.processes.append(subprocess.Popen(
            ["openbox", "--sm-disable"], env=self.environment(),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        for _ in range(attempts):
            guard = subprocess.Popen(["xmessage", "-name", "guard", "guard"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                wait_for(lambda: any(self.title(w) == "guard" for w in self.clients()),
                         "openbox managing a window", timeout=1.5)
                managed = True
            except Failure:
                managed = False
            finally:
                stop(guard)
            if managed:
                wait_for(lambda: not self.clients(), "openbox letting the window go")
                return
        raise Failure("openbox managed no window")

    def root_property(self, name):
        return subprocess.run(["xprop", "-root", name], capture_output=True, text=True).stdout

    def clients(self):
        """The managed windows, from the bottom of the stack to its top."""
        return re.findall(r"0x[0-9a-f]+", self.root_property("_NET_CLIENT_LIST_STACKING"))

    def title(self, window):
        # In a UTF-8 locale xprop writes "¡¡FELIZ CUMPLE!!" as it is, not as octal escapes.
        # Other programs (xmessage) may name their windows by WM_NAME only.
        found = re.search(r'= "(.*)"', subprocess.run(
            ["xprop", "-id", window, "_NET_WM_NAME", "WM_NAME"], capture_output=True, text=True,
            env=dict(os.environ, LC_ALL="C.UTF-8")).stdout)
        return found.group(1) if found else None

    def windows_titled(self, title):
        return [w for w in self.clients() if self.title(w) == title]

    def window_property(self, window, name):
        return subprocess.run(["xprop", "-id", window, name], capture_output=True,
                              text=True).stdout

    def net_wm_state(self, window):
        return self.window_property(window, "_NET_WM_STATE")

    def viewable(self, window):
        return "IsViewable" in subprocess.run(["xwininfo", "-id", window],
                                              capture_output=True, text=True).stdout

    def frame(self, window):
        """The window with its frame, as (left, top, right, bottom) on the screen."""
        info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True).stdout
        x, y, width, height = (int(re.search(rf"{key}:\s+(-?\d+)", info).group(1)) for key in
                               ("Absolute upper-left X", "Absolute upper-left Y", "Width",
                                "Height"))
        extents = self.window_property(window, "_NET_FRAME_EXTENTS")
        left, right, top, bottom = (int(n) for n in re.findall(r"\d+", extents.split("=")[1]))
        return x - left, y - top, x + width + right, y + height + bottom

    def settled(self, probe, what, settle=1.0):
        """Waits for probe to hold, then checks that it still holds a moment later: a window's
        state and its map state can disagree for a moment."""
        wait_for(probe, what)
        time.sleep(settle)
        check(probe(), f"{what}: it did not last")

    # --- reading the tree -----------------------------------------------------------------

    def application(self, name, timeout=DEFAULT_TIMEOUT):
        def probe():
            for app in self.atspi.Registry.getDesktop(0):
                if app is not None and app.name == name:
                    return app
            return None
        return wait_for(probe, f"application {name}", timeout)

    def has_application(self, name):
        return any(app is not None and app.name == name
                   for app in self.atspi.Registry.getDesktop(0))

    def window(self, app, title, role=None, timeout=DEFAULT_TIMEOUT):
        """A showing top-level window of the application, by caption (and role: "frame",
        "dialog", "alert" for message boxes)."""
        def probe():
            for window in app:
                if (window is not None and window.name == title and self.showing(window) and
                        (role is None or window.getRoleName() == role)):
                    return window
            return None
        return wait_for(probe, f"window {title!r}", timeout)

    def find(self, node, role=None, name=None, timeout=DEFAULT_TIMEOUT):
        """The first showing descendant with that role name and accessible name."""
        def matches(candidate):
            return ((role is None or candidate.getRoleName() == role) and
                    (name is None or candidate.name == name))

        def probe():
            found = self.atspi.findDescendant(node, matches)
            return found if found is not None and self.showing(found) else None
        return wait_for(probe, f"{role} {name!r}", timeout)

    def state(self, node, state):
        return node.getState().contains(state)

    def enabled(self, node):
        return self.state(node, self.atspi.STATE_ENABLED)

    def showing(self, node):
        return self.state(node, self.atspi.STATE_SHOWING)

    def text(self, node):
        return node.queryText().getText(0, -1)

    def table_rows(self, table):
        """The rows of a table as lists of cell texts."""
        interface = table.queryTable()
        return [[interface.getAccessibleAt(row, column).name
                 for column in range(interface.nColumns)]
                for row in range(interface.nRows)]

    def list_items(self, node):
        return [child.name for child in node if child is not None and
                child.getRoleName() == "list item"]

    # --- acting ---------------------------------------------------------------------------

    def click(self, node, near_left=False):
        """A real mouse click in the middle of the node, or near its left end (the entries of
        a drop-down list report a width wider than the list shows)."""
        extents = node.queryComponent().getExtents(self.atspi.DESKTOP_COORDS)
        x = extents.x + (min(12, extents.width // 2) if near_left else extents.width // 2)
        y = extents.y + extents.height // 2
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)

    def activate(self, window, by):
        """Makes the window the active one by clicking one of its passive parts (a label):
        the keyboard goes to the active window only."""
        self.click(self.find(window, "label", by))

    def do_action(self, node, *names):
        action = node.queryAction()
        available = [action.getName(i) for i in range(action.nActions)]
        for i, available_name in enumerate(available):
            if available_name.lower() in (n.lower() for n in names):
                action.doAction(i)
                return
        raise Failure(f"{node.name!r} offers none of {names}; it has {available}")

    def press(self, node):
        self.do_action(node, "Press", "click")

    def menu(self, window, menu_name, item_name):
        """Opens a menu of the window's menu bar and clicks one of its items."""
        menu = self.find(window, "menu item", menu_name)

        def open_item():
            # A window that was disabled a moment ago may ignore the first request.
            self.do_action(menu, "ShowMenu", "Press")
            return self.find(menu, "menu item", item_name, timeout=1.5)
        item = wait_for(open_item, f"menu {menu_name} > {item_name}")
        self.click(item)

    def keys(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "50", *keys], check=True)

    def type_text(self, text):
        subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], check=True)


def dump(node, depth=0, limit=8):
    """Prints the tree under a node, for writing and debugging scenarios."""
    try:
        states = [s.value_nick for s in node.getState().get_states()] if hasattr(
            node.getState(), "get_states") else []
        print("  " * depth + f"{node.getRoleName()} {node.name!r} {states[:4]}")
    except Exception as error:
        print("  " * depth + f"<{error}>")
        return
    if depth < limit:
        for child in node:
            if child is not None:
                dump(child, depth + 1, limit)
