"""The manager as a user meets it."""

from contacts_file import file_of, read, record
from tortavela_e2e import check

CARLA = record("Carla", "Carli", "40", "07/12", "555 01", "Calle Mayor 1", "carla@correo.es", "Nota de Carla")
ANA = record("Ana", "Anita", "30", "05/03", "", "", "", "Nota de Ana")
BRUNO = record("Bruno", "", "25", "1/1", "", "", "", "")


def start_manager(desktop, contacts):
    program_dir = desktop.program_dir(contacts)
    desktop.start(program_dir, "Agendela")
    app = desktop.application("Agendela")
    window = desktop.window(app, "Tortavela")
    return program_dir, app, window


def startup_list(desktop):
    contacts = file_of(CARLA, ANA, BRUNO)
    program_dir, _, window = start_manager(desktop, contacts)
    table = desktop.find(window, "tree")
    rows = desktop.table_rows(table)
    check([row[0] for row in rows] == ["Ana", "Bruno", "Carla"], f"rows {rows}")
    check(rows[2] == ["Carla", "Carli", "40", "07/12", "555 01", "Calle Mayor 1", "carla@correo.es"],
          f"Carla's row {rows[2]}")
    desktop.find(window, "label", "Cantidad De Contactos : 3")
    note = desktop.find(window, "text", "Nota")
    check(desktop.text(note) == "Nota de Carla", f"note {desktop.text(note)!r}")
    check(read(program_dir) == contacts, "the start-up changed the contact file")


SCENARIOS = {
    "manager_startup_list": startup_list,
}
