"""What the reader checks share: the networks of a network file, the
datasets of a VTK reader's multiblock output, their comparison, and a load
run in a child process under a time limit (VTK's Tecplot reader never
returns on some files)."""
import json
import math
import subprocess
import sys

import vtk


def networks(path):
    """(title, ni, nj, points) per network of a network file, read as the
    suite's readers read it: the counts in columns 1-10, the title from
    column 21, then 3 * ni * nj numbers in any free-format layout."""
    with open(path) as f:
        lines = f.read().split("\n")
    nets, k = [], 0
    while k < len(lines) and lines[k].strip():
        head = lines[k].ljust(80)
        ni, nj = int(head[0:5].strip() or 0), int(head[5:10].strip() or 0)
        k += 1
        values = []
        if ni * nj == 0:
            k += 1  # the empty read still takes a line
        while len(values) < 3 * ni * nj:
            values += [float(v) for v in lines[k].replace(",", " ").split()]
            k += 1
        pts = [tuple(values[3 * p:3 * p + 3]) for p in range(ni * nj)]
        nets.append((head[20:80].rstrip(), ni, nj, pts))
    return nets


def blocks(output):
    """The non-empty datasets of a reader's multiblock output, in order."""
    it = output.NewIterator()
    it.InitTraversal()
    found = []
    while not it.IsDoneWithTraversal():
        ds = it.GetCurrentDataObject()
        if ds is not None and ds.GetNumberOfPoints() > 0:
            found.append(ds)
        it.GoToNextItem()
    return found


def compare(name, got, nets, rel_tol):
    """None when the datasets hold the networks' sizes and points (within
    rel_tol of the largest coordinate), else what differs; and the largest
    difference."""
    if len(got) != len(nets):
        return f"{name}: {len(got)} blocks, the network files hold {len(nets)}", 0.0
    size = max((abs(v) for _, _, _, pts in nets for p in pts for v in p), default=1.0)
    worst = 0.0
    for ds, (title, ni, nj, pts) in zip(got, nets):
        if ds.GetNumberOfPoints() != ni * nj:
            return f"{name}: block '{title}' has {ds.GetNumberOfPoints()} points, not {ni * nj}", worst
        if hasattr(ds, "GetDimensions") and tuple(ds.GetDimensions())[:2] != (ni, nj):
            return f"{name}: block '{title}' is {ds.GetDimensions()}, not {ni} x {nj}", worst
        for m, p in enumerate(pts):
            q = ds.GetPoint(m)
            worst = max(worst, max(abs(q[c] - p[c]) for c in range(3)))
    if worst > rel_tol * size:
        return f"{name}: coordinates differ by {worst:.3g} from the network files", worst
    return None, worst


def load_plot3d(path):
    """The grids of an ASCII multiple-grid PLOT3D file, by vtkMultiBlockPLOT3DReader."""
    reader = vtk.vtkMultiBlockPLOT3DReader()
    reader.SetFileName(path)
    reader.BinaryFileOff()
    reader.MultiGridOn()
    reader.SetHasByteCount(0)
    reader.IBlankingOff()
    reader.Update()
    return blocks(reader.GetOutput())


def load_tecplot(path):
    """The zones of a Tecplot file by vtkTecplotReader, their names and the file's title."""
    reader = vtk.vtkTecplotReader()
    reader.SetFileName(path)
    reader.Update()
    out = reader.GetOutput()
    names = [out.GetMetaData(b).Get(vtk.vtkCompositeDataSet.NAME()) for b in range(out.GetNumberOfBlocks())]
    return blocks(out), names, reader.GetDataTitle()


def zone_name(title):
    """gridplot's zone name of a network title: without a leading "NET " or "net "."""
    return title[4:] if len(title) > 4 and title[:4] in ("NET ", "net ") else title


def sizes(nets):
    return ", ".join(f"{ni}x{nj}" for _, ni, nj, _ in nets)


def distance_to_polyline(p, line):
    """Shortest distance from point p to the polyline through line's points."""
    best = math.inf
    for a, b in zip(line, line[1:]):
        ab = [b[c] - a[c] for c in range(3)]
        ap = [p[c] - a[c] for c in range(3)]
        den = sum(v * v for v in ab)
        t = 0.0 if den == 0.0 else max(0.0, min(1.0, sum(ab[c] * ap[c] for c in range(3)) / den))
        best = min(best, math.dist(p, [a[c] + t * ab[c] for c in range(3)]))
    return best


def tecplot_zones(path):
    """Loads a Tecplot file with vtkTecplotReader: per returned block its
    name, point count and the values of every point array; with the file's
    title and variable names."""
    reader = vtk.vtkTecplotReader()
    reader.SetFileName(path)
    reader.Update()
    out = reader.GetOutput()
    zones = []
    for b in range(out.GetNumberOfBlocks()):
        ds = out.GetBlock(b)
        name = out.GetMetaData(b).Get(vtk.vtkCompositeDataSet.NAME())
        if ds is None:
            zones.append((name, 0, {}))
            continue
        pd = ds.GetPointData()
        arrays = {pd.GetArrayName(a): [pd.GetArray(a).GetTuple1(p) for p in range(ds.GetNumberOfPoints())]
                  for a in range(pd.GetNumberOfArrays())}
        zones.append((name, ds.GetNumberOfPoints(), arrays))
    names = [reader.GetDataArrayName(a) for a in range(reader.GetNumberOfDataArrays())]
    return {"title": reader.GetDataTitle(), "variables": names, "zones": zones}


def load_in_child(path, seconds):
    """tecplot_zones(path) in a child process, so that a load that never
    returns is cut off: the result, or None after the time limit."""
    code = ("import json, sys; sys.path.insert(0, %r); import netfiles; "
            "print(json.dumps(netfiles.tecplot_zones(%r)))" % (sys.path[0], path))
    try:
        run = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, timeout=seconds)
    except subprocess.TimeoutExpired:
        return None
    if run.returncode != 0:
        raise RuntimeError(f"{path}: the reader's process failed: {run.stderr.strip()[-300:]}")
    return json.loads(run.stdout.strip().splitlines()[-1])


def run_check(main):
    """main's status; a file it cannot open (one of a folder changed by
    hand, say) ends it with a FAIL line naming the file."""
    try:
        return main()
    except OSError as e:
        print(f"FAIL {e.filename}: {e.strerror}")
        return 1


def vtk_version():
    return vtk.vtkVersion.GetVTKVersion()
