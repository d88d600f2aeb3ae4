#!/usr/bin/env python3
"""holechart-dxf on damaged drawings, judged by ezdxf.

Takes the test drawings and breaks each in the ways files arrive broken:
an object of the structure left out (ENDSEC, SEQEND, ENDBLK, ENDTAB, EOF,
a VERTEX), the file cut off, a section begun inside another, an object
doubled, a number spoilt. The bridge must end every run with exit 0 or 1
and one line on standard error, and may end with 0 only when ezdxf, a DXF
reader independent of it, reads the drawing it wrote.

    dxf_mutation_judge.py HOLECHART_DXF SOURCE_DIR

Exits 77 (skipped) without ezdxf.
"""

import os
import random
import subprocess
import sys
import tempfile

try:
    import ezdxf
except ImportError:
    print("no ezdxf (Debian package python3-ezdxf)")
    sys.exit(77)

BASES = ["tests/data/dxf/kinds.dxf", "tests/data/dxf/kinds_r12.dxf", "tests/data/dxf/blocks.dxf",
         "tests/data/dxf/rounds.dxf", "examples/plate-dxf/plate.dxf"]
STRUCTURE = ["ENDSEC", "SEQEND", "ENDBLK", "ENDTAB", "EOF", "VERTEX", "SECTION", "BLOCK"]


def objects(lines):
    """The line index of every 0 pair (lines hold code, value, code, ...)."""
    return [i for i in range(0, len(lines) - 1, 2) if lines[i].strip() == "0"]


def without(lines, starts, k):
    """The lines without the object that starts at starts[k]."""
    end = starts[k + 1] if k + 1 < len(starts) else len(lines)
    return lines[:starts[k]] + lines[end:]


def mutations(text, rng):
    lines = text.split("\n")
    starts = objects(lines)
    for kind in STRUCTURE:
        found = [k for k, i in enumerate(starts) if lines[i + 1].strip() == kind]
        for k in found[:1] + found[-1:]:
            yield "without %s at line %d" % (kind, starts[k] + 1), without(lines, starts, k)
    for share in (0.2, 0.5, 0.9):
        cut = starts[int(len(starts) * share)]
        yield "cut at line %d" % cut, lines[:cut]
        yield "cut inside line %d" % (cut + 1), lines[:cut + 1] + [lines[cut + 1][:1]]
    entities = next(i for i in starts if lines[i + 1].strip() == "SECTION" and
                    lines[i + 3].strip() == "ENTITIES")
    yield "section in the entities", lines[:entities + 6] + ["  0", "SECTION", "  2", "X"] + \
        lines[entities + 6:]
    for _ in range(4):
        k = rng.randrange(1, len(starts) - 1)
        copy = lines[starts[k]:starts[k + 1]]
        yield "object at line %d doubled" % starts[k], lines[:starts[k]] + copy + lines[starts[k]:]
    numbers = [i for i in range(1, len(lines), 2) if lines[i - 1].strip() in ("10", "20", "40")]
    for i in rng.sample(numbers, min(4, len(numbers))):
        yield "value at line %d spoilt" % (i + 1), lines[:i] + ["1e999"] + lines[i + 1:]


def judge(binary, path, out, what):
    run = subprocess.run([binary, path, out], capture_output=True, text=True, timeout=60)
    problems = []
    if run.returncode not in (0, 1):
        problems.append("exit %d" % run.returncode)
    if run.stderr.count("\n") != 1:
        problems.append("not one line: %r" % run.stderr)
    if run.returncode == 0:
        try:
            ezdxf.readfile(out)
        except Exception as e:  # any refusal by the judge
            problems.append("ezdxf refuses the output: %s" % e)
    return ["%s (%s): %s" % (what, os.path.basename(path), p) for p in problems]


def main():
    binary, source = sys.argv[1], sys.argv[2]
    rng = random.Random(7)
    failures = []
    runs = 0
    with tempfile.TemporaryDirectory() as folder:
        for base in BASES:
            text = open(os.path.join(source, base), newline="", encoding="latin-1").read()
            for what, lines in mutations(text, rng):
                path = os.path.join(folder, "in.dxf")
                with open(path, "w", newline="", encoding="latin-1") as f:
                    f.write("\n".join(lines))
                out = os.path.join(folder, "out.dxf")
                if os.path.exists(out):
                    os.remove(out)
                failures += judge(binary, path, out, what)
                runs += 1
    print("%d damaged drawings, %d failures" % (runs, len(failures)))
    for failure in failures:
        print(failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
