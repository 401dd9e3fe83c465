#!/usr/bin/python3
"""Renders every window of both programs to PNG on a private X server:
screenshots.py BIN_DIR OUT_DIR. The pictures in the README come from here."""

import os
import shutil
import subprocess
import sys
import time

from contacts_file import file_of, record
from tortavela_e2e import Desktop, wait_for

CONTACTS = file_of(
    record("Carla Ibáñez", "Carli", "40", "07/12", "600 123 456", "Calle Mayor 1", "carla@correo.es", "Le gustan las rosas"),
    record("Ana Núñez", "Anita", "30", "08/12", "611 222 333", "Plaza España 5", "ana@correo.es", "Prima de Javier"),
    record("Bruno Ortega", "", "25", "10/12", "", "Av. de América 20", "", ""),
    record("Ángel Ruiz", "Angelito", "52", "9/12", "622 000 111", "", "angel@correo.es", "Vecino"),
    record("Óscar Gómez", "Osqui", "8", "11/12", "", "Ronda Sur 3", "", "Compañero de clase"),
)

CARDS = (
    "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Dora Ib=C3=A1=C3=B1ez\r\n"
    "TEL;CELL:600 100 200\r\nBDAY:1990-03-05\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:ana núñez\r\nNICKNAME:Anita\r\nBDAY:--12-08\r\n"
    "EMAIL:ana@correo.es\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eva Soto\r\nTEL:611 222 333\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Íñigo Ruiz\r\nBDAY:19751130\r\n"
    "ADR;TYPE=home:;;Calle Mayor 3;Bilbao;;48005;España\r\nNOTE:Primo\\nde Javier\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Dora Ibáñez\r\nBDAY:1990-03-05\r\nEND:VCARD\r\n")


# Room for the window manager's title bar and borders around a window's own area.
FRAME = {"left": 6, "top": 30, "right": 6, "bottom": 6}


def crop(desktop, node, path):
    """Saves the part of the screen that shows the node (a window) with its frame."""
    extents = node.queryComponent().getExtents(desktop.atspi.DESKTOP_COORDS)
    full = path + ".full.png"
    time.sleep(0.4)  # let the last paint reach the screen
    desktop.screenshot(full)
    x, y = max(extents.x - FRAME["left"], 0), max(extents.y - FRAME["top"], 0)
    width = extents.x + extents.width + FRAME["right"] - x
    height = extents.y + extents.height + FRAME["bottom"] - y
    geometry = f"{width}x{height}+{x}+{y}"
    subprocess.run(["convert", full, "-crop", geometry, "+repage", path], check=True)
    os.remove(full)


def union_crop(desktop, nodes, path):
    boxes = [n.queryComponent().getExtents(desktop.atspi.DESKTOP_COORDS) for n in nodes]
    left = min(b.x for b in boxes)
    top = min(b.y for b in boxes)
    right = max(b.x + b.width for b in boxes)
    bottom = max(b.y + b.height for b in boxes)

    class Box:
        pass
    box = Box()
    box.queryComponent = lambda: type("C", (), {"getExtents": lambda self, c: type(
        "E", (), {"x": left, "y": top, "width": right - left, "height": bottom - top})()})()
    crop(desktop, box, path)


def manager_windows(desktop, out):
    program_dir = desktop.program_dir(CONTACTS)
    desktop.start(program_dir, "Agendela")
    app = desktop.application("Agendela")
    window = desktop.window(app, "Tortavela")
    table = desktop.find(window, "tree")
    desktop.click(table.queryTable().getAccessibleAt(1, 0))
    crop(desktop, window, os.path.join(out, "agendela.png"))

    desktop.menu(window, "Archivo", "Agregar...")
    dialog = desktop.window(app, "Agregar")
    desktop.click(desktop.find(dialog, "text", "Nombre"))
    desktop.type_text("Dora")
    desktop.press(desktop.find(dialog, "push button", "Aceptar"))
    error = desktop.window(app, "Error")
    union_crop(desktop, [dialog, error], os.path.join(out, "agregar-error.png"))
    desktop.press(desktop.find(error, "push button", "Aceptar"))
    desktop.press(desktop.find(dialog, "push button", "Cancelar"))

    desktop.click(table.queryTable().getAccessibleAt(0, 0))
    desktop.menu(window, "Archivo", "Modificar...")
    dialog = desktop.window(app, "Modificar")
    crop(desktop, dialog, os.path.join(out, "modificar.png"))
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
    crop(desktop, preview, os.path.join(out, "importar.png"))
    desktop.press(desktop.find(preview, "push button", "Cancelar"))
    wait_for(lambda: not desktop.showing(preview), "the preview closing")

    desktop.menu(window, "Ayuda", "Acerca De...")
    about = desktop.window(app, "Acerca De Tortavela")
    crop(desktop, about, os.path.join(out, "acerca.png"))


def reminder_windows(desktop, out):
    program_dir = desktop.program_dir(CONTACTS)
    desktop.start(program_dir, "Avisela", today="2026-12-08")
    app = desktop.application("Avisela")
    cumple = desktop.window(app, "¡¡FELIZ CUMPLE!!")
    faltan = desktop.window(app, "¡¡FALTAN POCOS DÍAS!!")
    # Both open in the middle of the screen; set them side by side for the pictures.
    for title, x in (("FALTAN POCOS", 40), ("FELIZ CUMPLE", 520)):
        subprocess.run(["xdotool", "search", "--name", title, "windowmove", str(x), "150"],
                       check=True)
    time.sleep(0.5)
    desktop.click(desktop.find(cumple, "list item", "Ana Núñez"))
    time.sleep(0.5)
    crop(desktop, cumple, os.path.join(out, "feliz-cumple.png"))
    crop(desktop, faltan, os.path.join(out, "faltan-pocos-dias.png"))


def main():
    bin_dir, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    # One desktop for all: the accessibility library stays bound to the first session bus.
    with Desktop(bin_dir) as desktop:
        # A window manager, when there is one, gives the pictures their title bars.
        if shutil.which("openbox"):
            desktop.processes.append(subprocess.Popen(
                ["openbox", "--sm-disable"], env=desktop.environment(),
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            time.sleep(1)
        manager_windows(desktop, out)
        desktop.processes[-1].kill()  # the manager
        reminder_windows(desktop, out)
    print(f"pictures in {out}")


if __name__ == "__main__":
    main()
