#!/usr/bin/env python3
"""Receiver lists as other programs write them, for the import tests.

    make_sheet_fixtures.py OUT_DIR [--rows 20,60,1000] [--writers xlwt,openpyxl,libreoffice]

Writes OUT_DIR/<writer>-<rows>.<ext>: xlwt gives .xls, openpyxl .xlsx, LibreOffice (headless
`soffice`) .xls, .xlsx and .csv converted from one UTF-8 CSV. The LibreOffice files up to
1,000 rows are committed in tests/data/fixtures/written/ (run by hand:
`tools/make_sheet_fixtures.py tests/data/fixtures/written --writers libreoffice`); the tests
write the python ones, 10,000 rows included, while they run.

Every file holds one sheet ("收件人"; LibreOffice names it after the file): a title row, then
`rows` data rows whose values follow from the row number alone (see row()), so a test can
check any cell without reading this file.
"""

import argparse
import csv
import os
import shutil
import subprocess
import sys
import tempfile

TITLES = ["单位名称", "收货人姓名", "联系电话", "手机号码", "详细地址", "重量", "备注"]


def row(n):
    """The values of data row n (1 = the row under the titles)."""
    return [
        f"客户{n}贸易公司",
        f"联系人{n}",
        f"010-{n:08d}",
        f"139{n:08d}",
        f"北京市海淀区中关村大街{n}号",
        n * 0.5,
        "易碎，轻放" if n % 7 == 0 else "",
    ]


def write_xlwt(path, rows):
    import xlwt

    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("收件人")
    for c, title in enumerate(TITLES):
        sheet.write(0, c, title)
    for n in range(1, rows + 1):
        for c, value in enumerate(row(n)):
            if value != "":
                sheet.write(n, c, value)
    book.save(path)


def write_openpyxl(path, rows):
    import openpyxl

    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "收件人"
    sheet.append(TITLES)
    for n in range(1, rows + 1):
        sheet.append([v if v != "" else None for v in row(n)])
    book.save(path)


def write_csv(path, rows):
    with open(path, "w", encoding="utf-8", newline="") as f:
        out = csv.writer(f)
        out.writerow(TITLES)
        for n in range(1, rows + 1):
            out.writerow(row(n))


def write_libreoffice(out_dir, rows):
    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    if not soffice:
        sys.exit("soffice not found (apt-get install libreoffice-calc-nogui)")
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, f"libreoffice-{rows}.csv")
        write_csv(source, rows)
        # Comma, double quote, UTF-8 (76), from line 1; phones and mobiles stay text.
        infilter = "CSV:44,34,76,1,1/1/2/1/3/2/4/2/5/1/6/1/7/1"
        profile = "-env:UserInstallation=file://" + os.path.join(work, "profile")
        for target, ext in [("xls:MS Excel 97", "xls"), ("xlsx:Calc MS Excel 2007 XML", "xlsx"),
                            ("csv:Text - txt - csv (StarCalc):44,34,76", "csv")]:
            converted = os.path.join(work, "out")
            subprocess.run([soffice, profile, "--headless", "--infilter=" + infilter,
                            "--convert-to", target, "--outdir", converted, source],
                           check=True, stdout=subprocess.DEVNULL)
            shutil.move(os.path.join(converted, f"libreoffice-{rows}.{ext}"),
                        os.path.join(out_dir, f"libreoffice-{rows}.{ext}"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out_dir")
    parser.add_argument("--rows", default="20,60,1000")
    parser.add_argument("--writers", default="xlwt,openpyxl")
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)
    for rows in (int(r) for r in args.rows.split(",")):
        for writer in args.writers.split(","):
            if writer == "xlwt":
                write_xlwt(os.path.join(args.out_dir, f"xlwt-{rows}.xls"), rows)
            elif writer == "openpyxl":
                write_openpyxl(os.path.join(args.out_dir, f"openpyxl-{rows}.xlsx"), rows)
            elif writer == "libreoffice":
                write_libreoffice(args.out_dir, rows)
            else:
                sys.exit("unknown writer " + writer)


if __name__ == "__main__":
    main()
