"""Prints a .dbf table the way dbfread reads it, for the tests of our tables.

    /usr/bin/python3 dbfread_dump.py FILE [--deleted] [--encoding NAME]

The first line is a JSON object with the header facts, the fields and the counts of
live and deleted records; then one JSON object per live record (per deleted record
with --deleted), its members in field order. Dates are "YYYY-MM-DD"; blank numbers,
dates and logicals are null, as dbfread gives them.
"""

import argparse
import datetime
import json
import sys

from dbfread import DBF


def plain(value):
    if isinstance(value, (datetime.date, datetime.datetime)):
        return value.isoformat()
    return value


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--deleted", action="store_true")
    parser.add_argument("--encoding", default="cp1252")
    args = parser.parse_args()

    table = DBF(args.file, encoding=args.encoding, load=True, ignore_missing_memofile=True,
                char_decode_errors="strict")
    header = table.header
    facts = {
        "dbversion": header.dbversion,
        "numrecords": header.numrecords,
        "headerlen": header.headerlen,
        "recordlen": header.recordlen,
        "mdx_flag": header.mdx_flag,
        "language_driver": header.language_driver,
        "records": len(table.records),
        "deleted": len(table.deleted),
        "fields": [{"name": f.name, "type": f.type, "length": f.length, "decimal_count": f.decimal_count,
                    "index_field_flag": f.index_field_flag} for f in table.fields],
    }
    sys.stdout.reconfigure(encoding="utf-8")
    print(json.dumps(facts, ensure_ascii=False))
    for record in (table.deleted if args.deleted else table.records):
        print(json.dumps({name: plain(value) for name, value in record.items()}, ensure_ascii=False))


if __name__ == "__main__":
    main()
