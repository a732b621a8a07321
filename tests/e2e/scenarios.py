"""End-to-end scenarios: the real viewer in a real X server, driven with real keys and clicks,
judged by what is on the screen, the windows it opens and the files it leaves on disk.

Run one scenario:  python3 scenarios.py Scenarios.test_first_start
Environment: CARTAVOX_BIN (folder with cartavox-pack and the viewer), CARTAVOX_E2E_FAILURES
(where the screenshots of failed scenarios are kept)."""

import os
import shutil
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
import harness  # noqa: E402
from PIL import Image  # noqa: E402
import volume  # noqa: E402

BIN = Path(os.environ.get("CARTAVOX_BIN", "build/bin")).resolve()
BACKGROUND = (64, 60, 56)  # the viewing area around the page

# Places on a 1280 x 1024 screen (the window's design in twips / 15).
PAGE_CENTRE = (400, 200, 880, 900)        # inside the fitted page
LEFT_MARGIN = (10, 300, 200, 700)         # viewing area left of a fitted page
PAGE_SELECTOR = (1052, 3, 1093, 22)
BOOK_SELECTOR = (836, 3, 1030, 22)
HEADER = (170, 5, 570, 26)
RIGHT_EDGE = (960, 520)                   # on the forward strip of a fitted page


def close_to(colour, expected, tolerance=18):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class ViewerCase(unittest.TestCase):
    """A fresh volume, X server and home folder for each scenario."""
    width, height = 1280, 1024
    texture = False  # the paper's one-pixel grain

    def setUp(self):
        self.work = Path(tempfile.mkdtemp(prefix="cvx-e2e-volume-"))
        self.volume = volume.build(self.work, BIN / "cartavox-pack", self.texture)
        self.session = harness.Session(self.id().split(".")[-1], self.width, self.height)
        self.bookmark = self.session.data / volume.WORK_FOLDER / f"{volume.WORK_FOLDER}.lib"

    def tearDown(self):
        self.session.close(self._failed())
        shutil.rmtree(self.work, ignore_errors=True)

    def _failed(self):
        result = self._outcome.result
        return any(test is self for test, _ in result.failures + result.errors)

    # ---- helpers -------------------------------------------------------------------------
    def start_viewer(self):
        self.session.start(self.volume)
        self.main = self.session.window("Cartavox")
        self.assertIsNotNone(self.main, "the viewer's window did not appear")
        self.session.focus(self.main)
        self.session.settle(1.5)

    def shown_page(self, label):
        """Screenshot; asserts that a page, not the background, fills the page area."""
        shot = self.session.screenshot(label)
        self.assertGreater(harness.spread(shot, PAGE_CENTRE), 8, "no page on the screen")
        self.assertFalse(close_to(harness.mean_colour(shot, PAGE_CENTRE), BACKGROUND, 8))
        return shot

    def eventually(self, label, check, timeout=8.0):
        """Takes screenshots until `check(shot)` returns None (all well) or `timeout` runs out;
        then fails with the last complaint. Returns the last screenshot."""
        deadline = time.time() + timeout
        while True:
            shot = self.session.screenshot(label)
            complaint = check(shot)
            if complaint is None:
                return shot
            if time.time() > deadline:
                self.fail(complaint)
            time.sleep(0.4)

    def reads(self, shot, box, text, psm=6):
        """None when OCR finds `text` in `box` of `shot`, else a complaint."""
        found = self.session.ocr(shot, box, psm=psm)
        return None if text in found else f"expected {text!r}, read {found!r}"

    def wait_page(self, book, page, label, name="page"):
        """Waits until the page `page` of book `book` is on the screen, fitted or not, and
        the page selector reads `label`; returns the screenshot."""
        def check(shot):
            colour = harness.mean_colour(shot, (420, 95, 860, 122))  # paper above the first line
            expected = volume.page_colour(book, page)
            if harness.spread(shot, PAGE_CENTRE) <= 8:
                return "no page on the screen"
            if not close_to(colour, expected):
                return f"page colour {colour}, expected {expected} (book {book}, page {page})"
            text = self.session.ocr(shot, PAGE_SELECTOR, psm=7).replace("O", "0")
            if label not in text:
                return f"page selector reads {text!r}, expected {label}"
            return None
        return self.eventually(name, check)

    def answer_box(self, title, key="Return"):
        """Finds the message box by its title, returns its OCR text and answers it."""
        box = self.session.window(title)
        self.assertIsNotNone(box, f"no message box titled {title!r}")
        x, y, w, h = self.session.window_geometry(box)
        shot = self.session.screenshot("box")
        text = self.session.ocr(shot, (x, y, x + w, y + h))
        self.session.focus(box)
        self.session.key(key)
        return text


class Scenarios(ViewerCase):
    def test_first_start(self):
        self.start_viewer()
        for title in ("N O T A", "- A T T E N Z I O N E -", "ATTENZIONE, CHIUDO IL PROGRAMMA"):
            self.assertIsNone(self.session.window(title, timeout=0.5))
        self.assertEqual(self.session.window_geometry(self.main), (0, 0, 1280, 1024))
        shot = self.wait_page(0, 0, "0001", "first")
        self.assertTrue(close_to(harness.mean_colour(shot, LEFT_MARGIN), BACKGROUND, 6),
                        "the fitted page should leave the margins free")
        self.assertIn("Historia", self.session.ocr(shot, HEADER, psm=7))
        self.assertTrue(self.bookmark.exists())
        self.assertEqual(self.bookmark.read_bytes(), b"")

    def test_arrows_turn_pages_across_books(self):
        self.start_viewer()
        self.session.key("Right")
        self.wait_page(0, 1, "0002", "right1")
        self.session.key("Right", pause=1.0)
        text = self.answer_box("Cartavox")
        self.assertIn("LIBRO seguente", text)
        self.session.focus(self.main)
        self.session.settle()
        shot = self.wait_page(1, 0, "0001", "next-book")
        self.assertIn("Primo", self.session.ocr(shot, BOOK_SELECTOR, psm=7))
        self.session.key("Right")
        self.wait_page(1, 1, "0002", "right3")
        self.session.key("Left")
        self.wait_page(1, 0, "0001", "left")

    def test_typed_page_number_opens_its_book(self):
        self.start_viewer()
        self.session.key("F2")
        self.session.type("6")
        self.session.key("Return", pause=1.2)
        shot = self.wait_page(2, 1, "0006", "typed")
        self.assertIn("Secondo", self.session.ocr(shot, BOOK_SELECTOR, psm=7))

    def test_typed_number_below_every_page_is_reported(self):
        self.start_viewer()
        self.session.key("F2")
        self.session.type("0")
        self.session.key("Return", pause=1.2)
        self.assertIn("NON CORRISPONDE", self.answer_box("- A T T E N Z I O N E -"))
        self.session.focus(self.main)
        self.wait_page(1, 3, "0004", "last-page")

    def test_wheel_over_the_book_selector_changes_nothing(self):
        self.start_viewer()
        before = self.wait_page(0, 0, "0001", "before")
        self.session.move(930, 12)
        for button in ("5", "5", "4", "5"):  # down, down, up, down
            self.session.x("xdotool", "click", button)
        self.session.settle(1.0)
        after = self.session.screenshot("after")
        self.assertLess(harness.changed_fraction(before, after, (0, 80, 1280, 1024)), 0.01)
        self.assertIn("Antiporta", self.session.ocr(after, BOOK_SELECTOR, psm=7))

    def test_magnify_and_pan(self):
        self.start_viewer()
        fitted = self.wait_page(0, 0, "0001", "fitted")
        self.session.key("shift")
        magnified = self.eventually("magnified", lambda shot: None if not close_to(
            harness.mean_colour(shot, LEFT_MARGIN), BACKGROUND, 8) else
            "a magnified page should fill the width")
        self.session.key("Down", "Down")
        self.eventually("moved-up", lambda shot: None if harness.changed_fraction(
            magnified, shot, (100, 100, 1180, 1000)) > 0.05 else "panning did not move the page")
        self.session.key("shift")

        def fitted_again(shot):
            # The margins are free again and the page's edges are where they were.
            if not close_to(harness.mean_colour(shot, LEFT_MARGIN), BACKGROUND, 6):
                return "the page still covers the margins"
            for x in (280, 300, 980, 1000):
                if not close_to(shot.getpixel((x, 500)), fitted.getpixel((x, 500)), 12):
                    return f"the page's edge moved near x={x}"
            return None
        self.eventually("fitted-again", fitted_again)

    def test_click_on_the_right_edge_turns_the_page(self):
        self.start_viewer()
        self.session.move(*RIGHT_EDGE)
        pointer = self.session.cursor_image()
        self.assertEqual(pointer.size, (32, 32))
        self.assertTrue(points_right(pointer), "the pointer is not a right arrow")
        self.session.click(*RIGHT_EDGE)
        self.wait_page(0, 1, "0002", "clicked")

    def test_instructions_open_choose_topic_close(self):
        self.start_viewer()
        page = self.wait_page(0, 0, "0001", "page")
        self.session.key("F3")
        self.eventually("instructions", lambda shot: self.reads(shot, (600, 300, 1180, 420),
                                                                "ISTRUZIONI"))
        self.session.click(713, 419)  # the topic "come VOLTARE in AVANTI"
        self.eventually("topic", lambda shot: self.reads(shot, (700, 460, 1145, 490),
                                                         "VOLTARE PAGINA IN AVANTI", psm=7))
        self.session.focus(self.main)
        self.session.key("F3")
        self.eventually("closed", lambda shot: None if harness.changed_fraction(
            page, shot, (0, 30, 1280, 1024)) < 0.02 else "the page is not back")

    def test_close_keeping_the_place(self):
        self.start_viewer()
        self.session.key("Right")
        self.wait_page(0, 1, "0002", "turned")
        self.session.key("Escape")
        self.eventually("closing-panel", lambda shot: self.reads(
            shot, (485, 425, 795, 452), "iniziare dalla pagina", psm=7))
        self.session.key("s")
        self.assertTrue(self.session.ended(10), "S did not end the program")
        self.assertEqual(self.bookmark.read_bytes(), b" 0\r\n 1\r\n")
        self.start_viewer()
        self.wait_page(0, 1, "0002", "restarted")

    def test_close_forgetting_the_place(self):
        self.start_viewer()
        self.session.key("Right")
        self.wait_page(0, 1, "0002", "turned")
        self.session.key("Escape", pause=1.0)
        self.session.key("n")
        self.assertTrue(self.session.ended(10), "N did not end the program")
        self.assertEqual(self.bookmark.read_bytes(), b"")
        self.start_viewer()
        self.wait_page(0, 0, "0001", "restarted")

    def test_closing_panel_ends_by_itself(self):
        self.start_viewer()
        self.session.key("Right")
        self.session.key("Escape")
        self.assertFalse(self.session.ended(10), "ended before the countdown ran out")
        self.assertTrue(self.session.ended(15), "the countdown did not end the program")
        self.assertEqual(self.bookmark.read_bytes(), b"")

    def test_facing_pages_by_their_labels(self):
        # Paper above the first line of the left and right facing page.
        halves = ((130, 92, 510, 108), (770, 92, 1150, 108))

        def facing(book, left, right):
            def check(shot):
                for box, page in zip(halves, (left, right)):
                    colour = harness.mean_colour(shot, box)
                    expected = BACKGROUND if page is None else volume.page_colour(book, page)
                    if not close_to(colour, expected, 8 if page is None else 18):
                        return f"{box}: colour {colour}, expected {expected}"
                return None
            return check
        self.start_viewer()
        self.session.key("F6")
        self.eventually("first-alone", facing(0, None, 0))  # the book starts on the right
        self.session.key("Right")
        self.eventually("last-alone", facing(0, 1, None))
        self.session.key("Right", pause=1.0)
        self.assertIn("LIBRO seguente", self.answer_box("Cartavox"))
        self.session.focus(self.main)
        self.session.settle()
        self.eventually("next-book", facing(1, None, 0))
        self.session.key("Right")
        shot = self.eventually("opening", facing(1, 1, 2))
        self.assertIn("0002", self.session.ocr(shot, PAGE_SELECTOR, psm=7).replace("O", "0"))


class Zooming(ViewerCase):
    texture = True

    def test_wheel_zoom_drag_and_back(self):
        self.start_viewer()
        self.wait_page(0, 0, "0001", "first")
        centre = (640, 540)
        self.session.move(*centre)
        self.session.x("xdotool", "click", "5")  # the wheel towards the reader: forward
        self.wait_page(0, 1, "0002", "wheel")
        self.session.key("shift")
        self.session.settle(1.0)
        magnified = self.session.screenshot("magnified")
        self.session.key("plus", "plus")
        self.session.settle(1.5)
        zoomed = self.session.screenshot("zoomed")
        # The paper's grain: lost at the magnified page's scale, the scan's own beyond it.
        self.assertGreater(grain(zoomed), 3 * grain(magnified) + 2,
                           f"no sharper detail: {grain(zoomed):.1f} against {grain(magnified):.1f}")
        self.session.x("xdotool", "mousedown", "1")
        for step in range(1, 11):
            self.session.x("xdotool", "mousemove", str(centre[0] - 20 * step),
                           str(centre[1] - 15 * step))
        self.session.x("xdotool", "mouseup", "1")
        self.session.settle(1.0)
        dragged = self.session.screenshot("dragged")
        self.assertGreater(harness.changed_fraction(zoomed, dragged, (100, 100, 1180, 1000)), 0.05,
                           "the drag did not move the zoomed page")
        self.session.key("Left", pause=1.5)
        turned = self.session.screenshot("turned")
        self.assertIn("0001", self.session.ocr(turned, PAGE_SELECTOR, psm=7).replace("O", "0"))
        # Back in the magnified presentation: the whole width, the grain reduced again.
        self.assertFalse(close_to(harness.mean_colour(turned, LEFT_MARGIN), BACKGROUND, 8))
        self.assertLess(grain(turned), grain(zoomed) / 3)


class Overview(ViewerCase):
    def find_colour(self, shot, colour, box):
        """Centre of the pixels of `colour` within `box` of `shot` (every fourth pixel looked
        at), or None."""
        xs, ys = [], []
        for y in range(box[1], box[3], 4):
            for x in range(box[0], box[2], 4):
                if close_to(shot.getpixel((x, y))[:3], colour, 8):
                    xs.append(x)
                    ys.append(y)
        return (sum(xs) // len(xs), sum(ys) // len(ys)) if len(xs) > 20 else None

    def test_labels_click_and_back(self):
        self.start_viewer()
        self.wait_page(0, 0, "0001", "first")
        self.session.key("F5", "Tab")  # the overview, then the second book's pages
        grid = (0, 30, 1280, 1024)
        self.eventually("labels", lambda shot: None if all(
            label in self.session.ocr(shot, grid).replace("O", "0")
            for label in ("0001", "0002", "0003", "0004")) else "labels not all read: "
            + self.session.ocr(shot, grid))
        shot = self.eventually("thumbnails", lambda shot: None if self.find_colour(
            shot, volume.page_colour(1, 2), grid) else "no thumbnail of the third page")
        self.session.click(*self.find_colour(shot, volume.page_colour(1, 2), grid))
        self.wait_page(1, 2, "0003", "opened")
        working = self.session.data / volume.WORK_FOLDER / "lab.jpg"
        scan = self.work / "scans" / "b2p3.jpg"
        with Image.open(working) as shown, Image.open(scan) as original:
            self.assertEqual(shown.size, original.size)
            self.assertTrue(close_to(harness.mean_colour(shown.convert("RGB"),
                                                         (0, 0, 1800, 200)),
                                     harness.mean_colour(original.convert("RGB"),
                                                         (0, 0, 1800, 200)), 3))
        # F5, the wheel over the grid (which has nothing to scroll: the page under it must not
        # turn), F5 again: back on the same page.
        self.session.key("F5")
        self.session.settle(1.0)
        self.session.move(640, 500)
        self.session.x("xdotool", "click", "5")
        self.session.x("xdotool", "click", "5")
        self.session.key("F5")
        self.wait_page(1, 2, "0003", "back")


class InkAids(ViewerCase):
    def test_negative_then_reset_from_the_keyboard(self):
        self.start_viewer()
        plain = self.wait_page(0, 0, "0001", "first")
        working = self.session.data / volume.WORK_FOLDER / "lab.jpg"
        before = working.read_bytes()
        self.session.key("F7", "Tab", "Tab", "Tab", "space")  # the panel, then "Negativo"
        self.session.settle(1.0)
        paper = harness.mean_colour(plain, PAGE_CENTRE)
        negative = tuple(255 - c for c in paper)
        self.eventually("negative", lambda shot: None if close_to(
            harness.mean_colour(shot, PAGE_CENTRE), negative, 24) else
            f"page {harness.mean_colour(shot, PAGE_CENTRE)}, expected the negative {negative}")
        self.session.key("Tab", "Tab", "Tab", "Return", "F7")  # "Ripristina", then close
        self.eventually("reset", lambda shot: None if close_to(
            harness.mean_colour(shot, PAGE_CENTRE), paper, 6) else "the page was not restored")
        self.assertEqual(working.read_bytes(), before)


class WindowManager(ViewerCase):
    def test_alt_f4_opens_the_closing_panel(self):
        self.session.start_window_manager()
        self.start_viewer()
        self.wait_page(0, 0, "0001", "page")
        self.session.key("alt+F4")
        self.eventually("closing-panel", lambda shot: self.reads(
            shot, (485, 425, 795, 452), "iniziare dalla pagina", psm=7))
        self.assertFalse(self.session.ended(0.5), "the window closed without asking")
        before = self.bookmark.read_bytes()
        self.session.key("alt+F4")  # a second close waits for the reader's answer too
        self.assertFalse(self.session.ended(1), "a second close answered for the reader")
        self.assertEqual(self.bookmark.read_bytes(), before)
        self.session.key("s")
        self.assertTrue(self.session.ended(10), "S did not end the program")
        self.assertEqual(self.session.viewer.returncode, 0)
        self.assertEqual(self.bookmark.read_bytes(), b" 0\r\n 0\r\n")


class NarrowScreen(ViewerCase):
    width, height = 1024, 768

    def test_advisory_message_comes_first(self):
        self.session.start(self.volume)
        box = self.session.window("N O T A")
        self.assertIsNotNone(box, "no advisory message")
        self.assertIsNone(self.session.window("Cartavox", timeout=0.5),
                          "the window appeared before the message")
        text = self.answer_box("N O T A")
        self.assertIn("1024 x 768", text)
        self.assertIsNotNone(self.session.window("Cartavox"))


class TooNarrowScreen(ViewerCase):
    width, height = 800, 600

    def test_fatal_message_and_nothing_created(self):
        self.session.start(self.volume)
        text = self.answer_box("ATTENZIONE, CHIUDO IL PROGRAMMA")
        self.assertIn("1024", text)
        self.assertTrue(self.session.ended(10))
        self.assertNotEqual(self.session.viewer.returncode, 0)
        self.assertEqual(list(self.session.data.iterdir()), [])


class MissingExecutable(ViewerCase):
    def test_missing_file_message(self):
        elsewhere = self.work / "elsewhere"
        elsewhere.mkdir()
        shutil.copy(self.volume / "Cartavox.exe", elsewhere / "viewer")
        self.session.start(self.work, program=elsewhere / "viewer")
        text = self.answer_box("- A T T E N Z I O N E -")
        self.assertIn("RISULTA MANCANTE", text)
        self.assertTrue(self.session.ended(10))
        self.assertNotEqual(self.session.viewer.returncode, 0)


def grain(shot, box=(300, 300, 980, 900)):
    """Mean difference of horizontally neighbouring pixels in `box`: the page's finest detail."""
    part = shot.crop(box).convert("L")
    width, height = part.size
    pixels = part.load()
    total = sum(abs(pixels[x + 1, y] - pixels[x, y])
                for y in range(0, height, 4) for x in range(width - 1))
    return total / ((width - 1) * len(range(0, height, 4)))


def points_right(cursor):
    """True when the dark outline of the pointer is a triangle pointing right: its left side is
    a long vertical edge, its right end a single tip."""
    dark = [(x, y) for y in range(cursor.height) for x in range(cursor.width)
            if cursor.getpixel((x, y))[3] > 128 and sum(cursor.getpixel((x, y))[:3]) < 150]
    if not dark:
        return False
    left = min(x for x, _ in dark)
    right = max(x for x, _ in dark)
    rows_left = {y for x, y in dark if x <= left + 1}
    rows_right = {y for x, y in dark if x >= right - 1}
    return len(rows_left) > 3 * max(1, len(rows_right))


if __name__ == "__main__":
    unittest.main()
