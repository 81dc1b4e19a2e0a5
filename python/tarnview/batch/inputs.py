"""The items of a batch: input files found from names and globs, their formats, the
sections to show, the names of their pictures, and the key that tells whether an item's
pictures are up to date.
"""

import glob
import hashlib
import json
import os
import re
import stat

import tarnview

_MRC_ENDINGS = (".mrc", ".mrcs", ".map", ".st", ".ali", ".rec", ".preali")


def format_of(path):
    """The reader an input needs: "mrc", "imagic", "sal" or "converted" (pictures)."""
    name = path.lower()
    for compressed in (".gz", ".z"):
        if name.endswith(compressed):
            name = name[: -len(compressed)]
    stem, ending = os.path.splitext(name)
    if ending in _MRC_ENDINGS:
        return "mrc"
    if ending == ".hed":
        return "imagic"
    if ending == ".hdr":
        return "sal"
    if ending == ".img":
        base = os.path.splitext(path)[0]
        if os.path.exists(base + ".hed"):
            return "imagic"
        return "sal"
    return "converted"


def expand(patterns):
    """The paths the names and globs give, in order, each once; a name that matches
    nothing stays as it is, to be refused."""
    paths, seen = [], set()
    for pattern in patterns:
        matches = sorted(glob.glob(pattern)) if glob.has_magic(pattern) else [pattern]
        for path in matches or [pattern]:
            absolute = os.path.abspath(path)
            if absolute not in seen:
                seen.add(absolute)
                paths.append(absolute)
    return paths


def refusal(path):
    """Why path cannot be an input (a FIFO, a device, a folder, missing), or None."""
    try:
        status = os.stat(path)
    except OSError as error:
        return f"Cannot open {path}: {error.strerror}"
    if stat.S_ISDIR(status.st_mode):
        return f"{path} is a directory"
    if not stat.S_ISREG(status.st_mode):
        return f"{path} is not a regular file (a FIFO, socket or device)"
    return None


def source_facts(path):
    """The size and modification time that identify a version of a source."""
    status = os.stat(path)
    return {"size": status.st_size, "mtime_ns": status.st_mtime_ns}


def section_count(path, kind):
    """How many images an input holds."""
    if kind == "mrc":
        return tarnview.mrc_section_count(path)
    if kind == "imagic":
        header = os.path.splitext(path)[0] + ".hed"
        return max(1, os.stat(header).st_size // 1024)
    return 1


def picture_name(path, section, several):
    """A file name for an item's pictures: the source's stem (safe characters only), the
    section when the source has several, and a hash of the full path, so that sources of
    one name in different folders do not collide."""
    stem = os.path.basename(path)
    for ending in (".gz", ".Z"):
        stem = stem[: -len(ending)] if stem.endswith(ending) else stem
    stem = re.sub(r"[^A-Za-z0-9._-]", "_", os.path.splitext(stem)[0])[:80] or "image"
    digest = hashlib.sha1(path.encode("utf-8", "surrogateescape")).hexdigest()[:8]
    return f"{stem}_z{section:04d}-{digest}" if several else f"{stem}-{digest}"


def item_key(source, section, kind, options):
    """What an item's pictures depend on: the source's version, the section, the options
    that change the pictures, and the tool's version."""
    facts = [
        tarnview.__version__, source["size"], source["mtime_ns"], section, kind,
        list(options["contrast"]), options["bin"], options["tile"],
    ]
    return hashlib.sha1(json.dumps(facts).encode()).hexdigest()


def make_items(patterns, options):
    """The items of a batch and the failed records of inputs refused before any task."""
    items, refused = [], []
    for path in expand(patterns):
        kind = format_of(path)
        reason = refusal(path)
        sections = [options["section"]]
        if reason is None and options["all_sections"]:
            try:
                sections = list(range(section_count(path, kind)))
            except (tarnview.Error, OSError) as error:
                reason = str(error)
        if reason is not None:
            refused.append({"path": path, "section": options["section"], "format": kind, "status": "failed",
                            "error": reason})
            continue
        source = source_facts(path)
        for section in sections:
            items.append({
                "path": path, "section": section, "format": kind, "source": source,
                "name": picture_name(path, section, options["all_sections"] or section != 0),
                "key": item_key(source, section, kind, options),
            })
    return items, refused
