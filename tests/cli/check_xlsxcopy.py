#!/usr/bin/env python3
"""The Excel copy of a grade sheet (`gradefile xlsx`) read back by a real reader of
workbooks, openpyxl: its cells say what the CSV copy says, the grades as numbers shown
"00.00" that average to the class statistics' means, and its statistics sheet holds the
numbers of `gradefile stats`, with the grades' distribution and a chart drawn from it.

    check_xlsxcopy.py [EMULATOR] GRADEFILE_TOOL   (the Windows build's tool runs under Wine)
"""
import csv
import io
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

import openpyxl
from openpyxl.utils import get_column_letter

KEY = "8410203C07120002025"
# Marks, an empty cell, a text that is no grade (a file may hold one), a ten-digit identifier
# and one with a leading zero, a name with a comma and quotes.
LINES = [
    f"DEBUT{KEY}|إعدادية - [السابعة 2] - العربية",
    "TYPEEPREUVE:|فرض مراقبة 1|فرض مراقبة 2|فرض تأليفي 1",
    '1|1|1234567890|بن علي، "الصغير"|12.50|غ.ش.|07.00',
    "2|2|0102|Ben, Amine|07.00|معفى|25.00",
    "3|3|103|سلمى|--.--||19.75",
    "1|4|104|خليل بن صالح|00.00|20.00|",
    "2|5|105|أمل|01.99|02.00|19.99",
    f"FIN{KEY}|||||0|0",
]
PUPILS = len(LINES) - 3
COUNTS = ["graded", "absent", "exempt", "noGrade", "empty", "under10"]
FIGURES = ["mean", "median", "min", "max"]


def run(tool, *arguments, given=b""):
    return subprocess.run([*tool, *arguments], input=given, capture_output=True, check=True).stdout


def is_grade(text):
    return re.fullmatch(r"\d\d\.\d\d", text) is not None and float(text) <= 20


def check_grades(sheet, rows):
    """Every cell against the CSV copy's field; returns the grades of each exam by header."""
    assert sheet.sheet_view.rightToLeft and sheet.freeze_panes == "A2"
    assert (sheet.max_row, sheet.max_column) == (len(rows), len(rows[0]))
    assert [cell.value for cell in sheet[1]] == rows[0]
    grades = {header: [] for header in rows[0][3:]}
    for cells, line in zip(sheet.iter_rows(min_row=2), rows[1:]):
        for column, (cell, text) in enumerate(zip(cells, line)):
            where = f"{cell.coordinate} for {text!r}"
            if column >= 3 and is_grade(text):
                assert isinstance(cell.value, (int, float)), where
                assert cell.number_format == "00.00" and f"{cell.value:05.2f}" == text, where
                grades[rows[0][column]].append(cell.value)
            elif column == 0:
                assert cell.value == int(text), where
            else:  # identifiers, names, marks and other texts as texts; empty cells empty
                assert cell.value == (text or None), where
    return grades


def check_statistics(sheet, statistics, grades):
    assert sheet.sheet_view.rightToLeft and sheet.freeze_panes == "B2"
    assert [cell.value for cell in sheet[1]][1:] == [exam["header"] for exam in statistics]
    for column, exam in enumerate(statistics, start=2):
        values = [sheet.cell(row, column) for row in range(2, 2 + len(COUNTS) + len(FIGURES))]
        assert [cell.value for cell in values[: len(COUNTS)]] == [exam[key] for key in COUNTS]
        for cell, key in zip(values[len(COUNTS):], FIGURES):
            if exam[key] is None:
                assert cell.value == "--.--", cell.coordinate
            else:
                assert math.isclose(cell.value, exam[key]), cell.coordinate
                assert cell.number_format == "00.00", cell.coordinate
        # The line of texts that are no grade ("25.00" here): the pupils no count holds.
        other = sheet.cell(2 + len(COUNTS) + len(FIGURES), column).value
        assert other == PUPILS - sum(exam[key] for key in COUNTS[:-1]), exam["header"]
        # What a spreadsheet's AVERAGE makes of the exam's column.
        own = grades[exam["header"]]
        mean = sum(own) / len(own) if own else None
        assert own == [] if exam["mean"] is None else math.isclose(mean, exam["mean"])


def check_distribution(sheet, statistics, grades):
    """The bands' table counts the grades of each exam; the chart's series read that table."""
    top = next(cell.row for cell in sheet["A"] if cell.value == "توزيع الأعداد")
    first, last = top + 1, top + 10
    assert [cell.value for cell in sheet[top]][1:] == [exam["header"] for exam in statistics]
    (chart,) = sheet._charts
    assert chart.type == "col" and chart.x_axis.scaling.orientation == "maxMin"  # right to left
    assert len(chart.series) == len(statistics)
    name = f"'{sheet.title}'!"
    for column, (exam, series) in enumerate(zip(statistics, chart.series), start=2):
        letter = get_column_letter(column)
        bands = [0] * 10
        for grade in grades[exam["header"]]:
            bands[min(round(grade * 100) // 200, 9)] += 1
        counts = [sheet.cell(row, column).value for row in range(first, last + 1)]
        assert counts == bands == exam["distribution"], exam["header"]
        assert series.tx.strRef.f == f"{name}${letter}${top}"
        assert series.val.numRef.f == f"{name}${letter}${first}:${letter}${last}"
        assert series.cat.strRef.f == f"{name}$A${first}:$A${last}"


def check_in_libreoffice(workbook, folder, sheet_title, exams):
    """LibreOffice, where installed, reads the chart with a series per exam on the table."""
    if not shutil.which("soffice"):
        return print("xlsx copy: LibreOffice is not installed: its reading skipped")
    subprocess.run(["soffice", "--headless", f"-env:UserInstallation=file://{folder}/lo",
                    "--convert-to", "ods", "--outdir", folder, workbook],
                   capture_output=True, check=True, timeout=300)
    with zipfile.ZipFile(os.path.join(folder, "copy.ods")) as ods:
        charts = [ods.read(name).decode() for name in ods.namelist()
                  if re.fullmatch(r"Object \d+/content.xml", name)]
    assert len(charts) == 1, "LibreOffice reads one chart"
    ranges = re.findall(r'chart:values-cell-range-address="([^"]*)"', charts[0])
    assert len(ranges) == exams and all(r.startswith(sheet_title + ".") for r in ranges), ranges
    print(f"xlsx copy: LibreOffice reads the chart's {exams} series on the table")


def main(tool):
    with tempfile.TemporaryDirectory() as folder:
        grade_file = os.path.join(folder, KEY + ".xml")
        workbook = os.path.join(folder, "copy.xlsx")
        run(tool, "write", grade_file, given="\n".join(LINES).encode())
        run(tool, "xlsx", grade_file, workbook)
        rows = list(csv.reader(io.StringIO(run(tool, "csv", grade_file).decode("utf-8-sig"))))
        statistics = json.loads(run(tool, "stats", grade_file))
        grades_sheet, statistics_sheet = openpyxl.load_workbook(workbook).worksheets
        check_in_libreoffice(workbook, folder, statistics_sheet.title, len(rows[0]) - 3)
    # The statistics list the exams as the CSV copy does, from the first one.
    assert [exam["header"] for exam in statistics] == rows[0][3:]
    grades = check_grades(grades_sheet, rows)
    check_statistics(statistics_sheet, statistics, grades)
    check_distribution(statistics_sheet, statistics, grades)
    print(f"xlsx copy: {len(rows)} rows and {len(statistics)} exams read back as the CSV has them")


if __name__ == "__main__":
    main(sys.argv[1:])
