"""Contrast rules and binning against numpy on the same samples."""

import numpy as np
import pytest

import tarnview


def test_rules_and_binning_match_numpy(rng):
    data = rng.gamma(2.0, size=(150, 230)).astype(np.float32)  # skewed, as micrographs are
    image = tarnview.Image.from_array(data)
    limits = tarnview.percentile_grey_limits(image, 2.0)
    ordered = np.sort(data, axis=None)
    bin_width = (data.max() - data.min()) / 65536
    for limit, q in zip(limits, (0.02, 0.98)):
        # Within a bin of numpy's percentile, or of the order statistics next to it.
        k = q * (ordered.size - 1)
        near = ordered[int(np.floor(k)) - 1], ordered[int(np.ceil(k)) + 1]
        assert near[0] - bin_width <= limit <= near[1] + bin_width
        assert abs(limit - np.percentile(data, 100 * q)) <= bin_width + (near[1] - near[0])
    low, high = tarnview.sigma_grey_limits(image, 3.0)
    assert low == pytest.approx(image.mean - 3 * image.sigma) and high == pytest.approx(image.mean + 3 * image.sigma)
    binned = tarnview.bin_image(image, 4).data
    reference = data[:148, :228].astype(np.float64).reshape(37, 4, 57, 4).mean(axis=(1, 3))
    np.testing.assert_allclose(binned, reference, rtol=1e-6)


def test_power_spectrum_of_a_non_square_image(rng):
    spectrum = tarnview.power_spectrum(tarnview.Image.from_array(rng.normal(size=(300, 700))), 128)
    assert spectrum.data.shape == (tarnview.power_spectrum_tile(128),) * 2
    with pytest.raises(tarnview.ArgumentError):
        tarnview.power_spectrum(tarnview.fft(tarnview.Image.from_array(np.ones((8, 8)))))
