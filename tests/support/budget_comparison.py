"""Recomputes the budget comparison of a year from its raw rows, read by dbfread.

    /usr/bin/python3 budget_comparison.py KR.dbf KV.dbf

Prints one line per printed figure line: the label's start, a tab, and the cells
(actual, planned, difference, share) as the report shows them, joined by blanks.
Actual amounts: rows of classes E and A paid through a cash box or bank account
(codd C01-C04); income counts Einnahme - Ausgabe, expense the opposite.
"""

import datetime
import sys
from collections import defaultdict

from dbfread import DBF


def italian(value):
    text = "{:,.2f}".format(value).replace(",", "_").replace(".", ",").replace("_", ".")
    return "0,00" if text == "-0,00" else text


def share(actual, planned):
    if planned == 0:
        return ""
    tenths = round(actual / planned * 100 * 10)
    sign = "-" if tenths < 0 else ""
    tenths = abs(tenths)
    return "{}{},{} %".format(sign, italian(tenths // 10)[:-3], tenths % 10)


def cells(actual, planned):
    return " ".join(c for c in (italian(actual), italian(planned), italian(actual - planned), share(actual, planned)) if c)


def main():
    journal, budget = sys.argv[1], sys.argv[2]
    actual = defaultdict(float)
    rows = [r for r in DBF(journal, encoding="cp1252")]
    rows.sort(key=lambda r: (r["COD"], r["DATUM"] or datetime.date.min, r["NUMMER"] or 0))
    for r in rows:
        cod, codd = r["COD"] or "", r["CODD"] or ""
        if cod[:2] not in (" E", " A") or codd[:4] not in (" C01", " C02", " C03", " C04"):
            continue
        diff = (r["EINNAHME"] or 0) - (r["AUSGABE"] or 0)
        actual[cod] += diff if cod[1] == "E" else -diff
    planned = defaultdict(float)
    for r in DBF(budget, encoding="cp1252"):
        planned[r["COD"]] += r["PREVISTO"] or 0
    saldo = [0.0, 0.0]
    for letter in ("E", "A"):
        codes = sorted(c for c in set(actual) | set(planned) if c[1] == letter and (actual[c] != 0 or planned[c] != 0))
        side = [0.0, 0.0]
        for group in sorted({c[:4] for c in codes}):
            g = [0.0, 0.0]
            for code in (c for c in codes if c[:4] == group):
                print(code.strip() + "\t" + cells(actual[code], planned[code]))
                g[0] += actual[code]
                g[1] += planned[code]
            print("Totale " + group.strip() + "\t" + cells(*g))
            side[0] += g[0]
            side[1] += g[1]
        print(("SOMMA ENTRATE" if letter == "E" else "SOMMA USCITE") + "\t" + cells(*side))
        sign = 1 if letter == "E" else -1
        saldo[0] += sign * side[0]
        saldo[1] += sign * side[1]
    print("SALDO (entrate - uscite)\t" + cells(*saldo))


main()
