#!/usr/bin/python3
"""Tortavela's sync against Debian's vdirsyncer, on the same local servers in the same run.

    bench/sync_bench.py BUILD_BIN_DIR [RUNS]

Radicale holds an address book of 1,000 cards (10,000 for the large row), written straight into
its storage folder; each tool syncs it into an empty book (Tortavela: an empty data.tvl through
`sync_once`, which runs the manager's sync; vdirsyncer: an empty folder), then once more with
nothing changed. Sending a book of 1,000 contacts to an empty address book is timed against
Xandikos, where a PUT costs milliseconds (Radicale takes about a second per PUT once it holds
hundreds of cards). Wall-clock medians of RUNS runs (default 3), each on fresh copies.
"""

import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

BIN = sys.argv[1]
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 3
TODAY = "2026-12-08"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for_port(port):
    for _ in range(200):
        with socket.socket() as probe:
            if probe.connect_ex(("127.0.0.1", port)) == 0:
                return
        time.sleep(0.05)
    raise RuntimeError("the server never answered")


def card(i):
    return (f"BEGIN:VCARD\r\nVERSION:3.0\r\nUID:persona-{i}\r\nFN:Persona {i:05d} Núñez\r\n"
            f"N:Núñez;Persona {i:05d};;;\r\nBDAY:{1950 + i % 60}-{1 + i % 12:02d}-{1 + i % 28:02d}\r\n"
            f"TEL;TYPE=CELL:+34 600 {i:06d}\r\nEMAIL:persona{i}@example.org\r\n"
            f"NOTE:Nota de la persona {i}\r\nEND:VCARD\r\n")


class Radicale:
    def __init__(self, root, cards):
        self.port = free_port()
        book = os.path.join(root, "storage", "collection-root", "ana", "libreta")
        os.makedirs(book)
        with open(os.path.join(book, ".Radicale.props"), "w") as props:
            props.write('{"tag": "VADDRESSBOOK"}')
        for i in range(cards):
            with open(os.path.join(book, f"persona-{i}.vcf"), "w", encoding="utf-8") as file:
                file.write(card(i))
        with open(os.path.join(root, "users"), "w") as users:
            users.write("ana:secreto\n")
        config = os.path.join(root, "config")
        with open(config, "w") as file:
            file.write(f"[server]\nhosts = 127.0.0.1:{self.port}\n[auth]\ntype = htpasswd\n"
                       f"htpasswd_filename = {root}/users\nhtpasswd_encryption = plain\n"
                       f"[storage]\nfilesystem_folder = {root}/storage\n[logging]\nlevel = warning\n")
        self.process = subprocess.Popen(["/usr/bin/radicale", "--config", config],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.port)
        self.url = f"http://127.0.0.1:{self.port}/ana/libreta/"
        # Radicale reads a card's metadata once into its cache: both tools find it warm.
        subprocess.run(["curl", "-s", "-o", "/dev/null", "-u", "ana:secreto", "-X", "PROPFIND",
                        "-H", "Depth: 1", self.url], check=True)

    def stop(self):
        self.process.terminate()
        self.process.wait()


class Xandikos:
    def __init__(self, root):
        self.port = free_port()
        self.process = subprocess.Popen(
            ["/usr/bin/xandikos", "-d", os.path.join(root, "xandikos"), "--defaults", "-l",
             "127.0.0.1", "-p", str(self.port)],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.port)
        self.url = f"http://127.0.0.1:{self.port}/user/contacts/addressbook/"

    def stop(self):
        self.process.terminate()
        self.process.wait()


def tortavela(book_dir, url):
    """One sync; its wall time and its requests."""
    started = time.monotonic()
    done = subprocess.run([os.path.join(BIN, "sync_once"), book_dir, url, "ana", "secreto", TODAY],
                          capture_output=True, text=True)
    took = time.monotonic() - started
    words = done.stdout.split()
    if done.returncode != 0 or words[0] != "ok":
        raise RuntimeError(done.stdout + done.stderr)
    return took, int(words[1])


def vdirsyncer(root, url, folder):
    config = os.path.join(root, "vdirsyncer.conf")
    with open(config, "w") as file:
        file.write(f'[general]\nstatus_path = "{root}/status/"\n\n'
                   '[pair libreta]\na = "servidor"\nb = "carpeta"\ncollections = null\n'
                   'conflict_resolution = "a wins"\n\n'
                   f'[storage servidor]\ntype = "carddav"\nurl = "{url}"\n'
                   'username = "ana"\npassword = "secreto"\n\n'
                   f'[storage carpeta]\ntype = "filesystem"\npath = "{folder}"\nfileext = ".vcf"\n')
    if not os.path.exists(os.path.join(root, "status")):
        # The pair's discovery (untimed: once per setup, as a user would have done it).
        subprocess.run(["vdirsyncer", "-c", config, "discover", "libreta"], check=True,
                       capture_output=True, input=b"y\ny\n")
    started = time.monotonic()
    subprocess.run(["vdirsyncer", "-c", config, "sync"], check=True, capture_output=True)
    return time.monotonic() - started


def median(values):
    return statistics.median(values)


def into_empty(cards):
    """First sync and nothing-changed sync of both tools, on one server."""
    root = tempfile.mkdtemp(prefix="sync-bench-")
    server = Radicale(root, cards)
    rows = {"tortavela_first": [], "tortavela_again": [], "requests_again": [],
            "vdirsyncer_first": [], "vdirsyncer_again": []}
    try:
        for run in range(RUNS):
            book = tempfile.mkdtemp(prefix="book-", dir=root)
            open(os.path.join(book, "data.tvl"), "wb").close()
            took, _ = tortavela(book, server.url)
            rows["tortavela_first"].append(took)
            took, requests = tortavela(book, server.url)
            rows["tortavela_again"].append(took)
            rows["requests_again"].append(requests)
            if cards <= 1000:
                work = tempfile.mkdtemp(prefix="vdir-", dir=root)
                folder = os.path.join(work, "cards")
                os.makedirs(folder)
                rows["vdirsyncer_first"].append(vdirsyncer(work, server.url, folder))
                rows["vdirsyncer_again"].append(vdirsyncer(work, server.url, folder))
    finally:
        server.stop()
        shutil.rmtree(root, ignore_errors=True)
    return rows


def sending(cards):
    """A book of `cards` contacts, or a folder of as many cards, to an empty Xandikos book."""
    tortavela_times, vdirsyncer_times = [], []
    for run in range(RUNS):
        root = tempfile.mkdtemp(prefix="send-bench-")
        server = Xandikos(root)
        try:
            book = os.path.join(root, "book")
            os.makedirs(book)
            with open(os.path.join(book, "data.tvl"), "wb") as file:
                for i in range(cards):
                    line = (f"Persona {i:05d} Núñez§§{20 + i % 60}§{1 + i % 28:02d}/{1 + i % 12:02d}§"
                            f"+34 600 {i:06d}§§persona{i}@example.org§Nota {i}§\r\n")
                    file.write(line.encode("cp1252"))
            took, _ = tortavela(book, server.url)
            tortavela_times.append(took)
        finally:
            server.stop()
        root2 = tempfile.mkdtemp(prefix="send-bench-")
        server = Xandikos(root2)
        try:
            work = os.path.join(root2, "vdir")
            folder = os.path.join(work, "cards")
            os.makedirs(folder)
            for i in range(cards):
                with open(os.path.join(folder, f"persona-{i}.vcf"), "w", encoding="utf-8") as f:
                    f.write(card(i))
            vdirsyncer_times.append(vdirsyncer(work, server.url, folder))
        finally:
            server.stop()
        shutil.rmtree(root, ignore_errors=True)
        shutil.rmtree(root2, ignore_errors=True)
    return median(tortavela_times), median(vdirsyncer_times)


def main():
    load = os.getloadavg()[0]
    small = into_empty(1000)
    print(f"Load average at the start: {load:.1f}; medians of {RUNS} runs, wall clock.")
    print("| What | Tortavela | vdirsyncer | Tortavela / vdirsyncer |")
    print("|---|---:|---:|---:|")
    for label, mine, theirs in (("First sync of 1,000 cards (Radicale)", "tortavela_first",
                                 "vdirsyncer_first"),
                                ("Sync with nothing changed, 1,000 cards (Radicale)",
                                 "tortavela_again", "vdirsyncer_again")):
        a, b = median(small[mine]), median(small[theirs])
        print(f"| {label} | {a:.2f} s | {b:.2f} s | {a / b:.2f} |")
    print(f"| Requests of a sync with nothing changed | {median(small['requests_again']):.0f} | | |")
    large = into_empty(10000)
    print(f"| First sync of 10,000 cards into an empty book (Radicale) | "
          f"{median(large['tortavela_first']):.2f} s | | |")
    mine, theirs = sending(1000)
    print(f"| Sending 1,000 contacts to an empty address book (Xandikos) | {mine:.2f} s | "
          f"{theirs:.2f} s | {mine / theirs:.2f} |")


if __name__ == "__main__":
    main()
