"""The batch's contact sheet: ``index.html``, a page of thumbnails, spectra and statistics
that opens from disk in any browser without a server. Its rows are in a script file of
their own (``index-data.js``), since a page opened from disk cannot fetch data; the page
shows them a page at a time, loads the pictures lazily, sorts by any column and filters
by text, so that it stays usable with tens of thousands of rows.
"""

import json
import math
import os
from pathlib import Path

# The columns the sheet shows, with their headings.
SHOWN = [
    ("path", "Path"), ("section", "Sec"), ("status", "Status"), ("nx", "nx"), ("ny", "ny"), ("mode", "Mode"),
    ("min", "Min"), ("max", "Max"), ("mean", "Mean"), ("sigma", "Sigma"), ("grey_low", "Low"),
    ("grey_high", "High"), ("seconds", "Time s"), ("error", "Error"),
]

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>tarnview batch</title>
<style>
body { font: 13px sans-serif; margin: 1em; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: 2px 4px; vertical-align: top; }
th { cursor: pointer; background: #eee; position: sticky; top: 0; }
td img { width: 160px; height: 160px; object-fit: contain; background: #000; display: block; }
tr.failed { background: #fdd; }
#bar { margin: 0.5em 0; }
</style>
<script src="index-data.js"></script>
</head>
<body>
<h1>tarnview batch</h1>
<div id="bar">
<input id="filter" placeholder="filter rows" size="30">
<button id="previous">&lt;</button> <span id="where"></span> <button id="next">&gt;</button>
<span id="counts"></span>
</div>
<table><thead><tr id="heads"><th>Thumbnail</th><th>Spectrum</th></tr></thead><tbody id="rows"></tbody></table>
<script>
(function () {
  var data = window.TARNVIEW_BATCH || {columns: [], rows: []};
  var perPage = 100, page = 0, key = null, ascending = true, shown = data.rows.slice();
  var heads = document.getElementById("heads"), body = document.getElementById("rows");
  data.columns.forEach(function (c) {
    var th = document.createElement("th");
    th.textContent = c[1];
    th.onclick = function () { ascending = key === c[0] ? !ascending : true; key = c[0]; sort(); draw(); };
    heads.appendChild(th);
  });
  function compare(a, b) {
    var x = a[key], y = b[key];
    if (x === y) return 0;
    if (x === null || x === undefined) return 1;
    if (y === null || y === undefined) return -1;
    return (x < y ? -1 : 1) * (ascending ? 1 : -1);
  }
  function sort() { if (key) shown.sort(compare); }
  function picture(name) {
    var td = document.createElement("td");
    if (name) { var img = document.createElement("img"); img.loading = "lazy"; img.src = name; td.appendChild(img); }
    return td;
  }
  function draw() {
    var pages = Math.max(1, Math.ceil(shown.length / perPage));
    page = Math.min(page, pages - 1);
    body.textContent = "";
    shown.slice(page * perPage, (page + 1) * perPage).forEach(function (r) {
      var tr = document.createElement("tr");
      if (r.status !== "ok") tr.className = "failed";
      tr.appendChild(picture(r.thumbnail));
      tr.appendChild(picture(r.spectrum));
      data.columns.forEach(function (c) {
        var td = document.createElement("td"), v = r[c[0]];
        td.textContent = v === null || v === undefined ? "" : (typeof v === "number" && !Number.isInteger(v) ? v.toPrecision(5) : v);
        tr.appendChild(td);
      });
      body.appendChild(tr);
    });
    document.getElementById("where").textContent = "page " + (page + 1) + " of " + pages;
    document.getElementById("counts").textContent = shown.length + " of " + data.rows.length + " rows";
  }
  document.getElementById("previous").onclick = function () { if (page > 0) { page--; draw(); } };
  document.getElementById("next").onclick = function () { page++; draw(); };
  document.getElementById("filter").oninput = function () {
    var text = this.value.toLowerCase();
    shown = data.rows.filter(function (r) {
      return !text || data.columns.some(function (c) { return String(r[c[0]]).toLowerCase().indexOf(text) >= 0; });
    });
    sort(); page = 0; draw();
  };
  draw();
})();
</script>
</body>
</html>
"""


def _cell(value):
    if isinstance(value, float) and not math.isfinite(value):
        return None
    return value


def write_contact_sheet(out, records):
    """Writes index.html and index-data.js for records into the folder out; returns the
    page's path."""
    out = Path(out)
    rows = []
    for record in records:
        row = {key: _cell(record.get(key)) for key, _ in SHOWN}
        for picture in ("thumbnail", "spectrum"):
            name = record.get(picture) if record.get("status") == "ok" else None
            row[picture] = name
        rows.append(row)
    data = {"columns": SHOWN, "rows": rows}
    script = "window.TARNVIEW_BATCH = " + json.dumps(data, separators=(",", ":")) + ";\n"
    for name, text in (("index-data.js", script), ("index.html", PAGE)):
        temporary = out / f".{name}.tmp-{os.getpid()}"
        temporary.write_text(text, encoding="utf-8")
        os.replace(temporary, out / name)
    return out / "index.html"
