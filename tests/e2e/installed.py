"""The installed launcher in a real X server, started as the desktop starts it (no terminal):
it opens a volume from another folder, and says in a window that a folder holds no volume.
Run by tests/install/package_test.sh, with CARTAVOX_ROOT (where the package is installed) and
CARTAVOX_VOLUME (a volume packed by the installed tool)."""

import os
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
import harness  # noqa: E402

LAUNCHER = Path(os.environ["CARTAVOX_ROOT"]) / "usr" / "bin" / "cartavox"
VOLUME = Path(os.environ["CARTAVOX_VOLUME"])
PAGE_CENTRE = (400, 200, 880, 900)


class InstalledLauncher(unittest.TestCase):
    def setUp(self):
        self.session = harness.Session(self.id().split(".")[-1])
        self.elsewhere = self.session.tmp / "altrove"
        self.elsewhere.mkdir()

    def tearDown(self):
        result = self._outcome.result
        self.session.close(any(test is self for test, _ in result.failures + result.errors))

    def test_opens_a_volume_from_another_folder(self):
        self.session.start(self.elsewhere, LAUNCHER, VOLUME)
        main = self.session.window("Cartavox")
        self.assertIsNotNone(main, "the viewer's window did not appear")
        self.session.focus(main)
        deadline = time.time() + 10
        while harness.spread(self.session.screenshot("page"), PAGE_CENTRE) <= 8:
            self.assertLess(time.time(), deadline, "no page on the screen")
            time.sleep(0.4)
        self.session.key("Escape", pause=1.0)
        self.session.key("n")
        self.assertTrue(self.session.ended(10), "N did not end the viewer")
        self.assertEqual(self.session.viewer.returncode, 0)

    def test_a_folder_without_a_volume_says_so_in_a_window(self):
        self.session.start(self.elsewhere, LAUNCHER, self.elsewhere)
        box = self.session.window("Cartavox")
        self.assertIsNotNone(box, "no message box")
        x, y, w, h = self.session.window_geometry(box)
        text = self.session.ocr(self.session.screenshot("box"), (x, y, x + w, y + h))
        self.assertIn("non c'è un volume", text.replace("’", "'"))
        self.session.focus(box)
        self.session.key("Return")
        self.assertTrue(self.session.ended(10), "the launcher did not end after the message")
        self.assertEqual(self.session.viewer.returncode, 1)
        log = (self.session.tmp / "viewer.log").read_text()
        self.assertIn(f"Nella cartella {self.elsewhere} non c'è un volume", log)


if __name__ == "__main__":
    unittest.main()
