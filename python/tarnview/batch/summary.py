"""The batch's summary files, written by the client alone: ``summary.csv`` gets a row as
each result arrives, so that an interrupted batch keeps what it finished, and
``summary.json`` (the same records as a JSON list) is rewritten whole, through a temporary
name, as results arrive and at the end. A rerun reads the records back to skip items
whose pictures are up to date.
"""

import csv
import json
import math
import os
import time
from pathlib import Path

#: The columns of summary.csv, in order; summary.json has the same keys.
COLUMNS = [
    "path", "section", "format", "status", "error", "nx", "ny", "mode", "min", "max", "mean", "sigma",
    "grey_low", "grey_high", "binning", "thumbnail", "spectrum", "seconds", "worker_peak_mib",
    "size", "mtime_ns", "key",
]

# Columns read back as numbers from summary.csv.
_INTEGERS = {"section", "nx", "ny", "mode", "binning", "size", "mtime_ns"}
_FLOATS = {"min", "max", "mean", "sigma", "grey_low", "grey_high", "seconds", "worker_peak_mib"}

# How often summary.json is rewritten while results arrive, in seconds.
JSON_INTERVAL = 2.0


def item_id(record):
    """What identifies an item across runs: its source and section."""
    return (record["path"], int(record["section"]))


def _parsed(row):
    record = {}
    for column in COLUMNS:
        text = row.get(column, "")
        if text == "":
            record[column] = None
        elif column in _INTEGERS:
            record[column] = int(text)
        elif column in _FLOATS:
            record[column] = float(text)
        else:
            record[column] = text
    return record


def read_records(out):
    """The latest record of each item from an earlier run's summary.csv (rows cut short
    by an interruption are passed over)."""
    path = Path(out) / "summary.csv"
    records = {}
    if not path.exists():
        return records
    with open(path, newline="") as stream:
        for row in csv.DictReader(stream):
            if None in row or any(row.get(c) is None for c in COLUMNS):
                continue  # a row cut short, or one with extra fields
            try:
                record = _parsed(row)
                records[item_id(record)] = record
            except (ValueError, TypeError):
                continue
    return records


def _finite(value):
    """JSON has no NaN or infinity: such statistics are written as null."""
    if isinstance(value, float) and not math.isfinite(value):
        return None
    return value


def _replace(path, write):
    """Writes a file through a temporary name in its folder."""
    temporary = path.with_name(f".{path.name}.tmp-{os.getpid()}")
    with open(temporary, "w", newline="") as stream:
        write(stream)
        stream.flush()
        os.fsync(stream.fileno())
    os.replace(temporary, path)


class Summary:
    """The summary files of one batch: the records of earlier runs that stay, and the new
    ones as they arrive."""

    def __init__(self, out, kept):
        self.out = Path(out)
        self.records = dict(kept)
        self.json_written = 0.0
        # Start summary.csv again from the kept records, one row per item.
        _replace(self.out / "summary.csv", self._write_csv)
        self.csv = open(self.out / "summary.csv", "a", newline="")
        self.writer = csv.DictWriter(self.csv, COLUMNS, extrasaction="ignore")
        self.write_json()

    def _write_csv(self, stream):
        writer = csv.DictWriter(stream, COLUMNS, extrasaction="ignore")
        writer.writeheader()
        for record in self.records.values():
            writer.writerow(record)

    def add(self, record):
        """Records one result: a row of summary.csv at once, summary.json now and then."""
        self.records[item_id(record)] = record
        self.writer.writerow(record)
        self.csv.flush()
        if time.monotonic() - self.json_written >= JSON_INTERVAL:
            self.write_json()

    def write_json(self):
        records = [{c: _finite(r.get(c)) for c in COLUMNS} for r in self.records.values()]
        _replace(self.out / "summary.json", lambda s: json.dump(records, s, indent=1))
        self.json_written = time.monotonic()

    def close(self):
        """Writes both files whole, one row per item, and closes them."""
        self.csv.close()
        _replace(self.out / "summary.csv", self._write_csv)
        self.write_json()
