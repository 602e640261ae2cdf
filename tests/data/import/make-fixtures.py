#!/usr/bin/python3
# Writes the files a class's grades are imported from in the tests, for the sample grade file
# examples/floppy/8410203C07120002025.xml: the same rows as a CSV file a French spreadsheet
# saves (semicolons, byte order mark, CR LF) and as a workbook written by openpyxl (Debian's
# python3-openpyxl), the identifiers typed as numbers; a workbook of values that are no grade;
# and workbooks that are no workbook.
# The build runs it in its own folder (tests/CMakeLists.txt): the files are written where it runs.
import datetime
import zipfile

import openpyxl

HEADERS = ["الإسم و اللقب", "المعرف", "فرض مراقبة 2", "فرض تأليفي 1", "ملاحظة"]
# Shuffled against the class, with an identifier that is no pupil of it; the other 26
# pupils of the class are missing.
ROWS = [
    ["سلمى الدريدي", 20250145, 12.5, 14, "حسن"],
    ["تلميذ من قسم آخر", 99999999, 10, 10, ""],
    ["آمنة الجربي", 20250119, None, 17.25, ""],
    ["مريم الحامدي", 20250132, 19.25, 25, "انتباه; يراجع"],
    ["خليل بن صالح", 20250158, 8.5, "غ.ش.", ""],
]

book = openpyxl.Workbook()
sheet = book.active
sheet.title = "الأعداد"
sheet.append(HEADERS)
for row in ROWS:
    sheet.append(row)
book.create_sheet("أخرى").append(["المعرف", 20250145])
book.save("class.xlsx")

# Values of the third exam that are no grade however a workbook keeps them (a boolean, a number
# shown as a percentage or as a date), beside a plain number.
kinds = openpyxl.Workbook()
kinds.active.append(["المعرف", "فرض تأليفي 1"])
for identifier, value, shown in [(20250119, True, "General"), (20250132, 0.5, "0%"),
                                 (20250145, datetime.date(2025, 1, 7), "dd/mm/yyyy"),
                                 (20250158, 15, "General")]:
    kinds.active.append([identifier, value])
    kinds.active.cell(kinds.active.max_row, 2).number_format = shown
kinds.save("kinds.xlsx")


def csv_field(value):
    text = str(value).replace(".", ",") if isinstance(value, float) else str(value or "")
    return '"' + text + '"' if ";" in text else text


# The same saved by a spreadsheet on an Arabic Windows, in its code page.
for name, encoding in [("class.csv", "utf-8-sig"), ("class-1256.csv", "cp1256")]:
    with open(name, "w", encoding=encoding, newline="") as csv:
        for row in [HEADERS] + ROWS:
            csv.write(";".join(csv_field(value) for value in row) + "\r\n")

with open("not-a-workbook.xlsx", "wb") as bytes_out:
    bytes_out.write(b"PK\x03\x04 this was a workbook once, cut short")

with zipfile.ZipFile("no-sheet.xlsx", "w", zipfile.ZIP_DEFLATED) as zip_out:
    zip_out.writestr("[Content_Types].xml", '<?xml version="1.0"?><Types/>')

# Shared strings that unpack to 64 MB from a few kilobytes: a zip bomb.
SHARED_STRINGS = (b'<Relationship Type="http://schemas.openxmlformats.org/officeDocument/2006/'
                  b'relationships/sharedStrings" Target="sharedStrings.xml" Id="rId9"/>')
with zipfile.ZipFile("huge-strings.xlsx", "w", zipfile.ZIP_DEFLATED) as zip_out:
    with zipfile.ZipFile("class.xlsx") as real:
        for name in real.namelist():
            part = real.read(name)
            if name == "xl/_rels/workbook.xml.rels":
                part = part.replace(b"</Relationships>", SHARED_STRINGS + b"</Relationships>")
            zip_out.writestr(name, part)
    zip_out.writestr("xl/sharedStrings.xml",
                     "<sst><si><t>" + "x" * (64 * 1024 * 1024) + "</t></si></sst>")
