"""The book in step with a CardDAV address book, through the real windows: the account set in its
dialog with the password in the desktop's keyring, a card from another device announced by the
reminder, the reminder's advance kept off the card's year, a contact of the manager on the server.
The server is Debian's Radicale, started here on a free port with a storage folder of its own."""

import os
import socket
import subprocess
import time

from contacts_file import file_of, read, record
from tortavela_e2e import check, wait_for

DAY = "2026-12-08"
NEXT_DAY = "2026-12-09"
# 30 on 8 December, a year older tomorrow: born 9 December 1995.
ANA = record("Ana", "", "30", "09/12", "", "", "", "prima")
CIRO_CARD = ("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ciro-telefono\r\nFN:Ciro\r\n"
             "BDAY:1990-12-08\r\nTEL;TYPE=CELL:600 000 001\r\nEND:VCARD\r\n")


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Radicale:
    def __init__(self, root):
        self.port = free_port()
        self.storage = os.path.join(root, "radicale")
        book = os.path.join(self.storage, "collection-root", "ana", "libreta")
        os.makedirs(book)
        with open(os.path.join(book, ".Radicale.props"), "w") as props:
            props.write('{"D:displayname": "Libreta", "tag": "VADDRESSBOOK"}')
        self.book = book
        users = os.path.join(root, "radicale-users")
        with open(users, "w") as file:
            file.write("ana:secreto\n")
        config = os.path.join(root, "radicale.conf")
        with open(config, "w") as file:
            file.write(f"[server]\nhosts = 127.0.0.1:{self.port}\n[auth]\ntype = htpasswd\n"
                       f"htpasswd_filename = {users}\nhtpasswd_encryption = plain\n"
                       f"[storage]\nfilesystem_folder = {self.storage}\n[logging]\nlevel = warning\n")
        self.process = subprocess.Popen(["/usr/bin/radicale", "--config", config],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(self.answers, "Radicale to answer")

    def answers(self):
        with socket.socket() as probe:
            return probe.connect_ex(("127.0.0.1", self.port)) == 0

    def cards(self):
        """The cards the server holds, by file."""
        found = {}
        for name in os.listdir(self.book):
            if name.endswith(".vcf"):
                with open(os.path.join(self.book, name), encoding="utf-8") as card:
                    found[name] = card.read()
        return found

    def put(self, name, text):
        subprocess.run(["curl", "-s", "-f", "-u", "ana:secreto", "-X", "PUT", "-H",
                        "Content-Type: text/vcard", "--data-binary", text,
                        f"http://127.0.0.1:{self.port}/ana/libreta/{name}"], check=True)

    def stop(self):
        self.process.terminate()
        self.process.wait()


def start_keyring(desktop):
    """gnome-keyring-daemon on the test's own session bus, with an empty login keyring."""
    home = os.path.join(desktop.root, "home")
    os.makedirs(home)
    os.environ["HOME"] = home
    os.environ["XDG_DATA_HOME"] = os.path.join(home, ".local", "share")
    daemon = subprocess.run(["gnome-keyring-daemon", "--unlock", "--components=secrets"],
                            input=b"\n", capture_output=True, timeout=30)
    check(daemon.returncode == 0, f"gnome-keyring-daemon: {daemon.stderr!r}")


def sync_line(desktop, window):
    """The line below the list that tells what the sync did."""
    node = desktop.atspi.findDescendant(
        window, lambda n: n.getRoleName() == "label" and n.name.startswith(("Sincroniz", "No se")))
    return node.name if node else ""


def names(desktop, window):
    return [row[0] for row in desktop.table_rows(desktop.find(window, "tree", "Contactos"))]


def book_in_step(desktop):
    start_keyring(desktop)
    server = Radicale(desktop.root)
    try:
        program_dir = desktop.program_dir(file_of(ANA))
        manager = desktop.start(program_dir, "Agendela", today=DAY)
        app = desktop.application("Agendela")
        window = desktop.window(app, "Tortavela")

        # The account, set in its dialog: "Probar" finds the address book.
        desktop.menu(window, "Archivo", "Cuenta de sincronización...")
        dialog = desktop.window(app, "Cuenta de sincronización", role="dialog")
        for role, field, text in (("text", "Servidor", f"http://127.0.0.1:{server.port}/"),
                                  ("text", "Usuario", "ana"),
                                  ("password text", "Contraseña", "secreto")):
            desktop.click(desktop.find(dialog, role, field))
            desktop.type_text(text)
        desktop.press(desktop.find(dialog, "push button", "Probar"))
        wait_for(lambda: desktop.atspi.findDescendant(
            dialog, lambda n: n.getRoleName() == "label" and n.name.startswith("Funciona")),
            "the account found working")
        desktop.press(desktop.find(dialog, "push button", "Aceptar"))
        wait_for(lambda: sync_line(desktop, window).startswith("Sincronizado"), "the first sync")
        check(sync_line(desktop, window) == "Sincronizado: 0 recibidos, 1 enviado",
              sync_line(desktop, window))
        cards = server.cards()
        check(len(cards) == 1 and "FN:Ana" in next(iter(cards.values())), f"cards {cards}")
        check("BDAY:1995-12-09" in next(iter(cards.values())), "Ana's year of birth")
        # The password is in the keyring, nowhere in the program directory.
        for name in os.listdir(program_dir):
            path = os.path.join(program_dir, name)
            if os.path.isfile(path):
                with open(path, "rb") as file:
                    check(b"secreto" not in file.read(), f"the password in {name}")
        lookup = subprocess.run(["secret-tool", "search", "--all", "server", "Tortavela"],
                                capture_output=True, text=True)
        check("secret = secreto" in lookup.stdout, f"the keyring holds no password: {lookup!r}")

        # A phone adds Ciro, whose birthday is today; "Sincronizar ahora" brings him.
        server.put("ciro.vcf", CIRO_CARD)
        desktop.menu(window, "Archivo", "Sincronizar ahora")
        wait_for(lambda: "Ciro" in names(desktop, window), "Ciro in the list")
        wait_for(lambda: sync_line(desktop, window) == "Sincronizado: 1 recibido, 0 enviados",
                 "the second sync's line")
        manager.terminate()
        manager.wait()

        # The reminder announces him, and leaves his age as the card's year gives it.
        reminder = desktop.start(program_dir, "Avisela", today=DAY)
        avisela = desktop.application("Avisela")
        cumple = desktop.window(avisela, "¡¡FELIZ CUMPLE!!")
        check(desktop.list_items(desktop.find(cumple, "list", "CUMPLEAÑOS DE HOY")) == ["Ciro"],
              "Ciro announced")
        time.sleep(1)
        check(record("Ciro", "", "36", "8/12", "600 000 001", "", "", "").encode("cp1252")
              in read(program_dir),
              f"Ciro's age advanced again: {read(program_dir)!r}")
        reminder.kill()
        reminder.wait()

        # The next day the reminder advances Ana; the sync that follows keeps her card's year.
        reminder = desktop.start(program_dir, "Avisela", today=NEXT_DAY)
        wait_for(lambda: record("Ana", "", "31", "9/12", "", "", "", "prima").encode("cp1252")
                 in read(program_dir),
                 "Ana a year older")
        reminder.kill()
        reminder.wait()
        manager = desktop.start(program_dir, "Agendela", today=NEXT_DAY)
        app = desktop.application("Agendela")
        window = desktop.window(app, "Tortavela")
        wait_for(lambda: sync_line(desktop, window).startswith("Sincronizado"),
                 "the sync at the start")
        ana = [card for card in server.cards().values() if "FN:Ana" in card]
        check(len(ana) == 1 and "BDAY:1995-12-09" in ana[0], f"Ana's card {ana}")
    finally:
        server.stop()


SCENARIOS = {
    "manager_sync": book_in_step,
}
