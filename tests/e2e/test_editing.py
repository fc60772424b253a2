"""Editing the ring under Wine with real input: the slot menu and its
commands, binding and launching a slot, and the skin chooser."""

import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import velquor_e2e  # noqa: E402

POINTER = (500, 400)
# Default ring (programs 5, radius 100) revealed at POINTER: window at (368, 268).
ORIGIN = (368, 268)
DEFAULT_CORNERS = [(100, 0), (187, 50), (187, 150), (100, 200), (13, 150), (13, 50)]
MENU_TEXTS = [b"Button neu belegen", b"Diesen Button l\xf6schen", None, b"Neuen Button hinzufuegen",
              b"Skin \xe4ndern", None, b"Info", None, b"Beenden"]
MENU_IDS = {b"Button neu belegen": 0, b"Diesen Button l\xf6schen": 1, b"Neuen Button hinzufuegen": 2,
            b"Skin \xe4ndern": 5, b"Info": 4, b"Beenden": 3}
# Position of each command among the menu's entries, separators left out.
REASSIGN, DELETE, ADD, SKIN, INFO, QUIT = range(6)
PROGRAM_MISSING = b"Das Programm existiert nicht oder befindet\rsich auf einem nicht angeschlossenen Medium!"


def slot_centre(i):
    x, y = DEFAULT_CORNERS[i]
    return ORIGIN[0] + x + 32, ORIGIN[1] + y + 32


class EditingTest(velquor_e2e.VelquorTestCase):

    def start_ring(self):
        self.wine.start()
        self.wine.wait_for(self.ring, timeout=60, what="the ring window")

    def ring(self):
        for w in self.wine.windows():
            if w["class"] not in velquor_e2e.SYSTEM_CLASSES and w["children"] and w["visible"]:
                return w
        return None

    def reveal(self):
        self.wine.move(*POINTER)
        self.wine.key_down("Control_L")
        self.wine.wait_for(lambda: (lambda w: w and w["rect"][:2] == ORIGIN)(self.ring()), timeout=10,
                           what="the ring at the pointer")

    def conceal(self):
        self.wine.key_up("Control_L")

    def click_slot(self, i, button):
        """Reveals the ring, clicks slot i and lets go of Ctrl again."""
        self.reveal()
        try:
            self.wine.click(*slot_centre(i), button=button)
            time.sleep(0.3)
        finally:
            self.conceal()

    def popup_menu(self):
        for w in self.wine.windows():
            if w["class"] == "#32768" and w["visible"]:
                return w
        return None

    def open_menu(self, i):
        self.click_slot(i, 3)
        return self.wine.wait_for(self.popup_menu, timeout=10, what="the slot menu")

    def choose(self, i, command):
        self.open_menu(i)
        self.wine.key(*(["Down"] * (command + 1)), "Return")

    def dialog(self, title, cls="#32770"):
        return self.wine.wait_window(title=title, cls=cls, timeout=20)

    def static_texts(self, window):
        return [c["text"].encode("latin-1") for c in window["children"] if c["class"].lower() == "static"]

    def read(self, name):
        with open(os.path.join(self.data_folder(), name), "rb") as f:
            return f.read()

    def settings(self):
        return self.read("data.ini")

    def quit(self):
        ring = self.ring()
        self.choose(0, QUIT)
        self.assertEqual(self.wine.wait_exit(timeout=30), 0)
        return ring

    def seed_slot(self, n, path, name, folder=0):
        os.makedirs(self.data_folder(), exist_ok=True)
        with open(os.path.join(self.data_folder(), "icon_%d_p.zv" % n), "wb") as f:
            f.write(path + b"\r\n" + name + b"\r\n" + bytes([folder]))

    def seed_data_folder(self):
        """A data folder as a first run leaves it, made by a short first run."""
        self.wine.start()
        self.wine.wait_for(self.ring, timeout=60, what="the first run")
        self.wine.close_window(self.ring()["hwnd"])
        self.assertEqual(self.wine.wait_exit(timeout=30), 0)

    # ------------------------------------------------------------ tests ---

    def test_slot_menu_entries_and_info_box(self):
        self.start_ring()
        menu = self.open_menu(2)
        cx, cy = slot_centre(2)
        self.assertEqual(menu["rect"][:2], (cx - 1, cy - 1), "the menu opens at the pointer less one")
        if menu["items"]:
            texts = [None if item["separator"] else item["text"].encode("latin-1") for item in menu["items"]]
            self.assertEqual(texts, MENU_TEXTS)
        self.wine.key(*(["Down"] * (INFO + 1)), "Return")
        box = self.dialog("ZV Velquor")
        text = max(self.static_texts(box), key=len)
        lines = text.split(b"\r")
        self.assertEqual(len(lines), 17)
        self.assertEqual(lines[:3], [b"Version 1.0", b"=" * 11, b""])
        self.assertEqual(lines[7:10], [b"", b"\xb1" * 22, b""])
        self.assertEqual(lines[13:15], [b"", b"Kontakt:"])
        self.assertTrue(lines[15].startswith(b"-> ") and lines[16].startswith(b"-> "))
        self.assertNotIn(b"\n", text)
        self.wine.key("Return")
        self.wine.wait_for(lambda: not any(w["text"] == "ZV Velquor" for w in self.wine.windows()),
                           timeout=10, what="the info box to close")
        self.quit()

    def test_reassign_binds_a_program_and_left_click_starts_it(self):
        self.start_ring()
        target_folder = os.path.join(self.wine.prefix, "drive_c", "Tools")
        os.makedirs(target_folder)
        target = os.path.join(target_folder, "mark.exe")
        shutil.copy(self.wine.marker, target)

        # Left click on an empty slot: the program is missing.
        self.click_slot(1, 1)
        box = self.dialog("Error")
        self.assertIn(PROGRAM_MISSING, self.static_texts(box))
        self.wine.key("Return")
        time.sleep(0.5)

        self.choose(1, REASSIGN)
        question = self.dialog("Frage")
        self.assertIn(b"Wollen sie ein Programm hinzuf\xfcgen? (Ja)\rAnsonsten k\xf6nnen sie einen Ordner w\xe4hlen. (Nein)",
                      self.static_texts(question))
        self.wine.key("Return")  # Yes is the default button
        self.dialog("Programm ausw\xe4hlen")
        time.sleep(1)
        self.wine.type_text("C:\\Tools\\mark.exe")
        self.wine.key("Return")
        self.wine.wait_for(lambda: os.path.exists(os.path.join(self.data_folder(), "icon_1_p.zv")),
                           timeout=20, what="the descriptor file")
        self.assertEqual(self.read("icon_1_p.zv"), b"C:\\Tools\\mark.exe\r\nmark.exe\r\n\x00")
        for name, colour in (("icon_1_org.png", 2), ("icon_1.png", 6)):
            header = velquor_e2e.png_header(self.read(name))
            self.assertEqual(header["colour"], colour, name)
        self.assertEqual(velquor_e2e.png_header(self.read("icon_1.png"))["width"], 64)

        # The face shows on the ring, and the tooltip names the file.
        self.reveal()
        try:
            self.wine.move(*slot_centre(1))
            time.sleep(2.5)
            self.wine.screenshot(os.path.join(self.wine.artifacts, "bound-slot.png"))
            tips = self.wine.tooltips()
            picture = self.wine.grab()
            x, y = slot_centre(1)
            middle = [self.wine.pixel(x + dx, y + dy, picture) for dx in range(-8, 9, 4) for dy in range(-8, 9, 4)]
            self.assertTrue(any(abs(r - 203) > 12 or abs(g - 203) > 12 for r, g, _ in middle),
                            "the icon shows in the middle of the face")
            if tips:
                self.assertIn("mark.exe", tips)
            self.wine.click(*slot_centre(1), button=1)
        finally:
            self.conceal()
        mark = os.path.join(target_folder, "mark.txt")
        self.wine.wait_for(lambda: os.path.exists(mark), timeout=20, what="the started program's mark")
        with open(mark, "rb") as f:
            self.assertIn(b'"C:\\Tools\\mark.exe"', f.read())
        self.quit()

    def test_delete_renumbers_and_add_then_quit_saves_count(self):
        self.seed_data_folder()
        for n in range(4):
            self.seed_slot(n, b"C:\\p%d.exe" % n, b"p%d.exe" % n)
        self.wine.start()
        self.wine.wait_for(self.ring, timeout=60, what="the ring window")

        self.choose(1, DELETE)
        # The settings are saved after the files have been renumbered.
        self.wine.wait_for(lambda: b"programs = 4" in self.settings(), timeout=20, what="the settings saved")
        self.assertEqual(self.read("icon_2_p.zv"), b"C:\\p3.exe\r\np3.exe\r\n\x00")
        self.assertEqual(self.read("icon_1_p.zv"), b"C:\\p2.exe\r\np2.exe\r\n\x00")
        self.assertFalse(os.path.exists(os.path.join(self.data_folder(), "icon_3_p.zv")))
        self.assertEqual(self.settings(), b"[General]\r\nprograms = 4\r\nradius = 90\r\nskin = skin1\r\n")
        ring = self.wine.wait_for(lambda: (lambda w: w if w and len(w["children"]) == 5 else None)(self.ring()),
                                  timeout=10, what="the rebuilt ring")
        self.assertEqual(ring["rect"][2] - ring["rect"][0], 244)

        # The smaller ring stands elsewhere now; work from its own geometry.
        global ORIGIN, DEFAULT_CORNERS
        saved = ORIGIN, DEFAULT_CORNERS
        try:
            ORIGIN = (POINTER[0] - 122, POINTER[1] - 122)
            DEFAULT_CORNERS = [(90, 0), (176, 62), (143, 163), (37, 163), (4, 62)]
            self.choose(0, ADD)
            self.wine.wait_for(lambda: (lambda w: w and len(w["children"]) == 6)(self.ring()), timeout=10,
                               what="the ring with one more slot")
            ORIGIN = (POINTER[0] - 132, POINTER[1] - 132)
            DEFAULT_CORNERS = saved[1]
            self.choose(0, ADD)
            self.wine.wait_for(lambda: (lambda w: w and len(w["children"]) == 7)(self.ring()), timeout=10,
                               what="the ring with two more slots")
            self.assertEqual(self.settings(), b"[General]\r\nprograms = 4\r\nradius = 90\r\nskin = skin1\r\n",
                             "adding writes nothing")
            ORIGIN = (POINTER[0] - 142, POINTER[1] - 142)
            DEFAULT_CORNERS = [(110, 0), (196, 41), (217, 134), (158, 209), (62, 209), (3, 134), (24, 41)]
            self.quit()
        finally:
            ORIGIN, DEFAULT_CORNERS = saved
        self.assertEqual(self.settings(), b"[General]\r\nprograms = 6\r\nradius = 110\r\nskin = skin1\r\n")

    def test_skin_chooser_applies_skin2_and_ignores_close_requests(self):
        self.seed_data_folder()
        self.wine.start()
        self.wine.wait_for(self.ring, timeout=60, what="the ring window")

        # Abbrechen changes nothing.
        self.choose(0, SKIN)
        chooser = self.dialog("Skin \xe4ndern...", cls=None)
        lists = [c for c in chooser["children"] if c["class"].lower() == "listbox"]
        self.assertEqual(len(lists), 1)
        self.assertEqual(sorted(lists[0]["rows"]), ["skin1", "skin2"])
        self.assertEqual((chooser["client"][0], chooser["client"][1]), (222, 144))
        self.wine.key("alt+F4")
        time.sleep(1)
        self.assertTrue(any(w["text"] == "Skin \xe4ndern..." and w["visible"] for w in self.wine.windows()),
                        "Alt+F4 does not close the chooser")
        buttons = {c["text"]: c for c in chooser["children"] if c["class"].lower() == "button"}
        self.assertEqual(set(buttons), {"Skin \xe4ndern", "Abbrechen"})
        left, top = chooser["origin"] if chooser["origin"] else chooser["rect"][:2]
        cancel = buttons["Abbrechen"]["rect"]
        self.wine.click((cancel[0] + cancel[2]) // 2, (cancel[1] + cancel[3]) // 2)
        self.wine.wait_for(lambda: not any(w["text"] == "Skin \xe4ndern..." and w["visible"]
                                           for w in self.wine.windows()), timeout=10, what="the chooser to close")
        self.assertEqual(self.settings(), b"[General]\r\nprograms = 5\r\nradius = 100\r\nskin = skin1\r\n")

        # Skin aendern without a choice applies the last listed skin, skin2.
        self.choose(0, SKIN)
        chooser = self.dialog("Skin \xe4ndern...", cls=None)
        rows = [c for c in chooser["children"] if c["class"].lower() == "listbox"][0]["rows"]
        apply = [c for c in chooser["children"] if c["text"] == "Skin \xe4ndern"][0]["rect"]
        self.wine.click((apply[0] + apply[2]) // 2, (apply[1] + apply[3]) // 2)
        self.wine.wait_for(lambda: b"skin = " + rows[-1].encode("latin-1") in self.settings(), timeout=20,
                           what="the new skin saved")
        self.reveal()
        try:
            time.sleep(0.5)
            self.wine.screenshot(os.path.join(self.wine.artifacts, "skin2.png"))
            r, g, b = self.wine.pixel(*slot_centre(0))
            if rows[-1] == "skin2":
                self.assertTrue(b > r + 40, "the blue skin shows: %r" % ((r, g, b),))
        finally:
            self.conceal()
        self.quit()


if __name__ == "__main__":
    velquor_e2e.main()
