"""The command line of the batch tool: ``tarnview-batch`` or ``python3 -m tarnview.batch``.

Exit status 0 when every input succeeded, 1 when some failed (summary.csv says which), 2
for a usage error. Messages go to standard output; the progress bar goes to standard
error.
"""

import argparse
import sys

import tarnview

from . import DEFAULT_MAX_SAMPLES, DEFAULT_TIME_LIMIT, BatchLocked, run_batch


class _Parser(argparse.ArgumentParser):
    """argparse with its messages on standard output and status 2 for usage errors."""

    def _print_message(self, message, file=None):
        if message:
            sys.stdout.write(message)

    def error(self, message):
        self.print_usage()
        self.exit(2, f"{self.prog}: error: {message}\n")


def parser():
    p = _Parser(prog="tarnview-batch", description="Thumbnails, power spectra, a summary and a contact sheet "
                "of many electron-microscopy images, on Dask distributed.")
    p.add_argument("inputs", nargs="+", help="files or globs: MRC (.mrc, .mrcs, ...; .gz), IMAGIC (.hed), "
                   "ScansALot (.hdr), pictures (GIF, TIFF, JPEG, PCX, PGM, PPM)")
    p.add_argument("-o", "--out", required=True, help="output folder")
    which = p.add_mutually_exclusive_group()
    which.add_argument("-z", "--section", type=int, default=0, help="the section of each stack to show (0)")
    which.add_argument("--all-sections", action="store_true", help="every section of every stack")
    rule = p.add_mutually_exclusive_group()
    rule.add_argument("--sigma", type=float, metavar="K", help="grey limits mean +- K sigma (default 3)")
    rule.add_argument("--saturate", type=float, metavar="P", help="P percent of the samples black and P white")
    rule.add_argument("--histogram", action="store_true", help="the library's default histogram-peak limits")
    p.add_argument("--bin", type=int, default=0, metavar="N", help="thumbnail binning (default: long side <= 512)")
    p.add_argument("--tile", type=int, default=512, metavar="N", help="power-spectrum tile (512)")
    p.add_argument("--workers", type=int, metavar="N", help="local worker processes (as many as cores)")
    join = p.add_mutually_exclusive_group()
    join.add_argument("--scheduler", metavar="ADDRESS", help="join the cluster of this scheduler")
    join.add_argument("--scheduler-file", metavar="F", help="join the cluster of this scheduler file")
    p.add_argument("--force", action="store_true", help="redo every item, up to date or not")
    p.add_argument("--no-retry-failed", action="store_true", help="leave items that failed before as they are")
    p.add_argument("--time-limit", type=float, default=DEFAULT_TIME_LIMIT, metavar="S",
                   help=f"seconds an item may take ({DEFAULT_TIME_LIMIT:g}; 0: no limit)")
    p.add_argument("--max-samples", type=int, default=DEFAULT_MAX_SAMPLES, metavar="N",
                   help="largest image a worker reads, in samples (2^30; 0: no limit)")
    p.add_argument("-q", "--quiet", action="store_true", help="no progress bar")
    p.add_argument("--version", action="version", version=f"tarnview-batch {tarnview.__version__}")
    return p


def contrast_of(args):
    if args.histogram:
        return ("histogram", 0.0)
    if args.saturate is not None:
        return ("saturate", args.saturate)
    return ("sigma", 3.0 if args.sigma is None else args.sigma)


def main(argv=None):
    p = parser()
    args = p.parse_args(argv)
    for name, value, least in (("--bin", args.bin, 0), ("--tile", args.tile, 16), ("--section", args.section, 0)):
        if value < least:
            p.error(f"{name} must be at least {least}")
    if args.saturate is not None and not 0 <= args.saturate < 50:
        p.error("--saturate must be from 0 to below 50")
    if args.workers is not None and args.workers < 1:
        p.error("--workers must be at least 1")
    try:
        result = run_batch(args.inputs, args.out, section=args.section, all_sections=args.all_sections,
                           contrast=contrast_of(args), binning=args.bin, tile=args.tile, workers=args.workers,
                           scheduler=args.scheduler, scheduler_file=args.scheduler_file, force=args.force,
                           retry_failed=not args.no_retry_failed, time_limit=args.time_limit,
                           max_samples=args.max_samples, quiet=args.quiet)
    except (BatchLocked, OSError) as error:
        print(f"tarnview-batch: {error}")
        return 2
    print(f"{result.done} done, {result.failed} failed, {result.skipped} skipped; contact sheet {result.index}")
    return 0 if result.ok else 1


if __name__ == "__main__":
    sys.exit(main())
