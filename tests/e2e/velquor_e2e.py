"""End-to-end test harness: runs the real velquor.exe under Wine with real input.

Every test gets a fresh Wine prefix, copied from a template prefix that is made
once (VELQUOR_WINE_TEMPLATE, else BUILD/wine-template). The program runs with
`wine velquor.exe` inside a 1024x768 Wine virtual desktop on the X display in
DISPLAY; when DISPLAY is not set, an Xvfb display is started for the run.
Windows are found with velquor-inspect.exe, input is given with xdotool and
screenshots are taken with ImageMagick's import.

Texts from the inspector are str decoded as latin-1, so that every byte keeps
its value: compare with `text.encode("latin-1") == b"..."`.

Run a test file directly:  python3 tests/e2e/test_x.py --build build/windows
Environment: VELQUOR_E2E_KEEP=1 keeps each test's prefix for a look afterwards.
"""

import argparse
import fcntl
import getpass
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DESKTOP_SIZE = (1024, 768)
WINE_ENV = {
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
    "WINEDEBUG": "-all",
    "WINEARCH": "win64",
}

# Window classes that Windows itself gives a program; a close request is meant
# for the program's own windows.
SYSTEM_CLASSES = {"IME", "MSCTFIME UI", "tooltips_class32", "#32768", "#32770", "OleMainThreadWndClass"}

build_dir = os.path.join(ROOT, "build", "windows")
_xvfb = None


# ---------------------------------------------------------------- set-up ---

def find_program(name):
    """Finds a program of the build: the build folder first, then below it."""
    direct = os.path.join(build_dir, name)
    if os.path.isfile(direct):
        return direct
    for folder, _, files in os.walk(build_dir):
        if name in files:
            return os.path.join(folder, name)
    raise FileNotFoundError("%s not found under %s" % (name, build_dir))


def ensure_display():
    """Uses DISPLAY, or starts an Xvfb of the desktop's size for this run."""
    global _xvfb
    if os.environ.get("DISPLAY"):
        return os.environ["DISPLAY"]
    number = 90
    while os.path.exists("/tmp/.X%d-lock" % number) or os.path.exists("/tmp/.X11-unix/X%d" % number):
        number += 1
    display = ":%d" % number
    _xvfb = subprocess.Popen(
        ["Xvfb", display, "-screen", "0", "%dx%dx24" % DESKTOP_SIZE, "-nolisten", "tcp"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = display
    for _ in range(100):
        if subprocess.call(["xdpyinfo"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) == 0:
            return display
        time.sleep(0.1)
    raise RuntimeError("Xvfb did not start on " + display)


def stop_display():
    global _xvfb
    if _xvfb is not None:
        _xvfb.terminate()
        _xvfb.wait()
        _xvfb = None


def wine_env(prefix):
    env = dict(os.environ)
    env.update(WINE_ENV)
    env["WINEPREFIX"] = prefix
    return env


def template_prefix():
    """The template prefix; made on first use, under a lock."""
    template = os.environ.get("VELQUOR_WINE_TEMPLATE") or os.path.join(build_dir, "wine-template")
    os.makedirs(os.path.dirname(template), exist_ok=True)
    with open(template + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.isfile(os.path.join(template, "system.reg")):
            shutil.rmtree(template, ignore_errors=True)
            env = wine_env(template)
            subprocess.run(["wineboot", "-i"], env=env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for key, name, value in ((r"HKCU\Software\Wine\Explorer", "Desktop", "Default"),
                                     (r"HKCU\Software\Wine\Explorer\Desktops", "Default",
                                      "%dx%d" % DESKTOP_SIZE)):
                subprocess.run(["wine", "reg", "add", key, "/v", name, "/d", value, "/f"], env=env,
                               check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=env, check=True)
            isolate_profile(template)
    return template


def isolate_profile(prefix):
    """Wine links Desktop, Documents and the like to the Unix home; tests get
    folders of their own instead."""
    users = os.path.join(prefix, "drive_c", "users")
    for user in os.listdir(users):
        home = os.path.join(users, user)
        for name in os.listdir(home):
            path = os.path.join(home, name)
            if os.path.islink(path):
                os.unlink(path)
                os.mkdir(path)


# ------------------------------------------------------------- inspector ---

def unescape(value):
    out = []
    i = 0
    while i < len(value):
        c = value[i]
        if c == "\\" and i + 1 < len(value):
            out.append({"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}.get(value[i + 1], value[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def parse_records(output):
    """Turns inspector output (bytes) into dicts with the record kind in 'kind'."""
    records = []
    for line in output.decode("latin-1").splitlines():
        line = line.rstrip("\r")
        if not line:
            continue
        fields = line.split("\t")
        record = {"kind": fields[0]}
        for field in fields[1:]:
            key, _, value = field.partition("=")
            record[key] = unescape(value)
        records.append(record)
    return records


def _numbers(text):
    return tuple(int(part) for part in text.split(",")) if text else ()


def parse_windows(output):
    """Top-level windows, each a dict with 'children'; list boxes carry
    'rows', popup menus 'items' (empty when Wine cannot read them)."""
    windows = []
    by_handle = {}
    for record in parse_records(output):
        kind = record["kind"]
        if kind in ("window", "child"):
            for key in ("hwnd", "parent", "owner", "style", "exstyle"):
                record[key] = int(record.get(key, "0"), 16)
            for key in ("pid", "id", "visible", "enabled"):
                record[key] = int(record.get(key, "0"))
            record["rect"] = _numbers(record.get("rect"))
            record["client"] = _numbers(record.get("client"))
            record["origin"] = _numbers(record.get("origin"))
            record["children"] = []
            record["rows"] = []
            record["items"] = []
            record["menu_count"] = None
            by_handle[record["hwnd"]] = record
            if kind == "window":
                windows.append(record)
            else:
                top = windows[-1] if windows else None
                if top is not None:
                    top["children"].append(record)
        elif kind == "row":
            owner = by_handle.get(int(record["hwnd"], 16))
            if owner is not None:
                owner["rows"].append(record["text"])
        elif kind == "listbox":
            owner = by_handle.get(int(record["hwnd"], 16))
            if owner is not None:
                owner["selected"] = int(record["selected"])
        elif kind == "menu":
            owner = by_handle.get(int(record["hwnd"], 16))
            if owner is not None:
                owner["menu_count"] = int(record["count"])
        elif kind == "menuitem":
            owner = by_handle.get(int(record["hwnd"], 16))
            if owner is not None:
                owner["items"].append({"id": int(record["id"]), "text": record["text"],
                                       "separator": record["separator"] == "1",
                                       "grayed": record["grayed"] == "1"})
    return windows


# ------------------------------------------------------------------ PNG ---

def png_chunks(data):
    """The chunks of PNG bytes as (type, payload) pairs; raises ValueError on
    a bad signature, a truncated chunk or a wrong CRC."""
    import zlib
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG signature")
    chunks = []
    pos = 8
    while pos < len(data):
        if pos + 12 > len(data):
            raise ValueError("truncated chunk")
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        payload = data[pos + 8:pos + 8 + length]
        if len(payload) != length or pos + 12 + length > len(data):
            raise ValueError("truncated chunk")
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(kind + payload) != crc:
            raise ValueError("bad CRC in " + kind.decode("latin-1"))
        chunks.append((kind.decode("latin-1"), payload))
        pos += 12 + length
    return chunks


def png_header(data):
    """IHDR of PNG bytes as a dict: width, height, depth, colour, interlace."""
    kind, payload = png_chunks(data)[0]
    if kind != "IHDR":
        raise ValueError("first chunk is not IHDR")
    width, height, depth, colour, compression, filtering, interlace = struct.unpack(">IIBBBBB", payload)
    return {"width": width, "height": height, "depth": depth, "colour": colour,
            "compression": compression, "filter": filtering, "interlace": interlace}


# --------------------------------------------------------------- session ---

class WineSession:
    """One fresh Wine prefix with the program and its helpers."""

    def __init__(self, name):
        ensure_display()
        self.name = name
        self.program = find_program("velquor.exe")
        self.inspector = find_program("velquor-inspect.exe")
        self.marker = find_program("velquor-mark.exe")
        self.artifacts = os.path.join(build_dir, "e2e-artifacts", name)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        os.makedirs(self.artifacts)
        template = template_prefix()
        self.prefix = tempfile.mkdtemp(prefix="wine-e2e-", dir=os.path.dirname(template))
        os.rmdir(self.prefix)
        subprocess.run(["cp", "-a", template, self.prefix], check=True)
        self.env = wine_env(self.prefix)
        self.profile = self._profile_folder()
        self.process = None
        self.log = None
        self.offset = None

    def _profile_folder(self):
        users = os.path.join(self.prefix, "drive_c", "users")
        user = getpass.getuser()
        if not os.path.isdir(os.path.join(users, user)):
            user = next(name for name in sorted(os.listdir(users)) if name != "Public")
        return os.path.join(users, user) + os.sep

    def windows_path(self, unix_path):
        """The Windows name of a file inside the prefix's drive C, or on Z:."""
        drive_c = os.path.join(self.prefix, "drive_c")
        path = os.path.abspath(unix_path)
        if path.startswith(drive_c + os.sep):
            return "C:\\" + path[len(drive_c) + 1:].replace("/", "\\")
        return "Z:" + path.replace("/", "\\")

    # -- the program

    def start(self, program=None, args=(), cwd=None):
        """Starts `wine program` (velquor.exe by default) in the background."""
        if self.log is not None:
            self.log.close()
        self.log = open(os.path.join(self.artifacts, "program.log"), "ab")
        self.process = subprocess.Popen(["wine", program or self.program, *args], env=self.env,
                                        cwd=cwd or os.path.dirname(program or self.program),
                                        stdin=subprocess.DEVNULL, stdout=self.log, stderr=subprocess.STDOUT)
        return self.process

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=30):
        """The program's exit code; raises subprocess.TimeoutExpired."""
        return self.process.wait(timeout=timeout)

    def close(self):
        """Saves a last screenshot and the window list, then ends everything."""
        try:
            if self.running():
                self.screenshot(os.path.join(self.artifacts, "last.png"))
                with open(os.path.join(self.artifacts, "windows.txt"), "wb") as out:
                    out.write(self.inspect("windows"))
        except Exception:
            pass
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.process is not None:
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        subprocess.run(["wineserver", "-w"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=30)
        if self.log is not None:
            self.log.close()
        if not os.environ.get("VELQUOR_E2E_KEEP"):
            shutil.rmtree(self.prefix, ignore_errors=True)

    # -- the inspector

    def inspect(self, *args):
        """Raw output of velquor-inspect.exe with the given arguments."""
        result = subprocess.run(["wine", self.inspector, *args], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        return result.stdout

    def windows(self, exe="velquor.exe"):
        """Top-level windows of the given program (None: of every program)."""
        found = parse_windows(self.inspect("windows"))
        if exe is None:
            return found
        return [w for w in found if w.get("exe", "").lower() == exe.lower()]

    def wait_for(self, condition, timeout=30, interval=0.3, what="condition"):
        """Polls condition() until it gives something true, and returns that."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError("timed out waiting for " + what)
            time.sleep(interval)

    def wait_window(self, title=None, cls=None, visible=True, timeout=30, exe="velquor.exe"):
        """The first top-level window of the program with the title and class."""
        def match():
            for w in self.windows(exe):
                if title is not None and w["text"] != title:
                    continue
                if cls is not None and w["class"] != cls:
                    continue
                if visible and not w["visible"]:
                    continue
                return w
            return None
        return self.wait_for(match, timeout, what="window title=%r class=%r" % (title, cls))

    def close_window(self, hwnd):
        subprocess.run(["wine", self.inspector, "close", "0x%x" % hwnd], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def tooltips(self):
        return [r["text"] for r in parse_records(self.inspect("tooltip")) if r["kind"] == "tooltip"]

    def cursor(self):
        record = parse_records(self.inspect("cursor"))[0]
        return int(record["x"]), int(record["y"])

    def screen_pixel(self, x, y):
        """(r, g, b) at desktop coordinates x, y as Windows' GetPixel sees it."""
        record = parse_records(self.inspect("pixel", str(x), str(y)))[0]
        rgb = int(record.get("rgb", "0"), 16)
        return rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF

    # -- X input and pictures

    def _xdotool(self, *args):
        subprocess.run(["xdotool", *args], check=True, env=self.env)

    def desktop_offset(self):
        """Where the Wine desktop window sits on the X screen (0, 0 normally)."""
        if self.offset is None:
            tree = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL).stdout.decode("latin-1")
            self.offset = (0, 0)
            for line in tree.splitlines():
                if "Wine desktop" in line:
                    geometry = line.split()[-2]  # WxH+X+Y
                    _, x, y = geometry.replace("-", "+-").split("+")[:3]
                    self.offset = (int(x), int(y))
                    break
        return self.offset

    def move(self, x, y):
        """Moves the pointer to desktop coordinates x, y."""
        dx, dy = self.desktop_offset()
        self._xdotool("mousemove", "--sync", str(x + dx), str(y + dy))

    def click(self, x=None, y=None, button=1, repeat=1):
        if x is not None:
            self.move(x, y)
        self._xdotool("click", "--repeat", str(repeat), str(button))

    def key(self, *keys):
        """Presses and releases keys, e.g. key("Return") or key("alt+F4")."""
        self._xdotool("key", "--delay", "50", *keys)

    def key_down(self, key):
        self._xdotool("keydown", key)

    def key_up(self, key):
        self._xdotool("keyup", key)

    def type_text(self, text):
        self._xdotool("type", "--delay", "30", text)

    def screenshot(self, path=None):
        """Saves the whole X screen as PNG and returns the path."""
        path = path or os.path.join(self.artifacts, "shot-%d.png" % int(time.monotonic() * 1000))
        subprocess.run(["import", "-window", "root", path], check=True, env=self.env)
        return path

    def grab(self):
        """The X screen as (width, height, rgb bytes), for pixel checks."""
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], check=True, env=self.env,
                              stdout=subprocess.PIPE).stdout
        return parse_ppm(data)

    def pixel(self, x, y, picture=None):
        """(r, g, b) at desktop coordinates x, y from a screen grab."""
        width, _, rgb = picture or self.grab()
        dx, dy = self.desktop_offset()
        at = ((y + dy) * width + x + dx) * 3
        return tuple(rgb[at:at + 3])


def parse_ppm(data):
    """(width, height, rgb bytes) of a binary P6 picture with maxval 255."""
    fields = []
    pos = 2
    if data[:2] != b"P6":
        raise ValueError("not a P6 picture")
    while len(fields) < 3:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(int(data[start:pos]))
    width, height, _ = fields
    pos += 1
    return width, height, data[pos:pos + width * height * 3]


class VelquorTestCase(unittest.TestCase):
    """A test with its own Wine prefix in self.wine and the profile folder
    (ending in a separator) in self.profile."""

    def setUp(self):
        self.wine = WineSession(self.id().split(".", 1)[-1])
        self.addCleanup(self.wine.close)
        self.profile = self.wine.profile

    def data_folder(self):
        return os.path.join(self.profile, "velquor_ZV")

    def finish_program(self, settle=4, timeout=30):
        """Ends the program the way a user would: when it still runs after
        `settle` seconds, its windows get WM_CLOSE. Returns the exit code."""
        try:
            return self.wine.wait_exit(timeout=settle)
        except subprocess.TimeoutExpired:
            pass
        own = [w for w in self.wine.windows() if w["class"] not in SYSTEM_CLASSES]
        for window in own:
            self.wine.close_window(window["hwnd"])
            try:
                return self.wine.wait_exit(timeout=5)
            except subprocess.TimeoutExpired:
                pass
        return self.wine.wait_exit(timeout=timeout)


def main():
    """Runs the unittest tests of the calling script; takes --build DIR."""
    global build_dir
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--build", default=build_dir)
    options, rest = parser.parse_known_args()
    build_dir = os.path.abspath(options.build)
    try:
        unittest.main(module="__main__", argv=[sys.argv[0], *rest], verbosity=2)
    finally:
        stop_display()
