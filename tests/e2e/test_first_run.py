"""First start of velquor.exe on a fresh profile, and a first start that cannot
create its data folder."""

import os
import subprocess
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import velquor_e2e  # noqa: E402

LAYER_FILES = ["skin1_l1", "skin1_l2", "skin1_l3", "skin2_l1", "skin2_l2", "skin2_l3"]
DEFAULT_SETTINGS = b"[General]\r\nprograms = 5\r\nradius = 100\r\nskin = skin1\r\n"
NO_RIGHTS_TEXT = (b"Das Programm hat keine Rechte Informationen auf dem Computer zu speichern. "
                  b"Dies ist aber notwendig f\xfcr den Betrieb!")


class FirstRunTest(velquor_e2e.VelquorTestCase):

    def assert_layer_file(self, path):
        with open(path, "rb") as f:
            data = f.read()
        chunks = velquor_e2e.png_chunks(data)
        kinds = [kind for kind, _ in chunks]
        self.assertEqual(kinds[0], "IHDR", path)
        self.assertEqual(kinds[-1], "IEND", path)
        self.assertEqual(set(kinds[1:-1]), {"IDAT"}, path)
        header = velquor_e2e.png_header(data)
        self.assertEqual((header["width"], header["height"]), (64, 64), path)
        self.assertEqual((header["colour"], header["depth"], header["interlace"]), (6, 8, 0), path)
        pixels = zlib.decompress(b"".join(payload for kind, payload in chunks if kind == "IDAT"))
        row = 1 + 64 * 4
        self.assertEqual(len(pixels), 64 * row, path)
        self.assertEqual({pixels[y * row] for y in range(64)}, {0}, "every row unfiltered: " + path)

    def test_fresh_profile_gets_data_folder_and_builtin_skins(self):
        data_folder = self.data_folder()
        skins = os.path.join(data_folder, "Skins")
        self.assertFalse(os.path.exists(data_folder))

        self.wine.start()
        installed = lambda: all(os.path.isfile(os.path.join(skins, n)) for n in LAYER_FILES) or \
            not self.wine.running()
        self.wine.wait_for(installed, timeout=60, what="the built-in skins")
        ended_by_itself = not self.wine.running()
        self.assertEqual(self.finish_program(), 0)

        self.assertTrue(os.path.isdir(skins))
        self.assertEqual(sorted(os.listdir(skins)), LAYER_FILES)
        for name in LAYER_FILES:
            self.assert_layer_file(os.path.join(skins, name))

        settings = os.path.join(data_folder, "data.ini")
        if not ended_by_itself or os.path.exists(settings):
            with open(settings, "rb") as f:
                self.assertEqual(f.read(), DEFAULT_SETTINGS)
        self.assertEqual([n for n in os.listdir(data_folder) if n not in ("Skins", "data.ini")], [],
                         "no slot files on a first run")

    def test_file_in_the_way_of_the_data_folder_gives_error_and_writes_nothing(self):
        blocker = self.data_folder()
        with open(blocker, "wb") as f:
            f.write(b"in the way\r\n")
        before = sorted(os.listdir(self.profile))

        self.wine.start()
        box = self.wine.wait_window(title="Error", cls="#32770", timeout=60)
        texts = [c["text"].encode("latin-1") for c in box["children"] if c["class"].lower() == "static"]
        self.assertIn(NO_RIGHTS_TEXT, texts)
        buttons = [c["text"] for c in box["children"] if c["class"].lower() == "button" and c["visible"]]
        self.assertEqual(buttons, ["OK"])
        self.assertEqual([w["text"] for w in self.wine.windows() if w["visible"]], ["Error"],
                         "no window of the program is open besides the message")

        self.wine.key("Return")
        try:
            code = self.wine.wait_exit(timeout=30)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end after the message was closed")
        self.assertEqual(code, 0)

        self.assertTrue(os.path.isfile(blocker))
        with open(blocker, "rb") as f:
            self.assertEqual(f.read(), b"in the way\r\n")
        self.assertEqual(sorted(os.listdir(self.profile)), before)


if __name__ == "__main__":
    velquor_e2e.main()
