"""The reminder as a user meets it at logon, on a faked date."""

import os
import time

from contacts_file import file_of, read, record
from tortavela_e2e import check, wait_for

TODAY = "2026-12-07"  # not the machine's date: faketime gives the programs this one
ANA = record("Ana", "Anita", "30 años", "07/12", "600 111 222", "Calle Mayor 1", "ana@correo.es", "Prima")
DORA = record("Dora", "", "12", "08/12", "", "", "", "")
BRUNO = record("Bruno", "", "25", "09/12", "", "", "", "")
CARLA = record("Carla", "Carli", "40", "10/12", "", "", "", "")
EVA = record("Eva", "", "50", "11/12", "", "", "", "")
CONTACTS = file_of(EVA, CARLA, ANA, BRUNO, DORA)
# The age update writes every birthday without leading zeros and Ana one year older.
ADVANCED = file_of(record("Eva", "", "50", "11/12", "", "", "", ""),
                   record("Carla", "Carli", "40", "10/12", "", "", "", ""),
                   record("Ana", "Anita", "31", "7/12", "600 111 222", "Calle Mayor 1",
                          "ana@correo.es", "Prima"),
                   record("Bruno", "", "25", "9/12", "", "", "", ""),
                   record("Dora", "", "12", "8/12", "", "", "", ""))

CUMPLE = "¡¡FELIZ CUMPLE!!"
FALTAN = "¡¡FALTAN POCOS DÍAS!!"
SIN_AVISO = "¡¡CUMPLEAÑOS SIN AVISO!!"
# The reminder last ran on Friday 4 December; Monday is TODAY.
FRIDAY = "2026-12-04\n"


def start_reminder(desktop, program_dir):
    process = desktop.start(program_dir, "Avisela", today=TODAY)
    app = desktop.application("Avisela")
    return process, app, desktop.window(app, CUMPLE), desktop.window(app, FALTAN)


def items(desktop, window, list_name):
    return desktop.list_items(desktop.find(window, "list", list_name))


def box(desktop, window, name):
    return desktop.text(desktop.find(window, "text", name))


def birthdays_today_and_upcoming(desktop):
    program_dir = desktop.program_dir(CONTACTS)
    process, app, cumple, faltan = start_reminder(desktop, program_dir)
    check(items(desktop, cumple, "CUMPLEAÑOS DE HOY") == ["Ana"], "today's list")
    check(items(desktop, faltan, "Faltan 3 días para el cumpleaños de") == ["Carla"], "in 3 days")
    check(items(desktop, faltan, "Faltan 2 días para el cumpleaños de") == ["Bruno"], "in 2 days")
    check(items(desktop, faltan, "Falta 1 día para el cumpleaños de") == ["Dora"], "tomorrow")
    check(box(desktop, cumple, "Alias") == "NO HAY SELECCIÓN", "details before a selection")
    desktop.find(cumple, "label", "7/12/26")  # the faked date in the short format

    # The age grows once, right after the start.
    wait_for(lambda: read(program_dir) == ADVANCED, "the age update in the contact file")
    check(os.path.exists(os.path.join(program_dir, "07122026§Ana§Anita")), "no birthday marker")

    desktop.click(desktop.find(cumple, "list item", "Ana"))
    wait_for(lambda: box(desktop, cumple, "Alias") == "Anita", "Ana's details")
    check(box(desktop, cumple, "Hoy cumple") == "31", "the age reached today")
    check(box(desktop, cumple, "Teléfono") == "600 111 222", "telephone")
    check(box(desktop, cumple, "E-Mail") == "ana@correo.es", "e-mail")
    check(box(desktop, cumple, "Dirección") == "Calle Mayor 1", "address")
    check(box(desktop, cumple, "Nota") == "Prima", "note")

    # Closing one window leaves the other; closing the last ends the program.
    desktop.press(desktop.find(faltan, "push button", "Salir"))
    wait_for(lambda: not desktop.showing(faltan), f"{FALTAN} closing")
    time.sleep(0.5)
    check(process.poll() is None, "the reminder ended with a window still open")
    check(desktop.showing(cumple), f"{CUMPLE} closed with the other window")
    desktop.press(desktop.find(cumple, "push button", "Salir"))
    wait_for(lambda: process.poll() is not None, "the reminder ending with its last window")

    # A second start the same day shows the same names and advances nobody again.
    process, app, cumple, faltan = start_reminder(desktop, program_dir)
    check(items(desktop, cumple, "CUMPLEAÑOS DE HOY") == ["Ana"], "today's list again")
    time.sleep(1.0)
    check(read(program_dir) == ADVANCED, "the second start changed the contact file")
    desktop.press(desktop.find(cumple, "push button", "Salir"))
    desktop.press(desktop.find(faltan, "push button", "Salir"))
    wait_for(lambda: process.poll() is not None, "the reminder ending")


def open_the_manager(desktop):
    """Starts the reminder, lets it advance Ana's age and opens the manager from it; gives the
    program directory once the reminder has ended."""
    program_dir = desktop.program_dir(CONTACTS)
    _, _, _, faltan = start_reminder(desktop, program_dir)
    wait_for(lambda: read(program_dir) == ADVANCED, "the age update")
    desktop.press(desktop.find(faltan, "push button", "Abrir Base De Datos"))
    wait_for(lambda: not desktop.running(program_dir, "Avisela"), "the reminder ending at once")
    return program_dir


def opens_the_manager(desktop):
    program_dir = open_the_manager(desktop)
    check(not desktop.has_application("Avisela"), "a reminder window stayed")
    manager = desktop.application("Agendela")
    window = desktop.window(manager, "Tortavela")
    wait_for(lambda: desktop.minimized("Tortavela"), "the manager coming up minimized")
    rows = desktop.table_rows(desktop.find(window, "tree", "Contactos"))
    check([row[0] for row in rows] == ["Ana", "Bruno", "Carla", "Dora", "Eva"], f"rows {rows}")
    check(rows[0][2] == "31", "the manager does not show the advanced age")
    check(read(program_dir) == ADVANCED, "the manager changed the contact file")


def nothing_due(desktop):
    program_dir = desktop.program_dir(file_of(EVA, BRUNO))
    started = time.monotonic()
    process = desktop.start(program_dir, "Avisela", today="2026-06-01")
    wait_for(lambda: process.poll() is not None, "the reminder ending", timeout=5)
    check(process.returncode == 0, f"exit code {process.returncode}")
    check(time.monotonic() - started < 3, "the reminder took long to end")
    check(not desktop.has_application("Avisela"), "the reminder showed itself")
    check(read(program_dir) == file_of(EVA, BRUNO), "the contact file changed")


def remember(program_dir, day):
    """The day the ages were last brought up to date, as the reminder writes it."""
    with open(os.path.join(program_dir, "ages-up-to-date.txt"), "w") as file:
        file.write(day)


def remembered(program_dir):
    with open(os.path.join(program_dir, "ages-up-to-date.txt")) as file:
        return file.read()


def marked(program_dir, *markers):
    return all(os.path.exists(os.path.join(program_dir, marker)) for marker in markers)


# Off over the weekend: Ana's Saturday and Bea's Sunday passed without a reminder.
WEEKEND = file_of(record("Ana Núñez", "Anita", "30", "05/12", "", "", "", ""),
                  record("Bea", "", "", "06/12", "", "", "", ""),
                  record("Ciro", "", "50", "20/06", "", "", "", ""))
WEEKEND_CAUGHT_UP = file_of(record("Ana Núñez", "Anita", "31", "5/12", "", "", "", ""),
                            record("Bea", "", "", "6/12", "", "", "", ""),
                            record("Ciro", "", "50", "20/6", "", "", "", ""))


def missed_birthdays_told(desktop):
    """Nothing due on Monday, but the weekend's birthdays passed untold: the reminder counts them
    and says so in a window of its own; Escape closes it, as "Salir" does."""
    program_dir = desktop.program_dir(WEEKEND)
    remember(program_dir, FRIDAY)
    process = desktop.start(program_dir, "Avisela", today=TODAY)
    app = desktop.application("Avisela")
    window = desktop.window(app, SIN_AVISO)
    check(items(desktop, window, "Cumpleaños que pasaron sin aviso") ==
          ["Ana Núñez (sábado 5/12)", "Bea (domingo 6/12)"], "the birthdays told")
    desktop.find(window, "push button", "Abrir Base De Datos")
    check(not any(w is not None and w.name in (CUMPLE, FALTAN) and desktop.showing(w)
                  for w in app), "another reminder window came up")
    # Counted before the window came up: Ana a year older, Bea's unknown age left as it was.
    check(read(program_dir) == WEEKEND_CAUGHT_UP, "the ages caught up")
    check(marked(program_dir, "05122026§Ana Núñez§Anita", "06122026§Bea§"), "the markers")
    check(remembered(program_dir) == "2026-12-07\n", "the day remembered")

    desktop.click(desktop.find(window, "list item", "Ana Núñez (sábado 5/12)"))
    desktop.keys("Escape")
    wait_for(lambda: process.poll() is not None, "the reminder ending with its window")

    # A second start that day finds nothing to tell and ends unseen.
    again = desktop.start(program_dir, "Avisela", today=TODAY)
    wait_for(lambda: again.poll() is not None, "the second start ending", timeout=5)
    check(not desktop.has_application("Avisela"), "the second start showed a window")
    check(read(program_dir) == WEEKEND_CAUGHT_UP, "the second start changed the contact file")


def missed_birthdays_in_the_today_window(desktop):
    """With birthdays today, the today window names the ones that passed untold, below its
    buttons; the ages of both are counted in one rewrite."""
    program_dir = desktop.program_dir(file_of(ANA, record("Bea", "", "40", "05/12", "", "", "",
                                                          ""), CARLA))
    remember(program_dir, FRIDAY)
    process, app, cumple, faltan = start_reminder(desktop, program_dir)
    line = "Cumpleaños que pasaron sin aviso: Bea (sábado 5/12)."
    desktop.find(cumple, "label", line)
    wait_for(lambda: read(program_dir) == file_of(
        record("Ana", "Anita", "31", "7/12", "600 111 222", "Calle Mayor 1", "ana@correo.es",
               "Prima"),
        record("Bea", "", "41", "5/12", "", "", "", ""),
        record("Carla", "Carli", "40", "10/12", "", "", "", "")), "both ages in the contact file")
    check(marked(program_dir, "07122026§Ana§Anita", "05122026§Bea§"), "the markers")
    check(remembered(program_dir) == "2026-12-07\n", "the day remembered")

    # Escape closes the today window alone; the other stays until it is closed too.
    desktop.activate(cumple, "CUMPLEAÑOS DE HOY :")
    desktop.keys("Escape")
    wait_for(lambda: not desktop.showing(cumple), f"{CUMPLE} closing by Escape")
    time.sleep(0.5)
    check(process.poll() is None, "the reminder ended with a window still open")
    desktop.activate(faltan, "Faltan 3 días para el cumpleaños de :")
    desktop.keys("Escape")
    wait_for(lambda: process.poll() is not None, "the reminder ending with its last window")


SCENARIOS = {
    "reminder_missed_birthdays_told": missed_birthdays_told,
    "reminder_missed_in_today_window": missed_birthdays_in_the_today_window,
    "reminder_birthdays": birthdays_today_and_upcoming,
    "reminder_opens_manager": opens_the_manager,
    "reminder_nothing_due": nothing_due,
}
