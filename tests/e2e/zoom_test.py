#!/usr/bin/python3
"""kesta10.exe's terminal at 2x and the zoom commands, against a telnetd host:
with env\\kesta.zom holding 2 the host's Korean lines stand on screen as the
font store draws them enlarged twice, pixel for pixel; a click on a host menu
item at 2x sends it; a drag over a line at 2x copies that line; F11 and F12
change the factor and the file, and the caret stands at the cursor's cell,
as large as a cell, at each factor.

    zoom_test.py --build BUILD_DIR --work DIR [--shots DIR]

With --shots the client area is saved at 1x and 2x as zoom-1x.png and
zoom-2x.png (the pictures in docs/).
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, run_script  # noqa: E402

CELL_W, CELL_H = 8, 16
KOREAN = ["한글 단말기 Kesta 의 큰 화면", "확대해도 글자는 또렷하게"]
MENU = "Select: 1 2 3 123 (YES)"
SCREEN = ("\r\n".join(KOREAN) + "\r\n\r\n" + MENU + "\r\n").encode("cp949")


class Cells:
    """Cells of the terminal area in client coordinates at a zoom."""

    def __init__(self, kesta, zoom):
        _, _, width, height = kesta.client_rect()
        w, h = CELL_W * zoom, CELL_H * zoom
        self.zoom, self.w, self.h = zoom, w, h
        self.left = width // 2 - (85 * w) // 2
        self.top = 2 * h + height // 2 - (31 * h) // 2

    def corner(self, column, row):
        return self.left + column * self.w, self.top + row * self.h

    def centre(self, column, row):
        x, y = self.corner(column, row)
        return x + self.w // 2, y + self.h // 2


def caret(install):
    status, out = install.run_probe("caret", e2e.TITLE)
    return tuple(int(v) for v in out.split()[:4]) if status == 0 else None


def zoom_file(install):
    return install.read(r"env\kesta.zom") if install.exists(r"env\kesta.zom") else None


def save_png(image, path):
    from PIL import Image as PILImage
    PILImage.frombytes("RGB", (image.width, image.height), bytes(image.rgb)).save(path)


def run(args):
    work = os.path.join(args.work, "zoom")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with e2e.Display(width=1600, height=1200), e2e.Install(args.build, work) as install, \
            e2e.TelnetHost(screen=SCREEN, workdir=work) as host:
        install.write(r"env\kesta.zom", bytes([2, 0, 0, 0]))
        with e2e.Program(install, ["127.0.0.1:%d" % host.port]) as kesta:
            kesta.wait_window(e2e.TITLE, 60)
            time.sleep(2)
            cells = Cells(kesta, 2)
            for line in KOREAN:
                drawn = e2e.render(line).scaled(2)
                found = eventually(lambda: kesta.client_shot().find_drawing(drawn), 20)
                check(found, "at 2x %r stands on screen as the font store draws it, enlarged twice" % line)
            # The host's text starts below the welcome picture, on a row of its own.
            shot = kesta.client_shot()
            where = shot.find_drawing(e2e.render(KOREAN[0]).scaled(2))
            x, y = where[0][:2] if where else (-1, -1)
            first = (y - cells.top) // cells.h
            check(x == cells.left and (y - cells.top) % cells.h == 0 and 0 <= first < 24,
                  "the first line starts at the left of a 2x cell row (%d, %d; rows from %d)" % (x, y, cells.top))
            cursor_row, menu_row = first + 4, first + 3
            if args.shots:
                save_png(shot, os.path.join(args.shots, "zoom-2x.png"))

            # The cursor stands at column 0 of the row after the menu.
            check(eventually(lambda: caret(install) == cells.corner(0, cursor_row) + (CELL_W * 2, CELL_H * 2), 10),
                  "at 2x the caret covers the cursor's cell (%r, want %r)" % (caret(install),
                                                                            cells.corner(0, cursor_row)))

            # A click on the menu's 3 (column 12) at 2x sends it.
            before = len(host.received())
            kesta.click(*cells.centre(12, menu_row))
            check(eventually(lambda: host.received()[before:] == b"3\r", 10),
                  "a click on a host menu item at 2x sends it (%r)" % host.received()[before:])

            # A drag over the second Korean line copies it.
            cx, cy, _, _ = kesta.client_rect()
            (x0, y0), (x1, y1) = cells.centre(0, first + 1), cells.centre(79, first + 1)
            kesta.focus()
            kesta.xdotool("mousemove", "--sync", cx + x0, cy + y0)
            kesta.xdotool("mousedown", 1)
            for step in range(1, 5):
                kesta.xdotool("mousemove", "--sync", cx + x0 + (x1 - x0) * step // 4, cy + y0)
                time.sleep(0.1)
            kesta.xdotool("mouseup", 1)
            kesta.key("ctrl+c")
            time.sleep(0.5)
            copied = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=kesta.display.env(),
                                    capture_output=True).stdout.decode("utf-8", "replace")
            check(copied.rstrip() == KOREAN[1], "a drag over a line at 2x copies that line (%r)" % copied.rstrip())

            # The chat window's hint bar at 2x, in the built-in font enlarged (its
            # top and bottom pixel rows are the bar's frame, left out).
            kesta.key("alt+c")
            hint = e2e.render("ALT + H")
            hint = hint.crop(0, 2, hint.width, hint.height - 4).scaled(2)
            check(eventually(lambda: kesta.client_shot().find_drawing(hint), 10), "the chat hint bar is drawn at 2x")
            kesta.key("alt+c")
            time.sleep(0.5)

            # The commands: F11 out, F12 in, each saved; the caret follows.
            for key, zoom in (("F11", 1), ("F12", 2), ("F12", 3)):
                kesta.key(key)
                check(eventually(lambda: zoom_file(install) == bytes([zoom, 0, 0, 0]), 10),
                      "%s makes the factor %d and saves it (%r)" % (key, zoom, zoom_file(install)))
                time.sleep(1)
                at = Cells(kesta, zoom)
                check(eventually(lambda: caret(install) == at.corner(0, cursor_row) + (CELL_W * zoom, CELL_H * zoom), 10),
                      "at %dx the caret covers the cursor's cell (%r, want %r)" % (zoom, caret(install),
                                                                                 at.corner(0, cursor_row)))
                if zoom == 1:
                    check(eventually(lambda: kesta.client_shot().find_drawing(e2e.render(KOREAN[0])), 10),
                          "at 1x the line is drawn at the font's size again")
                    if args.shots:
                        save_png(kesta.client_shot(), os.path.join(args.shots, "zoom-1x.png"))
            kesta.key("F12")
            kesta.key("F12")
            time.sleep(1)
            check(zoom_file(install) == bytes([4, 0, 0, 0]), "the factor stops at 4 (%r)" % zoom_file(install))


if __name__ == "__main__":
    shots = None
    if "--shots" in sys.argv:
        i = sys.argv.index("--shots")
        shots = sys.argv[i + 1]
        del sys.argv[i:i + 2]

    def with_shots(args):
        args.shots = shots
        run(args)
    run_script(with_shots)
