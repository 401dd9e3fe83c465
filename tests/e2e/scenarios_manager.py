"""The manager as a user meets it: every scenario ends with a look at the contact file's bytes."""

import os
import subprocess
import time

from contacts_file import file_of, read, record
from tortavela_e2e import check, wait_for

CARLA = record("Carla", "Carli", "40", "07/12", "555 01", "Calle Mayor 1", "carla@correo.es", "Nota de Carla")
ANA = record("Ana", "Anita", "30", "05/03", "", "", "", "Nota de Ana")
BRUNO = record("Bruno", "", "25", "1/1", "", "", "", "")
CONTACTS = file_of(CARLA, ANA, BRUNO)


def start_manager(desktop, contacts=CONTACTS):
    return start_manager_in(desktop, desktop.program_dir(contacts))


def start_manager_in(desktop, program_dir):
    process = desktop.start(program_dir, "Agendela")
    app = desktop.application("Agendela")
    window = desktop.window(app, "Tortavela")
    return program_dir, process, app, window


def names(desktop, window):
    return [row[0] for row in desktop.table_rows(desktop.find(window, "tree", "Contactos"))]


def click_row(desktop, window, name):
    table = desktop.find(window, "tree", "Contactos")
    rows = desktop.table_rows(table)
    row = [r[0] for r in rows].index(name)
    desktop.click(table.queryTable().getAccessibleAt(row, 0))


def note(desktop, window):
    return desktop.text(desktop.find(window, "text", "Nota"))


def selected_names(desktop, window):
    table = desktop.find(window, "tree", "Contactos").queryTable()
    return [table.getAccessibleAt(row, 0).name for row in range(table.nRows)
            if desktop.state(table.getAccessibleAt(row, 0), desktop.atspi.STATE_SELECTED)]


def focused(desktop, node):
    return desktop.state(node, desktop.atspi.STATE_FOCUSED)


def entries(combo):
    """The entries of a drop-down list, open or not."""
    return [item.name for item in combo[0] if item is not None]


def cell_centre(desktop, window, name):
    table = desktop.find(window, "tree", "Contactos")
    row = [r[0] for r in desktop.table_rows(table)].index(name)
    extents = table.queryTable().getAccessibleAt(row, 0).queryComponent().getExtents(
        desktop.atspi.DESKTOP_COORDS)
    return extents.x + extents.width // 2, extents.y + extents.height // 2


def command_enabled(desktop, window, caption):
    menu = desktop.find(window, "menu item", "Archivo")
    item = desktop.atspi.findDescendant(menu, lambda n: n.name == caption)
    return desktop.enabled(item)


def answer(desktop, app, title, text, button):
    """Checks the message box and presses one of its buttons."""
    box = desktop.window(app, title, role="alert")
    desktop.find(box, "label", text)
    desktop.press(desktop.find(box, "push button", button))
    wait_for(lambda: not desktop.showing(box), f"the message box {title!r} closing")


def choose(desktop, dialog, combo_name, entry):
    """Opens a drop-down list and clicks one of its entries."""
    combo = desktop.find(dialog, "combo box", combo_name)
    desktop.click(combo)
    item = desktop.find(combo, "list item", entry)
    # The list ignores a click that comes too soon after it opened.
    time.sleep(0.8)
    desktop.click(item, near_left=True)
    time.sleep(0.3)


def type_into(desktop, dialog, field, text):
    desktop.click(desktop.find(dialog, "text", field))
    desktop.type_text(text)


def startup_list(desktop):
    program_dir, _, _, window = start_manager(desktop)
    rows = desktop.table_rows(desktop.find(window, "tree", "Contactos"))
    check([row[0] for row in rows] == ["Ana", "Bruno", "Carla"], f"rows {rows}")
    check(rows[2] == ["Carla", "Carli", "40", "07/12", "555 01", "Calle Mayor 1", "carla@correo.es"],
          f"Carla's row {rows[2]}")
    desktop.find(window, "label", "Cantidad De Contactos : 3")
    check(note(desktop, window) == "Nota de Carla", f"note {note(desktop, window)!r}")
    check(read(program_dir) == CONTACTS, "the start-up changed the contact file")


def click_shows_note(desktop):
    program_dir, _, app, window = start_manager(desktop)
    click_row(desktop, window, "Ana")
    wait_for(lambda: note(desktop, window) == "Nota de Ana", "Ana's note")
    click_row(desktop, window, "Bruno")
    wait_for(lambda: note(desktop, window) == "", "Bruno's empty note")
    check(command_enabled(desktop, window, "Quitar"), "Quitar is disabled after a click")
    check(command_enabled(desktop, window, "Modificar..."), "Modificar is disabled after a click")
    # The keyboard moves the selection and the note follows it.
    desktop.keys("Up")
    wait_for(lambda: note(desktop, window) == "Nota de Ana", "the note following the keyboard")
    check(read(program_dir) == CONTACTS, "a click changed the contact file")


def add_contact(desktop):
    program_dir, _, app, window = start_manager(desktop)
    desktop.menu(window, "Archivo", "Agregar...")
    dialog = desktop.window(app, "Agregar")
    check(dialog.getRoleName() == "dialog", f"Agregar is a {dialog.getRoleName()}")
    check(not desktop.enabled(desktop.find(window, "tree", "Contactos")),
          "the main window takes input while the dialog is open")
    accept = desktop.find(dialog, "push button", "Aceptar")

    desktop.press(accept)
    answer(desktop, app, "Error", "Debe haber un nombre", "Aceptar")
    type_into(desktop, dialog, "Nombre", "ANA")
    desktop.press(accept)
    answer(desktop, app, "Error", "Falta la fecha de cumpleaños", "Aceptar")
    choose(desktop, dialog, "Día", "07")
    choose(desktop, dialog, "Mes", "Julio")
    desktop.press(accept)
    answer(desktop, app, "Error", "El contacto con el nombre dado ya existe", "Aceptar")
    check(read(program_dir) == CONTACTS, "a refused contact changed the file")

    name = desktop.find(dialog, "text", "Nombre")
    check(desktop.text(name) == "ANA", "a refusal changed the typed name")
    desktop.click(name)
    desktop.keys("ctrl+a")
    desktop.type_text("Dora")
    type_into(desktop, dialog, "Edad Actual", "treinta")
    type_into(desktop, dialog, "Teléfono", "600 100 200")
    desktop.press(accept)
    wait_for(lambda: "Dora" in names(desktop, window), "Dora in the list")
    check(names(desktop, window) == ["Ana", "Bruno", "Carla", "Dora"], f"{names(desktop, window)}")
    desktop.find(window, "label", "Cantidad De Contactos : 4")
    expected = CONTACTS + file_of(record("Dora", "", "treinta", "07/07", "600 100 200", "", "", ""))
    check(read(program_dir) == expected, f"file {read(program_dir)!r}")


def keyboard_dialog(desktop):
    """F10 reaches the menus, Escape cancels a dialog, Enter on Aceptar accepts."""
    program_dir, _, app, window = start_manager(desktop)
    desktop.activate(window, "Cantidad De Contactos : 3")
    desktop.keys("F10")
    add = desktop.find(window, "menu item", "Agregar...")
    wait_for(lambda: desktop.showing(add), "the menu opened by F10")
    desktop.keys("Return")
    dialog = desktop.window(app, "Agregar")
    desktop.activate(dialog, "Nombre :")
    desktop.keys("Escape")
    wait_for(lambda: not desktop.showing(dialog), "Escape closing the dialog")
    wait_for(lambda: desktop.enabled(desktop.find(window, "tree", "Contactos")), "main window back")

    desktop.menu(window, "Archivo", "Agregar...")
    dialog = desktop.window(app, "Agregar")
    desktop.activate(dialog, "Nombre :")
    desktop.type_text("Eva")
    # Escape in an open drop-down list closes the list only, opened by keyboard or by mouse.
    desktop.keys("Tab", "Tab", "Tab", "alt+Down")
    day = desktop.find(dialog, "combo box", "Día")
    wait_for(lambda: desktop.showing(desktop.find(day, "list item", "01")), "the day list open")
    desktop.keys("Escape")
    time.sleep(0.5)
    desktop.click(desktop.find(dialog, "combo box", "Mes"))
    time.sleep(0.8)
    desktop.keys("Escape")
    time.sleep(0.5)
    check(desktop.showing(dialog), "Escape in an open list closed the dialog")
    check(desktop.text(desktop.find(dialog, "text", "Nombre")) == "Eva", "the typed name is lost")
    choose(desktop, dialog, "Día", "01")
    choose(desktop, dialog, "Mes", "Enero")
    desktop.find(dialog, "push button", "Aceptar").queryComponent().grabFocus()
    desktop.keys("Return")
    wait_for(lambda: "Eva" in names(desktop, window), "Eva added with Enter")
    check(read(program_dir) == CONTACTS + file_of(record("Eva", "", "", "01/01", "", "", "", "")),
          f"file {read(program_dir)!r}")


def modify_contact(desktop):
    bea = record("bea", "", "20", "02/02", "", "", "", "")
    contacts = file_of(CARLA, ANA, bea)
    program_dir, _, app, window = start_manager(desktop, contacts)

    # A name that another contact bears, in other capitals, is refused.
    click_row(desktop, window, "Ana")
    desktop.menu(window, "Archivo", "Modificar...")
    dialog = desktop.window(app, "Modificar")
    name = desktop.find(dialog, "text", "Nombre")
    check(desktop.text(name) == "Ana", "the dialog is not filled from the selected row")
    check(desktop.text(desktop.find(dialog, "text", "Nota")) == "Nota de Ana", "wrong note")
    desktop.click(name)
    desktop.keys("ctrl+a")
    desktop.type_text("BEA")
    desktop.press(desktop.find(dialog, "push button", "Aceptar"))
    answer(desktop, app, "Error", "El contacto con el nombre dado ya existe", "Aceptar")
    check(read(program_dir) == contacts, "a refused change changed the file")

    # Only the capitals of the own name changed: accepted, the contact moves last in the file.
    desktop.click(name)
    desktop.keys("ctrl+a")
    desktop.type_text("ANA")
    desktop.press(desktop.find(dialog, "push button", "Aceptar"))
    wait_for(lambda: "ANA" in names(desktop, window), "ANA in the list")
    check(names(desktop, window) == ["ANA", "bea", "Carla"], f"{names(desktop, window)}")
    # The changed contact stays selected, its note shown and the commands on it.
    wait_for(lambda: selected_names(desktop, window) == ["ANA"], "ANA selected")
    check(note(desktop, window) == "Nota de Ana", f"note {note(desktop, window)!r}")
    check(command_enabled(desktop, window, "Quitar"), "Quitar disabled after a change")
    renamed = record("ANA", "Anita", "30", "05/03", "", "", "", "Nota de Ana")
    check(read(program_dir) == file_of(CARLA, bea, renamed), f"file {read(program_dir)!r}")

    # Accepted unchanged: the line leaves its place and becomes the last one.
    click_row(desktop, window, "Carla")
    desktop.menu(window, "Archivo", "Modificar...")
    dialog = desktop.window(app, "Modificar")
    desktop.press(desktop.find(dialog, "push button", "Aceptar"))
    wait_for(lambda: not desktop.showing(dialog), "the dialog closing")
    check(read(program_dir) == file_of(bea, renamed, CARLA), f"file {read(program_dir)!r}")
    desktop.find(window, "label", "Cantidad De Contactos : 3")


def impossible_birthday(desktop):
    """The day list offers the days of the month; a stored 31 February must be corrected."""
    dora = record("Dora", "", "20", "31/02", "", "", "", "")
    contacts = file_of(ANA, dora)
    program_dir, _, app, window = start_manager(desktop, contacts)

    desktop.menu(window, "Archivo", "Agregar...")
    dialog = desktop.window(app, "Agregar")
    day = desktop.find(dialog, "combo box", "Día")
    check(len(entries(day)) == 31, f"days without a month: {entries(day)}")
    choose(desktop, dialog, "Mes", "Febrero")
    wait_for(lambda: entries(day) == [f"{d:02}" for d in range(1, 30)], "February's 29 days")
    choose(desktop, dialog, "Mes", "Abril")
    wait_for(lambda: entries(day)[-1] == "30" and len(entries(day)) == 30, "April's 30 days")
    desktop.press(desktop.find(dialog, "push button", "Cancelar"))
    wait_for(lambda: not desktop.showing(dialog), "the dialog closing")

    click_row(desktop, window, "Dora")
    desktop.menu(window, "Archivo", "Modificar...")
    dialog = desktop.window(app, "Modificar")
    day = desktop.find(dialog, "combo box", "Día")
    check(desktop.text(day) == "31", f"the stored day shows as {desktop.text(day)!r}")
    check(desktop.text(desktop.find(dialog, "combo box", "Mes")) == "Febrero", "the month")
    desktop.press(desktop.find(dialog, "push button", "Aceptar"))
    answer(desktop, app, "Error", "La fecha de cumpleaños no existe: febrero tiene 29 días",
           "Aceptar")
    # Without a window manager nothing makes the dialog active again: a click on a caption does.
    desktop.activate(dialog, "Fecha Del Cumple :")
    wait_for(lambda: focused(desktop, day), "the focus on the day to correct")
    check(read(program_dir) == contacts, "an impossible date was stored")
    choose(desktop, dialog, "Día", "28")
    wait_for(lambda: "31" not in entries(day), "the 31st no longer offered")
    desktop.press(desktop.find(dialog, "push button", "Aceptar"))
    wait_for(lambda: not desktop.showing(dialog), "the dialog closing")
    check(read(program_dir) == file_of(ANA, record("Dora", "", "20", "28/02", "", "", "", "")),
          f"file {read(program_dir)!r}")


def keys_and_mouse(desktop):
    """The keys and clicks of other desktop programs: Ctrl+N, Alt and a letter, Intro, a double
    click, Supr, the list's context menu and Ctrl+Q."""
    program_dir, process, app, window = start_manager(desktop)
    desktop.activate(window, "Cantidad De Contactos : 3")
    desktop.keys("ctrl+n")
    dialog = desktop.window(app, "Agregar")
    age = desktop.find(dialog, "text", "Edad Actual")
    desktop.keys("alt+e")
    wait_for(lambda: focused(desktop, age), "Alt+E reaching Edad Actual")
    desktop.type_text("33")
    desktop.keys("alt+a")
    answer(desktop, app, "Error", "Debe haber un nombre", "Aceptar")
    desktop.activate(dialog, "Fecha Del Cumple :")
    wait_for(lambda: focused(desktop, desktop.find(dialog, "text", "Nombre")),
             "the focus on the missing name")
    check(desktop.text(age) == "33", "the refusal lost the age")
    desktop.keys("Escape")
    wait_for(lambda: not desktop.showing(dialog), "Escape closing the dialog")

    click_row(desktop, window, "Bruno")
    desktop.keys("Return")
    dialog = desktop.window(app, "Modificar")
    check(desktop.text(desktop.find(dialog, "text", "Nombre")) == "Bruno", "Intro opened another")
    desktop.keys("Escape")
    wait_for(lambda: not desktop.showing(dialog), "Escape closing the dialog")
    x, y = cell_centre(desktop, window, "Ana")
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "--repeat", "2", "--delay",
                    "80", "1"], check=True)
    dialog = desktop.window(app, "Modificar")
    check(desktop.text(desktop.find(dialog, "text", "Nombre")) == "Ana", "a double click opened another")
    desktop.keys("Escape")
    wait_for(lambda: not desktop.showing(dialog), "Escape closing the dialog")

    # Back from the dialog the keyboard is on the list: Supr asks about the selected contact.
    desktop.activate(window, "Cantidad De Contactos : 3")
    desktop.keys("Delete")
    answer(desktop, app, "Tortavela", "¿Esta seguro que desea borrar el contacto seleccionado?",
           "Cancelar")
    check(read(program_dir) == CONTACTS, "Cancelar removed a contact")

    # A right click selects the row and opens the list's menu; Qt leaves a context menu out of
    # the accessibility tree, so its entry is chosen by its underlined letter.
    x, y = cell_centre(desktop, window, "Carla")
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "3"], check=True)
    wait_for(lambda: selected_names(desktop, window) == ["Carla"], "the right click selecting")
    time.sleep(0.5)
    desktop.keys("q")
    answer(desktop, app, "Tortavela", "¿Esta seguro que desea borrar el contacto seleccionado?",
           "Aceptar")
    wait_for(lambda: names(desktop, window) == ["Ana", "Bruno"], "Carla removed")
    check(read(program_dir) == file_of(ANA, BRUNO), f"file {read(program_dir)!r}")

    desktop.activate(window, "Cantidad De Contactos : 2")
    desktop.keys("ctrl+q")
    wait_for(lambda: process.poll() is not None, "Ctrl+Q ending the manager")


def remove_contact(desktop):
    program_dir, _, app, window = start_manager(desktop)
    click_row(desktop, window, "Bruno")
    desktop.menu(window, "Archivo", "Quitar")
    answer(desktop, app, "Tortavela", "¿Esta seguro que desea borrar el contacto seleccionado?",
           "Cancelar")
    check(names(desktop, window) == ["Ana", "Bruno", "Carla"], "Cancelar removed a contact")
    check(read(program_dir) == CONTACTS, "Cancelar changed the file")

    desktop.menu(window, "Archivo", "Quitar")
    answer(desktop, app, "Tortavela", "¿Esta seguro que desea borrar el contacto seleccionado?",
           "Aceptar")
    wait_for(lambda: names(desktop, window) == ["Ana", "Carla"], "Bruno removed from the list")
    desktop.find(window, "label", "Cantidad De Contactos : 2")
    check(note(desktop, window) == "", "the note box kept a note")
    check(not command_enabled(desktop, window, "Quitar"), "Quitar enabled after a removal")
    check(read(program_dir) == file_of(CARLA, ANA), f"file {read(program_dir)!r}")


def about_window(desktop):
    program_dir, process, app, window = start_manager(desktop)
    # The About window takes the keyboard: Escape, Enter and Space close it.
    for key in ("Escape", "Return", "space"):
        desktop.menu(window, "Ayuda", "Acerca De...")
        about = desktop.window(app, "Acerca De Tortavela")
        time.sleep(0.3)
        desktop.keys(key)
        wait_for(lambda: not desktop.showing(about), f"{key} closing the About window")
        wait_for(lambda: desktop.enabled(desktop.find(window, "tree", "Contactos")),
                 "main window back")

    desktop.menu(window, "Ayuda", "Acerca De...")
    about = desktop.window(app, "Acerca De Tortavela")
    picture = desktop.find(about, "image")
    extents = picture.queryComponent().getExtents(desktop.atspi.DESKTOP_COORDS)
    check((extents.width, extents.height) == (363, 255), f"picture {extents.width}x{extents.height}")
    check(not desktop.enabled(desktop.find(window, "tree", "Contactos")),
          "the main window takes input while the About window is open")
    desktop.click(picture)
    wait_for(lambda: not desktop.showing(about), "the About window closing on a click")
    wait_for(lambda: desktop.enabled(desktop.find(window, "tree", "Contactos")), "main window back")
    desktop.menu(window, "Archivo", "Salir")
    wait_for(lambda: process.poll() is not None, "Salir ending the manager")
    check(read(program_dir) == CONTACTS, "the About window changed the file")


IMPORTED_CARDS = (
    "BEGIN:VCARD\r\nVERSION:2.1\r\n"
    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Dora Ib=C3=A1=C3=B1ez\r\n"
    "TEL;CELL:600 100 200\r\nBDAY:1990-03-05\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:ana\r\nNICKNAME:Anita\r\nBDAY:--03-05\r\n"
    "EMAIL:ana@correo.es\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Eva\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Łukasz Wiśniewski\r\nBDAY:1985-07-01\r\n"
    "NOTE:Dijo \\\"cześć\\\"\r\nEND:VCARD\r\n")


def import_contacts(desktop):
    """A .vcf chosen in the file dialog, the preview read, the stored name updated on request."""
    program_dir, _, app, window = start_manager(desktop)
    cards = os.path.join(program_dir, "tarjetas.vcf")
    with open(cards, "w", encoding="utf-8") as file:
        file.write(IMPORTED_CARDS)

    desktop.menu(window, "Archivo", "Importar contactos...")
    chooser = desktop.window(app, "Importar contactos")
    name = desktop.find(chooser, "text", "Nombre de fichero:")
    desktop.click(name)
    desktop.type_text(cards)
    desktop.press(desktop.find(chooser, "push button", "Abrir"))
    # The preview bears the file dialog's title.
    wait_for(lambda: not desktop.showing(chooser), "the file dialog closing")

    preview = desktop.window(app, "Importar contactos", role="dialog")
    table = desktop.find(preview, "tree", "Tarjetas")
    wait_for(lambda: len(desktop.table_rows(table)) == 4, "four cards in the preview")
    rows = desktop.table_rows(table)
    # The cards that can be imported first, then the one that cannot.
    check([row[0] for row in rows] == ["Nuevo", "Ya guardado", "Nuevo", "No se puede importar"],
          f"rows {rows}")
    check(rows[0][1:5] == ["Dora Ibáñez", "", "36", "05/03"], f"Dora's row {rows[0]}")
    # The stored contact keeps its name and age; the card brings its e-mail address.
    check(rows[1][1:8] == ["Ana", "Anita", "30", "05/03", "", "", "ana@correo.es"],
          f"Ana's row {rows[1]}")
    # A name the contact file cannot hold is shown as it will be stored.
    check(rows[2][1] == "Łukasz Wiśniewski → Lukasz Wisniewski", f"Łukasz's row {rows[2]}")
    check(rows[2][8] == "Dijo \"cześć\" → Dijo \"czesc\"", f"Łukasz's note {rows[2]}")
    check(not desktop.enabled(desktop.find(window, "tree", "Contactos")),
          "the main window takes input while the preview is open")
    check(read(program_dir) == CONTACTS, "the preview wrote to the contact file")

    desktop.click(desktop.find(preview, "check box", "Actualizar también los contactos ya guardados"))
    desktop.find(preview, "label",
                 "Se guardarán 2 contactos nuevos y se actualizará 1 ya guardado. 1 tarjeta no se "
                 "puede importar: va al final, con el motivo.")
    desktop.press(desktop.find(preview, "push button", "Importar"))
    wait_for(lambda: not desktop.showing(preview), "the preview closing")
    wait_for(lambda: "Dora Ibáñez" in names(desktop, window), "Dora in the list")
    check(names(desktop, window) == ["Ana", "Bruno", "Carla", "Dora Ibáñez", "Lukasz Wisniewski"],
          f"{names(desktop, window)}")
    desktop.find(window, "label", "Cantidad De Contactos : 5")
    expected = file_of(CARLA, BRUNO,
                       record("Ana", "Anita", "30", "05/03", "", "", "ana@correo.es", "Nota de Ana"),
                       record("Dora Ibáñez", "", "36", "05/03", "600 100 200", "", "", ""),
                       record("Lukasz Wisniewski", "", "41", "01/07", "", "", "", 'Dijo "czesc"'))
    check(read(program_dir) == expected, f"file {read(program_dir)!r}")


def keeps_the_users_choice(desktop):
    """The manager registers the reminder at logon and enables its daily timer; once the user
    switched both off, as the desktop's settings and systemctl do, later starts keep them off."""
    program_dir = desktop.program_dir(CONTACTS)
    entry = os.path.join(desktop.config_home, "autostart", "Tortavela.desktop")
    enabled = ["--user show --property=Version", "--user enable --now tortavela-avisela.timer"]
    _, process, _, _ = start_manager_in(desktop, program_dir)
    wait_for(lambda: os.path.exists(entry), "the autostart entry")
    wait_for(lambda: desktop.systemctl_calls() == enabled, "the daily timer enabled")
    wait_for(lambda: os.path.exists(os.path.join(program_dir, "daily-timer-enabled")),
             "the record that it was enabled")
    process.terminate()
    process.wait()

    # The user switches both off.
    desktop.systemctl("--user", "disable", "tortavela-avisela.timer")
    with open(entry) as file:
        text = file.read()
    with open(entry, "w") as file:
        file.write(text.replace(program_dir, "/old/place") +
                   "Hidden=true\nX-GNOME-Autostart-enabled=false\n")

    _, process, _, _ = start_manager_in(desktop, program_dir)
    wait_for(lambda: program_dir in open(entry).read(), "the entry written anew")
    lines = open(entry).read().splitlines()
    check("Hidden=true" in lines and "X-GNOME-Autostart-enabled=false" in lines,
          f"the user's choice was lost: {lines}")
    check(not any("/old/place" in line for line in lines), f"the old entry stayed: {lines}")
    time.sleep(1.0)
    check(desktop.systemctl_calls() == enabled + ["--user disable tortavela-avisela.timer"],
          f"the timer was enabled again: {desktop.systemctl_calls()}")
    check(not os.path.exists(os.path.join(desktop.systemd_dir, "tortavela-avisela.timer.enabled")),
          "the timer is enabled")
    check(read(program_dir) == CONTACTS, "the contact file changed")


def accessible_names(desktop):
    """Every control that takes the focus has a name for screen readers, in each window."""
    program_dir, _, app, window = start_manager(desktop)

    def unnamed(node):
        found = desktop.atspi.findAllDescendants(node, lambda n: (
            desktop.state(n, desktop.atspi.STATE_FOCUSABLE) and desktop.showing(n) and
            not n.name and n.getRoleName() not in ("table cell", "list item")))
        return [f"{n.getRoleName()} in {n.parent.getRoleName()} {n.parent.name!r}" for n in found]

    check(not unnamed(window), f"unnamed in the main window: {unnamed(window)}")
    click_row(desktop, window, "Ana")
    for command, title in (("Agregar...", "Agregar"), ("Modificar...", "Modificar")):
        desktop.menu(window, "Archivo", command)
        dialog = desktop.window(app, title)
        check(not unnamed(dialog), f"unnamed in {title}: {unnamed(dialog)}")
        # The day and month lists are named by their captions, not by their entries.
        check(desktop.find(dialog, "combo box", "Día") and desktop.find(dialog, "combo box", "Mes"),
              "the birthday lists")
        desktop.press(desktop.find(dialog, "push button", "Cancelar"))
        wait_for(lambda: not desktop.showing(dialog), "the dialog closing")
    desktop.menu(window, "Ayuda", "Acerca De...")
    about = desktop.window(app, "Acerca De Tortavela")
    picture = desktop.find(about, "image")
    check(picture.name and picture.description, f"the picture: {picture.name!r}")
    check(read(program_dir) == CONTACTS, "looking changed the file")


SCENARIOS = {
    "manager_startup_list": startup_list,
    "manager_click_shows_note": click_shows_note,
    "manager_add_contact": add_contact,
    "manager_keyboard": keyboard_dialog,
    "manager_modify_contact": modify_contact,
    "manager_remove_contact": remove_contact,
    "manager_about_window": about_window,
    "manager_keeps_the_users_choice": keeps_the_users_choice,
    "manager_import_contacts": import_contacts,
    "manager_impossible_birthday": impossible_birthday,
    "manager_keys_and_mouse": keys_and_mouse,
    "manager_accessible_names": accessible_names,
}
