# SPDX-License-Identifier: GPL-3.0-or-later
"""What the screen-reader tests share: a private X display, bounded waits, the data folder."""
import os
import subprocess
import time


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def write_data(directory):
    # One phrase, ABITARE, and among the dictionary's words BAR and BATAREI, a second word
    # of the same seven letters; every byte inverted.
    text = "LEMMARO\r\nBAR\r\nARTE\r\nBATAREI\r\n*ABITARE\r\n".encode("cp1252")
    with open(os.path.join(directory, "Dati.RCX"), "wb") as out:
        out.write(bytes(b ^ 0xFF for b in text))


def start_display():
    read, write = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            raise Failure("Xvfb did not start")
        number += chunk
    os.close(read)
    return server, ":" + number.decode().strip()


def wait_for(what, probe, seconds=20.0):
    deadline = time.monotonic() + seconds
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


def stop(*processes):
    for p in processes:
        if p is not None and p.poll() is None:
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
