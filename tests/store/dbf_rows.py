#!/usr/bin/env python3
"""Reads one table of a data directory with dbfread and prints it in a canonical form.

dbf_rows.py DIR TABLE           one line per live record, fields joined by TAB:
                                texts without trailing blanks, numbers with the
                                field's decimals, dates yyyymmdd, logicals T/F,
                                memos with backslash escapes; empty for no value
dbf_rows.py DIR TABLE --fields  one line per field: name type length decimals
"""
import os
import sys

from dbfread import DBF


def escape(text):
    return (text.replace('\\', '\\\\').replace('\t', '\\t')
            .replace('\r', '\\r').replace('\n', '\\n'))


def canonical(field, value):
    if value is None:
        return 'F' if field.type == 'L' else ''
    if field.type == 'C':
        return escape(value.rstrip(' '))
    if field.type == 'N':
        return '%.*f' % (field.decimal_count, value)
    if field.type == 'D':
        return value.strftime('%Y%m%d')
    if field.type == 'L':
        return 'T' if value else 'F'
    if field.type == 'M':
        return escape(value)
    raise ValueError('unexpected field type ' + field.type)


def main():
    directory, table = sys.argv[1], sys.argv[2]
    path = None
    for name in os.listdir(directory):
        if name.lower() == table.lower() + '.dbf':
            path = os.path.join(directory, name)
    dbf = DBF(path, encoding='latin-1', char_decode_errors='strict')
    out = sys.stdout
    if len(sys.argv) > 3 and sys.argv[3] == '--fields':
        for field in dbf.fields:
            out.write('%s %s %d %d\n' % (field.name, field.type, field.length,
                                          field.decimal_count))
        return
    for record in dbf:
        out.write('\t'.join(canonical(field, record[field.name])
                            for field in dbf.fields) + '\n')


if __name__ == '__main__':
    main()
