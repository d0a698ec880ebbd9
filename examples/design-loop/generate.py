#!/usr/bin/env python3
"""Writes the design loop's inputs: the IGES file of a bulb as a CAD system
would hand it over, and a keel and a wing made from NACA sections.

bulb.igs, in the CAD's axes (x aft, y to starboard, z up; metres): the
starboard half of a body of revolution about the line y = 0, z = AXIS_Z,
with a round nose and a tail cut off at a small radius, as two rational
B-spline surfaces (type 128): the upper quarter from the top centre line
to the maximum half breadth, the lower quarter from there to the bottom
centre line.  Each is the meridian (a cubic B-spline from the nose point to
the tail) swept along a quarter circle: the sections are exact circles, a
rational quadratic arc whose middle weight is cos(45 deg), written to the
last digit of a double.  As in a CAD system's surface of revolution, u runs
round the section and v along the meridian.  The file also holds the
meridian (type 126) and the axis (type 110), which are no surfaces:
surfmesh's reduced IGES file leaves them out.

keel.net and wing.net are in the suite's axes (x aft, y up, z to
starboard), which surfmesh gives the bulb with its y/z swap:
- keel, 9 x 9 points (5 x 5 small): stations along i from the leading to the
  trailing edge, rows along j from the hull (y = 0) down into the bulb;
- wing, 17 x 9 points (9 x 5 small): stations along i round the section from
  the trailing edge along the lower side to the leading edge (the middle
  station) and back along the upper side, rows along j from inside the bulb
  outboard.  Station 1 on the lower side is what appgrid's layout needs:
  its upper pass lays the second half of the cut row (leading edge to the
  last station) on the upper half of the new bulb.

  generate.py [--small FOLDER]

writes the example into the current folder, or with --small the smaller
keel and wing of the chain's test into FOLDER (the bulb file is the same)."""
import math
import sys

LENGTH, AXIS_Z = 2.0, -1.0
# meridian (x, radius): a round nose (vertical tangent), fullest near 40 % of
# the length, a tail cut off at a small radius (appgrid's second phase steers
# the grid towards the angles measured along the aft column, which a tail
# drawn to a point does not have)
MERIDIAN = [(0.0, 0.0), (0.0, 0.12), (0.12, 0.25), (0.55, 0.285), (1.05, 0.27),
            (1.5, 0.18), (1.85, 0.07), (LENGTH, 0.03)]
DEGREE = 3

KEEL = dict(le=0.55, te=1.15, taper=0.10, sweep=0.08, ratio=0.12, depth=0.85)
WING = dict(le=1.20, te=1.70, taper=0.35, sweep=0.12, ratio=0.10, z0=0.04, span=0.80, incidence=4.0)
FULL = dict(keel=(9, 9), wing=(17, 9))
SMALL = dict(keel=(5, 5), wing=(9, 5))


# ---- the bulb as IGES entities -------------------------------------------

def clamped_knots(n, degree):
    """Clamped uniform knots of n control points."""
    inner = n - degree - 1
    return [0.0] * (degree + 1) + [k / (inner + 1) for k in range(1, inner + 1)] + [1.0] * (degree + 1)


W45 = math.sqrt(0.5)   # middle weight of a rational quadratic quarter circle


def quarter(lower):
    """Type-128 parameters of the upper or lower quarter: u round the
    section (from the top, or from the half breadth), v along the meridian."""
    # unit section points (y, z) and weights of the quarter circle
    arc = [(1.0, 0.0), (1.0, -1.0), (0.0, -1.0)] if lower else [(0.0, 1.0), (1.0, 1.0), (1.0, 0.0)]
    warc = [1.0, W45, 1.0]
    nv = len(MERIDIAN)
    params = [128, 2, nv - 1, 2, DEGREE, 0, 0, 0, 0, 0]
    params += [0.0, 0.0, 0.0, 1.0, 1.0, 1.0]                   # u knots
    params += clamped_knots(nv, DEGREE)                        # v knots
    params += [warc[i] for _ in range(nv) for i in range(3)]   # weights, i fastest
    for x, r in MERIDIAN:
        for y, z in arc:
            params += [x, round(r * y, 12), round(AXIS_Z + r * z, 12)]
    params += [0.0, 1.0, 0.0, 1.0]
    return params


def meridian():
    """Type-126 parameters of the meridian, in the plane y = 0 (upper side)."""
    n = len(MERIDIAN)
    params = [126, n - 1, DEGREE, 1, 0, 1, 0] + clamped_knots(n, DEGREE) + [1.0] * n
    for x, r in MERIDIAN:
        params += [x, 0.0, round(AXIS_Z + r, 12)]
    return params + [0.0, 1.0, 0.0, 1.0, 0.0]


def axis():
    return [110, 0.0, 0.0, AXIS_Z, LENGTH, 0.0, AXIS_Z]


def number(v):
    if isinstance(v, int):
        return str(v)
    return repr(float(v)) if v != int(v) else "%d." % int(v)


def wrap(items, width):
    """Items joined by commas, ended by a semicolon, cut into lines of at
    most width characters, never inside an item."""
    lines, cur = [], ""
    for k, item in enumerate(items):
        text = item + (";" if k == len(items) - 1 else ",")
        if len(cur) + len(text) > width:
            lines.append(cur)
            cur = ""
        cur += text
    return lines + [cur]


def hollerith(s):
    return "%dH%s" % (len(s), s)


def write_iges(name):
    start = ["Bulb of the design-loop example: the starboard half of a body of",
             "revolution in two rational B-spline surfaces, its meridian and axis."]
    glob = ["1H,", "1H;", hollerith("design-loop bulb"), hollerith("bulb.igs"),
            hollerith("examples/design-loop/generate.py"), hollerith("generate.py 1"),
            "32", "38", "6", "308", "15", hollerith("design-loop bulb"), "1.", "6", hollerith("M"),
            "1", "0.001", hollerith("20240101.000000"), "1.E-07", "3.", hollerith("design loop"),
            hollerith("yacht suite"), "11", "0", hollerith("20240101.000000")]
    entities = [(axis(), "AXIS", 0), (meridian(), "MERIDIAN", 0),
                (quarter(False), "BULBTOP", 0), (quarter(True), "BULBBOT", 0)]
    d_lines, p_lines = [], []
    for e, (params, label, form) in enumerate(entities):
        de = 2 * e + 1
        body = wrap([number(v) for v in params], 64)
        first = len(p_lines) + 1
        for text in body:
            p_lines.append("%-64s %7dP%07d" % (text, de, len(p_lines) + 1))
        etype = params[0]
        d_lines.append("%8d%8d%8d%8d%8d%8d%8d%8d%8sD%07d" % (etype, first, 0, 0, 0, 0, 0, 0, "00000000", de))
        d_lines.append("%8d%8d%8d%8d%8d%16s%8s%8dD%07d" % (etype, 0, 0, len(body), form, "", label, 0, de + 1))
    s_lines = ["%-72sS%07d" % (t, k + 1) for k, t in enumerate(start)]
    g_lines = ["%-72sG%07d" % (t, k + 1) for k, t in enumerate(wrap(glob, 72))]
    t_line = "S%07dG%07dD%07dP%07d%40sT%07d" % (len(s_lines), len(g_lines), len(d_lines), len(p_lines), "", 1)
    with open(name, "w") as f:
        f.write("\n".join(s_lines + g_lines + d_lines + p_lines + [t_line]) + "\n")


# ---- keel and wing ----------------------------------------------------------

def half_thickness(ratio, xi):
    """NACA four-digit half thickness per unit chord, closed trailing edge."""
    return 5 * ratio * (0.2969 * math.sqrt(xi) - 0.1260 * xi - 0.3516 * xi ** 2
                        + 0.2843 * xi ** 3 - 0.1036 * xi ** 4)


def chord_fraction(k, n):
    """k-th of n chord fractions (k from 1), bunched at both edges."""
    return 0.5 * (1 - math.cos(math.pi * (k - 1) / (n - 1)))


def keel(stations, rows):
    """Rows from the hull (y = 0, f = 0) down to y = -depth inside the bulb,
    the chord growing downward and the leading edge swept back."""
    k = KEEL
    pts = []
    for j in range(rows):
        f = j / (rows - 1)
        chord = (k["te"] - k["le"]) * (1 - k["taper"] * (1 - f))
        lead = k["le"] + k["sweep"] * (1 - f)
        for i in range(1, stations + 1):
            xi = chord_fraction(i, stations)
            pts.append((lead + chord * xi, -k["depth"] * f, chord * half_thickness(k["ratio"], xi)))
    return pts


def wing(stations, rows):
    """Rows from z = z0 inside the bulb out to the tip, the section turned
    nose up about its quarter chord; stations from the trailing edge along
    the lower side to the leading edge and back along the upper side."""
    w = WING
    mid = (stations + 1) // 2
    turn = math.radians(w["incidence"])
    pts = []
    for j in range(rows):
        f = j / (rows - 1)
        chord = (w["te"] - w["le"]) * (1 - w["taper"] * f)
        quarter_x = w["le"] + 0.25 * (w["te"] - w["le"]) + w["sweep"] * f
        for i in range(1, stations + 1):
            xi = chord_fraction(abs(i - mid) + 1, mid)
            dx = (xi - 0.25) * chord
            dy = chord * half_thickness(w["ratio"], xi) * (1 if i > mid else -1)
            pts.append((quarter_x + dx * math.cos(turn) + dy * math.sin(turn),
                        AXIS_Z - dx * math.sin(turn) + dy * math.cos(turn),
                        w["z0"] + w["span"] * f))
    return pts


def write_network(name, title, ni, nj, pts):
    with open(name, "w") as f:
        f.write("%5d%5d%10s%s\n" % (ni, nj, "", title))
        for p in pts:
            f.write("%16.8E%16.8E%16.8E\n" % tuple(c + 0.0 for c in p))


def main():
    sizes, folder = FULL, "."
    if len(sys.argv) == 3 and sys.argv[1] == "--small":
        sizes, folder = SMALL, sys.argv[2]
    else:
        write_iges("bulb.igs")
    ks, kr = sizes["keel"]
    ws, wr = sizes["wing"]
    write_network(folder + "/keel.net", "design-loop keel, NACA 0012", ks, kr, keel(ks, kr))
    write_network(folder + "/wing.net", "design-loop wing, NACA 0010", ws, wr, wing(ws, wr))


if __name__ == "__main__":
    main()
