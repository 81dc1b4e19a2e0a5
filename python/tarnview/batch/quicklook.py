"""The work of one batch item, run on a worker: read one image (or one section of a
stack), write its thumbnail and power-spectrum pictures as PNG files, and return a small
record of what was found. Bad data comes back as a record with an error, never as an
exception: Dask's retries are kept for workers that die.
"""

import os
import resource
import threading
import time
from pathlib import Path

from PIL import Image as PILImage

import tarnview

#: Longest side of a thumbnail when the binning is chosen automatically.
THUMBNAIL_SIDE = 512

# Folders of the output directory: the pictures, and the marks of items that hung.
THUMBNAILS = "thumbnails"
SPECTRA = "spectra"
HUNG = os.path.join(".tarnview-batch", "hung")


def read_item(item):
    """The image of one item (a dict with "path", "format" and "section")."""
    path, section = item["path"], item["section"]
    kind = item["format"]
    if kind == "mrc":
        return tarnview.read_mrc(path, section=section)
    if kind == "imagic":
        stack = tarnview.read_imagic(path)
        if section >= len(stack):
            raise tarnview.FileError(f"Image {section} is not in the stack of {len(stack)} images")
        return stack[section]
    if kind == "sal":
        return tarnview.read_sal(path)
    return tarnview.read_converted(path)


def apply_contrast(image, options):
    """Sets the image's grey limits by the batch's contrast rule."""
    rule, value = options["contrast"]
    if rule == "sigma":
        low, high = tarnview.sigma_grey_limits(image, value)
    elif rule == "saturate":
        low, high = tarnview.percentile_grey_limits(image, value)
    else:
        low, high = tarnview.default_grey_limits(image)
    image.set_grey_limits(low, high)


def save_png(raster, path):
    """Writes an 8-bit raster as a PNG through a temporary name, so that the file is
    either absent or whole."""
    temporary = path.with_name(f".{path.name}.tmp-{os.getpid()}")
    try:
        PILImage.fromarray(raster, mode="L").save(temporary, format="PNG")
        os.replace(temporary, path)
    finally:
        if temporary.exists():
            temporary.unlink()


def binning_for(image, options):
    """The binning factor: the one asked for, or the smallest that brings the longer side
    down to THUMBNAIL_SIDE."""
    if options["bin"]:
        return options["bin"]
    side = max(image.nx, image.ny)
    return max(1, -(-side // THUMBNAIL_SIDE))


def make_pictures(image, item, options, out):
    """Writes the thumbnail and the spectrum of image; returns their limits and names."""
    factor = binning_for(image, options)
    thumbnail = tarnview.bin_image(image, factor) if factor > 1 else image
    apply_contrast(thumbnail, options)
    thumbnail_name = f"{THUMBNAILS}/{item['name']}.png"
    save_png(tarnview.render_grey(thumbnail), out / thumbnail_name)
    spectrum = tarnview.power_spectrum(image, options["tile"])
    apply_contrast(spectrum, options)
    spectrum_name = f"{SPECTRA}/{item['name']}.png"
    save_png(tarnview.render_grey(spectrum), out / spectrum_name)
    return {
        "grey_low": float(thumbnail.grey_low),
        "grey_high": float(thumbnail.grey_high),
        "binning": factor,
        "thumbnail": thumbnail_name,
        "spectrum": spectrum_name,
    }


def describe(image):
    """The size, mode and statistics of an image for its record."""
    header = image.mrc_header
    return {
        "nx": image.nx,
        "ny": image.ny,
        "mode": header["mode"] if header else None,
        "min": float(image.min),
        "max": float(image.max),
        "mean": float(image.mean),
        "sigma": float(image.sigma),
    }


def hung_mark(out, item):
    return out / HUNG / item["name"]


def watchdog(out, item, limit):
    """A timer that, when an item runs past its limit, marks it as hung and ends this
    worker process: the library's calls cannot be interrupted, and the worker's nanny
    starts a fresh one. The retried task finds the mark and reports the item failed."""

    def expire():
        mark = hung_mark(out, item)
        mark.parent.mkdir(parents=True, exist_ok=True)
        mark.write_text(f"{limit:g}\n")
        os._exit(70)

    timer = threading.Timer(limit, expire)
    timer.daemon = True
    return timer


def peak_memory_mib():
    """This process's peak resident memory in MiB."""
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024.0


def process_item(item, options):
    """Reads one item and writes its pictures into options["out"]; returns its record."""
    out = Path(options["out"])
    record = {"path": item["path"], "section": item["section"], "format": item["format"], "key": item["key"]}
    record.update(item["source"])
    started = time.perf_counter()
    if hung_mark(out, item).exists():
        record.update(status="failed", error=f"Timed out after {options['time_limit']:g} s")
        return record
    tarnview.set_max_image_samples(options["max_samples"])
    timer = watchdog(out, item, options["time_limit"]) if options["time_limit"] else None
    if timer:
        timer.start()
    try:
        image = read_item(item)
        record.update(describe(image))
        record.update(make_pictures(image, item, options, out))
        record.update(status="ok", error=None)
    except (tarnview.Error, OSError, ValueError, MemoryError) as error:
        record.update(status="failed", error=str(error) or type(error).__name__)
    finally:
        if timer:
            timer.cancel()
    record["seconds"] = round(time.perf_counter() - started, 4)
    record["worker_peak_mib"] = round(peak_memory_mib(), 1)
    return record
