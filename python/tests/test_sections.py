"""Sections of stacks and volumes in every mode, read against mrcfile, and the size guard."""

import gzip
import shutil

import numpy as np
import pytest

import tarnview

mrcfile = pytest.importorskip("mrcfile")

SHAPE = (6, 10)


def samples(rng, dtype, nz):
    shape = (nz,) + SHAPE
    if dtype == "c8":
        return (rng.normal(size=shape) + 1j * rng.normal(size=shape)).astype(np.complex64)
    if dtype in ("f4", "f2"):
        return rng.normal(size=shape).astype(dtype)
    # Modes 0 and 1 read as unsigned here: values both readers read alike.
    return rng.integers(0, np.iinfo(dtype).max, size=shape).astype(dtype)


def as_read_here(expected, dtype):
    """What this library makes of a section mrcfile read."""
    if dtype == "c8":
        pairs = np.empty(SHAPE + (2,), dtype=np.float32)
        pairs[..., 0] = np.abs(expected.astype(np.complex128)) / (2 * SHAPE[1]) * SHAPE[0]
        pairs[..., 1] = np.angle(expected)
        return pairs.reshape(SHAPE[0], 2 * SHAPE[1])
    if dtype == "i1":
        return expected / np.float32(100)
    return expected.astype(np.float32)


@pytest.mark.parametrize("nz", [1, 3, 5])
@pytest.mark.parametrize("dtype", ["i1", "i2", "f4", "c8", "u2", "f2"])
def test_every_section_reads_as_mrcfile_reads_it(tmp_path, rng, dtype, nz):
    path = tmp_path / ("s.mrcs" if nz == 5 else "v.mrc")
    with mrcfile.new(str(path)) as mrc:
        mrc.set_data(samples(rng, dtype, nz))
        if nz == 3:
            mrc.set_volume()
    expected = mrcfile.read(str(path)).reshape((nz,) + SHAPE)
    assert tarnview.mrc_section_count(path) == nz
    for z in range(nz):
        got = tarnview.read_mrc(path, section=z).data
        np.testing.assert_allclose(got, as_read_here(expected[z], dtype), rtol=1e-6, atol=1e-6)


def test_big_endian_half_precision_compressed(tmp_path, rng):
    data = samples(rng, "f2", 4)
    path = tmp_path / "big.mrc"
    with mrcfile.new(str(path)) as mrc:
        mrc.set_data(data.astype(">f2"))
    with open(path, "rb") as plain, gzip.open(tmp_path / "big.mrc.gz", "wb") as packed:
        shutil.copyfileobj(plain, packed)
    for name in ("big.mrc", "big.mrc.gz"):
        np.testing.assert_array_equal(tarnview.read_mrc(tmp_path / name, section=2).data, data[2].astype(np.float32))
    with pytest.raises(tarnview.FileError, match="no section 4"):
        tarnview.read_mrc(path, section=4)
    with pytest.raises(tarnview.FileError):  # the 2-D reader refuses stacks, as the converter does
        tarnview.read_mrc(path)


def test_size_guard_refuses_a_huge_declared_image(tmp_path):
    header = np.zeros(256, dtype="<i4")
    header[:4] = (40000, 40000, 1, 2)
    (tmp_path / "huge.mrc").write_bytes(header.tobytes())
    assert tarnview.max_image_samples() == 1 << 30
    with pytest.raises(tarnview.FileError, match="exceeds the limit of 1073741824 samples"):
        tarnview.read_mrc(tmp_path / "huge.mrc", section=0)
