"""surfmesh's demo files in VTK's readers: the PLOT3D file (multiple grid,
ASCII) in vtkMultiBlockPLOT3DReader and the Tecplot files (one with
trimming boundaries) in vtkTecplotReader, each compared block by block with
the network file of the same meshes: point counts and every coordinate
(single precision).

Usage: check_surfmesh.py <demo folder> <build folder>
"""
import os
import sys

import netfiles

TOL = 1.0e-5  # relative to the mesh size: 9 printed digits against 8


def main():
    demo = os.path.join(sys.argv[1], "surfmesh")
    nets = netfiles.networks(os.path.join(demo, "bulb.net"))
    npts = sum(ni * nj for _, ni, nj, _ in nets)
    status = 0

    got = netfiles.load_plot3d(os.path.join(demo, "bulb.xyz"))
    err, worst = netfiles.compare("bulb.xyz", got, nets, TOL)
    print(f"FAIL {demo}/{err}" if err else
          f"ok   {demo}/bulb.xyz: VTK {netfiles.vtk_version()} vtkMultiBlockPLOT3DReader read {len(got)} grids, "
          f"{npts} points, as bulb.net, largest difference {worst:.2g}")
    status |= err is not None

    # the Tecplot files: the half bulb's meshes, and the cut bulb's trimmed
    # surfaces each followed by its trimming boundary (two equal rows)
    for dat, net in (("bulb.dat", "bulb.net"), ("cutbulb.dat", "cutbulb.net")):
        zones = netfiles.networks(os.path.join(demo, net))
        got, names, _ = netfiles.load_tecplot(os.path.join(demo, dat))
        err, worst = netfiles.compare(dat, got, zones, TOL)
        npts = sum(ni * nj for _, ni, nj, _ in zones)
        print(f"FAIL {demo}/{err}" if err else
              f"ok   {demo}/{dat}: VTK {netfiles.vtk_version()} vtkTecplotReader read zones {names}, "
              f"{npts} points, as {net}, largest difference {worst:.2g}")
        status |= err is not None
    return 1 if status else 0


if __name__ == "__main__":
    sys.exit(netfiles.run_check(main))
