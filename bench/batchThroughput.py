"""Throughput of the batch tool (thumbnail + power spectrum per micrograph).

On BATCH_FILES (default 64) synthetic 4096 x 4096 float micrographs, in one run:
- tarnview.batch with two local workers against GNU parallel -j2 running the converter
  twice per file (-bin 8 and -psd), target at least 0.9x its throughput;
- against a multiprocessing pool of two processes doing the same steps with mrcfile,
  numpy and Pillow, target at least 3x;
- two workers against one, target at least 1.8x;
and the peak resident memory of a worker.
"""

import multiprocessing
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

import mrcfile
import numpy as np
from PIL import Image

from tarnview.batch import run_batch

SIDE = 4096
TILE = 512


def make_inputs(folder, count):
    folder.mkdir(parents=True, exist_ok=True)
    rng = np.random.default_rng(3)
    for i in range(count):
        path = folder / f"mic{i:03d}.mrc"
        if not path.exists():
            with mrcfile.new(str(path)) as mrc:
                mrc.set_data(rng.normal(size=(SIDE, SIDE)).astype(np.float32))
    return sorted(folder.glob("mic*.mrc"))


def timed(function):
    start = time.perf_counter()
    function()
    return time.perf_counter() - start


def batch(paths, out, workers, client=None):
    shutil.rmtree(out, ignore_errors=True)
    result = run_batch([str(p) for p in paths], out, workers=workers, client=client, binning=8, tile=TILE,
                       quiet=True)
    assert result.failed == 0, [r["error"] for r in result.records if r["error"]]
    return max(r["worker_peak_mib"] for r in result.records)


def parallel(paths, out, converter):
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    jobs = "".join(f"{converter} -mrc -bin 8 -sigma 3 {p} {out}/{p.stem}.pgm\n"
                   f"{converter} -mrc -psd -sigma 3 {p} {out}/{p.stem}-psd.pgm\n" for p in paths)
    subprocess.run(["parallel", "-j2"], input=jobs, text=True, check=True, stdout=subprocess.DEVNULL)


def numpy_spectrum(image):
    window = np.outer(np.hanning(TILE), np.hanning(TILE)).astype(np.float32)
    step = TILE // 2
    total = np.zeros((TILE, TILE // 2 + 1))
    count = 0
    for y in range(0, image.shape[0] - TILE + 1, step):
        for x in range(0, image.shape[1] - TILE + 1, step):
            tile = image[y:y + TILE, x:x + TILE]
            total += np.abs(np.fft.rfft2((tile - tile.mean()) * window)) ** 2
            count += 1
    half = total / count
    full = np.empty((TILE, TILE))
    full[:, : TILE // 2 + 1] = half
    rows = (-np.arange(TILE)) % TILE
    full[:, TILE // 2 + 1 :] = half[rows][:, TILE - np.arange(TILE // 2 + 1, TILE)]  # Hermitian symmetry
    full = np.fft.fftshift(np.log(full + 1e-30))
    radius = np.hypot(*np.meshgrid(np.arange(TILE) - TILE // 2, np.arange(TILE) - TILE // 2)).astype(int)
    profile = np.bincount(radius.ravel(), full.ravel()) / np.maximum(np.bincount(radius.ravel()), 1)
    smooth = np.convolve(profile, np.ones(5) / 5, mode="same")
    return full - smooth[radius]


def to_png(values, path):
    low, high = values.mean() - 3 * values.std(), values.mean() + 3 * values.std()
    grey = np.clip((values - low) * (255.0 / max(high - low, 1e-30)), 0, 255).astype(np.uint8)
    Image.fromarray(grey[::-1]).save(path)


def numpy_item(arguments):
    path, out = arguments
    image = mrcfile.read(str(path)).astype(np.float32)
    binned = image.reshape(SIDE // 8, 8, SIDE // 8, 8).mean(axis=(1, 3))
    to_png(binned, out / f"{path.stem}.png")
    to_png(numpy_spectrum(image), out / f"{path.stem}-psd.png")


def numpy_pool(paths, out):
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    with multiprocessing.Pool(2) as pool:
        pool.map(numpy_item, [(p, out) for p in paths])


def on_cluster(workers, paths, out):
    """The batch's time on a local cluster started beforehand: its throughput, without
    the few seconds a cluster takes to start (nothing beside 20,000 files)."""
    import logging

    from distributed import Client, LocalCluster

    with LocalCluster(n_workers=workers, threads_per_worker=1, dashboard_address=":0",
                      silence_logs=logging.CRITICAL) as cluster, Client(cluster) as client:
        peak = []
        seconds = timed(lambda: peak.append(batch(paths, out, workers, client)))
    return seconds, peak[0]


def main():
    work, converter = Path(sys.argv[1]), sys.argv[2]
    count = int(os.environ.get("BATCH_FILES", "64"))
    paths = make_inputs(work / "inputs", count)[:count]
    for p in paths:  # a warm page cache for every contender
        p.read_bytes()
    whole = timed(lambda: batch(paths, work / "batchWhole", 2))
    two, peak = on_cluster(2, paths, work / "batch2")
    one, _ = on_cluster(1, paths, work / "batch1")
    # The pool is slow: its throughput is taken on a quarter of the files.
    few = paths[: max(2, count // 4)]
    numpy_rate = len(few) / timed(lambda: numpy_pool(few, work / "numpy"))
    rate = count / two
    print(f"{count} micrographs {SIDE}^2: batch 2 workers {two:.1f} s ({whole:.1f} s with the cluster's start), "
          f"1 worker {one:.1f} s; numpy pool {numpy_rate:.2f} files/s on {len(few)} files")
    if shutil.which("parallel"):
        parallel_time = timed(lambda: parallel(paths, work / "parallel", converter))
        print(f"GNU parallel -j2, converter -bin 8 and -psd: {parallel_time:.1f} s")
        print(f"ratio batch / parallel throughput: {parallel_time / two:.2f} "
              f"({parallel_time / whole:.2f} with the cluster's start; target >= 0.9)")
    else:
        print("GNU parallel not installed: that comparison skipped")
    print(f"ratio batch / numpy pool throughput: {rate / numpy_rate:.2f} (target >= 3)")
    print(f"ratio two workers / one: {one / two:.2f} (target >= 1.8)")
    print(f"peak memory per worker: {peak:.0f} MiB")


if __name__ == "__main__":
    main()
