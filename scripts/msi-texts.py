#!/usr/bin/env python3
"""Puts the Russian texts of packaging/windows/msi-texts.txt into an MSI that
wixl built (wixl leaves out text outside ASCII from the tables): each table
named there is exported with msiinfo, the texts are set, and the tables are
imported again with msibuild after the database's code page is set to 1251
(msitools takes the text in UTF-8 and stores it in the database's code page),
and the summary's language is set to Russian.
Usage: msi-texts.py PACKAGE.msi TEXTS.txt"""
import os
import subprocess
import sys
import tempfile

CODEPAGE = "cp1251"


def main(package, texts_file):
    texts = {}
    with open(texts_file, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            table, key, column, text = line.split("\t")
            text.encode(CODEPAGE)  # fails on a character the code page lacks
            texts.setdefault(table, []).append((key, column, text))
    with tempfile.TemporaryDirectory() as work:
        names = []
        for table, changes in texts.items():
            exported = subprocess.run(["msiinfo", "export", package, table], check=True,
                                      capture_output=True).stdout.decode("utf-8")
            lines = exported.split("\r\n")
            columns = lines[0].split("\t")
            rows = [line.split("\t") for line in lines[3:] if line]
            for key, column, text in changes:
                matching = [row for row in rows if row[0] == key]
                if len(matching) != 1:
                    sys.exit(f"msi-texts.py: {table} has no row {key!r}")
                matching[0][columns.index(column)] = text
            body = lines[:3] + ["\t".join(row) for row in rows]
            path = os.path.join(work, table + ".idt")
            with open(path, "wb") as out:
                out.write(("\r\n".join(body) + "\r\n").encode("utf-8"))
            names.append(path)
        force = os.path.join(work, "_ForceCodepage.idt")
        with open(force, "wb") as out:
            out.write(b"\r\n\r\n1251\t_ForceCodepage\r\n")
        command = ["msibuild", package]
        for path in [force, *names]:
            command += ["-i", path]
        subprocess.run(command, check=True)
    # The package's language in its summary, which wixl leaves at 1033.
    summary = subprocess.run(["msiinfo", "suminfo", package], check=True, capture_output=True,
                             text=True).stdout
    field = dict(line.split(": ", 1) for line in summary.splitlines() if ": " in line)
    platform = field["Template"].split(";")[0]
    subprocess.run(["msibuild", package, "-s", field["Subject"], field["Author"], f"{platform};1049"], check=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
