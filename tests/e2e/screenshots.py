#!/usr/bin/python3
"""Renders every window of both programs to PNG on a private X server with openbox:
screenshots.py BIN_DIR OUT_DIR. The pictures in the README come from here."""

import os
import subprocess
import sys
import time

from contacts_file import file_of, record
from tortavela_e2e import Desktop, wait_for

CONTACTS = file_of(
    record("Carla Ibáñez", "Carli", "40", "07/12", "600 123 456", "Calle Mayor 1",
           "carla@correo.es", "Le gustan las rosas"),
    record("Ana Núñez", "Anita", "30", "08/12", "611 222 333", "Plaza España 5", "ana@correo.es",
           "Prima de Javier"),
    record("Bruno Ortega", "", "25", "10/12", "", "Av. de América 20", "", ""),
    record("Ángel Ruiz", "Angelito", "52", "9/12", "622 000 111", "", "angel@correo.es",
           "Vecino"),
    record("Óscar Gómez", "Osqui", "8", "11/12", "", "Ronda Sur 3", "", "Compañero de clase"),
    record("Úrsula Íñiguez", "", "61", "10/12", "", "", "", ""),
)
# Room for the scale-2 window, as on a large screen.
SCREEN = "2560x1600"
# The manager's day: Bruno's and Úrsula's birthdays are today, Óscar's tomorrow.
MANAGER_TODAY = "2026-12-10"

CARDS = (
    "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Dora Ib=C3=A1=C3=B1ez\r\n"
    "TEL;CELL:600 100 200\r\nBDAY:1990-03-05\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:ana núñez\r\nNICKNAME:Anita\r\nBDAY:--12-08\r\n"
    "EMAIL:ana@correo.es\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eva Soto\r\nTEL:611 222 333\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Íñigo Ruiz\r\nBDAY:19751130\r\n"
    "ADR;TYPE=home:;;Calle Mayor 3;Bilbao;;48005;España\r\nNOTE:Primo\\nde Javier\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Łukasz Wiśniewski\r\nBDAY:1988-06-14\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Dora Ibáñez\r\nBDAY:1990-03-05\r\nEND:VCARD\r\n")


def crop(desktop, titles, path):
    """Saves the part of the screen that shows these windows with their frames."""
    frames = [desktop.frame(wait_for(lambda t=t: desktop.windows_titled(t), t)[0])
              for t in titles]
    left, top = min(f[0] for f in frames), min(f[1] for f in frames)
    right, bottom = max(f[2] for f in frames), max(f[3] for f in frames)
    full = path + ".full.png"
    time.sleep(0.6)  # let the last paint reach the screen
    desktop.screenshot(full)
    subprocess.run(["convert", full, "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                    "+repage", path], check=True)
    os.remove(full)


def end(desktop, manager):
    manager.kill()
    manager.wait()
    wait_for(lambda: not desktop.windows_titled("Tortavela"), "the manager going away")


def shown_names(desktop, table):
    return [row[0] for row in desktop.table_rows(table)]


def manager_windows(desktop, out):
    program_dir = desktop.program_dir(CONTACTS)
    manager = desktop.start(program_dir, "Agendela", today=MANAGER_TODAY)
    app = desktop.application("Agendela")
    window = desktop.window(app, "Tortavela")
    table = desktop.find(window, "tree")
    desktop.click(table.queryTable().getAccessibleAt(1, 0))
    crop(desktop, ["Tortavela"], os.path.join(out, "agendela.png"))

    # Ordered by the next birthday: today's first.
    desktop.click(desktop.find(table, "table column header", "Fecha Del Cumple"))
    wait_for(lambda: shown_names(desktop, table)[0] == "Bruno Ortega", "the list by birthday")
    crop(desktop, ["Tortavela"], os.path.join(out, "agendela-por-cumple.png"))

    search = desktop.find(window, "text", "Buscar")
    desktop.click(search)
    desktop.type_text("correo")
    wait_for(lambda: len(shown_names(desktop, table)) == 3, "the contacts found")
    crop(desktop, ["Tortavela"], os.path.join(out, "agendela-buscar.png"))
    desktop.keys("Escape")
    wait_for(lambda: len(shown_names(desktop, table)) == 6, "every contact again")
    desktop.click(desktop.find(table, "table column header", "Nombre"))
    wait_for(lambda: shown_names(desktop, table)[0] == "Ana Núñez", "the list by name again")

    desktop.menu(window, "Archivo", "Agregar...")
    dialog = desktop.window(app, "Agregar")
    desktop.click(desktop.find(dialog, "text", "Nombre"))
    desktop.type_text("Dora")
    desktop.press(desktop.find(dialog, "push button", "Aceptar"))
    error = desktop.window(app, "Error")
    crop(desktop, ["Agregar", "Error"], os.path.join(out, "agregar-error.png"))
    desktop.press(desktop.find(error, "push button", "Aceptar"))
    desktop.press(desktop.find(dialog, "push button", "Cancelar"))

    # A click on a window still disabled by the dialog would go nowhere.
    wait_for(lambda: desktop.enabled(table), "the main window back")
    desktop.click(table.queryTable().getAccessibleAt(0, 0))
    desktop.menu(window, "Archivo", "Modificar...")
    dialog = desktop.window(app, "Modificar")
    wait_for(lambda: desktop.text(desktop.find(dialog, "text", "Nombre")) == "Ana Núñez",
             "the dialog filled from the first row")
    crop(desktop, ["Modificar"], os.path.join(out, "modificar.png"))
    desktop.press(desktop.find(dialog, "push button", "Cancelar"))

    cards = os.path.join(program_dir, "tarjetas.vcf")
    with open(cards, "w", encoding="utf-8") as file:
        file.write(CARDS)
    desktop.menu(window, "Archivo", "Importar contactos...")
    chooser = desktop.window(app, "Importar contactos")
    desktop.click(desktop.find(chooser, "text", "Nombre de fichero:"))
    desktop.type_text(cards)
    desktop.press(desktop.find(chooser, "push button", "Abrir"))
    wait_for(lambda: not desktop.showing(chooser), "the file dialog closing")
    preview = desktop.window(app, "Importar contactos", role="dialog")
    desktop.click(desktop.find(preview, "tree", "Tarjetas").queryTable().getAccessibleAt(3, 1))
    crop(desktop, ["Importar contactos"], os.path.join(out, "importar.png"))
    desktop.press(desktop.find(preview, "push button", "Cancelar"))
    wait_for(lambda: not desktop.showing(preview), "the preview closing")

    desktop.menu(window, "Archivo", "Cuenta de sincronización...")
    account = desktop.window(app, "Cuenta de sincronización")
    crop(desktop, ["Cuenta de sincronización"], os.path.join(out, "cuenta.png"))
    desktop.press(desktop.find(account, "push button", "Cancelar"))
    wait_for(lambda: not desktop.showing(account), "the account dialog closing")

    desktop.menu(window, "Ayuda", "Acerca De...")
    desktop.window(app, "Acerca De Tortavela")
    crop(desktop, ["Acerca De Tortavela"], os.path.join(out, "acerca.png"))
    end(desktop, manager)


def manager_at_twice_the_scale(desktop, out):
    program_dir = desktop.program_dir(CONTACTS)
    manager = desktop.start(program_dir, "Agendela", today=MANAGER_TODAY,
                            extra_env={"QT_SCALE_FACTOR": "2"})
    # The file's first contact is selected, as at every start.
    desktop.window(desktop.application("Agendela"), "Tortavela")
    crop(desktop, ["Tortavela"], os.path.join(out, "agendela-escala-2.png"))
    end(desktop, manager)


def reminder_windows(desktop, out):
    program_dir = desktop.program_dir(CONTACTS)
    desktop.start(program_dir, "Avisela", today="2026-12-08")
    app = desktop.application("Avisela")
    cumple = desktop.window(app, "¡¡FELIZ CUMPLE!!")
    desktop.window(app, "¡¡FALTAN POCOS DÍAS!!")
    desktop.click(desktop.find(cumple, "list item", "Ana Núñez"))
    time.sleep(0.5)
    crop(desktop, ["¡¡FELIZ CUMPLE!!"], os.path.join(out, "feliz-cumple.png"))
    crop(desktop, ["¡¡FALTAN POCOS DÍAS!!"], os.path.join(out, "faltan-pocos-dias.png"))
    # Both as they come up, side by side.
    crop(desktop, ["¡¡FELIZ CUMPLE!!", "¡¡FALTAN POCOS DÍAS!!"],
         os.path.join(out, "recordatorio.png"))


def main():
    bin_dir, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    # One desktop for all: the accessibility library stays bound to the first session bus.
    with Desktop(bin_dir, window_manager=True, screen=SCREEN) as desktop:
        manager_windows(desktop, out)
        manager_at_twice_the_scale(desktop, out)
        reminder_windows(desktop, out)
    print(f"pictures in {out}")


if __name__ == "__main__":
    main()
