#!/usr/bin/python3
"""Replays cell entries and range operations on a new sheet of a free
spreadsheet program (through its Python bridge) and prints the values of a
block, so a test can compare them with this program's.

Usage: range_ops_peer.py OPERATIONS PROFILE_DIR

OPERATIONS holds one tab-separated operation per line:
  SET cell text        a number, or a formula starting with "="
  COPY range cell      copy the range to the cell (its top-left corner)
  MOVE range cell      move the range there
  INSROWS row count    insert rows before row (1-based); DELROWS deletes them
  INSCOLS col count    the same for columns (1-based)
  DUMP range           print "cell<TAB>value" for every cell of the range:
                       "" for empty, the number (%.15g), "'" and the text,
                       or "ERR"
Exit code 0 on success, 2 when the program or its bridge cannot be had.
"""
import os
import subprocess
import sys
import time

try:
    import uno
    from com.sun.star.beans import PropertyValue
except ImportError:
    print("the Python bridge (python3-uno) is not installed", file=sys.stderr)
    sys.exit(2)

FORMULA_RESULT_STRING = 2


def connect(pipe, proc):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(480):
        if proc.poll() is not None:
            return None
        try:
            return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except Exception:
            time.sleep(0.25)
    return None


def value_text(cell):
    kind = cell.getType().value
    if kind == "EMPTY":
        return ""
    if kind == "FORMULA":
        if cell.getError() != 0:
            return "ERR"
        if cell.FormulaResultType2 == FORMULA_RESULT_STRING:
            return "'" + cell.getString()
        return "%.15g" % cell.getValue()
    if kind == "TEXT":
        return "'" + cell.getString()
    return "%.15g" % cell.getValue()


def replay(sheet, doc, lines):
    for line in lines:
        parts = line.rstrip("\n").split("\t")
        op = parts[0]
        if op == "SET":
            cell = sheet.getCellRangeByName(parts[1])
            if parts[2].startswith("="):
                cell.setFormula(parts[2])
            else:
                cell.setValue(float(parts[2]))
        elif op in ("COPY", "MOVE"):
            source = sheet.getCellRangeByName(parts[1]).getRangeAddress()
            target = sheet.getCellRangeByName(parts[2]).getCellAddress()
            (sheet.copyRange if op == "COPY" else sheet.moveRange)(target, source)
        elif op in ("INSROWS", "DELROWS", "INSCOLS", "DELCOLS"):
            lines_of = sheet.getRows() if "ROWS" in op else sheet.getColumns()
            at, count = int(parts[1]) - 1, int(parts[2])
            (lines_of.insertByIndex if op.startswith("INS") else lines_of.removeByIndex)(at, count)
        elif op == "DUMP":
            doc.calculateAll()
            block = sheet.getCellRangeByName(parts[1]).getRangeAddress()
            for row in range(block.StartRow, block.EndRow + 1):
                for col in range(block.StartColumn, block.EndColumn + 1):
                    cell = sheet.getCellByPosition(col, row)
                    print("%s\t%s" % (cell.AbsoluteName.split(".")[-1].replace("$", ""), value_text(cell)))


def main():
    operations, profile = sys.argv[1], sys.argv[2]
    pipe = "corvane_peer_%d" % os.getpid()
    proc = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--nologo", "--norestore", "--nodefault",
         "-env:UserInstallation=file://" + profile, "--accept=pipe,name=%s;urp;" % pipe],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        ctx = connect(pipe, proc)
        if ctx is None:
            print("the spreadsheet program did not start", file=sys.stderr)
            return 2
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        hidden = PropertyValue()
        hidden.Name, hidden.Value = "Hidden", True
        doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (hidden,))
        with open(operations) as ops:
            replay(doc.getSheets().getByIndex(0), doc, ops.readlines())
        doc.close(True)
        try:
            desktop.terminate()
        except Exception:
            pass  # the bridge goes down with the program
        return 0
    finally:
        try:
            proc.wait(timeout=30)
        except subprocess.TimeoutExpired:
            proc.kill()


if __name__ == "__main__":
    sys.exit(main())
