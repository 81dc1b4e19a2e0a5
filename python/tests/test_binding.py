"""The binding against independent references: numpy, mrcfile and hand-made files."""

import logging
import threading
import time

import numpy as np
import pytest

import tarnview

mrcfile = pytest.importorskip("mrcfile")


def test_data_is_a_view_that_keeps_its_image(rng):
    image = tarnview.Image.from_array(rng.normal(size=(6, 10)))
    view = image.data
    assert view.shape == (6, 10) and view.dtype == np.float32
    view[2, 3] = 1000.0
    image.update_statistics()
    assert image.max == 1000.0
    assert image.mean == pytest.approx(float(np.mean(view, dtype=np.float64)), rel=1e-6)
    with pytest.raises(BufferError):
        tarnview.pad_with_noise(image, 12, 8)
    del image
    assert view[2, 3] == 1000.0  # the image lives as long as the view
    del view


def test_resizing_is_allowed_once_views_are_gone(rng):
    image = tarnview.Image.from_array(rng.normal(size=(6, 10)).astype(np.float32))
    sub = image.data[1:3]
    del sub
    tarnview.pad_with_noise(image, 12, 8)
    assert image.data.shape == (8, 12)


def test_complex_arrays_round_trip_as_fourier_images(rng):
    values = (rng.normal(size=(8, 5)) + 1j * rng.normal(size=(8, 5))).astype(np.complex64)
    image = tarnview.Image.from_array(values)
    assert image.is_complex and image.nx == 10
    np.testing.assert_array_equal(image.data, values)


def write_mrc_file(path, data, byte_order):
    with mrcfile.new(str(path), overwrite=True) as mrc:
        mrc.set_data(data.astype(data.dtype.newbyteorder(byte_order)))


@pytest.mark.parametrize("byte_order", ["<", ">"])
@pytest.mark.parametrize("dtype", ["i1", "i2", "f4", "c8"])
def test_every_mode_reads_as_mrcfile_reads_it(tmp_path, rng, dtype, byte_order):
    shape = (7, 12)
    if dtype == "c8":
        data = (rng.normal(size=shape) + 1j * rng.normal(size=shape)).astype(np.complex64)
    elif dtype == "f4":
        data = rng.normal(size=shape).astype(np.float32)
    else:
        # This library reads modes 0 and 1 as unsigned: compare on values both read alike.
        data = rng.integers(0, np.iinfo(dtype).max, size=shape).astype(dtype)
    path = tmp_path / "m.mrc"
    write_mrc_file(path, data, byte_order)
    expected = mrcfile.read(str(path))
    image = tarnview.read_mrc(path)
    if dtype == "c8":
        amplitude_phase = image.data.reshape(shape[0], shape[1], 2)
        amplitude = np.abs(expected.astype(np.complex128)) / (2 * shape[1]) * shape[0]
        np.testing.assert_allclose(amplitude_phase[..., 0], amplitude, rtol=1e-6)
        np.testing.assert_allclose(amplitude_phase[..., 1], np.angle(expected), atol=1e-6)
    elif dtype == "i1":
        np.testing.assert_allclose(image.data, expected / np.float32(100), rtol=1e-7)
    else:
        np.testing.assert_array_equal(image.data, expected.astype(np.float32))


def test_failures_raise_the_library_text(tmp_path):
    with pytest.raises(tarnview.FileError, match="^Cannot open file$") as missing:
        tarnview.read_mrc(tmp_path / "absent.mrc")
    assert isinstance(missing.value, OSError)
    header = np.zeros(256, dtype="<i4")
    header[:4] = (4, 4, 1, 9)  # mode 9 does not exist
    (tmp_path / "bad.mrc").write_bytes(header.tobytes() + bytes(64))
    with pytest.raises(tarnview.Error, match="^Bad MRC file$"):
        tarnview.read_mrc(tmp_path / "bad.mrc")
    with pytest.raises(ValueError, match="Cannot do FFT of FFT"):
        tarnview.fft(tarnview.fft(tarnview.Image.from_array(np.ones((8, 8)))))


def test_messages_of_a_successful_call_are_logged(rng, caplog, capfd):
    image = tarnview.Image.from_array(rng.normal(size=(72, 72)))
    with caplog.at_level(logging.INFO, logger="tarnview"):
        tarnview.centre(image)
    assert any(r.name == "tarnview" and r.getMessage().startswith("Center: ") for r in caplog.records)
    assert capfd.readouterr().out == ""
    with pytest.raises(tarnview.ArgumentError, match="Invalid FFT size!"):
        tarnview.centre(tarnview.Image.from_array(np.ones((64, 64))))


@pytest.mark.filterwarnings("ignore::RuntimeWarning")  # a header written without "MAP "
def test_writers_round_trip(tmp_path, rng):
    data = rng.normal(size=(9, 14)).astype(np.float32)
    image = tarnview.Image.from_array(data)
    tarnview.write_mrc(image, tmp_path / "w.mrc")
    np.testing.assert_array_equal(mrcfile.read(str(tmp_path / "w.mrc")), data)
    np.testing.assert_array_equal(tarnview.read_mrc(tmp_path / "w.mrc").data, data)
    tarnview.write_imagic(image, tmp_path / "stack.hed")
    tarnview.write_imagic(image, tmp_path / "stack.hed")
    stack = tarnview.read_imagic(tmp_path / "stack.hed")
    assert len(stack) == 2
    np.testing.assert_array_equal(stack[1].data, data)


def test_long_calls_release_the_gil():
    image = tarnview.Image.from_array(np.random.default_rng(1).normal(size=(720, 720)))
    calls, ticks = [], []
    stop = False

    def transform():
        for _ in range(8):
            start = time.perf_counter()
            tarnview.fft(image)
            calls.append((start, time.perf_counter()))

    worker = threading.Thread(target=transform)
    worker.start()
    while worker.is_alive() and not stop:
        ticks.append(time.perf_counter())
    worker.join()
    inside = sum(1 for t in ticks for a, b in calls if a < t < b)
    assert inside > 0, "no Python ran while the transforms were under way"
