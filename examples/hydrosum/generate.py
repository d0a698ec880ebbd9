#!/usr/bin/env python3
"""Writes the demo's force-moment files: a small test matrix of a 1:10 model
(three heels, four runs, the four result classes and both upright sets),
laid out as the flow solver writes them."""
import math

heels = {"00": 0.0, "10": 10.0, "20": 20.0}
runs = {"a00": (0.0, 0.0), "r01": (2.0, 2.0), "r02": (4.0, -2.0), "r03": (6.0, 1.0)}   # yaw, rudder
speeds = [1.0, 1.4, 1.8, 2.2]        # model speeds, m/s
WETTED = [2.10, 0.32, 0.18, 0.0, 0.09, 0.0]   # hull keel bulb fourth rudder wing (model m^2)
PARTS = [1.20, 0.0, 0.35, 0.021, 0.55, 0.004]  # length, frud area, ..., model units


def header(kind, type_code):
    first = ("MAREVO force-moment file, class %s" % kind).ljust(70) + "%8d" % type_code
    lines = [first, " solver version 4.2", " model 1:10 demo hull", " free surface: on", " units: m, N"]
    if type_code in (3, 4, 103, 104):
        lines += [" component breakdown follows the viscous group"] * 6
    lines += ["    speed      heel       yaw       tab    rudder      sink      trim    type", ""]
    return lines


def vals(v):
    return "".join("%14.6E" % x for x in v)


def case(kind, v, heel, yaw, rudder, type_code):
    h = math.radians(heel)
    b = math.radians(yaw)
    rud = rudder if kind in "rw" else 0.0
    wakes = kind in "rk"
    cdi = 0.0008 + 0.012 * b * b + 0.004 * math.sin(h) ** 2 + 0.0003 * v   # per unit q
    side = 0.30 * b + 0.02 * math.radians(rud) + 0.015 * math.sin(h)
    if not wakes:
        cdi *= 0.93
        side *= 0.97
    inviscid = [cdi, -0.02 * v, side, 0.18 * side + 0.05 * math.sin(h), 0.40 * side, -0.01 * v]
    viscous = [0.0041 + 0.0002 * v, 0.0, 0.0, 0.0, 0.0, 0.0]
    hydro = [0.0, 2400.0 - 3.0 * v * v, 0.0, -85.0 * math.sin(h), 0.0, 12.0 * v]
    aux = [0.0] * 6
    lines = ["%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%8d"
             % (v, heel, yaw, 0.0, rud, -0.002 * v * v, 0.05 * v, type_code)]
    wet = list(WETTED)
    if kind in "kn":
        wet[4] = 0.0
    lines += [vals(wet), vals(PARTS), vals(aux), vals(hydro)]
    if type_code in (3, 4, 103, 104):
        for share in (0.62, 0.20, 0.10, 0.0, 0.08 if kind in "rw" else 0.0, 0.0):
            lines.append(vals([viscous[0] * share, 0, 0, 0, 0, 0]))
    lines += [vals(viscous), vals(inviscid)]
    return lines


def write(name, kind, heel, yaw, rudder, type_code=1):
    lines = header(kind, type_code)
    # the reference runs start with a case at rest, for the at-rest hydrostatics
    at_rest = [0.0] if name[3:6] == "a00" or name[:2] in ("ku", "nu") else []
    for v in at_rest + speeds:
        lines += case(kind, v, heel, yaw, rudder, type_code)
    with open(name, "w") as f:
        f.write("\n".join(lines) + "\n")


for hc, heel in heels.items():
    for rc, (yaw, rudder) in runs.items():
        for kind in "rkwn":
            write("%s%s%s.fm" % (kind, hc, rc), kind, heel, yaw, rudder, 3 if kind in "rk" else 1)
write("ku.fm", "k", 0.0, 0.0, 0.0, 3)
write("nu.fm", "n", 0.0, 0.0, 0.0)


def network(name, title, ni, nj, point):
    lines = ["%5d%5d%10s%s" % (ni, nj, "", title)]
    for j in range(nj):
        for i in range(ni):
            lines.append("".join("%16.8E" % (c + 0.0) for c in point(i, j)))
    with open(name, "w") as f:
        f.write("\n".join(lines) + "\n")


def foil(chord_root, chord_tip, depth, sweep, thick):
    """One side of a NACA 00xx foil: i from leading to trailing edge, j from root to tip."""
    def point(i, j, ni=9, nj=5):
        f = j / (nj - 1)
        c = chord_root + (chord_tip - chord_root) * f
        t = 0.5 * (1 - math.cos(math.pi * i / (ni - 1)))
        yt = 5 * thick * (0.2969 * math.sqrt(t) - 0.1260 * t - 0.3516 * t * t + 0.2843 * t ** 3 - 0.1015 * t ** 4)
        return (sweep * f + c * t, c * yt, 0.0 - depth * f)
    return point


# model-scale part networks for the viscous drag (the deck scales them by 10)
network("hull.net", "demo hull", 3, 3, lambda i, j: (0.6 * i, 0.1 * j, -0.02 * j))
network("keel.net", "demo keel", 9, 5, foil(0.12, 0.09, 0.15, 0.03, 0.12))
network("rudder.net", "demo rudder", 9, 5, foil(0.08, 0.06, 0.10, 0.01, 0.10))


def bulb_point(i, j, ni=13, nj=7):
    t = 0.5 * (1 - math.cos(math.pi * i / (ni - 1)))
    r = 0.04 * math.sqrt(max(0.0, math.sin(math.pi * t))) if 0 < i < ni - 1 else 0.0
    phi = math.pi * j / (nj - 1)    # a half section, from z = 0 round to z = 0
    return (0.40 * t, -r * math.cos(phi), r * math.sin(phi))


network("bulb.net", "demo bulb", 13, 7, bulb_point)
