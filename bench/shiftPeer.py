"""The peer of the shift benchmark: scikit-image's phase_cross_correlation with
upsample_factor 100 on the images benchShift wrote, timed and scored in the same way as
ours, then the table of times (medians) and accuracies side by side.

Usage: shiftPeer.py CASES_DIR OURS_JSON
"""
import json
import sys
import time

import numpy as np
from skimage.registration import phase_cross_correlation


def peer(reference, moved, normalization):
    # Returns the shift as (dx, dy): scikit-image gives (row, column).
    shift = phase_cross_correlation(reference, moved, upsample_factor=100,
                                    return_error=False, normalization=normalization)
    return shift[1], shift[0]


def median_time(reference, moved, normalization, repetitions=5, runs=3):
    """Medians over the repetitions of the wall and the processor time per pair."""
    wall, cpu = [], []
    for _ in range(repetitions):
        start, start_cpu = time.perf_counter(), time.process_time()
        for _ in range(runs):
            peer(reference, moved, normalization)
        wall.append((time.perf_counter() - start) / runs)
        cpu.append((time.process_time() - start_cpu) / runs)
    return float(np.median(wall)), float(np.median(cpu))


def errors(cases, name, normalization):
    moves = np.loadtxt(f"{cases}/{name}.txt")
    images = np.fromfile(f"{cases}/{name}.f32", dtype=np.float32).reshape(len(moves), 2, 130, 130)
    result = []
    for (reference, moved), (tx, ty) in zip(images, moves):
        dx, dy = peer(reference, moved, normalization)
        ex = np.remainder(dx + tx + 65, 130) - 65
        ey = np.remainder(dy + ty + 65, 130) - 65
        result.append(np.hypot(ex, ey))
    result = np.array(result)
    return np.sqrt(np.mean(result ** 2)), np.median(result)


def our_medians(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    return {r["run_name"]: (r["real_time"] / 1000.0, r["cpu_time"] / 1000.0) for r in runs
            if r.get("aggregate_name") == "median" and r.get("time_unit") == "ms"}


def main():
    cases, ours_json = sys.argv[1], sys.argv[2]
    timing = np.fromfile(f"{cases}/timing.f32", dtype=np.float32).reshape(2, 520, 520)
    peer_phase = median_time(timing[0], timing[1], "phase")
    peer_plain = median_time(timing[0], timing[1], None)
    ours = our_medians(ours_json)
    print("time per 520 x 520 pair, wall and processor (medians of 5 repetitions):")
    print("  %-40s %9.2f ms %9.2f ms" % ("peer phase_cross_correlation (phase)", peer_phase[0] * 1e3,
                                          peer_phase[1] * 1e3))
    print("  %-40s %9.2f ms %9.2f ms" % ("peer phase_cross_correlation (plain)", peer_plain[0] * 1e3,
                                          peer_plain[1] * 1e3))
    for name, peer_time in (("alignTranslation520", peer_phase), ("measureShift520/0", peer_plain),
                            ("measureShift520/1", peer_phase)):
        if name in ours:
            wall, cpu = ours[name]
            print("  %-40s %9.2f ms %9.2f ms   ratio ours/peer %.3f wall, %.3f processor"
                  % (name, wall * 1e3, cpu * 1e3, wall / peer_time[0], cpu / peer_time[1]))
    print("accuracy on 50 pairs of 130 x 130 blobs (error distance in pixels):")
    for name in ("clean", "snr1"):
        for label, normalization in (("peer phase", "phase"), ("peer plain", None)):
            rms, median = errors(cases, name, normalization)
            print("  %-6s %-18s rms %.5f, median %.5f" % (name, label, rms, median))
        with open(f"{cases}/ours.txt") as f:
            for line in f:
                set_name, method, rms, median = line.split()
                if set_name == name:
                    print("  %-6s %-18s rms %s, median %s" % (name, method, rms, median))


if __name__ == "__main__":
    main()
