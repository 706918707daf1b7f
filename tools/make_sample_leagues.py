#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the bundled sample leagues (dist/souteze) and their fuller copies for the update site.

Run from the repository root. Deterministic: the same files come out every time.
"""
import datetime
import random
import sys
from pathlib import Path

LEAGUES = [
    # file stem, name, season, first date, HR lines, teams, rounds played (bundled, update site)
    ("extraliga0708", "Extraliga", "2007/2008", datetime.date(2007, 9, 12), (8, 10, 13),
     ["Sparta Praha", "Slavia Praha", "Č. Budějovice", "Vítkovice", "Třinec", "Pardubice", "Liberec",
      "Kladno", "Litvínov", "Karlovy Vary", "Zlín", "Plzeň", "Brno", "Znojmo"], 20, 26),
    ("prvniliga0708", "1. liga", "2007/2008", datetime.date(2007, 9, 13), (8, 12, 13),
     ["Mladá Boleslav", "Olomouc", "Havířov", "Jihlava", "Chomutov", "Ústí n. L.", "Hradec Králové", "Most",
      "Prostějov", "Beroun", "Vsetín", "Šumperk", "Frýdek-Místek", "Přerov"], 18, 24),
    ("extraliga0607", "Extraliga", "2006/2007", datetime.date(2006, 9, 13), (8, 10, 0),
     ["Sparta Praha", "Slavia Praha", "Č. Budějovice", "Vítkovice", "Třinec", "Pardubice", "Liberec",
      "Kladno", "Litvínov", "Karlovy Vary", "Zlín", "Plzeň", "Znojmo", "Jihlava"], 50, 52),
]


def pairings():
    """52 rounds of 7 pairings: four single round robins, the second and fourth with swapped homes."""
    teams = list(range(1, 15))
    cycle = []
    for r in range(13):
        rot = [teams[0]] + teams[1:][r:] + teams[1:][:r]
        rnd = []
        for i in range(7):
            a, b = rot[i], rot[13 - i]
            rnd.append((a, b) if (r + i) % 2 == 0 else (b, a))
        cycle.append(rnd)
    rounds = []
    for c in range(4):
        for rnd in cycle:
            rounds.append([(a, b) if c % 2 == 0 else (b, a) for a, b in rnd])
    return rounds


def dates(first):
    """Every third or fourth day, now and then two rounds on one date (a weekend double)."""
    out, d = [], first
    for r in range(52):
        out.append(d)
        if r % 9 == 4:
            continue  # next round on the same date
        d += datetime.timedelta(days=3 if r % 2 == 0 else 4)
    return out


def result(rng, draws_allowed):
    h, a = rng.choice([0, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 5, 6]), rng.choice([0, 1, 1, 2, 2, 2, 3, 3, 4, 5])
    extra = rng.random()
    if extra < 0.18:
        base = rng.choice([1, 1, 2, 2, 3, 4])
        if draws_allowed and rng.random() < 0.3:
            return f"{base}:{base}p"
        winner_home = rng.random() < 0.55
        h, a = (base + 1, base) if winner_home else (base, base + 1)
        return f"{h}:{a}{'p' if rng.random() < 0.5 else 'n'}"
    if h == a:
        h += 1
    return f"{h}:{a}"


def write(path, lines):
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("cp1250"))


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    for stem, name, season, first, hr, teams, played, played_update in LEAGUES:
        comp = ["; soutěž a její týmy", f"nazev={name}", f"sezona={season}"]
        comp += [f"HR{i + 1}={v}" for i, v in enumerate(hr) if v]
        comp += ["; čísla týmů určují pořadí ve výpisech"]
        comp += [f"t{n:02d}={t}" for n, t in enumerate(teams, 1)]
        rng = random.Random(stem)
        results = [[result(rng, season < "2007") for _ in range(7)] for _ in range(52)]
        holes = {(r, rng.randrange(7)) for r in rng.sample(range(played - 6, played), 3)}
        for folder, upto in ((root / "dist/souteze", played), (root / "update-site/velmor/update", played_update)):
            folder.mkdir(parents=True, exist_ok=True)
            write(folder / f"sezona_{stem}.txt", comp)
            los = []
            for r, (rnd, day) in enumerate(zip(pairings(), dates(first))):
                los += ["**", str(r + 1), f"{day.day}.{day.month}.{day.year}"]
                for m, (h, a) in enumerate(rnd):
                    shown = r < upto and (folder.name == "update" or (r, m) not in holes)
                    los += [f"{h}-{a}", results[r][m] if shown else ""]
                los.append("")
            write(folder / f"los_{stem}.txt", los[:-1])
    write(root / "dist/souteze/kalendar_0708.dat", [
        "; akce sezóny 2007/2008",
        "a1=12.9. - 12.9.=Zahájení sezóny",
        "a2=5.11. - 11.11.=Reprezentační přestávka (Karjala)",
        "a3=17.12. - 23.12.=Reprezentační přestávka (Channel One Cup)",
        "a04=26.12. - 31.12.=Spenglerův pohár",
        "a5=4.2. - 10.2.=Reprezentační přestávka (Švédské hry)",
        "a6=26.2. - 26.2.=Poslední kolo základní části",
        "a7=29.2. - 9.3.=Předkolo play-off",
        "a8=11.3. - 15.4.=Play-off",
    ])


main()
