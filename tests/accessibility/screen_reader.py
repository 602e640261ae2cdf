#!/usr/bin/python3
"""The program as a screen reader sees it, through the AT-SPI bus (pyatspi).

Started by scripts/test-screen-reader inside dbus-run-session on an X display, with
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Runs the program on a scratch copy of the sample disk and
walks the main window, the about box, the grade sheet, the observation box, the preview, the
grid's statistics, the import, the kept copies and the save question: no control a teacher can reach is
without a name; the grid's cells give their text, their exam and their pupil; a refused grade
is said to be refused; the save button, pressed through its accessible action, writes the
grade into the file. Exit status 0: passed, 1: failed, 2: skipped (the bus is not there).

    screen_reader.py BUILD_DIR
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Gio, GLib

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(SOURCE, "build"))
PROGRAM = os.path.join(BUILD, "app", "saisie-notes")
TOOL = os.path.join(BUILD, "cli", "gradefile")
SHEET_FILE = "8410203C07120002025.xml"

# The roles a teacher acts on: each needs a name. Cells are read through the table.
INTERACTIVE = {
    "push button", "toggle button", "check box", "radio button", "combo box", "text",
    "entry", "password text", "spin button", "slider", "menu item", "check menu item",
    "page tab", "list", "tree", "table", "tree table", "scroll bar",
}
WAIT_SECONDS = 20
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)
    return condition


# What took the keyboard focus, as the program told the bus.
focused = []


def names(nodes):
    for node in nodes:
        try:
            yield node.name
        except Exception:
            continue  # gone since


def remember_focus(event):
    if event.detail1:
        focused.append(event.source)


def wait_for(find, what):
    """What find() returns once it is something; None (and a failure) after the wait."""
    end = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < end:
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)
        try:
            found = find()
        except GLib.GError:
            # A window closing while it was being looked at: its objects leave the bus
            # between the listing and the question. Ask again.
            found = None
        if found:
            return found
        time.sleep(0.1)
    check(False, "waited in vain for " + what)
    return None


def children(node):
    try:
        return [child for child in node if child is not None]
    except Exception:
        return []


def walk(node):
    yield node
    # Cells are many and are read through the table interface.
    if node.getRoleName() in ("table", "tree table", "tree"):
        return
    for child in children(node):
        yield from walk(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def find(root, role, name=None):
    for node in walk(root):
        if node.getRoleName() == role and (name is None or node.name == name) and showing(node):
            return node
    return None


def top_windows(app):
    return [window for window in children(app) if showing(window)]


def window_named(app, start, exact=False):
    return wait_for(lambda: next((w for w in top_windows(app)
                                  if w.name == start or (not exact and w.name.startswith(start))),
                                 None), "the window " + start)


def unnamed_controls(window):
    return [f"{node.getRoleName()} in {node.parent.getRoleName()} '{node.parent.name}'"
            for node in walk(window)
            if (node.getRoleName() in INTERACTIVE or node.getState().contains(pyatspi.STATE_FOCUSABLE))
            and showing(node) and not node.name.strip()]


def all_named(window, what):
    unnamed = unnamed_controls(window)
    check(not unnamed, f"{what}: every control has a name" +
          ("" if not unnamed else " (unnamed: " + ", ".join(unnamed) + ")"))


def a11y_bus():
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                None, GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, -1,
                                None).unpack()[0]
    return Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
        Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)


def press(node):
    """Does the control's press action without waiting for its answer: a button that opens a
    modal dialog answers only once the dialog is closed."""
    action = node.queryAction()
    index = next((i for i in range(action.nActions)
                  if action.getName(i).lower() in ("press", "click", "toggle")), 0)
    press.bus = getattr(press, "bus", None) or a11y_bus()
    press.bus.call(node.app.bus_name, node.path, "org.a11y.atspi.Action", "DoAction",
                   GLib.Variant("(i)", (index,)), None, Gio.DBusCallFlags.NONE, -1, None, None)
    press.bus.flush_sync(None)


def keys(*names):
    """Presses keys as the keyboard would (XTEST), one after the other, into the window that
    has the keyboard."""
    subprocess.run(["xdotool", "key", "--delay", "50", *names], check=True)


def focus(process, title):
    """Gives the keyboard to the program's window of that title, as a window manager would on
    a click: the virtual display has none."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(process.pid)],
                           capture_output=True, text=True).stdout.split()
    for window in found:
        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                              text=True).stdout.strip()
        if name == title:
            # By way of the root window: a window the focus never left would hear of nothing.
            root = subprocess.run(["xdotool", "search", "--maxdepth", "0", "--name", ""],
                                  capture_output=True, text=True).stdout.split()[:1]
            subprocess.run(["xdotool", "windowfocus", *root], check=False)
            subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False)
            return
    check(False, "no window to give the keyboard to: " + title)


def grade_file(disk):
    shown = subprocess.run([TOOL, "show", os.path.join(disk, SHEET_FILE)], check=True,
                           capture_output=True, text=True).stdout
    return json.loads(shown)


def find_app(process):
    def app():
        if process.poll() is not None:
            return "exited"
        for candidate in children(pyatspi.Registry.getDesktop(0)):
            try:
                if candidate.get_process_id() == process.pid:
                    return candidate
            except Exception:
                continue
        return None
    found = wait_for(app, "the program on the accessibility bus")
    if found == "exited":
        check(False, f"the program ended (status {process.returncode}) before reaching the bus")
        return None
    return found


def dialog_of(app):
    return next((w for w in top_windows(app) if w.getRoleName() in ("dialog", "alert")), None)


def main_window_and_about(app, process):
    """The about box shows once the main window has the keyboard."""
    main = window_named(app, "معاينة محتوى القرص المرن")
    focus(process, main.name)
    about = wait_for(lambda: dialog_of(app), "the about box")
    if about is not None:
        all_named(about, "the about box")
        press(find(about, "push button"))
        wait_for(lambda: dialog_of(app) is None, "the about box to close")
    focus(process, main.name)
    all_named(main, "the main window")
    focused.clear()
    keys("F10", "Down")
    item = wait_for(lambda: "معاينة المحتوى" in names(focused) or None, "the menu by F10")
    check(bool(item), "F10 opens the menus")
    keys("Escape", "Escape")
    return main


def open_with_enter(main):
    """Scans the disk, moves to the grade file in the list and opens it with Enter."""
    files = find(main, "tree")
    press(find(main, "push button", "معاينة المحتوى"))
    table = files.queryTable()
    line = wait_for(lambda: next((r + 1 for r in range(table.nRows) for c in range(table.nColumns)
                                  if table.getAccessibleAt(r, c) is not None
                                  and table.getAccessibleAt(r, c).name == SHEET_FILE), None),
                    "the grade file in the list")
    headers = {table.getColumnHeader(c).name for c in range(table.nColumns)
               if table.getColumnHeader(c) is not None}
    check(table.nColumns == 3 and headers == {"إسم الملف", "محتوى الملف", "الأعداد المرقونة"},
          "the file list is a table of three columns under their headers ("
          + ", ".join(sorted(headers)) + ")")
    if line is None:
        return
    typed = table.getAccessibleAt(line - 1, 2)
    check(typed is not None and re.fullmatch(r"\d+ / \d+", typed.name or ""),
          "the file's line reads how many grades are typed (" + (typed.name if typed else "") + ")")
    keys("Tab", "Tab", "Home", *["Down"] * (line - 1), "Return")


def grid_cells(sheet, expected):
    grid = find(sheet, "table", expected["description"])
    if not check(grid is not None, "the grade grid is a table named after the file"):
        return None
    table = grid.queryTable()
    exam_column = 5  # the sheet's column 6, the first exam
    for row in (0, 1, 2):
        pupil = expected["pupils"][row]
        cell = table.getAccessibleAt(row, exam_column)
        check(cell.name == pupil["6"], f"pupil {row + 1}: the cell says {pupil['6']!r} ({cell.name!r})")
        header = table.getColumnHeader(exam_column)
        check(header is not None and header.name == expected["headers"]["6"],
              f"pupil {row + 1}: the cell's exam is {expected['headers']['6']!r}")
        name = table.getRowHeader(row)
        check(name is not None and name.name == pupil["7"],
              f"pupil {row + 1}: the row is named {pupil['7']!r} ({name.name if name else None!r})")
    marked = next(c for c in range(table.nColumns) if table.getAccessibleAt(0, c).name == "معفى")
    check(table.getAccessibleAt(0, marked).description == "معفى", "a mark is said by its meaning")
    return grid


def refuse_then_correct(app, sheet, grid):
    table = grid.queryTable()
    # The first pupil's first exam: the grid's first shown column, then two to the right.
    keys("ctrl+Home", "Right", "Right", "2", "5", "Return")
    refused = wait_for(lambda: table.getAccessibleAt(0, 5).description == "مرفوض",
                       "the refused grade said to be refused")
    check(bool(refused), "a refused grade is said to be refused")
    said = wait_for(lambda: next((n for n in walk(sheet) if n.name.startswith("مرفوض")), None),
                    "the refusal announced")
    check(said is not None, "the refusal is announced on the status line")
    keys("BackSpace", "BackSpace", "1", "6", "Return")
    wait_for(lambda: table.getAccessibleAt(0, 5).name == "16.00", "the corrected grade")


def save_by_action(sheet, disk):
    press(find(sheet, "push button", "حفظ الأعداد (F4)"))
    saved = wait_for(lambda: grade_file(disk)["pupils"][0]["6"] == "16.00", "the grade in the file")
    check(bool(saved), "the save button pressed through its action writes the grade into the file")
    check(wait_for(lambda: find(sheet, "label", "تمّ حفظ الأعداد"), "the save announced") is not None,
          "the save is announced")


def observation_box(app, process, sheet, grid):
    keys("F9")
    box = window_named(app, "الملاحظات الخاصّة بالتلميذ")
    if not check(box is not None, "F9 opens the observations of the pupil under the cursor"):
        return
    all_named(box, "the observation box")
    edit = find(box, "text")
    check(edit is not None and edit.name == box.name, "the observation box is named by its pupil")
    press(find(box, "push button", "خروج"))
    wait_for(lambda: find(app, "dialog", box.name) is None, "the observation box to close")


def preview(app, process, sheet):
    focus(process, sheet.name)
    keys("F7")
    window = window_named(app, "معاينة", exact=True)
    if not check(window is not None, "F7 opens the preview"):
        return
    all_named(window, "the preview")
    check(window.getRoleName() == "frame", "the preview is a window")
    # Tab goes round the toolbar as well as the pages.
    focused.clear()
    keys(*["Tab"] * 8)
    toolbar = {"طباعة", "الصفحة كاملة", "الصفحة السابقة (Page Up)", "الصفحة التالية (Page Down)",
               "إنهاء"}
    reached = wait_for(lambda: toolbar <= set(names(focused)) or None, "the toolbar by Tab")
    check(bool(reached), "Tab reaches every button of the preview's toolbar (" +
          ", ".join(sorted(set(names(focused)) & toolbar)) + ")")
    check("" not in names(focused), "whatever Tab reaches in the preview has a name")
    press(find(window, "push button", "إنهاء"))


def grid_menu_dialog(app, process, sheet, item_name, what, chosen_by=None):
    """A dialog of the grid's menu, reached by Shift+F10 and named throughout. A dialog the
    program runs in a loop of its own is chosen and closed by keys (chosen_by, then Escape):
    an accessible action into that loop would not come back until the dialog closes."""
    focus(process, sheet.name)
    # A popup menu is no window of the program's: a screen reader follows the focus into it.
    focused.clear()
    keys("shift+F10", "Down")
    item = wait_for(lambda: next((n for f in focused if f.getRoleName() == "menu item"
                                  for n in children(f.parent) if n.name == item_name), None),
                    "the grid's menu")
    if not check(item is not None, "Shift+F10 opens the grid's menu"):
        return
    all_named(item.parent, "the grid's menu")
    if chosen_by:
        keys(*chosen_by)
    else:
        press(item)
    dialog = wait_for(lambda: dialog_of(app), what)
    if dialog is not None:
        all_named(dialog, what)
        if chosen_by:
            keys("Escape")
        else:
            press(next(n for n in walk(dialog) if n.getRoleName() == "push button"))


def kept_copies(app, main):
    press(next(n for n in walk(main) if n.getRoleName() == "menu item"
               and n.name == "استرجاع نسخة محفوظة..."))
    dialog = window_named(app, "استرجاع نسخة محفوظة")
    if dialog is not None:
        all_named(dialog, "the kept copies")
        press(find(dialog, "push button", "إغلاق"))


def save_question(app, process, sheet):
    """Quitting with unsaved grades asks: the question is named and answered No."""
    focus(process, sheet.name)
    keys("1", "2", "Return")
    focused.clear()
    keys("ctrl+Tab", "Tab")
    reached = wait_for(lambda: {"حفظ الأعداد (F4)", "خروج (F5)"} <= set(names(focused)) or None,
                       "the commands by Ctrl+Tab")
    check(bool(reached), "Ctrl+Tab takes the keyboard from the grid to the commands")
    press(find(sheet, "push button", "خروج (F5)"))
    question = wait_for(lambda: dialog_of(app), "the save question")
    if question is not None:
        all_named(question, "the save question")
        press(find(question, "push button", "لا"))


def run(disk, process):
    app = find_app(process)
    if app is None:
        return
    pyatspi.Registry.registerEventListener(remember_focus, "object:state-changed:focused")
    main = main_window_and_about(app, process)
    expected = grade_file(disk)
    open_with_enter(main)
    sheet = window_named(app, expected["description"])
    if not check(sheet is not None, "Enter opens the grade file chosen in the list"):
        return
    all_named(sheet, "the grade sheet")
    check(sheet.getRoleName() == "frame", "the grade sheet is a window")
    grid = grid_cells(sheet, expected)
    if grid is None:
        return
    # The observation box saves the sheet as it closes: the grades are typed after it.
    observation_box(app, process, sheet, grid)
    preview(app, process, sheet)
    grid_menu_dialog(app, process, sheet, "إحصائيات", "the statistics")
    focus(process, sheet.name)
    refuse_then_correct(app, sheet, grid)
    save_by_action(sheet, disk)
    # The import is the menu's last item: Up from the first goes round to it.
    grid_menu_dialog(app, process, sheet, "استيراد أعداد...", "the import",
                     chosen_by=["Up", "Return"])
    save_question(app, process, sheet)
    kept_copies(app, main)


def main():
    if not os.path.exists(PROGRAM):
        print("screen reader: SKIPPED: " + PROGRAM + " was not built")
        return 2
    try:
        press.bus = a11y_bus()
    except Exception as error:
        print(f"screen reader: SKIPPED: the accessibility bus did not start ({error})")
        return 2
    scratch = tempfile.mkdtemp(prefix="saisie-screen-reader-")
    disk = os.path.join(scratch, "disk")
    shutil.copytree(os.path.join(SOURCE, "examples", "floppy"), disk)
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                       XDG_DATA_HOME=os.path.join(scratch, "data"),
                       XDG_CONFIG_HOME=os.path.join(scratch, "config"))
    process = subprocess.Popen([PROGRAM, "--drive", disk], env=environment)
    try:
        run(disk, process)
    finally:
        process.kill()
        process.wait()
        shutil.rmtree(scratch, ignore_errors=True)
    print("screen reader: " + ("FAILED: " + str(len(failures)) if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
