"""Both programs on a desktop with a window manager (openbox), judged by the window manager's own
view of their windows: their state, whether they are mapped, the stacking order and the frames."""

import os
import subprocess
import time

from contacts_file import file_of, read, record
from scenarios_manager import CONTACTS as MANAGER_CONTACTS, start_manager
from scenarios_reminder import (ADVANCED, ANA, CARLA, CONTACTS as REMINDER_CONTACTS, CUMPLE,
                                FALTAN, FRIDAY, SIN_AVISO, TODAY, WEEKEND, open_the_manager,
                                remember, start_reminder)
from tortavela_e2e import check, wait_for

MAIN = "Tortavela"
# A locale whose short date puts the month first: the programs must not follow it.
AMERICAN = {"LANG": "en_US.UTF-8", "LC_ALL": "en_US.UTF-8"}


def only_window(desktop, title):
    windows = wait_for(lambda: desktop.windows_titled(title), f"the window {title!r}")
    check(len(windows) == 1, f"{len(windows)} windows {title!r}")
    return windows[0]


def shown(desktop, window):
    return desktop.viewable(window) and "_NET_WM_STATE_HIDDEN" not in desktop.net_wm_state(window)


def minimized(desktop, window):
    return (not desktop.viewable(window) and
            "_NET_WM_STATE_HIDDEN" in desktop.net_wm_state(window))


def on_top(desktop, *windows):
    """Whether these windows, in any order, are the topmost of the stack."""
    stack = desktop.clients()
    return set(stack[-len(windows):]) == set(windows)


def cover(desktop):
    """Another program's window over the whole screen, on top of everything."""
    desktop.processes.append(subprocess.Popen(
        ["xmessage", "-name", "cover", "-geometry", "1280x800+0+0", "otra ventana"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    window = only_window(desktop, "cover")
    wait_for(lambda: on_top(desktop, window), "the other window on top")
    return window


def start_again(desktop, program_dir, program, today=None):
    """A second start of a program, which must end at once by itself."""
    process = desktop.start(program_dir, program, today=today)
    wait_for(lambda: process.poll() is not None, f"the second {program} ending", timeout=5)
    check(process.returncode == 0, f"the second {program} ended with {process.returncode}")


def manager_second_start(desktop):
    program_dir, first, _, _ = start_manager(desktop)
    main = only_window(desktop, MAIN)
    desktop.settled(lambda: shown(desktop, main), "the manager shown")

    # Minimized, it comes back restored and on top.
    subprocess.run(["xdotool", "windowminimize", main], check=True)
    desktop.settled(lambda: minimized(desktop, main), "the manager minimized")
    start_again(desktop, program_dir, "Agendela")
    desktop.settled(lambda: shown(desktop, main) and on_top(desktop, main),
                    "the manager restored on top")

    # Behind another program's window, it comes over it.
    other = cover(desktop)
    start_again(desktop, program_dir, "Agendela")
    desktop.settled(lambda: on_top(desktop, main), "the manager over the other window")
    check(desktop.windows_titled(MAIN) == [main], "a second manager window")
    check(first.poll() is None, "the first manager ended")
    check(other in desktop.clients(), "the other window went away")
    check(read(program_dir) == MANAGER_CONTACTS, "the contact file changed")


def reminder_second_start(desktop):
    program_dir = desktop.program_dir(REMINDER_CONTACTS)
    first, _, _, _ = start_reminder(desktop, program_dir)
    cumple, faltan = only_window(desktop, CUMPLE), only_window(desktop, FALTAN)
    wait_for(lambda: read(program_dir) == ADVANCED, "the age update")
    cover(desktop)
    start_again(desktop, program_dir, "Avisela", today=TODAY)
    desktop.settled(lambda: on_top(desktop, cumple, faltan), "both reminder windows on top")
    check(desktop.clients()[-1] == cumple, "today's birthdays are not the topmost window")
    check(desktop.windows_titled(CUMPLE) == [cumple] and desktop.windows_titled(FALTAN) == [faltan],
          "a second reminder window")
    check(first.poll() is None, "the first reminder ended")
    check(read(program_dir) == ADVANCED, "an age advanced twice")


def reminder_windows_both_seen(desktop):
    program_dir = desktop.program_dir(REMINDER_CONTACTS)
    desktop.start(program_dir, "Avisela", today=TODAY, extra_env=AMERICAN)
    app = desktop.application("Avisela")
    cumple_window, faltan_window = desktop.window(app, CUMPLE), desktop.window(app, FALTAN)
    # 7 December, day first, although the locale writes 12/7/26.
    desktop.find(cumple_window, "label", "7/12/26")
    cumple, faltan = only_window(desktop, CUMPLE), only_window(desktop, FALTAN)
    desktop.settled(lambda: shown(desktop, cumple) and shown(desktop, faltan), "both shown")
    today, coming = desktop.frame(cumple), desktop.frame(faltan)
    overlap = (today[0] < coming[2] and coming[0] < today[2] and
               today[1] < coming[3] and coming[1] < today[3])
    check(not overlap, f"the windows overlap: {today} and {coming}")
    for frame in (today, coming):
        check(frame[0] >= 0 and frame[1] >= 0 and frame[2] <= 1280 and frame[3] <= 800,
              f"a window off the screen: {frame}")
    for window in (faltan_window, cumple_window):
        desktop.press(desktop.find(window, "push button", "Salir"))
    wait_for(lambda: not desktop.running(program_dir, "Avisela"), "the reminder ending")
    wait_for(lambda: not desktop.windows_titled(CUMPLE), "its windows going away")

    # Alone, today's window stands in the middle of the screen.
    program_dir = desktop.program_dir(file_of(ANA))
    desktop.start(program_dir, "Avisela", today=TODAY)
    desktop.window(desktop.application("Avisela"), CUMPLE)
    alone = desktop.frame(only_window(desktop, CUMPLE))
    middle = ((alone[0] + alone[2]) / 2, (alone[1] + alone[3]) / 2)
    check(abs(middle[0] - 640) <= 10 and abs(middle[1] - 400) <= 20,
          f"today's window alone is not centred: {alone}")


def reminder_missed_beside_upcoming(desktop):
    """The window of birthdays caught up stands where today's would, beside the coming ones."""
    program_dir = desktop.program_dir(WEEKEND + file_of(CARLA))
    remember(program_dir, FRIDAY)
    desktop.start(program_dir, "Avisela", today=TODAY)
    app = desktop.application("Avisela")
    desktop.window(app, SIN_AVISO)
    desktop.window(app, FALTAN)
    missed, faltan = only_window(desktop, SIN_AVISO), only_window(desktop, FALTAN)
    desktop.settled(lambda: shown(desktop, missed) and shown(desktop, faltan), "both shown")
    left, right = desktop.frame(missed), desktop.frame(faltan)
    check(left[2] <= right[0], f"not side by side: {left} and {right}")
    check(left[1] == right[1], f"the tops are not in line: {left} and {right}")
    for frame in (left, right):
        check(frame[0] >= 0 and frame[1] >= 0 and frame[2] <= 1280 and frame[3] <= 800,
              f"a window off the screen: {frame}")
    check(desktop.clients()[-1] == missed, "the missed birthdays are not the topmost window")


def manager_from_reminder_minimized(desktop):
    program_dir = open_the_manager(desktop)
    main = only_window(desktop, MAIN)
    desktop.settled(lambda: minimized(desktop, main), "the manager minimized (iconic)")
    check(desktop.running(program_dir, "Agendela"), "the manager ended")


def manager_resizes(desktop):
    program_dir = desktop.program_dir(MANAGER_CONTACTS)
    desktop.start(program_dir, "Agendela", today="2026-03-05", extra_env=AMERICAN)
    window = desktop.window(desktop.application("Agendela"), MAIN)
    desktop.find(window, "label", "Fecha De Hoy : 5/3/26")  # not 3/5/26
    main = only_window(desktop, MAIN)
    desktop.settled(lambda: shown(desktop, main), "the manager shown")
    allowed = desktop.window_property(main, "_NET_WM_ALLOWED_ACTIONS")
    check("_NET_WM_ACTION_MAXIMIZE_HORZ" in allowed and "_NET_WM_ACTION_MAXIMIZE_VERT" in allowed,
          "the window manager offers no maximizing")
    tree = desktop.find(window, "tree", "Contactos")
    before = tree.queryComponent().getExtents(desktop.atspi.DESKTOP_COORDS)

    # A double click on the title bar maximizes, as openbox does it.
    left, top, right, _ = desktop.frame(main)
    subprocess.run(["xdotool", "mousemove", str((left + right) // 2), str(top + 8),
                    "click", "--repeat", "2", "--delay", "80", "1"], check=True)
    desktop.settled(lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" in desktop.net_wm_state(main),
                    "the manager maximized")
    frame = desktop.frame(main)
    check(frame[0] <= 0 and frame[2] >= 1280, f"maximized, the window is {frame}")
    after = wait_for(lambda: (lambda e: e if e.width > before.width else None)(
        tree.queryComponent().getExtents(desktop.atspi.DESKTOP_COORDS)), "the list growing")
    check(after.width - before.width >= 1280 - 722 - 10 and after.height > before.height,
          f"the list grew from {before.width}x{before.height} to {after.width}x{after.height}")


BOOK = file_of(
    record("Carla Ibáñez", "Carli", "40", "07/12", "600 123 456", "Calle Mayor 1",
           "carla@correo.es", ""),
    record("Ana Núñez", "Anita", "30", "08/12", "", "", "ana@correo.es", ""),
    record("Bruno Ortega", "", "25", "10/12", "", "", "", ""),
    record("Ángel Ruiz", "", "52", "9/12", "", "", "angel@correo.es", ""),
    record("Óscar Gómez", "", "8", "11/12", "", "", "", ""),
    record("Úrsula Íñiguez", "", "61", "10/12", "", "", "", ""))


def header(desktop, window, caption):
    return desktop.find(desktop.find(window, "tree", "Contactos"), "table column header", caption)


def width(desktop, node):
    return node.queryComponent().getExtents(desktop.atspi.DESKTOP_COORDS).width


def shown_names(desktop, window):
    return [row[0] for row in desktop.table_rows(desktop.find(window, "tree", "Contactos"))]


def manager_list_helps(desktop):
    """Near birthdays marked, a header click ordering the list, the search, the last column
    taking a maximized window's width, and size and columns remembered at the next start."""
    program_dir = desktop.program_dir(BOOK)
    process = desktop.start(program_dir, "Agendela", today="2026-12-10")
    window = desktop.window(desktop.application("Agendela"), MAIN)
    main = only_window(desktop, MAIN)
    desktop.settled(lambda: shown(desktop, main), "the manager shown")
    table = desktop.find(window, "tree", "Contactos").queryTable()
    marks = {table.getAccessibleAt(row, 0).name: table.getAccessibleAt(row, 0).description
             for row in range(table.nRows)}
    check(marks == {"Ana Núñez": "", "Ángel Ruiz": "", "Bruno Ortega": "Hoy es su cumpleaños",
                    "Carla Ibáñez": "", "Óscar Gómez": "Su cumpleaños es mañana",
                    "Úrsula Íñiguez": "Hoy es su cumpleaños"}, f"marks {marks}")

    desktop.click(header(desktop, window, "Fecha Del Cumple"))
    next_first = ["Bruno Ortega", "Úrsula Íñiguez", "Óscar Gómez", "Carla Ibáñez", "Ana Núñez",
                  "Ángel Ruiz"]
    wait_for(lambda: shown_names(desktop, window) == next_first, "who comes next first")
    time.sleep(0.6)  # not a double click
    desktop.click(header(desktop, window, "Fecha Del Cumple"))
    wait_for(lambda: shown_names(desktop, window) == ["Ángel Ruiz", "Ana Núñez", "Carla Ibáñez",
                                                      "Óscar Gómez", "Bruno Ortega",
                                                      "Úrsula Íñiguez"], "the order reversed")

    desktop.click(desktop.find(window, "text", "Buscar"))
    desktop.type_text("CORREO")
    wait_for(lambda: shown_names(desktop, window) == ["Ángel Ruiz", "Ana Núñez", "Carla Ibáñez"],
             "the contacts with a mail address")
    desktop.find(window, "label", "3 de 6 contactos")
    desktop.find(window, "label", "Cantidad De Contactos : 6")
    desktop.keys("Escape")
    wait_for(lambda: len(shown_names(desktop, window)) == 6, "Escape showing every contact")

    # The border between two headers dragged, as a user widens a column.
    name = header(desktop, window, "Nombre")
    extents = name.queryComponent().getExtents(desktop.atspi.DESKTOP_COORDS)
    border, middle = extents.x + extents.width - 1, extents.y + extents.height // 2
    for step in (["mousemove", str(border), str(middle), "mousedown", "1"],
                 ["mousemove", str(border + 20), str(middle)],
                 ["mousemove", str(border + 40), str(middle), "mouseup", "1"]):
        subprocess.run(["xdotool", *step], check=True)
        time.sleep(0.2)
    widened = wait_for(lambda: (lambda w: w if w >= extents.width + 35 else None)(
        width(desktop, name)), "the first column widened")
    mail = width(desktop, header(desktop, window, "E-Mail"))

    left, top, right, _ = desktop.frame(main)
    subprocess.run(["xdotool", "mousemove", str((left + right) // 2), str(top + 8),
                    "click", "--repeat", "2", "--delay", "80", "1"], check=True)
    desktop.settled(lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" in desktop.net_wm_state(main),
                    "the manager maximized")
    grown = wait_for(lambda: (lambda w: w if w > mail + 400 else None)(
        width(desktop, header(desktop, window, "E-Mail"))), "the last column taking the width")
    check(width(desktop, header(desktop, window, "Nombre")) == widened, "the first column changed")

    desktop.activate(window, "Cantidad De Contactos : 6")
    desktop.keys("ctrl+q")
    wait_for(lambda: process.poll() is not None, "Ctrl+Q ending the manager")
    check(os.path.exists(os.path.join(desktop.config_home, "tortavela", "Agendela.conf")),
          "nothing remembered in the user's configuration folder")
    check(not [f for f in os.listdir(program_dir) if f.endswith(".conf")],
          "the window's memory beside data.tvl")

    desktop.start(program_dir, "Agendela", today="2026-12-10")
    window = desktop.window(desktop.application("Agendela"), MAIN)
    main = only_window(desktop, MAIN)
    desktop.settled(lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" in desktop.net_wm_state(main),
                    "the manager maximized again")
    wait_for(lambda: width(desktop, header(desktop, window, "Nombre")) == widened,
             "the first column as it was left")
    wait_for(lambda: width(desktop, header(desktop, window, "E-Mail")) == grown,
             "the last column as wide as before")
    check(read(program_dir) == BOOK, "the contact file changed")


SCENARIOS = {
    "desktop_manager_second_start": manager_second_start,
    "desktop_reminder_second_start": reminder_second_start,
    "desktop_reminder_windows_both_seen": reminder_windows_both_seen,
    "desktop_reminder_missed_beside_upcoming": reminder_missed_beside_upcoming,
    "desktop_manager_from_reminder_minimized": manager_from_reminder_minimized,
    "desktop_manager_resizes": manager_resizes,
    "desktop_manager_list_helps": manager_list_helps,
}
