"""Electron-microscopy images from Python.

tarnview reads MRC, IMAGIC and ScansALot images and other pictures, writes MRC, IMAGIC
and PGM files, and transforms, correlates, aligns, rotates, filters, averages and masks
images. Images are :class:`Image` objects whose ``data`` is a numpy view of their own
samples::

    import tarnview
    image = tarnview.read_mrc("micrograph.mrc")
    image.data[:10, :10] = 0.0
    image.update_statistics()
    spectrum = tarnview.fft(image)

A failed call raises :class:`Error` with the library's own message: a
:class:`FileError` (also an :class:`OSError`) for files, an :class:`ArgumentError`
(also a :class:`ValueError`) for images and arguments an operation refuses. Messages of
a successful call go to the logger ``"tarnview"``; nothing is printed.
"""

import logging

from ._tarnview import *  # noqa: F401,F403
from ._tarnview import Error, FileError, ArgumentError, Image  # noqa: F401

__version__ = "0.1.0"

#: The readers' size limit that the package sets on import, in samples: a file that
#: declares a larger image is refused before anything is allocated.
DEFAULT_MAX_IMAGE_SAMPLES = 1 << 30

set_max_image_samples(DEFAULT_MAX_IMAGE_SAMPLES)  # noqa: F405
logging.getLogger(__name__).addHandler(logging.NullHandler())
