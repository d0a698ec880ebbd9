"""The design loop's files in VTK's readers: surfmesh's Tecplot and PLOT3D
files of the bulb's quarters against the network files of the same
meshes, gridplot's Tecplot file of the result against the network file it
came from (zone names, sizes and every point), and a picture of the
regenerated bulb with the trimmed keel and wing rendered from that file.

Usage: check_design_loop.py <demo folder> <build folder>
"""
import os
import shutil
import subprocess
import sys

import vtk

import netfiles

TOL = 1.0e-6  # relative to the largest coordinate: nine printed digits of single-precision values
RENDER_SECONDS = 120


def report(path, reader, got, nets, sources, extra=""):
    err, worst = netfiles.compare(os.path.basename(path), got, nets, TOL)
    if err:
        print(f"FAIL {path}: VTK {netfiles.vtk_version()} {reader}: {err}")
        return False
    print(f"ok   {path}: VTK {netfiles.vtk_version()} {reader}: {len(got)} blocks "
          f"({netfiles.sizes(nets)}), {sum(ni * nj for _, ni, nj, _ in nets)} points as in {sources}, "
          f"largest difference {worst:.2g}{extra}")
    return True


def check_surfmesh(folder):
    nets = netfiles.networks(os.path.join(folder, "bulb-upper.net")) + \
        netfiles.networks(os.path.join(folder, "bulb-lower.net"))
    sources = "bulb-upper.net and bulb-lower.net"
    ok = report(os.path.join(folder, "bulb.xyz"), "vtkMultiBlockPLOT3DReader",
                netfiles.load_plot3d(os.path.join(folder, "bulb.xyz")), nets, sources)
    got, names, _ = netfiles.load_tecplot(os.path.join(folder, "bulb.dat"))
    want = [title for title, _, _, _ in nets]
    if names != want:
        print(f"FAIL {folder}/bulb.dat: zones named {names}, not {want}")
        return False
    return report(os.path.join(folder, "bulb.dat"), "vtkTecplotReader", got, nets, sources,
                  f"; zones {names}") and ok


def check_gridplot(folder):
    path = os.path.join(folder, "design.plt")
    nets = netfiles.networks(os.path.join(folder, "design.net"))
    got, names, title = netfiles.load_tecplot(path)
    want = [netfiles.zone_name(t) for t, _, _, _ in nets]
    if names != want:
        print(f"FAIL {path}: zones named {names}, not {want}")
        return False
    return report(path, "vtkTecplotReader", got, nets, "design.net", f"; zones {names}, title {title!r}")


def render(folder):
    """The picture, rendered in a child process: VTK's X window ends the
    process when it finds no display, so without one it runs under Xvfb."""
    png = os.path.join(folder, "junction.png")
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "render_junction.py")
    cmd = [sys.executable, script, os.path.join(folder, "design.plt"), png]
    how = "on $DISPLAY"
    if not os.environ.get("DISPLAY"):
        if not shutil.which("xvfb-run"):
            print(f"FAIL {png}: no display and no xvfb-run (Debian package xvfb)")
            return False
        cmd = ["xvfb-run", "-a", "-s", "-screen 0 1600x1200x24"] + cmd
        how = "under Xvfb"
    if os.path.exists(png):
        os.remove(png)
    try:
        run = subprocess.run(cmd, capture_output=True, text=True, timeout=RENDER_SECONDS)
    except subprocess.TimeoutExpired:
        print(f"FAIL {png}: the rendering did not end within {RENDER_SECONDS} s")
        return False
    if run.returncode != 0 or not os.path.exists(png):
        print(f"FAIL {png}: the rendering failed: {(run.stdout + run.stderr).strip()[-300:]}")
        return False
    reader = vtk.vtkPNGReader()
    reader.SetFileName(png)
    reader.Update()
    dims = reader.GetOutput().GetDimensions()
    print(f"ok   {png}: VTK {netfiles.vtk_version()} rendered {how} from design.plt "
          f"({run.stdout.strip()}), read back as a {dims[0]} x {dims[1]} PNG")
    return True


def main():
    folder = os.path.join(sys.argv[1], "design-loop")
    if not os.path.isfile(os.path.join(folder, "design.plt")):
        print(f"FAIL {folder}: no design.plt; run make demo first")
        return 1
    ok = check_surfmesh(folder)
    ok = check_gridplot(folder) and ok
    ok = render(folder) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(netfiles.run_check(main))
