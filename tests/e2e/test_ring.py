"""The ring under Wine with real input: shown at the pointer while Ctrl is
held, put away when it is released, and a close request ends the program."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import velquor_e2e  # noqa: E402

DEFAULT_SETTINGS = b"[General]\r\nprograms = 5\r\nradius = 100\r\nskin = skin1\r\n"
# Slot corners of the default ring (programs 5, radius 100) inside the window.
DEFAULT_CORNERS = [(100, 0), (187, 50), (187, 150), (100, 200), (13, 150), (13, 50)]
POINTER = (500, 400)


def ring_window(wine):
    for w in wine.windows():
        if w["class"] not in velquor_e2e.SYSTEM_CLASSES and w["visible"] and w["children"]:
            return w
    return None


def close_enough(a, b, tolerance):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class RingTest(velquor_e2e.VelquorTestCase):

    def test_ctrl_reveals_ring_at_pointer_and_release_hides_it(self):
        self.wine.start()
        ring = self.wine.wait_for(lambda: ring_window(self.wine), timeout=60, what="the ring window")
        self.assertEqual(ring["rect"], (0, -264, 264, 0), "waits above the screen")
        self.assertEqual(len(ring["children"]), 6)
        self.assertTrue(ring["exstyle"] & 0x80000, "layered")
        self.assertTrue(ring["exstyle"] & 0x8, "topmost")

        self.wine.move(*POINTER)
        self.wine.key_down("Control_L")
        try:
            shown = self.wine.wait_for(
                lambda: (lambda w: w if w and w["rect"][:2] == (368, 268) else None)(ring_window(self.wine)),
                timeout=10, what="the ring at the pointer")
            self.assertEqual(shown["rect"], (368, 268, 632, 532))
            corners = sorted((c["rect"][0] - 368, c["rect"][1] - 268) for c in shown["children"])
            self.assertEqual(corners, sorted(DEFAULT_CORNERS))

            time.sleep(0.5)
            self.wine.screenshot(os.path.join(self.wine.artifacts, "ring-shown.png"))
            picture = self.wine.grab()
            desktop = self.wine.pixel(40, 740, picture)
            for x, y in DEFAULT_CORNERS:
                centre = self.wine.pixel(368 + x + 32, 268 + y + 32, picture)
                # The empty layer of skin1 is a light grey disc, (203, 203, 203) in the middle.
                self.assertTrue(close_enough(centre, (203, 203, 203), 6), (x, y, centre))
                corner = self.wine.pixel(368 + x + 1, 268 + y + 1, picture)
                self.assertEqual(corner, desktop, "outside the disc the desktop shows")
            self.assertEqual(self.wine.pixel(*POINTER, picture), desktop, "the ring's middle is see-through")

            # Moving the pointer while Ctrl stays held leaves the ring where it is.
            self.wine.move(300, 300)
            time.sleep(0.5)
            self.assertEqual(ring_window(self.wine)["rect"][:2], (368, 268))
        finally:
            self.wine.key_up("Control_L")

        self.wine.wait_for(
            lambda: (lambda w: w and w["rect"][1] == -264)(ring_window(self.wine)),
            timeout=10, what="the ring back above the screen")
        picture = self.wine.grab()
        desktop = self.wine.pixel(40, 740, picture)
        self.assertEqual(self.wine.pixel(368 + 132, 268 + 32, picture), desktop)

        self.wine.close_window(ring_window(self.wine)["hwnd"])
        self.assertEqual(self.wine.wait_exit(timeout=30), 0)
        with open(os.path.join(self.data_folder(), "data.ini"), "rb") as f:
            self.assertEqual(f.read(), DEFAULT_SETTINGS)


if __name__ == "__main__":
    velquor_e2e.main()
