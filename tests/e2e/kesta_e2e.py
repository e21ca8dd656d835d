"""End-to-end test harness for kesta10.exe: the program as a user runs it.

A test script combines, each as a context manager that stops what it started:

    with Display() as display, \\
         Install(build_dir, workdir) as install, \\
         TelnetHost() as host, \\
         Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
        kesta.wait_window("Kesta Kesta 2.0 for Windows 95", 60)
        shot = kesta.screenshot()

Peers run only on 127.0.0.1. See README.md beside this file.
"""
import os
import re
import select
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import threading
import time
import tty

from xwd import Image, read_bmp, read_png, read_xwd  # noqa: F401  (re-exported for tests)

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
PROGRAM = "kesta10.exe"
DLLS = ("ZLINK32.DLL", "QUILH32.DLL", "QUILF32.DLL", "HCTL32.DLL", "HCTLW32.DLL", "HXLAT32.DLL")
PROBE = "e2e_probe.exe"
TITLE = "Kesta Kesta 2.0 for Windows 95"


class HarnessError(RuntimeError):
    """Something the harness needs is missing or did not start."""


def need(tool, package):
    """The path of TOOL, or a HarnessError naming the Debian package that has it."""
    path = shutil.which(tool) or (os.path.exists("/usr/sbin/" + tool) and "/usr/sbin/" + tool)
    if not path:
        raise HarnessError("%s not found: install the Debian package %s (bash tools/setup.sh)" % (tool, package))
    return path


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(predicate, timeout, interval=0.1, what="condition"):
    """Calls predicate until it returns something true, and returns that; TimeoutError after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def listening(port):
    """True when something listens on TCP port PORT (read from /proc, without connecting)."""
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        try:
            with open(table) as f:
                for line in f.readlines()[1:]:
                    fields = line.split()
                    if int(fields[1].rsplit(":", 1)[1], 16) == port and fields[3] == "0A":
                        return True
        except OSError:
            pass
    return False


def kill_group(proc, grace=3.0):
    """Ends a process started with start_new_session=True, and everything in its process group."""
    if proc is None or proc.poll() is not None:
        return
    for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 5.0)):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            return
        try:
            proc.wait(wait)
            return
        except subprocess.TimeoutExpired:
            pass


def kill_matching(marker):
    """Kills the processes whose command line contains MARKER (a unique path this harness made)."""
    me = os.getpid()
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                cmdline = f.read()
        except OSError:
            continue
        if int(pid) != me and marker.encode() in cmdline:
            try:
                os.kill(int(pid), signal.SIGKILL)
            except ProcessLookupError:
                pass


# ---------------------------------------------------------------- expected pictures

def kesta_cli():
    """The native kesta-cli (KESTA_CLI, else build/native/cli/kesta-cli of this tree)."""
    path = os.environ.get("KESTA_CLI") or os.path.join(REPO, "build", "native", "cli", "kesta-cli")
    if not os.access(path, os.X_OK):
        raise HarnessError("kesta-cli not found at %s: build the native preset first "
                           "(cmake --preset native && cmake --build --preset native --target kesta-cli)" % path)
    return path


def render(text, face="InternalGothic", english=None, code=None):
    """TEXT as the font store draws it (kesta-cli render): a black-on-white Image.
    TEXT is UTF-8 text, or bytes in Hangul code type CODE."""
    args = [kesta_cli(), "render", "--face", face]
    if english:
        args += ["--english", english]
    if code is not None:
        args += ["--code", str(code)]
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "text.png")
        r = subprocess.run(args + [text, "-o", out], capture_output=True)
        if r.returncode != 0:
            raise HarnessError("kesta-cli render failed: " + r.stderr.decode(errors="replace").strip())
        return read_png(out)


def picture_pair(path_stem):
    """A picture pair (STEM.mir + STEM.dat) as an Image."""
    with open(path_stem + ".mir", "rb") as mir, open(path_stem + ".dat", "rb") as dat:
        return read_bmp(mir.read() + dat.read())


# ---------------------------------------------------------------- display

_current_display = None


class Display:
    """An Xvfb server on a free display number (73 and up), 1024x768x24 by default."""

    def __init__(self, width=1024, height=768, depth=24, first=73, last=99):
        need("Xvfb", "xvfb")
        self.width, self.height = width, height
        self.proc = None
        for n in range(first, last + 1):
            if os.path.exists("/tmp/.X%d-lock" % n) or os.path.exists("/tmp/.X11-unix/X%d" % n):
                continue
            ready_r, ready_w = os.pipe()  # Xvfb writes the display number there once it serves
            proc = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "%dx%d%s" % (width, height, "x%d" % depth),
                                     "-nolisten", "tcp", "-noreset", "-displayfd", str(ready_w)], pass_fds=(ready_w,),
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
            os.close(ready_w)
            ready = b""
            while not ready.endswith(b"\n") and select.select([ready_r], [], [], 10)[0]:
                chunk = os.read(ready_r, 16)  # the number and the newline come in two writes
                if not chunk:
                    break
                ready += chunk
            os.close(ready_r)
            if ready.strip() == str(n).encode() and proc.poll() is None:
                self.proc, self.name = proc, ":%d" % n
                break
            kill_group(proc)
        if self.proc is None:
            raise HarnessError("no free X display between :%d and :%d for Xvfb" % (first, last))
        global _current_display
        _current_display = self

    def env(self):
        return dict(os.environ, DISPLAY=self.name)

    def run(self, *argv, **kw):
        """Runs an X client on this display and returns its standard output as text."""
        r = subprocess.run(list(argv), env=self.env(), capture_output=True, text=True, **kw)
        if r.returncode != 0:
            raise HarnessError("%s failed (status %d): %s" % (" ".join(argv), r.returncode, r.stderr.strip()))
        return r.stdout

    def screenshot(self, window="root"):
        """The whole screen (or one X window by id) as an Image, through xwd."""
        need("xwd", "x11-apps")
        target = ["-root"] if window == "root" else ["-id", str(window)]
        r = subprocess.run(["xwd", "-silent"] + target, env=self.env(), capture_output=True)
        if r.returncode != 0:
            raise HarnessError("xwd failed (status %d): %s" % (r.returncode, r.stderr.decode(errors="replace").strip()))
        return read_xwd(r.stdout)

    def stop(self):
        global _current_display
        kill_group(self.proc)
        if _current_display is self:
            _current_display = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def current_display(display=None):
    display = display or _current_display
    if display is None:
        raise HarnessError("no X display: start a Display() first")
    return display


# ---------------------------------------------------------------- Wine prefix and installation

def ensure_korean_locale():
    """LC_ALL value that gives Wine the ANSI code page 949; generates ko_KR.UTF-8 when it is missing."""
    names = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower().split()
    if "ko_kr.utf8" not in names:
        if shutil.which("localedef") is None:
            raise HarnessError("localedef not found: install the Debian package locales")
        r = subprocess.run(["localedef", "-i", "ko_KR", "-f", "UTF-8", "ko_KR.UTF-8"], capture_output=True, text=True)
        if r.returncode not in (0, 1):  # 1: generated with warnings
            raise HarnessError("cannot generate the ko_KR.UTF-8 locale: " + r.stderr.strip())
    return "ko_KR.UTF-8"


def find_file(root, name):
    """The file called NAME (any case) under ROOT, preferring the shallowest; None when there is none."""
    found = []
    for dirpath, dirnames, filenames in os.walk(root):
        dirnames[:] = [d for d in dirnames
                       if d not in ("wineprefix", "_googletest", "CMakeFiles", "Testing") and not d.startswith("e2e-work")]
        found += [os.path.join(dirpath, f) for f in filenames if f.lower() == name.lower()]
    return min(found, key=lambda p: (p.count(os.sep), p)) if found else None


def write_profile(win_ini, section, key, value):
    """KEY=VALUE in [SECTION] of the INI file WIN_INI (CR LF lines, made when missing)."""
    text = open(win_ini, encoding="latin-1").read() if os.path.exists(win_ini) else ""
    lines = text.replace("\r\n", "\n").split("\n")
    start = next((i for i, l in enumerate(lines) if l.strip().lower() == "[%s]" % section.lower()), None)
    if start is None:
        lines = [l for l in lines if l] + ["[%s]" % section, "%s=%s" % (key, value), ""]
    else:
        end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("[")), len(lines))
        body = [l for l in lines[start + 1:end] if l.split("=", 1)[0].strip().lower() != key.lower()]
        lines[start + 1:end] = ["%s=%s" % (key, value)] + body
    with open(win_ini, "w", encoding="latin-1", newline="") as f:
        f.write("\r\n".join(lines))


class Install:
    """A fresh Wine prefix under WORKDIR with the program installed in C:\\kesta, as a user lays it out.

    codepage 949 runs Wine with LC_ALL=ko_KR.UTF-8 (Korean user interface), 1252 with C.UTF-8.
    require_program=False lets the harness's own tests install without kesta10.exe.
    """

    HOME = "C:\\kesta"

    def __init__(self, build_dir, workdir, codepage=1252, display=None, require_program=True):
        need("wine", "wine")
        need("wineserver", "wine")
        self.build_dir = os.path.abspath(build_dir)
        self.workdir = os.path.abspath(workdir)
        self.codepage = codepage
        self.display = current_display(display)
        exe = find_file(self.build_dir, PROGRAM) if os.path.isdir(self.build_dir) else None
        if exe is None and require_program:
            raise HarnessError("%s not found in %s: build the win64 preset first "
                               "(cmake --preset win64 && cmake --build --preset win64)" % (PROGRAM, self.build_dir))
        if codepage not in (949, 1252):
            raise HarnessError("codepage must be 949 or 1252")
        self.locale = ensure_korean_locale() if codepage == 949 else "C.UTF-8"
        self.prefix = os.path.join(self.workdir, "wineprefix")
        if os.path.exists(self.prefix):
            subprocess.run(["wineserver", "-k"], env=self.env(), capture_output=True)
            shutil.rmtree(self.prefix)
        os.makedirs(self.workdir, exist_ok=True)
        self.log = open(os.path.join(self.workdir, "wine.log"), "ab")
        try:
            r = subprocess.run(["wineboot", "-i"], env=self.env(), stdout=self.log, stderr=self.log, timeout=300)
            if r.returncode != 0 or not os.path.isdir(os.path.join(self.prefix, "drive_c", "windows")):
                raise HarnessError("wineboot -i failed for %s (see %s/wine.log)" % (self.prefix, self.workdir))
            subprocess.run(["wineserver", "-w"], env=self.env(), timeout=120)
            self.home = os.path.join(self.prefix, "drive_c", "kesta")
            self.windows = os.path.join(self.prefix, "drive_c", "windows")
            self._lay_out(exe)
        except BaseException:
            self.close()
            raise

    def _lay_out(self, exe):
        os.makedirs(self.home, exist_ok=True)
        if exe:
            shutil.copy(exe, os.path.join(self.home, PROGRAM))
        self.missing_dlls = []
        for dll in DLLS:  # the ones beside the program first: its build puts them there
            path = (exe and find_file(os.path.dirname(exe), dll)) or \
                (find_file(self.build_dir, dll) if os.path.isdir(self.build_dir) else None)
            if path:
                shutil.copy(path, os.path.join(self.home, dll))
            else:
                self.missing_dlls.append(dll)
        shutil.copytree(os.path.join(REPO, "app", "shell", "home"), self.home, dirs_exist_ok=True)
        for sub in ("env", "tel"):
            os.makedirs(os.path.join(self.home, sub), exist_ok=True)
        hanja = find_file(self.build_dir, "HANJA.FNT") if os.path.isdir(self.build_dir) else None
        shutil.copy(hanja or os.path.join(REPO, "fonts", "glyphs", "HANJA.FNT"), os.path.join(self.windows, "HANJA.FNT"))
        probe = find_file(self.build_dir, PROBE) if os.path.isdir(self.build_dir) else None
        self.probe = None
        if probe:
            os.makedirs(os.path.join(self.prefix, "drive_c", "e2e"), exist_ok=True)
            shutil.copy(probe, os.path.join(self.prefix, "drive_c", "e2e", PROBE))
            self.probe = "C:\\e2e\\" + PROBE
        self.set_profile("KESTA 20", "PROGRAM", self.HOME)

    def set_profile(self, section, key, value):
        """Writes KEY=VALUE into [SECTION] of the prefix's C:\\windows\\win.ini (the file WIN.INI)."""
        write_profile(os.path.join(self.windows, "win.ini"), section, key, value)

    def env(self, extra=None):
        env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                   LC_ALL=self.locale, LANG=self.locale, DISPLAY=self.display.name)
        env.pop("WINELOADERNOEXEC", None)
        env.update(extra or {})
        return env

    # Files under the home directory, named the Windows way (r"env\kesta.mdm") or with slashes.
    def path(self, relative):
        parts = [p for p in re.split(r"[\\/]+", relative) if p]
        return os.path.join(self.home, *parts)

    def exists(self, relative):
        return os.path.exists(self.path(relative))

    def read(self, relative):
        with open(self.path(relative), "rb") as f:
            return f.read()

    def write(self, relative, data):
        path = self.path(relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def write_modem(self, port=1, rate=38400, data_bits=8, parity=0, stop_bits=0, init="ATZ"):
        """env\\kesta.mdm: the 100-byte modem settings record."""
        self.write(r"env\kesta.mdm", struct.pack("<5i80s", port, rate, data_bits, parity, stop_bits,
                                                 init.encode("cp949")))

    def read_pos(self):
        """env\\kesta.pos as (client width, client height)."""
        return struct.unpack("<2i", self.read(r"env\kesta.pos"))

    def write_pos(self, width, height):
        self.write(r"env\kesta.pos", struct.pack("<2i", width, height))

    def wine(self, *args, timeout=60):
        """Runs a Windows command in this prefix and returns (exit status, standard output as text)."""
        r = subprocess.run(["wine"] + list(args), env=self.env(), capture_output=True, timeout=timeout, cwd=self.home)
        return r.returncode, r.stdout.decode("utf-8", "replace")

    def run_probe(self, *args, timeout=60):
        if not self.probe:
            raise HarnessError("%s not found in %s: build the win64 preset's tests/e2e" % (PROBE, self.build_dir))
        return self.wine(self.probe, *args, timeout=timeout)

    def stop_wine(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), capture_output=True)
        try:
            subprocess.run(["wineserver", "-w"], env=self.env(), capture_output=True, timeout=20)
        except subprocess.TimeoutExpired:
            pass

    def close(self):
        self.stop_wine()
        self.log.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def link_com(install, n, pty_path):
    """Makes COMn of the prefix the pseudo-terminal at PTY_PATH.

    Wine's mount manager re-creates dosdevices\\comN at every start from the serial ports it
    finds, so the device is also named under HKLM\\Software\\Wine\\Ports, which it obeys."""
    device = os.path.realpath(pty_path)
    status, out = install.wine("reg", "add", "HKLM\\Software\\Wine\\Ports", "/v", "COM%d" % n, "/d", device, "/f")
    if status != 0:
        raise HarnessError("cannot name COM%d in the registry: %s" % (n, out.strip()))
    link = os.path.join(install.prefix, "dosdevices", "com%d" % n)
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(device, link)
    return link


# ---------------------------------------------------------------- the program

class Program:
    """A Windows program of the installation, started with wine from the home directory."""

    def __init__(self, install, args=(), exe=PROGRAM, title=TITLE):
        need("xdotool", "xdotool")
        self.install = install
        self.display = install.display
        self.title = title
        self.wid = None
        self.output_path = os.path.join(install.workdir, "%s-%d.out" % (os.path.basename(exe), time.time_ns()))
        self._output = open(self.output_path, "wb")
        windows_exe = exe if "\\" in exe else Install.HOME + "\\" + exe
        self.proc = subprocess.Popen(["wine", windows_exe] + list(args), cwd=install.home, env=install.env(),
                                     stdout=self._output, stderr=subprocess.STDOUT, start_new_session=True)

    def output(self):
        """What the program wrote to standard output and error so far (text)."""
        self._output.flush()
        with open(self.output_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def running(self):
        return self.proc.poll() is None

    def xdotool(self, *args):
        return self.display.run("xdotool", *[str(a) for a in args])

    def find_windows(self, title, visible=True):
        """X window ids whose name is exactly TITLE."""
        args = ["search"] + (["--onlyvisible"] if visible else []) + ["--name", "^%s$" % re.escape(title)]
        r = subprocess.run(["xdotool"] + args, env=self.display.env(), capture_output=True, text=True)
        return [int(w) for w in r.stdout.split()]

    def wait_window(self, title=None, timeout=60):
        """Waits until a visible window named TITLE exists and returns its X id (kept as .wid)."""
        title = title or self.title

        def found():
            if not self.running():
                raise HarnessError("the program ended (status %s) before its window %r appeared; output:\n%s"
                                   % (self.proc.returncode, title, self.output()[-2000:]))
            ids = self.find_windows(title)
            return ids[0] if ids else None
        self.wid = wait_for(found, timeout, 0.2, "the window %r" % title)
        self.title = title
        return self.wid

    def window_geometry(self):
        """(x, y, width, height) of the X window on the screen, frame included."""
        out = self.xdotool("getwindowgeometry", "--shell", self.wid)
        v = dict(line.split("=", 1) for line in out.split())
        return int(v["X"]), int(v["Y"]), int(v["WIDTH"]), int(v["HEIGHT"])

    def client_rect(self):
        """(x, y, width, height) of the window's client area on the screen, asked from Windows itself."""
        if self.install.probe:
            status, out = self.install.run_probe("client", self.title)
            if status == 0:
                return tuple(int(v) for v in out.split()[:4])
        return self.window_geometry()

    def status_texts(self):
        """The texts of the window's status bar parts, asked from Windows through the probe."""
        status, out = self.install.run_probe("statustext", self.title)
        if status != 0:
            raise HarnessError("cannot read the status bar of %r: %s" % (self.title, out.strip()))
        return out.replace("\r", "").split("\n")[:-1]

    def focus(self):
        self.xdotool("windowraise", self.wid)
        self.xdotool("windowfocus", "--sync", self.wid)
        time.sleep(0.2)

    def key(self, *keys, delay=50):
        """Presses keys in xdotool's names: key("ctrl+space"), key("alt+x"), key("Return")."""
        self.focus()
        self.xdotool("key", "--delay", delay, *keys)

    def type(self, text, delay=50):
        self.focus()
        self.xdotool("type", "--delay", delay, text)

    def click(self, x, y, button=1):
        """Clicks at (x, y) of the client area."""
        cx, cy, _, _ = self.client_rect()
        self.xdotool("mousemove", "--sync", cx + x, cy + y)
        self.xdotool("click", button)

    def screenshot(self):
        """The whole screen (an Image); crop it with .client_rect() or .window_geometry()."""
        return self.display.screenshot()

    def window_shot(self, title):
        """The visible window TITLE alone, read from its own X window: under Xvfb without a
        window manager, Wine's dialogs and message boxes come out black in a shot of the root."""
        ids = self.find_windows(title)
        if not ids:
            raise HarnessError("no visible window %r to take a picture of" % title)
        return self.display.screenshot(window=ids[0])

    def client_shot(self):
        """The client area alone."""
        x, y, w, h = self.client_rect()
        return self.screenshot().crop(x, y, w, h)

    def wait_for(self, predicate, timeout=30, what="condition"):
        return wait_for(predicate, timeout, 0.2, what)

    def wait_exit(self, timeout=30):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError("the program did not end within %d s" % timeout)

    def stop(self):
        """Ends the program and the prefix's Wine server."""
        kill_group(self.proc, grace=1.0)
        self.install.stop_wine()
        self._output.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


# ---------------------------------------------------------------- telnet host

def _screen(rows):
    return "".join(rows).encode("cp949")


# What the default telnet host draws: ANSI colours and code page 949 text.
DEFAULT_SCREEN_LINES = [
    "┌────────────────────┐",
    "│  안녕하세요 케스타  │",
    "└────────────────────┘",
    "Kesta test host 한글 OK",
]
DEFAULT_SCREEN = _screen([
    "\x1b[0m\x1b[2J\x1b[H",
    "\x1b[1;33;44m" + DEFAULT_SCREEN_LINES[0] + "\x1b[0m\r\n",
    "\x1b[1;37;44m" + DEFAULT_SCREEN_LINES[1] + "\x1b[0m\r\n",
    "\x1b[1;33;44m" + DEFAULT_SCREEN_LINES[2] + "\x1b[0m\r\n",
    "\x1b[32m" + DEFAULT_SCREEN_LINES[3] + "\x1b[0m\r\n",
])

DEFAULT_SCRIPT = """cat "$KESTA_SCREEN"
exec /usr/bin/python3 "$KESTA_RECORD" "$KESTA_RECV" "$KESTA_DIR/hangup"
"""


class TelnetHost:
    """inetutils-telnetd behind socat on 127.0.0.1:PORT, running a shell script for every connection.

    The script runs on the session's terminal, already in raw mode without echo, with
    KESTA_DIR (a scratch folder), KESTA_SCREEN (a file holding SCREEN), KESTA_RECV (the
    file .received() reads) and KESTA_RECORD (record.py: records standard input into a file
    until a stop file appears) set. The default script prints SCREEN and records all it
    receives until .hang_up() ends the session.
    telnetd passes the client's terminal type as TERM, in lower case ("vt100").
    """

    def __init__(self, script=None, screen=DEFAULT_SCREEN, port=None, workdir=None):
        """SCRIPT: shell text or a file; SCREEN: the bytes in KESTA_SCREEN; WORKDIR: where the
        host's files are kept (default: a temporary folder removed at the end)."""
        need("socat", "socat")
        telnetd = need("telnetd", "inetutils-telnetd")
        if script and os.path.isfile(script):
            script = open(script).read()
        self._temporary = workdir is None  # a folder of its own is removed at the end; WORKDIR is kept
        if workdir:
            os.makedirs(workdir, exist_ok=True)
        self.dir = tempfile.mkdtemp(prefix="telnet-", dir=workdir)
        if re.search(r"[\s,:!'\"]", self.dir + HERE):
            raise HarnessError("the telnet host's paths must not hold blanks, commas or colons: " + self.dir)
        self.screen_path = os.path.join(self.dir, "screen.ans")
        self.recv_path = os.path.join(self.dir, "received.bin")
        self.term_path = os.path.join(self.dir, "term.txt")
        with open(self.screen_path, "wb") as f:
            f.write(screen)
        open(self.recv_path, "wb").close()
        with open(os.path.join(self.dir, "body.sh"), "w") as f:
            f.write(script or DEFAULT_SCRIPT)
        session = os.path.join(self.dir, "session.sh")
        with open(session, "w") as f:
            # telnetd clears the environment but for TERM: the paths are written in.
            f.write('#!/bin/sh\nprintf "%%s\\n" "$TERM" >> %s\n'
                    'KESTA_DIR=%s KESTA_SCREEN=%s KESTA_RECV=%s KESTA_RECORD=%s\n'
                    'export KESTA_DIR KESTA_SCREEN KESTA_RECV KESTA_RECORD\n'
                    'cd "$KESTA_DIR"\nstty raw -echo\nexec /bin/sh %s/body.sh\n'
                    % (self.term_path, self.dir, self.screen_path, self.recv_path,
                       os.path.join(HERE, "record.py"), self.dir))
        os.chmod(session, 0o755)
        self.proc = None
        for _ in range(5):
            self.port = port or free_port()
            self._log = open(os.path.join(self.dir, "socat.log"), "ab")
            self.proc = subprocess.Popen(
                ["socat", "TCP-LISTEN:%d,bind=127.0.0.1,reuseaddr,fork" % self.port,
                 'EXEC:"%s -h -E %s",nofork' % (telnetd, session)],
                stdout=self._log, stderr=self._log, start_new_session=True)
            try:
                wait_for(lambda: self.proc.poll() is not None or listening(self.port), 10, 0.05, "socat to listen")
            except TimeoutError:
                pass
            if self.proc.poll() is None and listening(self.port):
                return
            kill_group(self.proc)
            if port:
                break
        raise HarnessError("socat could not listen on 127.0.0.1 (see %s/socat.log)" % self.dir)

    def hang_up(self):
        """Ends the current session of the default script: the host closes the connection."""
        open(os.path.join(self.dir, "hangup"), "w").close()

    def received(self):
        """Every byte the sessions' scripts received so far."""
        with open(self.recv_path, "rb") as f:
            return f.read()

    def terms(self):
        """The TERM value of every session so far, in order."""
        if not os.path.exists(self.term_path):
            return []
        with open(self.term_path) as f:
            return f.read().split()

    def term(self):
        """The TERM value of the latest session, or None before any."""
        terms = self.terms()
        return terms[-1] if terms else None

    def stop(self):
        kill_group(self.proc, grace=1.0)
        kill_matching(self.dir)  # sessions telnetd put in sessions of their own
        self._log.close()
        if self._temporary:
            shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


# ---------------------------------------------------------------- modem

class ModemEmulator:
    """A Hayes modem on a pseudo-terminal whose slave is linked at LINK_PATH.

    Commands end with CR and are answered "OK" (verbose results; echo off unless ATE1).
    "ATDT number" looks the number up in NUMBERS ({number: port} or {number: "127.0.0.1:port"};
    a number "127.0.0.1:port" or "localhost:port" is dialled as it is), answers CONNECT_TEXT and joins
    the line to that TCP port on 127.0.0.1; unknown numbers and refused connections give "NO CARRIER".
    Online, "+++" between two GUARD-second pauses returns to command mode ("OK"); there "ATO" goes back
    on line and "ATH" hangs up ("NO CARRIER"); the host closing gives "NO CARRIER". Closing the port
    (the program's DTR drop) hangs up too, and "OK" follows when the port is opened again.
    Every byte both ways is logged with its time to LOG_PATH ("<" from the port, ">" to the port).
    """

    def __init__(self, link_path, numbers=None, log_path=None, echo=False, connect_text="CONNECT 38400",
                 guard=1.0, connect_delay=0.2):
        self.link = os.path.abspath(link_path)
        self.numbers = {str(k): v for k, v in (numbers or {}).items()}
        self.log_path = log_path or self.link + ".log"
        self.echo, self.connect_text, self.guard, self.connect_delay = echo, connect_text, guard, connect_delay
        self.master, slave = os.openpty()
        tty.setraw(slave)
        self.device = os.ttyname(slave)
        os.close(slave)  # the program's closing the port then shows as a hang-up of the master
        os.set_blocking(self.master, False)
        if os.path.lexists(self.link):
            os.remove(self.link)
        os.symlink(self.device, self.link)
        self._log = open(self.log_path, "w")
        self._lock = threading.Lock()
        self.commands = []         # every command line received, in order
        self.from_port = bytearray()
        self.to_port = bytearray()
        self.sock = None
        self.online = False        # data mode
        self.line = bytearray()
        self._out = bytearray()
        self._plus = 0
        self._last_rx = time.monotonic()
        self._plus_time = 0.0
        self._port_open = False
        self._hung_by_close = False
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, name="modem " + self.link, daemon=True)
        self._thread.start()

    # -- the test's side
    @property
    def connected(self):
        return self.sock is not None

    def received(self):
        """Every byte the program sent to the modem."""
        with self._lock:
            return bytes(self.from_port)

    def send(self, data):
        """Bytes to the program, as if the modem or the line had sent them."""
        with self._lock:
            self._queue(data)

    def remote_hangup(self):
        """The far end hangs up: the line drops and the program is told "NO CARRIER"."""
        with self._lock:
            self._drop("NO CARRIER")

    def wait_command(self, prefix, timeout=30):
        """Waits for a command line starting with PREFIX (case-insensitive) and returns it."""
        def seen():
            with self._lock:
                return next((c for c in self.commands if c.upper().startswith(prefix.upper())), None)
        return wait_for(seen, timeout, 0.05, "the modem command %r" % prefix)

    # -- inside
    def _note(self, direction, data):
        self._log.write("%.6f %s %s\n" % (time.time(), direction, data.hex(" ")))
        self._log.flush()

    def _queue(self, data):
        self._out += data
        self.to_port += data
        self._note(">", data)

    def _result(self, text):
        self._queue(b"\r\n" + text.encode() + b"\r\n")

    def _drop(self, result):
        if self.sock:
            self.sock.close()
            self.sock = None
        self.online = False
        if result:
            self._result(result)

    def _dial(self, number):
        number = number.strip().rstrip(";")
        target = self.numbers.get(number, self.numbers.get(re.sub(r"[\s-]", "", number), number))
        if isinstance(target, int):
            target = "127.0.0.1:%d" % target
        m = re.fullmatch(r"(127\.0\.0\.1|localhost):(\d+)", str(target))
        if not m:
            self._result("NO CARRIER")
            return
        time.sleep(self.connect_delay)
        try:
            self.sock = socket.create_connection(("127.0.0.1", int(m.group(2))), timeout=5)
            self.sock.setblocking(False)
        except OSError:
            self.sock = None
            self._result("NO CARRIER")
            return
        self.online = True
        self._result(self.connect_text)

    def _command(self, text):
        self.commands.append(text)
        if not text.upper().startswith("AT"):
            return
        raw = text[2:].replace(" ", "")
        rest = raw.upper()
        i = 0
        while i < len(rest):
            if rest[i] == "D":  # the rest of the line is the number
                self._dial(raw[i + 1:].lstrip("TtPp"))
                return
            m = re.match(r"(S\d+(=\d*|\?)|[&\\%][A-Z]\d*|[EHZOQVXLMIBPTA]\d*)", rest[i:])
            if not m:
                self._result("ERROR")
                return
            cmd = m.group(0)
            i += len(cmd)
            if cmd[0] == "E":
                self.echo = cmd != "E0"
            elif cmd[0] == "H" and self.sock:
                self._drop("NO CARRIER")
                return
            elif cmd[0] == "O" and self.sock:
                self.online = True
                self._result(self.connect_text)
                return
            elif cmd[0] == "Z" or cmd == "&F":
                self.echo = False
        self._result("OK")

    def _from_port(self, data):
        now = time.monotonic()
        self.from_port += data
        self._note("<", data)
        if self.online:
            self.sock.sendall(data)
            for b in data:
                if b == ord("+") and (self._plus > 0 or now - self._last_rx >= self.guard):
                    self._plus += 1
                    self._plus_time = now
                else:
                    self._plus = 0
            self._last_rx = now
            return
        self._last_rx = now
        for b in data:
            if self.echo:
                self._queue(bytes([b]))
            if b == 13:
                line = self.line.decode("latin-1").strip()
                self.line.clear()
                if line:
                    self._command(line)
            elif b in (8, 127):
                del self.line[-1:]
            elif b != 10:
                self.line.append(b)

    def _run(self):
        poller = select.poll()
        poller.register(self.master, select.POLLIN)
        while not self._stop.is_set():
            with self._lock:
                if self.sock:
                    try:
                        data = self.sock.recv(4096)
                        if data:
                            if self.online:
                                self._queue(data)
                        else:
                            self._drop("NO CARRIER")
                    except BlockingIOError:
                        pass
                    except OSError:
                        self._drop("NO CARRIER")
                if self.online and self._plus >= 3 and time.monotonic() - self._plus_time >= self.guard:
                    self._plus = 0
                    self.online = False
                    self._result("OK")
                if self._out and self._port_open:
                    try:
                        n = os.write(self.master, self._out)
                        del self._out[:n]
                    except (BlockingIOError, OSError):
                        pass
            events = poller.poll(20)
            hung = any(ev & select.POLLHUP for _, ev in events)
            if hung:
                with self._lock:
                    if self._port_open and self.sock:  # the program dropped DTR (closed the port)
                        self._drop(None)
                        self._hung_by_close = True
                    self._port_open = False
                time.sleep(0.02)
                continue
            with self._lock:
                if not self._port_open:
                    self._port_open = True
                    if self._hung_by_close:
                        self._hung_by_close = False
                        self._result("OK")
            if any(ev & select.POLLIN for _, ev in events):
                try:
                    data = os.read(self.master, 4096)
                except (BlockingIOError, OSError):
                    continue
                with self._lock:
                    self._from_port(data)

    def stop(self):
        self._stop.set()
        self._thread.join(5)
        with self._lock:
            if self.sock:
                self.sock.close()
                self.sock = None
        os.close(self.master)
        if os.path.islink(self.link):
            os.remove(self.link)
        self._log.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
