#!/usr/bin/env python3
"""A restless user for the installed sanitizer build: a seeded monkey that presses keys and
mnemonics, clicks the main window while a modal window is up, has the window system focus and close
it, types, and opens good and bad dictionaries, on Xvfb with openbox and on a headless sway; and a
watchdog that looks every 2 seconds at what the program does. Every failure is printed with its
seed and the last 20 actions; the same seed runs the same actions again.

Usage: soak.py --prefix PREFIX --suppressions FILE [--seeds N ...] [--seconds S] [--systems x11 wayland]
"""

import argparse
import collections
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

MAIN_TITLE = "Verbaro Tool"
SANITIZER_REPORT = re.compile(r"ERROR: (Address|Leak)Sanitizer|runtime error:|AddressSanitizer:DEADLYSIGNAL")
# Sanitizers end the program with a status of their own, told apart from the program's 0 and 1.
SANITIZER_STATUS = 86
WATCH_PERIOD = 2.0
FOCUS_GRACE = 3.0
KEYS = ["Return", "Escape", "Tab", "shift+Tab", "space", "Up", "Down", "BackSpace",
        "alt+o", "alt+r", "alt+a", "alt+g", "alt+v", "alt+n", "alt+e", "alt+c", "alt+w"]
WORDS = ["dog", "Hund", "cat", "ü", "x", "/", "the dog"]
# Actions that may end the program as the user asks: Exit, closing the main window, Quit; and
# the keys that press the button with the focus, which after a few Tabs may be Exit.
ENDING = {"alt+x", "alt+F4", "close", "alt+q", "Return", "space"}
ACTIONS = collections.OrderedDict([
    ("key", 30), ("double", 8), ("type", 10), ("open", 10), ("focus", 10), ("click", 8),
    ("close", 4), ("alt+F4", 3), ("alt+q", 1), ("alt+x", 1),
])


class Failure(Exception):
    reported = False


def run(*command, check=False, **options):
    return subprocess.run(command, check=check, capture_output=True, text=True, **options)


def wait_for(what, seconds, condition):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.05)


def make_dictionaries(folder, rng):
    """Good, empty, malformed, UTF-16, importing, newer and broken-import dictionaries."""
    os.makedirs(folder)
    files = {}

    def write(name, data):
        path = os.path.join(folder, name)
        with open(path, "wb") as file:
            file.write(data)
        files[name] = path

    for index in range(6):
        entries = "".join(f"w{index}_{n} = t{n}, dog\n" for n in range(rng.randint(1, 30)))
        write(f"good{index}.txt", f"@title Good {index}\n; a comment\n{entries}".encode())
    write("empty.txt", b"")
    write("comments.txt", b"; only a comment\n\n")
    write("malformed.txt", b"Hund = dog\nlonely\n")
    write("utf16.txt", b"\xff\xfe" + "Hund = dog\n".encode("utf-16-le"))
    write("importing.txt", b"@import good0.txt\n@import good1.txt\nKatze = cat\n")
    write("newer.txt", b"@ver 2.0\nHund = dog\n")
    write("missing-import.txt", b"@import nowhere.txt\n")
    write("ansi.txt", "br\xf6d = bread\n".encode("latin-1"))
    os.chmod(folder, 0o755)
    for path in files.values():
        os.chmod(path, 0o644)
    return sorted(files.values())


class Desktop:
    """One window system with the program on it; subclasses say how to reach it."""

    def __init__(self, work, prefix, suppressions):
        self.work = work
        self.prefix = prefix
        self.suppressions = suppressions
        self.processes = []
        self.program = None
        self.main = None
        self.starts = 0

    def background(self, command, log, env=None):
        with open(log, "w") as output:
            process = subprocess.Popen(command, stdout=output, stderr=subprocess.STDOUT, env=env)
        self.processes.append(process)
        return process

    def program_env(self):
        return {"ASAN_OPTIONS": f"detect_leaks=1:halt_on_error=1:exitcode={SANITIZER_STATUS}",
                "LSAN_OPTIONS": f"suppressions={self.suppressions}:exitcode={SANITIZER_STATUS}",
                "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1"}

    def start_program(self):
        self.starts += 1
        self.err = os.path.join(self.work, f"program{self.starts}.err")
        self.out = os.path.join(self.work, f"program{self.starts}.out")
        with open(self.out, "w") as out, open(self.err, "w") as err:
            self.program = subprocess.Popen(self.program_command(), stdout=out, stderr=err,
                                            cwd=self.cwd, env=self.session_env())
        self.main = None

        def main_up():
            self.main = next((w for w, title, _ in self.windows() if title == MAIN_TITLE), None)
            return self.main is not None and self.focused() == self.main
        wait_for("the main window", 30, main_up)

    def stop(self):
        for process in reversed(self.processes + ([self.program] if self.program else [])):
            if process.poll() is None:
                process.kill()
                process.wait()

    def modal_windows(self, windows=None):
        return [(w, title) for w, title, _ in (windows or self.windows()) if w != self.main]

    def focused(self):
        return next((w for w, _, focus in self.windows() if focus), None)


class X11(Desktop):
    name = "x11"

    def start(self):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp", "-noreset"], pass_fds=[write_end],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(xvfb)
        os.close(write_end)
        with os.fdopen(read_end) as display:
            self.display = ":" + display.readline().strip()
        home = os.path.join(self.work, "home")
        self.cwd = os.path.join(self.work, "cwd")
        runtime = os.path.join(self.work, "runtime")
        os.makedirs(home)
        os.makedirs(self.cwd)
        os.mkdir(runtime, 0o700)
        self.env = dict(os.environ, DISPLAY=self.display, HOME=home, XDG_RUNTIME_DIR=runtime)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.background(["openbox", "--sm-disable"], os.path.join(self.work, "openbox.log"), self.env)
        wait_for("openbox", 10, lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))

    def x(self, *command):
        return run(*command, env=self.env).stdout

    def session_env(self):
        return dict(self.env, **self.program_env())

    def program_command(self):
        return [os.path.join(self.prefix, "bin", "verbaro")]

    def windows(self):
        active = self.x("xprop", "-root", "_NET_ACTIVE_WINDOW").split()
        active = int(active[-1], 16) if active and active[-1].startswith("0x") else 0
        found = []
        for line in self.x("wmctrl", "-lp").splitlines():
            fields = line.split(None, 4)
            if len(fields) >= 4 and self.program and fields[2] == str(self.program.pid):
                window = int(fields[0], 16)
                found.append((window, fields[4] if len(fields) > 4 else "", window == active))
        return found

    def key(self, *keys):
        self.x("xdotool", "key", *keys)

    def type(self, text):
        self.x("xdotool", "type", "--delay", "5", text)

    def focus(self):
        self.x("wmctrl", "-i", "-a", hex(self.main))

    def close(self):
        self.x("wmctrl", "-i", "-c", hex(self.main))

    def click(self, rng):
        geometry = dict(re.findall(r"(\w+)=(\d+)", self.x("xdotool", "getwindowgeometry", "--shell", str(self.main))))
        if "X" not in geometry:
            return
        x = int(geometry["X"]) + rng.randrange(int(geometry["WIDTH"]))
        y = int(geometry["Y"]) + rng.randrange(int(geometry["HEIGHT"]))
        self.x("xdotool", "mousemove", str(x), str(y), "click", "1")


class Wayland(Desktop):
    """Sway refuses root, so root runs it and the program as nobody, as the desktop tests do."""
    name = "wayland"

    def start(self):
        self.as_user = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] if os.getuid() == 0 else []
        os.chmod(self.work, 0o755)
        for folder, mode in (("runtime", 0o700), ("home", 0o755), ("cwd", 0o755)):
            path = os.path.join(self.work, folder)
            os.mkdir(path, mode)
            if self.as_user:
                os.chown(path, 65534, 65534)
        self.cwd = os.path.join(self.work, "cwd")
        runtime = os.path.join(self.work, "runtime")
        config = os.path.join(self.work, "sway.conf")
        with open(config, "w") as file:
            file.write("xwayland disable\noutput HEADLESS-1 resolution 1024x768\n")
        self.env = {"PATH": "/usr/bin:/bin", "HOME": os.path.join(self.work, "home"), "XDG_RUNTIME_DIR": runtime,
                    "XDG_SESSION_TYPE": "wayland"}
        self.background(self.as_user + ["env", "-i"] + [f"{k}={v}" for k, v in self.env.items()]
                        + ["WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1", "WLR_RENDERER=pixman",
                           "sway", "-c", config], os.path.join(self.work, "sway.log"))

        def listens():
            sockets = [name for name in os.listdir(runtime) if name.startswith("sway-ipc.")]
            displays = [name for name in os.listdir(runtime) if re.fullmatch(r"wayland-\d", name)]
            if not sockets or not displays:
                return False
            self.env.update(SWAYSOCK=os.path.join(runtime, sockets[0]), WAYLAND_DISPLAY=displays[0])
            return self.sway("-t", "get_version").returncode == 0
        wait_for("sway", 10, listens)
        # A keyboard from the start, as the desktop tests keep one.
        self.background(self.in_session("wtype", "-s", "100000000"), os.devnull)

    def in_session(self, *command):
        return self.as_user + ["env", "-i"] + [f"{k}={v}" for k, v in self.env.items()] + list(command)

    def sway(self, *arguments):
        return run(*self.in_session("swaymsg", *arguments))

    def session_env(self):
        return None

    def program_command(self):
        return self.in_session(*[f"{k}={v}" for k, v in self.program_env().items()],
                               os.path.join(self.prefix, "bin", "verbaro"))

    def tree(self):
        result = self.sway("-t", "get_tree")
        return json.loads(result.stdout) if result.returncode == 0 else {}

    def nodes(self):
        """Every node of sway's tree: outputs, workspaces, containers and windows."""
        stack = [self.tree()]
        while stack:
            node = stack.pop()
            yield node
            stack.extend(node.get("nodes", []) + node.get("floating_nodes", []))

    def windows(self):
        return [(node["id"], node.get("name") or "", bool(node.get("focused"))) for node in self.nodes()
                if node.get("app_id") == "verbaro" and self.program and node.get("pid") == self.program.pid]

    def key(self, *keys):
        command = []
        for key in keys:
            *modifiers, name = key.split("+")
            for modifier in modifiers:
                command += ["-M", modifier]
            command += [name] if len(name) == 1 else ["-k", name]
            for modifier in modifiers:
                command += ["-m", modifier]
        run(*self.in_session("wtype", *command))

    def type(self, text):
        run(*self.in_session("wtype", text))

    def focus(self):
        self.sway(f"[con_id={self.main}] focus")

    def close(self):
        self.sway(f"[con_id={self.main}] kill")

    def click(self, rng):
        rect = next((node["rect"] for node in self.nodes() if node.get("id") == self.main), None)
        if rect is None:
            return
        x = rect["x"] + rng.randrange(rect["width"])
        y = rect["y"] + rng.randrange(rect["height"])
        self.sway("seat", "-", "cursor", "set", str(x), str(y))
        self.sway("seat", "-", "cursor", "press", "button1")
        self.sway("seat", "-", "cursor", "release", "button1")


class Soak:
    def __init__(self, desktop, seed, seconds, dictionaries):
        self.desktop = desktop
        self.seed = seed
        self.seconds = seconds
        self.rng = random.Random(seed)
        self.dictionaries = dictionaries
        self.actions = collections.deque(maxlen=20)
        self.counts = collections.Counter()
        self.seen = collections.Counter()
        self.shown = set()
        self.focus_asked = None
        self.ending_asked = False
        self.cpu_samples = collections.deque()

    def act(self):
        kinds, weights = zip(*ACTIONS.items())
        kind = self.rng.choices(kinds, weights)[0]
        desktop = self.desktop
        detail = ""
        if kind == "key":
            detail = self.rng.choice(KEYS)
            desktop.key(detail)
        elif kind == "double":
            detail = self.rng.choice(KEYS)
            desktop.key(detail, detail)
        elif kind in ("alt+F4", "alt+q", "alt+x"):
            desktop.key(kind)
        elif kind == "type":
            detail = self.rng.choice(WORDS)
            desktop.type(detail)
        elif kind == "open":
            detail = self.rng.choice(self.dictionaries)
            desktop.key("alt+o")
            try:
                wait_for("the Open dialog", 3, lambda: any(t == "Open Dictionary..." for _, t in desktop.modal_windows()))
            except Failure:
                detail += " (no dialog)"
            else:
                desktop.type(detail)
                desktop.key("Return")
        elif kind == "focus":
            desktop.focus()
            self.focus_asked = time.monotonic()
        elif kind == "click":
            desktop.click(self.rng)
        elif kind == "close":
            desktop.close()
        self.counts[kind] += 1
        self.ending_asked |= kind in ENDING or (kind in ("key", "double") and detail in ENDING)
        self.actions.append(f"{time.monotonic() - self.started:7.2f} {kind} {detail}".rstrip())
        time.sleep(self.rng.choice([0, 0.02, 0.1, 0.3]))

    def report(self, message):
        print(f"FAIL [{self.desktop.name} seed {self.seed}] {message}")
        print("  last actions:")
        for action in self.actions:
            print(f"    {action}")
        if self.desktop.program:
            with open(self.desktop.err, errors="replace") as err:
                output = err.read()
            if output.strip():
                print("  standard error of the program:")
                print("    " + output[-4000:].replace("\n", "\n    "))
        print(f"  replay: make soak SEED={self.seed} SECONDS={self.seconds} SYSTEMS={self.desktop.name}")

    def fail(self, message):
        self.report(message)
        failure = Failure(message)
        failure.reported = True
        raise failure

    def ended(self):
        status = self.desktop.program.returncode
        with open(self.desktop.out, errors="replace") as out:
            quit_line = out.read().startswith("Error: ")
        if status == 0 and self.ending_asked:
            self.counts["program ended: exit"] += 1
        elif status == 1 and quit_line:
            self.counts["program ended: quit"] += 1
        else:
            self.fail(f"the program ended with status {status}")
        self.desktop.start_program()
        self.ending_asked = False
        self.cpu_samples.clear()
        self.shown.clear()

    def watch(self):
        desktop = self.desktop
        with open(desktop.err, errors="replace") as err:
            if SANITIZER_REPORT.search(err.read()):
                desktop.program.wait(timeout=10)
                self.fail("a sanitizer report")
        if desktop.program.poll() is not None:
            self.ended()
            return
        with open(f"/proc/{desktop.program.pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        # Answering: not busy all the time over the last three looks.
        now = time.monotonic()
        self.cpu_samples.append((now, (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")))
        while now - self.cpu_samples[0][0] > 3 * WATCH_PERIOD + 0.5:
            self.cpu_samples.popleft()
        since, cpu_then = self.cpu_samples[0]
        if now - since >= 3 * WATCH_PERIOD and self.cpu_samples[-1][1] - cpu_then > 0.95 * (now - since):
            self.fail(f"the program has been busy without a pause for {now - since:.0f} s")
        windows = desktop.windows()
        if not any(w == desktop.main for w, _, _ in windows):
            desktop.program.wait(timeout=10)
            self.ended()
            return
        modal = desktop.modal_windows(windows)
        titles = [title for _, title in modal]
        if titles.count("About") > 1:
            self.fail("two About windows")
        for title in set(titles) - self.shown:
            self.seen[title] += 1
        self.shown = set(titles)
        if self.focus_asked and time.monotonic() - self.focus_asked >= FOCUS_GRACE:
            self.focus_asked = None
            focused = next((w for w, _, focus in windows if focus), None)
            if modal and focused == desktop.main:
                self.fail(f"{titles} up but the main window has the keyboard {FOCUS_GRACE:.0f} s after a focus command")

    def run(self):
        self.started = time.monotonic()
        next_watch = self.started + WATCH_PERIOD
        while time.monotonic() - self.started < self.seconds:
            self.act()
            if time.monotonic() >= next_watch:
                self.watch()
                next_watch = time.monotonic() + WATCH_PERIOD
        self.watch()

    def finish(self):
        """Dismisses what is up, then Exit: status 0 and no sanitizer report."""
        desktop = self.desktop
        # Escape closes the Open dialog, the warnings it brings up and the message boxes; About
        # takes Enter and the error dialog Alt+C. A window may still come up from the last action,
        # so only two looks in a row with nothing up end the dismissing.
        looks_with_nothing_up = 0
        for _ in range(20):
            windows = desktop.windows()
            titles = [title for _, title in desktop.modal_windows(windows)]
            if titles:
                looks_with_nothing_up = 0
                focused = next((title for w, title, focus in windows if focus and w != desktop.main), titles[-1])
                desktop.key({"Error": "alt+c", "About": "Return"}.get(focused, "Escape"))
            else:
                looks_with_nothing_up += 1
                if looks_with_nothing_up == 2:
                    break
            time.sleep(0.5)
        desktop.key("alt+x")
        try:
            desktop.program.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end on Exit")
        if desktop.program.returncode != 0:
            self.fail(f"exit status {desktop.program.returncode} after Exit")
        with open(desktop.err, errors="replace") as err:
            if SANITIZER_REPORT.search(err.read()):
                self.fail("a sanitizer report at exit")


def soak_one(system, seed, seconds, prefix, suppressions):
    work = tempfile.mkdtemp(prefix="verbaro-soak-", dir="/tmp")
    desktop = {"x11": X11, "wayland": Wayland}[system](work, os.path.join(work, "prefix"), suppressions)
    shutil.copytree(prefix, desktop.prefix, symlinks=True)
    shutil.copy(suppressions, os.path.join(work, "lsan.supp"))
    desktop.suppressions = os.path.join(work, "lsan.supp")
    # What the program reads, for whichever user runs it.
    for root, folders, files in os.walk(work):
        for name in folders + files:
            path = os.path.join(root, name)
            os.chmod(path, os.stat(path).st_mode | 0o444 | (0o111 if name in folders else 0))
    soak = Soak(desktop, seed, seconds, make_dictionaries(os.path.join(work, "dictionaries"), random.Random(seed)))
    failed = False
    try:
        desktop.start()
        desktop.start_program()
        soak.run()
        soak.finish()
    except Failure as failure:
        failed = True
        if not failure.reported:
            soak.report(str(failure))
    finally:
        desktop.stop()
        shutil.rmtree(work, ignore_errors=True)
    actions = ", ".join(f"{kind} {count}" for kind, count in sorted(soak.counts.items()))
    dialogs = ", ".join(f"{title!r} {count}" for title, count in sorted(soak.seen.items()))
    print(f"{system} seed {seed}, {seconds} s: {sum(c for k, c in soak.counts.items() if not k.startswith('program'))}"
          f" actions ({actions}); program started {desktop.starts} times; dialogs seen: {dialogs or 'none'};"
          f" {'FAILED' if failed else 'no failure'}")
    return not failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix", required=True, help="where the sanitizer build is installed")
    parser.add_argument("--suppressions", required=True, help="the leak checker's suppressions")
    parser.add_argument("--seeds", type=int, nargs="+", default=[1, 2])
    parser.add_argument("--seconds", type=int, default=30, help="per seed and window system")
    parser.add_argument("--systems", nargs="+", default=["x11", "wayland"], choices=["x11", "wayland"])
    arguments = parser.parse_args()
    prefix = os.path.realpath(arguments.prefix)
    suppressions = os.path.realpath(arguments.suppressions)
    passed = True
    for seed in arguments.seeds:
        for system in arguments.systems:
            passed &= soak_one(system, seed, arguments.seconds, prefix, suppressions)
    sys.exit(0 if passed else 1)


if __name__ == "__main__":
    main()
