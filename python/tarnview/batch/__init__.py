"""Quick-look pictures of a whole session at once, on Dask distributed.

For every input (MRC of any mode, a section or every section of a stack, IMAGIC,
ScansALot, other pictures) the batch writes a binned 8-bit thumbnail and the power
spectrum as PNG files, records size, mode, statistics, grey limits, picture names, time
and any error in ``summary.csv`` and ``summary.json``, and makes ``index.html``, a
contact sheet that opens from disk. It runs on a local cluster of worker processes (one
thread each) or joins an existing cluster; tasks carry paths, results are small records.

Nothing is lost and nothing done twice: pictures are written through temporary names,
the summary grows as results arrive, and a rerun skips items whose pictures are up to
date (same source size and modification time, section, options and tool version) and
retries those that failed. Bad data gives a failed record; an item that kills its worker
is retried as Dask allows and then recorded as failed; an item that hangs past the time
limit is recorded as failed.
"""

import contextlib
import dataclasses
import fcntl
import logging
import os
import sys
from pathlib import Path

import tarnview

from . import inputs, quicklook
from .contactsheet import write_contact_sheet
from .summary import Summary, item_id, read_records

__all__ = ["BatchResult", "BatchLocked", "run_batch"]

#: The size guard of the workers, in samples, unless asked otherwise.
DEFAULT_MAX_SAMPLES = 1 << 30

#: Seconds one item may take before it counts as hung.
DEFAULT_TIME_LIMIT = 600.0

#: Seconds to wait for an existing cluster's scheduler to answer.
CONNECT_TIMEOUT = 60

#: How many times Dask may start an item again after its worker died.
ALLOWED_FAILURES = 2


class BatchLocked(tarnview.Error):
    """Another batch is writing into the same output folder."""


@dataclasses.dataclass
class BatchResult:
    """What a batch did: every item's record, the counts, and the contact sheet's path."""

    records: list
    done: int
    failed: int
    skipped: int
    index: Path

    @property
    def ok(self):
        return self.failed == 0


@contextlib.contextmanager
def output_lock(out):
    """Holds the output folder's lock file; BatchLocked when another run holds it."""
    folder = out / ".tarnview-batch"
    folder.mkdir(parents=True, exist_ok=True)
    with open(folder / "lock", "w") as lock:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            raise BatchLocked(f"Another batch is writing into {out}") from None
        lock.write(f"{os.getpid()}\n")
        lock.flush()
        yield


@contextlib.contextmanager
def dask_client(workers, scheduler, scheduler_file):
    """A Dask client: of an existing cluster when an address or a scheduler file is
    given, else of a new local cluster of worker processes with one thread each and no
    dashboard."""
    import dask
    from distributed import Client, LocalCluster

    with dask.config.set({"distributed.scheduler.allowed-failures": ALLOWED_FAILURES}):
        if scheduler or scheduler_file:
            # A scheduler file that does not exist would be waited for without end.
            if scheduler_file and not os.path.isfile(scheduler_file):
                raise FileNotFoundError(f"No scheduler file {scheduler_file}")
            with Client(scheduler, scheduler_file=scheduler_file, timeout=CONNECT_TIMEOUT) as client:
                yield client
            return
        cluster = LocalCluster(n_workers=workers or os.cpu_count() or 1, threads_per_worker=1, processes=True,
                               dashboard_address=":0", silence_logs=logging.CRITICAL)
        with cluster, Client(cluster) as client:
            yield client


def is_up_to_date(record, item, out):
    """Whether an earlier record of item still describes its pictures."""
    if record is None or record.get("status") != "ok" or record.get("key") != item["key"]:
        return False
    return all(record.get(p) and (out / record[p]).is_file() for p in ("thumbnail", "spectrum"))


def died_record(item, error):
    """The record of an item whose task did not come back (its worker died, or it
    raised what no item should)."""
    from distributed import KilledWorker

    if isinstance(error, KilledWorker):
        text = "The worker died while processing this input (out of memory, or a crash)"
    else:
        text = f"{type(error).__name__}: {error}"
    record = {"path": item["path"], "section": item["section"], "format": item["format"], "key": item["key"]}
    record.update(item["source"], status="failed", error=text)
    return record


def remove_leftovers(out):
    """Removes temporary pictures that a killed worker left, and the hung marks."""
    for folder in (quicklook.THUMBNAILS, quicklook.SPECTRA):
        for leftover in (out / folder).glob(".*.tmp-*"):
            with contextlib.suppress(OSError):
                leftover.unlink()
    hung = out / quicklook.HUNG
    for mark in hung.glob("*") if hung.is_dir() else []:
        with contextlib.suppress(OSError):
            mark.unlink()


def run_items(client, items, options, summary, progress, on_result):
    """Submits items to the cluster and records their results as they arrive."""
    from distributed import as_completed

    futures = {}
    for item in items:
        future = client.submit(quicklook.process_item, item, options, pure=False,
                               key=f"tarnview-{item['name']}-{item['key'][:12]}")
        futures[future] = item
    for future in as_completed(futures):
        item = futures.pop(future)
        try:
            record = future.result()
        except Exception as error:  # the task itself failed: its worker died, mostly
            record = died_record(item, error)
        summary.add(record)
        progress(record)
        if on_result:
            on_result(record)


def run_batch(patterns, out, *, section=0, all_sections=False, contrast=("sigma", 3.0), binning=0, tile=512,
              workers=None, scheduler=None, scheduler_file=None, client=None, force=False, retry_failed=True,
              time_limit=DEFAULT_TIME_LIMIT, max_samples=DEFAULT_MAX_SAMPLES, quiet=True, on_result=None):
    """Makes the quick-look pictures, summary and contact sheet of the inputs that
    patterns (file names or globs) name, into the folder out.

    contrast is ("sigma", k) for mean +- k sigma, ("saturate", percent) for that
    percentage of samples black and white, or ("histogram", 0) for the default limits.
    binning 0 chooses the thumbnail's binning from the image size. client, an existing
    distributed.Client, is used instead of a new cluster. on_result is called with each
    record as it arrives. Returns a BatchResult; raises BatchLocked when another batch
    writes into out.
    """
    out = Path(out).absolute()
    options = {
        "out": str(out), "section": section, "all_sections": all_sections, "contrast": tuple(contrast),
        "bin": binning, "tile": tile, "time_limit": time_limit, "max_samples": max_samples,
    }
    with output_lock(out):
        for folder in (quicklook.THUMBNAILS, quicklook.SPECTRA):
            (out / folder).mkdir(exist_ok=True)
        remove_leftovers(out)
        items, refused = inputs.make_items(patterns, options)
        earlier = {} if force else read_records(out)
        pending = [i for i in items if not is_up_to_date(earlier.get(item_id(i)), i, out)]
        pending = [i for i in pending if retry_failed or earlier.get(item_id(i), {}).get("status") != "failed"]
        wanted = {item_id(i) for i in items} | {item_id(r) for r in refused}
        kept = {k: r for k, r in earlier.items() if k in wanted and k not in {item_id(i) for i in pending}}
        summary = Summary(out, kept)
        counts = {"done": 0, "failed": 0, "skipped": len(items) - len(pending)}
        bar = _progress_bar(len(items) + len(refused), counts, quiet)

        def progress(record):
            counts["done" if record["status"] == "ok" else "failed"] += 1
            bar.set_postfix(counts, refresh=False)
            bar.update(1)

        try:
            for record in refused:
                summary.add(record)
                progress(record)
            if pending:
                if client is not None:
                    run_items(client, pending, options, summary, progress, on_result)
                else:
                    with dask_client(workers, scheduler, scheduler_file) as own:
                        run_items(own, pending, options, summary, progress, on_result)
        finally:
            bar.close()
            summary.close()
            remove_leftovers(out)
            records = list(summary.records.values())
            index = write_contact_sheet(out, records)
    failed = sum(1 for r in records if r.get("status") != "ok")
    return BatchResult(records, counts["done"], failed, counts["skipped"], index)


def _progress_bar(total, counts, quiet):
    from tqdm import tqdm

    bar = tqdm(total=total, file=sys.stderr, disable=quiet, unit="item", dynamic_ncols=True, smoothing=0.1)
    bar.set_postfix(counts, refresh=False)
    bar.update(counts["skipped"])
    return bar
