#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Adds one word to a Dati.RCX, stored as the game stores it: the entry ended with a
# carriage return and a line feed, every byte complemented.
#
#   add_a_word.py DATI_RCX WORD
import sys

path, word = sys.argv[1], sys.argv[2]
with open(path, "ab") as f:
    f.write(bytes(b ^ 0xFF for b in (word + "\r\n").encode("cp1252")))
