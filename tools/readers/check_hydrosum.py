"""hydrosum's Tecplot zone files in VTK's Tecplot reader.

The reader (9.1) returns no dataset for a one-dimensional I-ordered zone,
which is all hydrosum writes, and never returns on a file whose last zone
has zero points (one further up is passed over). So each file is loaded
twice, each load in a child process under a time limit: as it stands,
where the title and the variable names are what can be checked, and as a
copy with a 2 x 2 zone put in front, which makes the reader return every
zone as a grid; the zones of zero points are left out of the copy and
named. The zones returned are compared with the file's text: names, point
counts and every value.

Usage: check_hydrosum.py <demo folder> <build folder>
"""
import os
import re
import sys
import tempfile

import netfiles

SECONDS = 20
REL_TOL = 1.0e-6   # six or more printed digits against single precision
ZONE = re.compile(r'ZONE\s+T="([^"]*)",\s*I=\s*(\d+)')


def parse(path):
    """Title, variable names and zones (name, values per point) of a zone file."""
    title, variables, zones = "", [], []
    with open(path) as f:
        for line in f:
            if line.startswith("TITLE="):
                title = line.split("=", 1)[1].strip().strip('"')
            elif line.startswith("VARIABLES="):
                variables = [v.strip() for v in line.split("=", 1)[1].split(",")]
            elif line.startswith("ZONE"):
                m = ZONE.match(line)
                zones.append((m.group(1), int(m.group(2)), []))
            elif line.strip():
                zones[-1][2].append([float(v) for v in line.split()])
    return title, variables, zones


def padded_copy(path, folder):
    """The file's own lines with a 2 x 2 zone of zeros in front of its first
    zone, and without the zones of zero points."""
    with open(path) as f:
        lines = f.readlines()
    first = next(k for k, line in enumerate(lines) if line.startswith("ZONE"))
    nvar = len(lines[first - 1].split("=", 1)[1].split(","))
    pad = ['ZONE T="pad", I=2, J=2\n'] + [" ".join(["0"] * nvar) + "\n"] * 4
    kept = [line for line in lines[first:] if not (ZONE.match(line) and int(ZONE.match(line).group(2)) == 0)]
    copy = os.path.join(folder, os.path.basename(path))
    with open(copy, "w") as f:
        f.writelines(lines[:first] + pad + kept)
    return copy


def compare(variables, zones, loaded):
    """None when the loaded zones (pad dropped) hold the file's zones, else
    what differs; and the largest relative difference."""
    got = loaded["zones"][1:]
    want = [(n, c, rows) for n, c, rows in zones if c > 0]
    if [(n, c) for n, c, _ in got] != [(n, c) for n, c, _ in want]:
        return f"zones {[(n, c) for n, c, _ in got]}, not {[(n, c) for n, c, _ in want]}", 0.0
    names = loaded["variables"]
    if [v.upper() for v in names] != [v.upper() for v in variables]:
        return f"variables {names}, not {variables}", 0.0
    worst = 0.0
    for (name, count, arrays), (_, _, rows) in zip(got, want):
        for k, var in enumerate(names):
            for p in range(count):
                a, b = arrays[var][p], rows[p][k]
                worst = max(worst, abs(a - b) / max(1.0, abs(b)))
    if worst > REL_TOL:
        return f"values differ by {worst:.2g} (relative)", worst
    return None, worst


def check(path, scratch):
    name = os.path.basename(path)
    title, variables, zones = parse(path)
    empty = [n for n, c, _ in zones if c == 0]
    points = sum(c for _, c, _ in zones)
    alone = netfiles.load_in_child(path, SECONDS)
    if alone is None:
        if not zones or zones[-1][1] != 0:
            return f"FAIL {name}: the reader did not return within {SECONDS} s"
        first = f"as it stands no return within {SECONDS} s (its last zone has 0 points)"
    elif alone["title"] != title or [v.upper() for v in alone["variables"]] != [v.upper() for v in variables]:
        return f"FAIL {name}: title {alone['title']!r} and variables {alone['variables']}, not the file's"
    else:
        first = f"as it stands title and {len(variables)} variables, {len(alone['zones'])} datasets"
    loaded = netfiles.load_in_child(padded_copy(path, scratch), SECONDS)
    if loaded is None:
        return f"FAIL {name}: the reader did not return on the padded copy within {SECONDS} s"
    err, worst = compare(variables, zones, loaded)
    if err:
        return f"FAIL {name}: with a 2 x 2 zone in front: {err}"
    kept = [n for n, c, _ in zones if c > 0]
    left_out = f" (left out: {', '.join(empty)}, 0 points)" if empty else ""
    return (f"ok   {name}: VTK {netfiles.vtk_version()} vtkTecplotReader: {first}; "
            f"with a 2 x 2 zone in front: zones {kept}{left_out}, {points} points x "
            f"{len(variables)} variables as in the file, largest difference {worst:.2g}")


def main():
    folder = os.path.join(sys.argv[1], "hydrosum")
    files = sorted(f for f in os.listdir(folder) if f.endswith(".zon")) if os.path.isdir(folder) else []
    if not files:
        print(f"FAIL {folder}: no zone files; run make demo first")
        return 1
    status = 0
    with tempfile.TemporaryDirectory() as scratch:
        for f in files:
            line = check(os.path.join(folder, f), scratch)
            print(line)
            status |= line.startswith("FAIL")
    return status


if __name__ == "__main__":
    sys.exit(netfiles.run_check(main))
