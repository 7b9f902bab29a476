# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays the game by keys while the real screen reader listens, and checks what it says.

Everything runs in a home folder of its own: the speech server with a configuration of
the test's (its dummy voice into the sound library's null output, so no sound card is
needed), the screen reader speaking Italian, the game on a private X display. The test
types letters, confirms words, tabs through the controls and speeds the game's clock up
to hear the warnings, the level change and the end of the game; each step waits for
what the reader says about it. Runs inside a D-Bus session of its own (see
run-orca-test). With --whole-game it plays all eight levels and prints what was said.
"""
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

from session import Failure, check, start_display, stop, wait_for, write_data

PRAISE = {"Ben fatto.", "OK.", "Grande!!!", "Parola esatta.", "Molto bene.", "Esatto!!!",
          "Perfetto!!!", "Funziona!!!", "Giusto!!!"}
PRAISES = "|".join(re.escape(p) for p in PRAISE)
REFUSALS = "|".join(re.escape(r) for r in (
    "La parola non esiste.", "Sbagliato.", "Parola errata.", "Non trovo la parola.",
    "Inesistente.", "Non va bene.", "Non ci siamo.", "Riprova.", "Errare è umano.",
    "Concentrati."))
HERE = os.path.dirname(os.path.abspath(__file__))


class Speech:
    """What the reader said, line by line, from the file it writes as it speaks."""

    def __init__(self, path):
        self.path = path
        self.lines = []
        self.heard = 0  # lines already matched by a step

    def read(self):
        try:
            with open(self.path, encoding="utf-8") as f:
                text = f.read()
        except FileNotFoundError:
            return
        self.lines = [m.group(1) for m in re.finditer(r"SPEECH OUTPUT: '(.*)'", text)]

    def hear(self, pattern, seconds=15.0):
        """Waits for a line matching `pattern` said after the last one heard; returns it."""
        def probe():
            self.read()
            for i in range(self.heard, len(self.lines)):
                if re.search(pattern, self.lines[i]):
                    self.heard = i + 1
                    return self.lines[i]
            return None
        try:
            return wait_for("the reader to say /%s/" % pattern, probe, seconds)
        except Failure:
            print("the reader said meanwhile:", file=sys.stderr)
            for line in self.lines[self.heard:]:
                print("  " + line, file=sys.stderr)
            raise


def write_speech_config(home):
    # The dummy voice plays through the sound library, whose null driver needs no card.
    with open(os.path.join(home, ".libao"), "w") as f:
        f.write("default_driver=null\n")
    config = os.path.join(home, ".config", "speech-dispatcher")
    os.makedirs(config)
    with open(os.path.join(config, "speechd.conf"), "w") as f:
        f.write('LogLevel 3\nLogDir "%s"\nAudioOutputMethod "libao"\n'
                'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' % home)


def key(display, *names):
    subprocess.run(["xdotool", "key", "--delay", "30"] + list(names), check=True,
                   env=dict(os.environ, DISPLAY=display))


def too_long(*_):
    raise Failure("took too long")


def play_a_level(speech, display, clock):
    """The first level by keys, with every kind of news a player gets."""
    dealt = speech.hear(r"Livello 1, tempo 4 minuti\. Lettere: ")
    letters = re.search(r"Lettere: ([A-Z](?:, [A-Z])*)\.", dealt).group(1).split(", ")
    check(sorted(letters) == sorted("ABITARE"), "the seven letters dealt: " + dealt)

    key(display, "b")
    speech.hear(r"B nella parola, posizione 1\.")
    key(display, "z")
    speech.hear(r"Nessuna Z tra le lettere da spostare\.")
    key(display, "BackSpace")
    speech.hear(r"B torna tra le lettere, posizione %d\." % (letters.index("B") + 1))
    key(display, "BackSpace")
    speech.hear(r"Nessuna lettera nella parola\.")

    # A verdict said twice is heard twice.
    key(display, "a", "b", "Return")
    speech.hear(r"Scrivere una parola di almeno 3 lettere\.")
    key(display, "Return")
    speech.hear(r"Scrivere una parola di almeno 3 lettere\.")
    key(display, "Escape", "b", "a", "r", "Return")
    speech.hear(r"(%s) Punti 30\.$" % PRAISES)
    key(display, "Return")
    speech.hear(r"La parola è già stata scritta\.")
    key(display, "Escape", "r", "e", "t", "i", "Return")
    speech.hear(r"(%s) Punti 25\.$" % REFUSALS)
    key(display, "Escape", "a", "b", "i", "t", "a", "r", "e", "Return")
    speech.hear(r"ECCELLENTE!!! PERFETTO!!! NUOVO LIVELLO RAGGIUNTO! Punti 275\.")
    speech.hear(r"(%s)$" % PRAISES)

    # Tab: the name box, then the controls, then back to the board.
    key(display, "Tab")
    speech.hear(r"Giocatore")
    key(display, "Tab")
    speech.hear(r"Conferma")
    key(display, "Tab")
    speech.hear(r"Parola, posizione 1, A pulsante")
    key(display, "Escape")

    # The clock, fast: the warning, the time up, the next level with its tiles locked.
    clock("20")
    speech.hear(r"Sbrigati, mancano solo 30 secondi\. Tempo: 30 secondi\.")
    speech.hear(r"Tempo scaduto: 00:00\.")
    speech.hear(r"LIVELLO numero 2")
    key(display, "shift+Tab")  # backwards from the board: the last tile, locked now
    speech.hear(r"Lettera, posizione 7, vuota pulsante non disponibile")
    key(display, "BackSpace")
    speech.hear(r"Ora le lettere sono ferme\.")
    speech.hear(r"LIVELLO numero 2\. Livello 2, tempo 3 minuti e 30 secondi\. Lettere: ")


def end_a_game(speech, display, clock):
    """No word in the second level: game over, the best score in words, a new game."""
    speech.hear(r"Tempo scaduto: 00:00\.")
    speech.hear(r"GAME OVER\. NUOVO RECORD\. GIOCA: premi Invio per una nuova partita\. "
                r"Record: CPU, 275 punti, livello 2\.")
    clock("1000")
    # Each key after the reader has spoken of the last, as a player listens: from the
    # locked tile back to the board, then to the one button that works.
    key(display, "Escape")
    speech.hear(r"LEMMARO")
    key(display, "Tab")
    speech.hear(r"GIOCA pulsante")
    key(display, "Return")
    speech.hear(r"Livello 1, tempo 4 minuti\. Lettere: .* Punti 0\.")


def play_every_level(speech, display, clock):
    """All eight levels, each won with its seven-letter word; for listening, not checking."""
    speech.hear(r"Livello 1, tempo 4 minuti\. Lettere: ")
    key(display, "a", "b", "i", "t", "a", "r", "e", "Return")
    speech.hear(r"ECCELLENTE!!!")
    speech.hear(r"(%s)$" % PRAISES)
    key(display, "Escape", "b", "a", "t", "a", "r", "e", "i", "Return")
    speech.hear(r"MOLTIPLICHI X 2")
    speech.hear(r"(%s) Punti" % PRAISES)
    for level in range(2, 9):
        clock("20")
        speech.hear(r"LIVELLO numero %d\.$" % level, 30)
        clock("1000")
        speech.hear(r"Livello %d, tempo" % level)
        key(display, "a", "b", "i", "t", "a", "r", "e", "Return")
        speech.hear(r"ECCELLENTE!!!")
        speech.hear(r"(%s)$" % PRAISES)
    clock("20")
    speech.hear(r"GAME OVER", 90)


def main():
    game = os.path.abspath(sys.argv[1])
    whole = "--whole-game" in sys.argv
    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(600 if whole else 120)
    display = reader = process = None
    speech = Speech(None)
    with tempfile.TemporaryDirectory() as home:
        try:
            data = os.path.join(home, "gioco")
            os.mkdir(data)
            write_data(data)
            write_speech_config(home)
            display, display_name = start_display()
            env = dict(os.environ, DISPLAY=display_name, HOME=home,
                       XDG_CONFIG_HOME=os.path.join(home, ".config"),
                       XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                       XDG_CACHE_HOME=os.path.join(home, ".cache"),
                       GSETTINGS_BACKEND="memory", LANGUAGE="it", LC_ALL="C.UTF-8")
            said = os.path.join(home, "speech.log")
            speech.path = said
            reader = subprocess.Popen(
                ["/usr/bin/python3", os.path.join(HERE, "orca_speech.py"), said],
                env=env, stdout=subprocess.DEVNULL, stderr=open(os.path.join(home, "orca.err"), "w"))
            speech.hear(r".", 30)  # the reader speaks as soon as it is up

            process = subprocess.Popen([game], cwd=data, stdin=subprocess.PIPE,
                                       env=dict(env, QT_QPA_PLATFORM="xcb",
                                                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

            def clock(ms):
                process.stdin.write((ms + "\n").encode())
                process.stdin.flush()

            window = wait_for("the game window", lambda: subprocess.run(
                ["xdotool", "search", "--onlyvisible", "--pid", str(process.pid)],
                env=dict(os.environ, DISPLAY=display_name), capture_output=True,
                text=True).stdout.split())[0]
            subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True,
                           env=dict(os.environ, DISPLAY=display_name))
            if whole:
                play_every_level(speech, display_name, clock)
            else:
                play_a_level(speech, display_name, clock)
                end_a_game(speech, display_name, clock)
            print("\n".join(speech.lines))
            print("PASS")
            return 0
        except Failure as failure:
            print("FAIL:", failure, file=sys.stderr)
            print("\n".join(speech.lines), file=sys.stderr)
            try:
                with open(os.path.join(home, "orca.err")) as f:
                    sys.stderr.write(f.read()[-3000:])
            except OSError:
                pass
            return 1
        finally:
            signal.alarm(0)
            stop(process, reader, display)


if __name__ == "__main__":
    sys.exit(main())
