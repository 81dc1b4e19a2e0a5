"""The batch tool on a two-worker local cluster: formats, a corrupt file, reruns, a worker
killed mid-batch, and the contact sheet."""

import csv
import html.parser
import json
import os
import signal

import numpy as np
import pytest

import tarnview
from tarnview.batch import run_batch

distributed = pytest.importorskip("distributed")
mrcfile = pytest.importorskip("mrcfile")
PILImage = pytest.importorskip("PIL.Image")


@pytest.fixture(scope="module")
def client():
    cluster = distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=":0",
                                       silence_logs=50)
    with cluster, distributed.Client(cluster) as c:
        yield c


def micrograph(rng, ny=200, nx=300):
    return rng.normal(size=(ny, nx)).astype(np.float32)


@pytest.fixture
def inputs(tmp_path, rng):
    folder = tmp_path / "in"
    folder.mkdir()
    with mrcfile.new(str(folder / "a.mrc")) as m:
        m.set_data(micrograph(rng))
    with mrcfile.new(str(folder / "stack.mrcs")) as m:
        m.set_data((rng.integers(0, 1000, size=(3, 128, 160))).astype(np.int16))
    tarnview.write_imagic(tarnview.Image.from_array(micrograph(rng, 96, 96)), folder / "particles.hed")
    pgm = (rng.integers(0, 256, size=(90, 120))).astype(np.uint8)
    (folder / "scan.pgm").write_bytes(b"P5\n120 90\n255\n" + pgm.tobytes())
    header = np.zeros(256, dtype="<i4")
    header[:4] = (64, 64, 1, 9)  # no such mode
    (folder / "corrupt.mrc").write_bytes(header.tobytes() + bytes(64 * 64 * 4))
    os.mkfifo(folder / "pipe.mrc")
    return folder


def summary_rows(out):
    with open(out / "summary.csv", newline="") as stream:
        return list(csv.DictReader(stream))


def check_outputs(out, records):
    """Every good record's pictures decode, and no temporary file is left."""
    for record in records:
        if record["status"] == "ok":
            for picture in ("thumbnail", "spectrum"):
                with PILImage.open(out / record[picture]) as png:
                    png.load()
    leftovers = [p for p in out.rglob("*") if ".tmp-" in p.name]
    assert leftovers == []


def test_batch_records_every_input_and_reruns_only_what_changed(client, inputs, tmp_path):
    out = tmp_path / "out"
    patterns = [str(inputs / "*.mrc*"), str(inputs / "particles.hed"), str(inputs / "scan.pgm")]
    first = run_batch(patterns, out, all_sections=True, client=client)
    by_name = {(os.path.basename(r["path"]), r["section"]): r for r in first.records}
    assert sorted(by_name) == [("a.mrc", 0), ("corrupt.mrc", 0), ("particles.hed", 0), ("pipe.mrc", 0),
                               ("scan.pgm", 0), ("stack.mrcs", 0), ("stack.mrcs", 1), ("stack.mrcs", 2)]
    assert by_name[("corrupt.mrc", 0)]["error"] == "Bad MRC file"
    assert "not a regular file" in by_name[("pipe.mrc", 0)]["error"]
    assert [r["status"] for k, r in sorted(by_name.items()) if k[0] not in ("corrupt.mrc", "pipe.mrc")] == ["ok"] * 6
    assert by_name[("stack.mrcs", 1)]["mode"] == 1 and by_name[("a.mrc", 0)]["nx"] == 300
    assert (first.done, first.failed, first.skipped) == (6, 2, 0)
    assert len(summary_rows(out)) == 8 and len(json.loads((out / "summary.json").read_text())) == 8
    check_outputs(out, first.records)

    again = run_batch(patterns, out, all_sections=True, client=client)
    assert (again.done, again.skipped) == (0, 6)  # the two failures are tried again
    assert len(summary_rows(out)) == 8

    stamps = {r["thumbnail"]: os.stat(out / r["thumbnail"]).st_mtime_ns for r in first.records if r["status"] == "ok"}
    other_rule = run_batch(patterns, out, all_sections=True, client=client, contrast=("saturate", 1.0))
    assert (other_rule.done, other_rule.skipped) == (6, 0)
    assert all(os.stat(out / name).st_mtime_ns > stamp for name, stamp in stamps.items())


def test_killed_worker_loses_nothing(client, tmp_path, rng):
    folder = tmp_path / "many"
    folder.mkdir()
    for i in range(12):
        with mrcfile.new(str(folder / f"m{i:02d}.mrc")) as m:
            m.set_data(micrograph(rng, 1024, 1024))
    out = tmp_path / "out"
    pids = list(client.run(os.getpid).values())
    killed = []

    def kill_one(record):
        if not killed:
            os.kill(pids[0], signal.SIGKILL)
            killed.append(pids[0])

    result = run_batch([str(folder / "*.mrc")], out, client=client, on_result=kill_one)
    assert killed and result.failed == 0 and result.done == 12
    rows = summary_rows(out)
    assert sorted(os.path.basename(r["path"]) for r in rows) == [f"m{i:02d}.mrc" for i in range(12)]
    check_outputs(out, result.records)


class _Sheet(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.scripts = []

    def handle_starttag(self, tag, attributes):
        if tag == "script" and dict(attributes).get("src"):
            self.scripts.append(dict(attributes)["src"])


def test_contact_sheet_names_only_existing_pictures(client, inputs, tmp_path):
    out = tmp_path / "out"
    run_batch([str(inputs / "a.mrc"), str(inputs / "corrupt.mrc")], out, client=client)
    sheet = _Sheet()
    sheet.feed((out / "index.html").read_text())
    assert sheet.scripts == ["index-data.js"]
    script = (out / "index-data.js").read_text()
    data = json.loads(script[script.index("=") + 1 : script.rindex(";")])
    assert len(data["rows"]) == 2
    names = [r[p] for r in data["rows"] for p in ("thumbnail", "spectrum") if r[p]]
    assert len(names) == 2 and all((out / n).is_file() for n in names)


def test_command_line_statuses(inputs, tmp_path, capsys):
    from tarnview.batch.__main__ import main

    with pytest.raises(SystemExit) as usage:
        main(["--tile", "3", "-o", str(tmp_path / "o"), "x.mrc"])
    assert usage.value.code == 2
    out = tmp_path / "cli"
    assert main(["-q", "--workers", "1", "-o", str(out), str(inputs / "corrupt.mrc")]) == 1
    assert "0 done, 1 failed, 0 skipped" in capsys.readouterr().out
