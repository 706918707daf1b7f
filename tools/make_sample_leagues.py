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
    # file stem, name, season, first date, HR lines, teams, rounds, rounds played (bundled, update site)
    ("extraliga0708", "Extraliga", "2007/2008", datetime.date(2007, 9, 12), (8, 10, 13),
     ["Sparta Praha", "Slavia Praha", "Č. Budějovice", "Vítkovice", "Třinec", "Pardubice", "Liberec",
      "Kladno", "Litvínov", "Karlovy Vary", "Zlín", "Plzeň", "Brno", "Znojmo"], 52, 20, 26),
    ("prvniliga0708", "1. liga", "2007/2008", datetime.date(2007, 9, 13), (8, 12, 13),
     ["Mladá Boleslav", "Olomouc", "Havířov", "Jihlava", "Chomutov", "Ústí n. L.", "Hradec Králové", "Most",
      "Prostějov", "Beroun", "Vsetín", "Šumperk", "Frýdek-Místek", "Přerov"], 52, 18, 24),
    ("extraliga0607", "Extraliga", "2006/2007", datetime.date(2006, 9, 13), (8, 10, 0),
     ["Sparta Praha", "Slavia Praha", "Č. Budějovice", "Vítkovice", "Třinec", "Pardubice", "Liberec",
      "Kladno", "Litvínov", "Karlovy Vary", "Zlín", "Plzeň", "Znojmo", "Jihlava"], 52, 50, 52),
    # A second league of sixteen teams meeting four times.
    ("druhaliga0708", "2. liga", "2007/2008", datetime.date(2007, 9, 15), (8, 12, 14),
     ["Benátky n. J.", "Kolín", "Písek", "Tábor", "Sokolov", "Klatovy", "Ml. Boleslav B", "Nymburk",
      "Vrchlabí", "Trutnov", "Dvůr Králové", "Žďár n. S.", "Třebíč", "Havl. Brod", "Valašské Meziříčí",
      "Nový Jičín"], 60, 30, 36),
    # A top league that had fifteen teams for a season: one rests every round.
    ("extraliga9900", "Extraliga", "1999/2000", datetime.date(1999, 9, 10), (8, 10, 14),
     ["Sparta Praha", "Slavia Praha", "Č. Budějovice", "Vítkovice", "Třinec", "Pardubice", "Liberec",
      "Kladno", "Litvínov", "Karlovy Vary", "Zlín", "Plzeň", "Znojmo", "Jihlava", "Opava"], 60, 30, 36),
]


def pairings(count, rounds):
    """Single round robins by the circle method, every second one with swapped homes, until `rounds`;
    with an odd count a team 0 completes the circle and its opponent rests."""
    teams = list(range(1, count + 1)) + ([0] if count % 2 else [])
    n = len(teams)
    cycle = []
    for r in range(n - 1):
        rot = [teams[0]] + teams[1:][r:] + teams[1:][:r]
        rnd = []
        for i in range(n // 2):
            a, b = rot[i], rot[n - 1 - i]
            if a and b:
                rnd.append((a, b) if (r + i) % 2 == 0 else (b, a))
        cycle.append(rnd)
    out = []
    for c in range(rounds // len(cycle) + 1):
        for rnd in cycle:
            out.append([(a, b) if c % 2 == 0 else (b, a) for a, b in rnd])
    return out[:rounds]


def dates(first, rounds):
    """Every third or fourth day, now and then two rounds on one date (a weekend double)."""
    out, d = [], first
    for r in range(rounds):
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
    for stem, name, season, first, hr, teams, rounds, played, played_update in LEAGUES:
        comp = ["; soutěž a její týmy", f"nazev={name}", f"sezona={season}"]
        comp += [f"HR{i + 1}={v}" for i, v in enumerate(hr) if v]
        comp += ["; čísla týmů určují pořadí ve výpisech"]
        comp += [f"t{n:02d}={t}" for n, t in enumerate(teams, 1)]
        rng = random.Random(stem)
        slots = len(teams) // 2
        results = [[result(rng, season < "2007") for _ in range(slots)] for _ in range(rounds)]
        holes = {(r, rng.randrange(slots)) for r in rng.sample(range(played - 6, played), 3)}
        for folder, upto in ((root / "dist/souteze", played), (root / "update-site/velmor/update", played_update)):
            folder.mkdir(parents=True, exist_ok=True)
            write(folder / f"sezona_{stem}.txt", comp)
            los = []
            for r, (rnd, day) in enumerate(zip(pairings(len(teams), rounds), dates(first, rounds))):
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
        "a6=16.2. - 16.2.=Poslední kolo základní části",
        "a7=29.2. - 9.3.=Předkolo play-off",
        "a8=11.3. - 15.4.=Play-off",
    ])


main()
