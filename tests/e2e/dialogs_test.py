#!/usr/bin/python3
"""kesta10.exe's phone book, dialling, macro, auto-response and settings
dialogs, with the modem emulator on COM1 and telnetd hosts on 127.0.0.1.

    dialogs_test.py --build BUILD_DIR --work DIR

One program start: the phone book (Alt+D) dials a modem entry with exactly
"ATDT 0123" CR and the modem's "CONNECT 38400" closes both dialogs and shows
"Connected"; a double click on a host entry connects once to its telnet host; a refused host
shows "Socket Error !!"; an unanswered call is redialled after the countdown
with ESC and a pause of at least a second; macros and an auto-response row
typed into their dialogs are written and used, Cancel in either writes
nothing; the code dialog switches the
host code; the keyboard, font, directory, modem and state dialogs, and that the program
takes what they chose: text from the host in the new font, k f typed as 가 on
the three-set keyboard, the chosen background colour written and filling the
host's cleared screen, the text colour chosen with Alt+Z written and drawing the host's next text,
the menu's check marks of the voice and music switches following them, the voice and music switches, the music chooser; a
port that does not open gives "Failed Port" with its picture and the port's
name.
"""
import os
import shutil
import subprocess
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kesta_e2e as e2e  # noqa: E402
from program_test import check, eventually, pane, run_script  # noqa: E402

JOHAB_GA, JOHAB_GANA = bytes.fromhex("8861"), bytes.fromhex("8861 9061")  # 가, 가나 in the internal code
CP949_GANA = "가나".encode("cp949")
# The trigger host says "login:" a moment after the connection opens.
TRIGGER_SCRIPT = """cat "$KESTA_SCREEN"
sleep 1
printf 'login: '
exec /usr/bin/python3 "$KESTA_RECORD" "$KESTA_RECV" "$KESTA_DIR/hangup"
"""


def record(text, size=100):
    data = text.encode("ascii")
    return data + bytes(size - len(data))


def dialog(kesta, title, timeout=15):
    """Waits for the dialog TITLE and gives it the keyboard focus."""
    window = e2e.wait_for(lambda: kesta.find_windows(title), timeout, 0.2, "the dialog %r" % title)
    kesta.display.run("xdotool", "windowfocus", "--sync", str(window[0]))
    time.sleep(0.3)
    return window[0]


def keys(kesta, *names):
    kesta.display.run("xdotool", "key", "--delay", "80", *names)


def typed(kesta, text):
    kesta.display.run("xdotool", "type", "--delay", "60", text)


def gone(kesta, *titles):
    return all(not kesta.find_windows(t) for t in titles)


def hang_up(kesta):
    kesta.key("ctrl+F9")
    dialog(kesta, "HangUp")
    keys(kesta, "Return")
    check(eventually(lambda: pane(kesta, 0) == "Disconnected", 15), "Ctrl+F9 and OK hang up")


def port_bytes_with_times(log_path):
    """Every byte the program wrote to the modem with the time of its write."""
    data, times = bytearray(), []
    with open(log_path) as f:
        for line in f:
            stamp, direction, *hexes = line.split()
            if direction == "<":
                chunk = bytes.fromhex("".join(hexes))
                data += chunk
                times += [float(stamp)] * len(chunk)
    return bytes(data), times


def check_dialling(kesta, modem, host):
    """The modem entry, the host entry and a refused host."""
    kesta.key("alt+d")
    dialog(kesta, "Dial")
    keys(kesta, "Return")  # "Dialing" the remembered first entry
    check(eventually(lambda: kesta.find_windows("Dialing"), 10), "Dialing opens the Dialing dialog")
    check(eventually(lambda: b"ATDT 0123\r" in modem.received(), 10),
          "dialling the modem entry sends ATDT 0123 CR (%r)" % modem.received()[-24:])
    check(modem.received().count(b"ATDT") == 1 and "ATDT 0123" in modem.commands,
          "exactly one dial command, \"ATDT 0123\" (%r)" % modem.commands)
    check(eventually(lambda: gone(kesta, "Dial", "Dialing"), 15), "CONNECT 38400 closes both dialogs")
    check(eventually(lambda: pane(kesta, 0) == "Connected", 10), "the modem's CONNECT shows Connected")
    check(eventually(lambda: pane(kesta, 3) not in (None, "00:00:00"), 10),
          "the modem's CONNECT starts the connection clock (%r)" % pane(kesta, 3))
    hang_up(kesta)

    sessions = len(host.terms())
    kesta.key("alt+d")
    dialog(kesta, "Dial")
    # A double click on the second entry, the host, dials it.
    status, out = kesta.install.run_probe("client", "Dial")
    if check(status == 0, "the phone book's client area (%r)" % out.strip()):
        x, y = (int(v) for v in out.split()[:2])
        kesta.xdotool("mousemove", "--sync", x + 42, y + 35)
        kesta.xdotool("click", "--repeat", 2, "--delay", 80, 1)
    check(eventually(lambda: len(host.terms()) == sessions + 1, 15), "the host entry opens a telnet session")
    check(eventually(lambda: gone(kesta, "Dial", "Dialing"), 15), "the host's first data closes both dialogs")
    check(eventually(lambda: pane(kesta, 0) == "Connected", 10), "the telnet connection shows Connected")
    time.sleep(3)
    check(len(host.terms()) == sessions + 1, "one telnet session per round (%d)" % (len(host.terms()) - sessions))

    kesta.key("ctrl+1")
    check(eventually(lambda: host.received().endswith(CP949_GANA), 10),
          "Ctrl+1 sends the typed macro 1 in code page 949 (%r)" % host.received()[-6:])
    kesta.key("F2")
    dialog(kesta, "Hangul Code Change")
    keys(kesta, "Home", "Return")  # "Sangyong Combination": the internal code itself
    time.sleep(1)
    check(struct.unpack("<3i", install_of(kesta).read(r"env\kesta.han"))[1] == 0,
          "the code dialog writes code 0 to kesta.han")
    kesta.key("ctrl+space")
    kesta.type("rk")
    kesta.key("Return")
    kesta.key("ctrl+space")
    check(eventually(lambda: JOHAB_GA + b"\r" in host.received(), 10),
          "after the code dialog 가 typed reaches the host in the new code (%r)" % host.received()[-6:])
    kesta.key("ctrl+1")
    check(eventually(lambda: host.received().endswith(JOHAB_GANA), 10),
          "macro 1 goes in the new code too (%r)" % host.received()[-6:])
    kesta.key("F2")
    dialog(kesta, "Hangul Code Change")
    keys(kesta, "End", "Return")  # "UTF-8", the list's last entry
    time.sleep(1)
    check(struct.unpack("<3i", install_of(kesta).read(r"env\kesta.han"))[1] == 7,
          "the code dialog writes UTF-8 as entry 7 to kesta.han")
    kesta.key("ctrl+1")
    check(eventually(lambda: host.received().endswith("가나".encode("utf-8")), 10),
          "macro 1 goes out in UTF-8 after UTF-8 is chosen (%r)" % host.received()[-6:])
    hang_up(kesta)

    kesta.key("alt+d")
    dialog(kesta, "Dial")
    keys(kesta, "Down", "Down", "Return")  # remembered 1, so the refused host 3
    check(eventually(lambda: kesta.find_windows("Error"), 15), "a refused host shows the Error message box")
    dialog(kesta, "Error")
    status, texts = kesta.install.run_probe("texts", "Error")
    check("Socket Error !!" in texts, "the box says \"Socket Error !!\" (%r)" % texts.strip())
    keys(kesta, "Return")
    check(eventually(lambda: not kesta.find_windows("Dialing") and kesta.find_windows("Dial"), 10),
          "the refusal ends the Dialing dialog and leaves the phone book")
    dialog(kesta, "Dial")
    keys(kesta, "Escape")
    check(eventually(lambda: gone(kesta, "Dial"), 10), "Close ends the phone book")


def check_redial(kesta, modem):
    """No answer: after the countdown ESC, a pause and the same dial command."""
    kesta.key("alt+d")
    dialog(kesta, "Dial")
    keys(kesta, "Up", "Return")  # remembered 3, so the unanswered number 2
    check(eventually(lambda: b"ATDT 5550000\r" in modem.received(), 10), "the unanswered number is dialled")
    check(eventually(lambda: modem.received().count(b"ATDT 5550000\r") == 2, 70),
          "without a connection the call is redialled after the countdown")
    data, times = port_bytes_with_times(modem.log_path)
    at = data.find(b"ATDT 5550000\r\x1bATDT 5550000\r")
    check(at >= 0, "the redial is ESC then the same dial command (%r)" % data[-40:])
    if at >= 0:
        esc = at + len(b"ATDT 5550000\r")
        pause = times[esc + 1] - times[esc]
        check(pause >= 0.95, "at least a second between ESC and the new dial command (%.2f s)" % pause)
        first = times[at]
        check(50 <= times[esc] - first <= 60, "the redial comes 53 ticks after the dialling (%.1f s)"
              % (times[esc] - first))
    before = modem.received()
    dialog(kesta, "Dialing")
    keys(kesta, "Escape")
    check(eventually(lambda: modem.received()[len(before):] == b"\x1b", 10), "Cancel sends ESC")
    dialog(kesta, "Dial")
    keys(kesta, "Escape")
    check(eventually(lambda: gone(kesta, "Dial", "Dialing"), 10), "Cancel and Close end both dialogs")


def install_of(kesta):
    return kesta.install


def check_text_dialogs(kesta, install):
    kesta.key("alt+m")
    dialog(kesta, "Define Macro")
    check(install.exists(r"env\kesta.mac") and len(install.read(r"env\kesta.mac")) == 900,
          "opening Define Macro on a fresh installation writes nine empty macros")
    # Hangul through the line edit's own automaton: Ctrl+Space, then the
    # two-set keys of 가나. Tab leaves the field with 나 still composed.
    keys(kesta, "ctrl+space", "r", "k", "s", "k", "Tab")
    check(eventually(lambda: kesta.window_shot("Define Macro").find_drawing(e2e.render("가나")), 10),
          "가나 is drawn in macro 1's field as the font store draws it")
    typed(kesta, "hi")
    keys(kesta, "Return")
    check(eventually(lambda: gone(kesta, "Define Macro"), 10), "OK closes Define Macro")
    mac = install.read(r"env\kesta.mac")
    check(mac[:5] == JOHAB_GANA + b"\0" and mac[100:103] == b"hi\0",
          "가나 typed through the keyboard and \"hi\" are written in the internal code (%r %r)"
          % (mac[:5], mac[100:103]))

    # Cancel writes nothing, whatever was typed.
    kesta.key("alt+m")
    dialog(kesta, "Define Macro")
    typed(kesta, "zz")
    keys(kesta, "Escape")
    check(eventually(lambda: gone(kesta, "Define Macro"), 10), "Escape closes Define Macro")
    check(install.read(r"env\kesta.mac") == mac, "Cancel in Define Macro leaves kesta.mac as it was")
    kesta.key("alt+a")
    dialog(kesta, "AutoTransfer")
    typed(kesta, "zz")
    keys(kesta, "Escape")
    check(eventually(lambda: gone(kesta, "AutoTransfer"), 10), "Escape closes AutoTransfer")
    check(not install.exists(r"env\kesta.aut"), "Cancel in AutoTransfer writes no kesta.aut")

    kesta.key("alt+a")
    dialog(kesta, "AutoTransfer")
    check(not install.exists(r"env\kesta.aut"), "opening AutoTransfer writes nothing")
    typed(kesta, "login:")
    keys(kesta, "Tab")
    typed(kesta, "guest")
    keys(kesta, "shift+Tab", "shift+Tab", "space", "Return")
    check(eventually(lambda: gone(kesta, "AutoTransfer"), 10), "OK closes AutoTransfer")
    aut = install.read(r"env\kesta.aut") if install.exists(r"env\kesta.aut") else b""
    check(len(aut) == 1632 and struct.unpack("<8i", aut[:32]) == (1, 0, 0, 0, 0, 0, 0, 0)
          and aut[32:39] == b"login:\0" and aut[132:138] == b"guest\0",
          "the auto-response row is written whole (%r)" % aut[:40])


def check_phone_book_append(kesta, install):
    """Append: the typed host entry inserted before the selected one, saved on OK."""
    kesta.key("alt+d")
    dialog(kesta, "Dial")  # the list has the focus, the remembered third entry selected
    keys(kesta, "Tab", "End", "shift+Home")
    typed(kesta, "Extra")
    keys(kesta, "Tab", "End", "shift+Home")
    typed(kesta, "127.0.0.1:1")
    keys(kesta, *(["Tab"] * 7), "space")  # four lists, Dialing, Close, then Append
    dialog(kesta, "Saving")
    keys(kesta, "Return")

    def names():
        book = install.read(r"tel\kesta.tel")
        return [book[i:i + 100].split(b"\0")[0] for i in range(0, len(book), 100)]
    check(eventually(lambda: len(names()) == 5 and names()[2] == b"Extra\t127.0.0.1:1"
                     and names()[3].startswith(b"Nobody\t"), 10),
          "Append inserts the typed host before the selected entry and OK saves (%r)" % names())
    dialog(kesta, "Dial")
    keys(kesta, "Escape")
    check(eventually(lambda: gone(kesta, "Dial"), 10), "Close ends the phone book")


def colour_file(install):
    return struct.unpack("<2I", install.read(r"env\kesta.col")) if install.exists(r"env\kesta.col") else None


def pick_basic_colour(kesta, title, column=0):
    """In the colour chooser TITLE, clicks the basic colour at COLUMN of the first row and OK."""
    dialog(kesta, title)
    status, out = kesta.install.run_probe("client", title)
    if check(status == 0, "the colour chooser's client area (%r)" % out.strip()):
        x, y = (int(v) for v in out.split()[:2])
        kesta.xdotool("mousemove", "--sync", x + 14 + column * 51 // 2, y + 28)
        kesta.xdotool("click", 1)
        time.sleep(0.5)
    keys(kesta, "Return")
    check(eventually(lambda: gone(kesta, title), 10), "OK closes the colour chooser")


def connect(kesta, host):
    sessions = len(host.terms())
    kesta.key("ctrl+m")
    dialog(kesta, "Open Domain")
    typed(kesta, "127.0.0.1:%d" % host.port)
    keys(kesta, "Return")
    check(eventually(lambda: len(host.terms()) == sessions + 1, 15), "Ctrl+M connects to the host")


def special_menu_marks(kesta):
    """The check-mark column of the Special menu's six items, read from the popup's own
    X window (another process cannot read a menu's state under Wine)."""
    kesta.key("F10", *["Right"] * 6, "Down")

    def popup():
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "kesta10.exe"],
                           env=kesta.display.env(), capture_output=True, text=True)
        return [w for w in r.stdout.split() if int(w) != kesta.wid and not kesta.xdotool("getwindowname", w).strip()]
    window = e2e.wait_for(popup, 10, 0.2, "the Special menu")[0]
    time.sleep(0.5)
    shot = kesta.display.screenshot(window=window)
    kesta.key("Escape", "Escape")
    return [shot.crop(0, shot.height * (2 * i + 1) // 12 - 4, 20, 8).rgb for i in range(6)]


def check_settings_taken(kesta, install, host, trigger):
    """The font, keyboard, colour and sound settings chosen above are used."""
    kesta.key("F2")
    dialog(kesta, "Hangul Code Change")
    keys(kesta, "Home", *["Down"] * 5, "Return")  # back to the host's code page 949
    connect(kesta, host)
    row = e2e.DEFAULT_SCREEN_LINES[3]
    myungjo, gothic = e2e.render(row, face="InternalMyungjo"), e2e.render(row, face="InternalGothic")
    check(eventually(lambda: kesta.client_shot().find_drawing(myungjo), 20),
          "the host's Korean row is drawn in the chosen font, Myungjo")
    check(not kesta.client_shot().find_drawing(gothic), "and not in Gothic, the font before")

    before = len(host.received())
    kesta.key("ctrl+space")
    kesta.type("kf")  # 가 on the three-set keyboard (on the two-set one ㅏ and ㄹ)
    kesta.key("Return")
    kesta.key("ctrl+space")
    check(eventually(lambda: "가\r".encode("cp949") in host.received()[before:], 10),
          "after the keyboard dialog k f types 가 on the three-set layout (%r)" % host.received()[before:])

    kesta.key("alt+m")  # the dialogs' Hangul fields type with the same keyboard
    dialog(kesta, "Define Macro")
    keys(kesta, "Tab", "Tab", "ctrl+space", "k", "f", "Return")
    check(eventually(lambda: gone(kesta, "Define Macro"), 10), "OK closes Define Macro")
    check(install.read(r"env\kesta.mac")[200:203] == JOHAB_GA + b"\0",
          "k f typed into macro 3 is 가 on the three-set keyboard (%r)" % install.read(r"env\kesta.mac")[200:203])

    colours = colour_file(install)
    kesta.key("alt+b")
    pick_basic_colour(kesta, "Color")
    chosen = colour_file(install)
    check(chosen is not None and chosen != colours and chosen[0] == 0xFFFFFF,
          "the background colour is written to kesta.col beside the text colour (%r)" % (chosen,))
    kesta.key("alt+z")
    pick_basic_colour(kesta, "Color", 1)
    text_chosen = colour_file(install)
    check(chosen is not None and text_chosen is not None and text_chosen[1] == chosen[1]
          and text_chosen[0] not in (chosen[0], chosen[1]),
          "Alt+Z writes the chosen text colour to kesta.col, the background kept (%r)" % (text_chosen,))

    marks = special_menu_marks(kesta)
    for key, name, size in (("alt+v", r"env\kesta.voc", 4), ("ctrl+b", r"env\kesta.mus", 104)):
        old = install.read(name)[:4] if install.exists(name) else None
        kesta.key(key)
        check(eventually(lambda: install.exists(name) and len(install.read(name)) == size
                         and install.read(name)[:4] != old, 10),
              "%s switches the flag in %s (%r)" % (key, name, install.read(name)[:4] if install.exists(name) else None))
    switched = special_menu_marks(kesta)
    check([m != n for m, n in zip(marks, switched)] == [False] * 4 + [True] * 2,
          "the Special menu's check marks follow the voice and music switches, the other items' stay")
    kesta.key("ctrl+b")  # the music off again
    kesta.key("alt+2")
    check(eventually(lambda: kesta.find_windows("Change Music File"), 10), "Alt+2 opens Change Music File")
    dialog(kesta, "Change Music File")
    keys(kesta, "Escape")
    check(eventually(lambda: gone(kesta, "Change Music File"), 10), "Cancel closes the music chooser")
    hang_up(kesta)
    if chosen:
        # Pages made from now on are filled with the new background colour; the
        # host's "login: " after its colours are reset is in the new text colour.
        connect(kesta, trigger)
        rgb = (chosen[1] & 0xFF, chosen[1] >> 8 & 0xFF, chosen[1] >> 16 & 0xFF)
        check(eventually(lambda: kesta.client_shot().count(rgb) > 100000, 10),
              "the host's cleared screen is in the new background colour %r" % (rgb,))
        if text_chosen:
            ink = (text_chosen[0] & 0xFF, text_chosen[0] >> 8 & 0xFF, text_chosen[0] >> 16 & 0xFF)
            login = e2e.render("login:")
            drawn = eventually(lambda: kesta.client_shot().find_drawing(login), 10) and kesta.client_shot().find_drawing(login)
            check(bool(drawn) and drawn[0][2:] == (ink, rgb),
                  "the host's next text is drawn in the chosen text colour %r (%r)" % (ink, drawn[:1]))
        hang_up(kesta)


def check_settings(kesta, install, modem, host, trigger):
    kesta.key("alt+3")
    dialog(kesta, "Hangul Key Type")
    keys(kesta, "End", "Return")
    check(eventually(lambda: gone(kesta, "Hangul Key Type"), 10), "OK closes Hangul Key Type")
    kesta.key("F8")
    dialog(kesta, "Hangul Font Change")
    keys(kesta, "Home", "Return")
    check(eventually(lambda: gone(kesta, "Hangul Font Change"), 10), "OK closes Hangul Font Change")
    han = struct.unpack("<3i", install.read(r"env\kesta.han"))
    check(han == (0, 7, 1), "font Myungjo, the code chosen before (UTF-8) and \"3 BulSik\" stored as 1 (%r)" % (han,))

    kesta.key("alt+F5")
    dialog(kesta, "Directory Settting")
    keys(kesta, "End", "shift+Home")
    typed(kesta, "C:\\dl")
    keys(kesta, "Return")
    check(eventually(lambda: install.exists(r"env\kesta.dir"), 10), "OK writes kesta.dir")
    directories = install.read(r"env\kesta.dir") if install.exists(r"env\kesta.dir") else b""
    check(directories[:6] == b"C:\\dl\0" and directories[100:].startswith(b"C:\\kesta\\up"),
          "the typed download directory and the default others (%r)" % directories[:12])

    check_settings_taken(kesta, install, host, trigger)

    kesta.key("F7")
    dialog(kesta, "Modem State")
    keys(kesta, "Return")
    check(eventually(lambda: gone(kesta, "Modem State"), 10), "OK closes Modem State")

    resets = modem.received().count(b"ATZ\r")
    kesta.key("alt+1")
    dialog(kesta, "Modem")
    keys(kesta, "Return")  # "Select" as shown
    check(eventually(lambda: modem.received().count(b"ATZ\r") == resets + 1, 15),
          "Select reopens the port and sends the initial command again")
    mdm = install.read(r"env\kesta.mdm")
    check(struct.unpack("<5i", mdm[:20])[:2] == (1, 38400) and mdm[20:24] == b"ATZ\0",
          "Select writes the record shown (%r)" % mdm[:24])

    kesta.key("alt+1")
    dialog(kesta, "Modem")
    keys(kesta, "End", "Return")  # COM9, which does not exist
    check(eventually(lambda: kesta.find_windows("Failed Port"), 15), "a port that does not open shows Failed Port")
    dialog(kesta, "Failed Port")
    time.sleep(1)
    picture = e2e.picture_pair(install.path("mport"))
    check(bool(kesta.window_shot("Failed Port").find_picture(picture, step=7)),
          "Failed Port shows the picture that says what failed")
    status, texts = install.run_probe("texts", "Failed Port")
    check("COM9 could not be opened." in texts, "Failed Port names the port (%r)" % texts.strip())
    keys(kesta, "Return")
    check(eventually(lambda: gone(kesta, "Failed Port"), 10), "OK closes Failed Port")


def run(args):
    work = os.path.join(args.work, "dialogs")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with e2e.Display(), e2e.Install(args.build, work) as install, \
            e2e.TelnetHost(workdir=work) as host, \
            e2e.TelnetHost(script=TRIGGER_SCRIPT, workdir=work) as trigger:
        refused = e2e.free_port()
        with e2e.ModemEmulator(os.path.join(work, "com1.pty"), numbers={"0123": host.port}) as modem:
            e2e.link_com(install, 1, modem.link)
            install.write_modem(port=1, init="ATZ")
            install.write(r"tel\kesta.tel", record("Modem\t0123\t38400\tN-8-1") +
                          record("Host\t127.0.0.1:%d" % host.port) +
                          record("Nobody\t5550000\t38400\tN-8-1") +
                          record("Refused\t127.0.0.1:%d" % refused))
            with e2e.Program(install) as kesta:
                kesta.wait_window(e2e.TITLE, 60)
                modem.wait_command("ATZ")
                time.sleep(1)
                check_text_dialogs(kesta, install)
                check_dialling(kesta, modem, host)
                kesta.key("ctrl+m")
                dialog(kesta, "Open Domain")
                typed(kesta, "127.0.0.1:%d" % trigger.port)
                keys(kesta, "Return")
                check(eventually(lambda: b"guest" in trigger.received(), 20),
                      "the auto-response row answers the host's \"login:\" (%r)" % trigger.received()[-12:])
                hang_up(kesta)
                check_redial(kesta, modem)
                check_phone_book_append(kesta, install)
                check_settings(kesta, install, modem, host, trigger)


if __name__ == "__main__":
    run_script(run)
