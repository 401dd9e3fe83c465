"""Contact file content for the scenarios, written as the programs write it."""

import os


def record(*fields):
    """One record line: eight fields, each followed by the terminator; no line end."""
    assert len(fields) == 8
    return "".join(field + "§" for field in fields)


def file_of(*lines):
    return "".join(line + "\r\n" for line in lines).encode("cp1252")


def read(program_dir):
    with open(os.path.join(program_dir, "data.tvl"), "rb") as file:
        return file.read()
