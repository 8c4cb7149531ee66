"""Prints an .xlsx workbook the way openpyxl reads it, for the tests of our workbooks.

    /usr/bin/python3 openpyxl_dump.py FILE [--csv SHEET]

One JSON object per sheet, in the workbook's order: {"name": ..., "cells": {"A1":
[type, value], ...}} with every cell that holds a value; type is openpyxl's data type
("s" text, "n" number, "f" formula, ...). With --csv, the named sheet as CSV instead.
"""

import argparse
import csv
import json
import sys

from openpyxl import load_workbook


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--csv", metavar="SHEET")
    args = parser.parse_args()

    book = load_workbook(args.file)
    sys.stdout.reconfigure(encoding="utf-8")
    if args.csv:
        writer = csv.writer(sys.stdout)
        for row in book[args.csv].iter_rows(values_only=True):
            writer.writerow(["" if value is None else value for value in row])
        return
    for sheet in book.worksheets:
        cells = {cell.coordinate: [cell.data_type, cell.value]
                 for row in sheet.iter_rows() for cell in row if cell.value is not None}
        print(json.dumps({"name": sheet.title, "cells": cells}, ensure_ascii=False))


if __name__ == "__main__":
    main()
