"""A real X server (Xvfb), the real viewer, real key presses and clicks (xdotool), screenshots
(ImageMagick) and OCR (tesseract): what a reader sees and does, for the end-to-end scenarios."""

import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

from PIL import Image, ImageChops, ImageStat

FAILURES = Path(os.environ.get("CARTAVOX_E2E_FAILURES", "e2e-failures"))


def run(*args, check=True, **kw):
    return subprocess.run(list(args), check=check, capture_output=True, text=True, **kw)


class Session:
    """One X server of a given size, with its own home folder (where the viewer keeps its
    working folder) and the viewer started from a volume folder."""

    def __init__(self, name, width=1280, height=1024):
        self.name = name
        self.width, self.height = width, height
        self.tmp = Path(tempfile.mkdtemp(prefix=f"cvx-e2e-{name}-"))
        self.home = self.tmp / "home"
        self.data = self.home / ".local" / "share"
        self.data.mkdir(parents=True)
        self.shots = []
        self.viewer = None
        self.log = None  # the viewer's output, while it runs
        self.window_manager = None
        self.display = self._start_x()

    # ---- the X server ---------------------------------------------------------------------
    def _start_x(self):
        for number in range(120, 220):
            if Path(f"/tmp/.X11-unix/X{number}").exists() or Path(f"/tmp/.X{number}-lock").exists():
                continue
            self.xvfb = subprocess.Popen(
                # No key repeats: should xdotool's release come late on a loaded machine, a
                # repeated arrow would turn one page too many.
                ["Xvfb", f":{number}", "-screen", "0", f"{self.width}x{self.height}x24",
                 "-nolisten", "tcp", "-noreset", "-ardelay", "60000", "-arinterval", "60000"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if Path(f"/tmp/.X11-unix/X{number}").exists():
                    return f":{number}"
                if self.xvfb.poll() is not None:
                    break
                time.sleep(0.05)
        raise RuntimeError("no X display could be started")

    @property
    def env(self):
        env = dict(os.environ)
        env.update(DISPLAY=self.display, HOME=str(self.home), XDG_DATA_HOME=str(self.data),
                   QT_QPA_PLATFORM="xcb")
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def x(self, *args, check=True):
        return run(*args, check=check, env=self.env)

    def start_window_manager(self):
        """A window manager (Openbox: Alt+F4 closes the active window), for the scenarios about
        what it asks of the viewer."""
        self.window_manager = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if "_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.x("xprop", "-root", check=False).stdout:
                return
            time.sleep(0.1)
        raise RuntimeError("the window manager did not start")

    # ---- the viewer ----------------------------------------------------------------------
    def start(self, folder, program="./Cartavox.exe", *args):
        """Starts `program` (the volume's Cartavox.exe, or the launcher with `args`) with
        `folder` as the current folder."""
        if self.log:
            self.log.close()
        self.log = open(self.tmp / "viewer.log", "a")
        self.viewer = subprocess.Popen([str(program), *map(str, args)], cwd=folder, env=self.env,
                                       stdout=self.log, stderr=subprocess.STDOUT)

    def ended(self, timeout=10.0):
        """True when the viewer ends within `timeout` seconds."""
        try:
            self.viewer.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def window(self, title, timeout=15.0):
        """Id of a visible window whose title is exactly `title`, or None."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            r = self.x("xdotool", "search", "--onlyvisible", "--name", f"^{title}$", check=False)
            ids = r.stdout.split()
            if ids:
                return ids[-1]
            if self.viewer and self.viewer.poll() is not None:
                return None
            time.sleep(0.1)
        return None

    def window_geometry(self, wid):
        out = self.x("xdotool", "getwindowgeometry", "--shell", wid).stdout
        values = dict(line.split("=", 1) for line in out.split())
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))

    def focus(self, wid):
        self.x("xdotool", "windowactivate", "--sync", wid, check=False)
        self.x("xdotool", "windowfocus", "--sync", wid, check=False)

    def key(self, *keys, pause=0.4):
        for k in keys:
            self.x("xdotool", "key", "--clearmodifiers", k)
            time.sleep(pause)

    def type(self, text):
        self.x("xdotool", "type", "--delay", "80", text)
        time.sleep(0.3)

    def move(self, x, y):
        self.x("xdotool", "mousemove", "--sync", str(x), str(y))
        time.sleep(0.3)

    def click(self, x, y):
        self.move(x, y)
        self.x("xdotool", "click", "1")
        time.sleep(0.5)

    def settle(self, seconds=0.8):
        time.sleep(seconds)

    # ---- what is on the screen -----------------------------------------------------------
    def screenshot(self, label):
        path = self.tmp / f"{len(self.shots):02d}-{label}.png"
        self.x("import", "-window", "root", str(path))
        self.shots.append(path)
        return Image.open(path).convert("RGB")

    def cursor_image(self):
        """The pointer as the X server draws it now (XFixes), as an RGBA image."""
        from Xlib import display as xdisplay
        from Xlib.ext import xfixes  # noqa: F401  (registers the extension)
        d = xdisplay.Display(self.display)
        try:
            d.xfixes_query_version()  # the extension answers only after the version handshake
            c = d.xfixes_get_cursor_image(d.screen().root)
            image = Image.new("RGBA", (c.width, c.height))
            image.putdata([((p >> 16) & 255, (p >> 8) & 255, p & 255, (p >> 24) & 255)
                           for p in c.cursor_image])
            return image
        finally:
            d.close()

    def ocr(self, image, box=None, psm=6):
        """Text that tesseract (Italian) reads in `box` of `image`, upscaled for small type."""
        part = image.crop(box) if box else image
        part = part.resize((part.width * 3, part.height * 3), Image.LANCZOS)
        path = self.tmp / "ocr.png"
        part.save(path)
        r = run("tesseract", str(path), "-", "-l", "ita", "--psm", str(psm), check=False)
        return " ".join(r.stdout.split())

    # ---- the end -------------------------------------------------------------------------
    def close(self, failed):
        if self.viewer and self.viewer.poll() is None:
            self.viewer.kill()
            self.viewer.wait()
        if self.log:
            self.log.close()
        if failed:
            keep = FAILURES / self.name
            shutil.rmtree(keep, ignore_errors=True)
            keep.mkdir(parents=True, exist_ok=True)
            for shot in self.shots:
                shutil.copy(shot, keep / shot.name)
            if (self.tmp / "viewer.log").exists():
                shutil.copy(self.tmp / "viewer.log", keep / "viewer.log")
        if self.window_manager:
            self.window_manager.terminate()
            self.window_manager.wait()
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)


def changed_fraction(a, b, box):
    """Share of pixels in `box` that differ between two screenshots."""
    diff = ImageChops.difference(a.crop(box), b.crop(box)).convert("L")
    histogram = diff.histogram()
    return sum(histogram[16:]) / max(1, sum(histogram))


def spread(image, box):
    """Standard deviation of the grey levels in `box`: near 0 on a flat background."""
    return ImageStat.Stat(image.crop(box).convert("L")).stddev[0]


def mean_colour(image, box):
    return tuple(int(v) for v in ImageStat.Stat(image.crop(box)).mean)
