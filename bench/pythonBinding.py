"""Benchmark of the Python binding (medians of repeated runs, page cache warm).

1. tarnview.read_mrc of a 4096 x 4096 float file against the C++ readMrc (target at
   most 1.05x) and against mrcfile.read + np.asarray (target at most 0.5x).
2. Two threads each reading and transforming a 2520 x 2520 image against one thread
   doing the same work alone (target: at least 1.7x the throughput).
"""

import statistics
import subprocess
import sys
import threading
import time
from pathlib import Path

import mrcfile
import numpy as np

import tarnview


def median_time(function, repetitions=7):
    times = []
    for _ in range(repetitions):
        start = time.perf_counter()
        function()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def make_file(path, side):
    data = np.random.default_rng(7).normal(size=(side, side)).astype(np.float32)
    with mrcfile.new(str(path), overwrite=True) as mrc:
        mrc.set_data(data)


def reading(work, reader_program):
    path = work / "read4096.mrc"
    make_file(path, 4096)
    tarnview.read_mrc(path)  # warm the page cache
    ours = median_time(lambda: tarnview.read_mrc(path))
    out = subprocess.run([reader_program, str(path), "7"], capture_output=True, text=True, check=True).stdout
    cpp = float(out.split()[1])
    peer = median_time(lambda: np.asarray(mrcfile.read(str(path))))
    print(f"read_mrc 4096^2: {ours * 1e3:.1f} ms, C++ readMrc {cpp * 1e3:.1f} ms, mrcfile {peer * 1e3:.1f} ms")
    print(f"ratio read_mrc / readMrc: {ours / cpp:.3f} (target <= 1.05)")
    print(f"ratio read_mrc / mrcfile.read + np.asarray: {ours / peer:.3f} (target <= 0.5)")


def threads(work):
    paths = [work / f"thread{i}.mrc" for i in range(2)]
    for p in paths:
        make_file(p, 2520)
    rounds = 4

    def job(path):
        for _ in range(rounds):
            tarnview.fft(tarnview.read_mrc(path))

    one = median_time(lambda: job(paths[0]), 3)

    def both():
        workers = [threading.Thread(target=job, args=(p,)) for p in paths]
        for w in workers:
            w.start()
        for w in workers:
            w.join()

    two = median_time(both, 3)
    print(f"read + fft 2520^2 x {rounds}: one thread {one:.3f} s, two threads (twice the work) {two:.3f} s")
    print(f"ratio two-thread / one-thread throughput: {2 * one / two:.2f} (target >= 1.7)")


if __name__ == "__main__":
    work = Path(sys.argv[1])
    reading(work, sys.argv[2])
    threads(work)
