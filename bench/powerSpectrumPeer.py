"""The peer of the power-spectrum benchmark: the same steps in numpy on the image
benchPowerSpectrum wrote (4096 x 4096 floats), timed as ours is (median of 5
repetitions), then the ratio ours / peer.

The steps: square tiles at starts spread evenly over each side, no further apart than
half a tile; each tile's mean removed and a Hann window sin^2(pi (i + 1/2) / n) applied;
numpy.fft.rfft2; |F|^2 summed in double and divided by the tile count and the window's
sum of squares; the logarithm; the radial profile of the log-power in 200 bins of
0.6 (tile + 2) / 200, smoothed over 3 bins either side and subtracted; centred.

Usage: powerSpectrumPeer.py IMAGE_F32 OURS_JSON
"""
import json
import sys
import time

import numpy as np


def tile_starts(n, tile, overlap=0.5):
    if n <= tile:
        return [0]
    step = max(1, int(np.floor(tile * (1 - overlap))))
    span = n - tile
    count = (span + step - 1) // step + 1
    return [(span * k + (count - 1) // 2) // (count - 1) for k in range(count)]


def power_spectrum(image, tile, smooth=3):
    ny, nx = image.shape
    w = np.sin(np.pi * (np.arange(tile) + 0.5) / tile) ** 2
    window = np.outer(w, w)
    power = np.zeros((tile, tile // 2 + 1))
    tiles = 0
    for y0 in tile_starts(ny, tile):
        for x0 in tile_starts(nx, tile):
            t = image[y0:y0 + tile, x0:x0 + tile]
            f = np.fft.rfft2((t - t.mean()) * window)
            power += f.real ** 2 + f.imag ** 2
            tiles += 1
    power /= tiles * np.sum(window ** 2)
    power[0, 0] = power[0, 1]
    log_power = np.log(np.maximum(power, power.max() * 1e-30))
    # The full plane from the half plane by conjugate symmetry, centred.
    columns = np.arange(tile)
    mirror = columns > tile // 2
    full = np.empty((tile, tile))
    full[:, ~mirror] = log_power
    full[:, mirror] = log_power[(-np.arange(tile)) % tile][:, tile - columns[mirror]]
    full = np.fft.fftshift(full)
    v, u = np.indices((tile, tile)) - tile // 2
    radius = np.hypot(u, v)
    step = 0.6 * (tile + 2) / 200
    bins = np.minimum((radius / step).astype(int), 199)
    profile = np.bincount(bins.ravel(), full.ravel(), 200) / np.maximum(np.bincount(bins.ravel(), None, 200), 1)
    kernel = np.ones(2 * smooth + 1)
    background = np.convolve(profile, kernel, "same") / np.convolve(np.ones(200), kernel, "same")
    result = full - np.interp(radius / step, np.arange(200), background)
    result[tile // 2, tile // 2] = 0
    return result.astype(np.float32)


def median_time(image, tile, repetitions=5):
    """Medians over the repetitions of the wall and the processor time."""
    wall, cpu = [], []
    for _ in range(repetitions):
        start, start_cpu = time.perf_counter(), time.process_time()
        power_spectrum(image, tile)
        wall.append(time.perf_counter() - start)
        cpu.append(time.process_time() - start_cpu)
    return float(np.median(wall)), float(np.median(cpu))


def our_median(path, name):
    """Our medians, wall and processor, in seconds."""
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    for r in runs:
        if r["run_name"] == name and r.get("aggregate_name") == "median":
            return r["real_time"] / 1000.0, r["cpu_time"] / 1000.0
    return float("nan"), float("nan")


def main():
    image = np.fromfile(sys.argv[1], dtype=np.float32).reshape(4096, 4096)
    ours = our_median(sys.argv[2], "powerSpectrum4096")
    peer512 = median_time(image, 512)
    peer504 = median_time(image, 504)
    print("power spectrum of 4096 x 4096, 50 % overlap (medians of 5), wall and processor:")
    for label, t in (("peer numpy, tiles of 512 (225 tiles)", peer512),
                     ("peer numpy, tiles of 504 (256 tiles)", peer504),
                     ("ours, tiles of 504 (256 tiles)", ours)):
        print("  %-38s %8.1f ms %8.1f ms" % (label, t[0] * 1e3, t[1] * 1e3))
    for label, peer in (("512", peer512), ("504", peer504)):
        print("  ratio ours / peer at %s: %.3f wall, %.3f processor"
              % (label, ours[0] / peer[0], ours[1] / peer[1]))


if __name__ == "__main__":
    main()
