"""surfmesh's demo files in VTK's readers: the PLOT3D file (multiple grid,
ASCII) in vtkMultiBlockPLOT3DReader and the Tecplot files (one with
trimming boundaries) in vtkTecplotReader, each compared block by block with
the network file of the same meshes: point counts and every coordinate
(single precision).

Usage: check_surfmesh.py <demo folder> <build folder>
"""
import os
import sys

import vtk
from vtk.util.numpy_support import vtk_to_numpy

TOL = 1.0e-5  # relative to the mesh size: 9 printed digits against 8


def networks(path):
    """The networks of a network file: (ni, nj, title, points)."""
    nets = []
    with open(path) as f:
        lines = f.read().splitlines()
    k = 0
    while k < len(lines):
        head = lines[k]
        ni, nj = int(head[0:5]), int(head[5:10])
        pts = [[float(lines[k + 1 + m][16 * c:16 * c + 16]) for c in range(3)] for m in range(ni * nj)]
        nets.append((ni, nj, head[20:], pts))
        k += 1 + ni * nj
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


def compare(name, got, nets):
    if len(got) != len(nets):
        return f"{name}: {len(got)} blocks, the network file has {len(nets)}"
    size = max(abs(v) for _, _, _, pts in nets for p in pts for v in p)
    worst = 0.0
    for ds, (ni, nj, title, pts) in zip(got, nets):
        if ds.GetNumberOfPoints() != ni * nj:
            return f"{name}: block '{title}' has {ds.GetNumberOfPoints()} points, not {ni * nj}"
        if hasattr(ds, "GetDimensions") and tuple(ds.GetDimensions())[:2] != (ni, nj):
            return f"{name}: block '{title}' is {ds.GetDimensions()}, not {ni} x {nj}"
        xyz = vtk_to_numpy(ds.GetPoints().GetData())
        for m, p in enumerate(pts):
            for c in range(3):
                worst = max(worst, abs(float(xyz[m][c]) - p[c]))
    if worst > TOL * size:
        return f"{name}: coordinates differ by {worst:g} from the network file"
    return None


def main():
    demo = os.path.join(sys.argv[1], "surfmesh")
    nets = networks(os.path.join(demo, "bulb.net"))
    npts = sum(ni * nj for ni, nj, _, _ in nets)
    status = 0

    p3d = vtk.vtkMultiBlockPLOT3DReader()
    p3d.SetFileName(os.path.join(demo, "bulb.xyz"))
    p3d.BinaryFileOff()
    p3d.MultiGridOn()
    p3d.SetHasByteCount(0)
    p3d.IBlankingOff()
    p3d.Update()
    got = blocks(p3d.GetOutput())
    err = compare("bulb.xyz", got, nets)
    print(err or f"bulb.xyz: vtkMultiBlockPLOT3DReader read {len(got)} grids, {npts} points, as bulb.net")
    status |= err is not None

    # the Tecplot files: the half bulb's meshes, and the cut bulb's trimmed
    # surfaces each followed by its trimming boundary (two equal rows)
    for dat, net in (("bulb.dat", "bulb.net"), ("cutbulb.dat", "cutbulb.net")):
        zones = networks(os.path.join(demo, net))
        tec = vtk.vtkTecplotReader()
        tec.SetFileName(os.path.join(demo, dat))
        tec.Update()
        got = blocks(tec.GetOutput())
        err = compare(dat, got, zones)
        names = [tec.GetBlockName(b) for b in range(tec.GetNumberOfBlocks())]
        npts = sum(ni * nj for ni, nj, _, _ in zones)
        print(err or f"{dat}: vtkTecplotReader read zones {names}, {npts} points, as {net}")
        status |= err is not None
    return 1 if status else 0


if __name__ == "__main__":
    sys.exit(main())
