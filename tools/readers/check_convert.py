"""Loads gridplot's Tecplot file from the converters' demo in VTK's Tecplot
reader and compares it with the network file it came from: zone count,
zone names, sizes and every point. Usage: check_convert.py <demo> <build>."""
import os
import sys

import vtk

import netfiles

# The Tecplot file carries nine significant digits of single-precision values.
REL_TOL = 1e-6
ABS_TOL = 1e-12


def close(a, b):
    return abs(a - b) <= max(ABS_TOL, REL_TOL * max(abs(a), abs(b)))


def check(folder):
    plt, net = os.path.join(folder, "boat.plt"), os.path.join(folder, "boat.net")
    nets = netfiles.networks(net)
    reader = vtk.vtkTecplotReader()
    reader.SetFileName(plt)
    reader.Update()
    out = reader.GetOutput()
    problems = []
    if out.GetNumberOfBlocks() != len(nets):
        problems.append(f"{out.GetNumberOfBlocks()} zones for {len(nets)} networks")
    sizes, worst = [], 0.0
    for b in range(min(out.GetNumberOfBlocks(), len(nets))):
        title, ni, nj, pts = nets[b]
        grid = out.GetBlock(b)
        name = out.GetMetaData(b).Get(vtk.vtkCompositeDataSet.NAME())
        if name != netfiles.zone_name(title):
            problems.append(f"zone {b + 1} named {name!r}, not {netfiles.zone_name(title)!r}")
        if grid is None or grid.GetNumberOfPoints() != ni * nj:
            problems.append(f"zone {b + 1}: {grid.GetNumberOfPoints() if grid else 0} points, not {ni * nj}")
            continue
        if tuple(grid.GetDimensions()) != (ni, nj, 1):
            problems.append(f"zone {b + 1}: dimensions {grid.GetDimensions()}, not ({ni}, {nj}, 1)")
        bad = [p for p in range(ni * nj) if not all(map(close, grid.GetPoint(p), pts[p]))]
        worst = max([worst] + [abs(a - b) for p in range(ni * nj) for a, b in zip(grid.GetPoint(p), pts[p])])
        if bad:
            problems.append(f"zone {b + 1}: {len(bad)} points differ, first point {bad[0] + 1}: "
                            f"{grid.GetPoint(bad[0])} for {pts[bad[0]]}")
        sizes.append(f"{ni}x{nj}")
    version = vtk.vtkVersion.GetVTKVersion()
    if problems:
        print(f"FAIL {plt}: VTK {version} vtkTecplotReader: " + "; ".join(problems))
        return False
    print(f"ok   {plt}: VTK {version} vtkTecplotReader: {len(nets)} zones ({', '.join(sizes)}), "
          f"names, sizes and all points as in {os.path.basename(net)}, largest difference {worst:.2g}; "
          f"title {reader.GetDataTitle()!r}")
    return True


def main():
    folder = os.path.join(sys.argv[1], "convert")
    if not os.path.isfile(os.path.join(folder, "boat.plt")):
        print(f"FAIL {folder}: no boat.plt; run make demo first")
        return 1
    return 0 if check(folder) else 1


if __name__ == "__main__":
    sys.exit(netfiles.run_check(main))
