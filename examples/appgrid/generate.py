#!/usr/bin/env python3
"""Writes the appgrid demo's inputs: a bulb of revolution (17 x 9 points), a
keel and a wing made from NACA sections, and the intersection tables that
keelcut and foilcut would write for them (keelcut.out, foilcut.out).

Axes: x aft, y up, z to starboard; the networks are the starboard halves.
The bulb's rows run round each section from the top centre line (row 1)
over the maximum half breadth (row 5) to the bottom centre line (row 9);
its columns from the nose to the tail.  The keel stands on the bulb's top,
its rows from the hull down into the bulb; the wing leaves the bulb's
half-breadth line, its rows from inside the bulb outboard.

Every cut point is put on the bulb's bilinear surface (the surface appgrid
evaluates) at its bulb position (xsit, etat), and each appendage's grid
line through a station passes through that point at the row position
etas, so the tables agree with the networks."""
import math

IMI, JMI = 17, 9
LENGTH, YC = 2.0, -1.0            # bulb length, height of its axis
KEEL = (0.60, 1.20, 0.12)          # leading edge x, trailing edge x, thickness ratio
WING = (1.25, 1.75, 0.10)
KEEL_STATIONS, KEEL_ROWS, KEEL_DROP = 9, 9, 0.12    # rows from y = 0 down by KEEL_DROP
WING_STATIONS, WING_ROWS, WING_STEP = 17, 9, 0.08   # rows from z = WING_Z0 outboard
WING_Z0 = 0.08
WING_INCIDENCE = 4.0               # degrees, nose up


def radius(s):
    """Bulb radius at the length fraction s: a small round nose and tail."""
    return 0.02 + 0.23 * math.sin(math.pi * s) ** 0.8


def bulb_point(i, j):
    s = (i - 1) / (IMI - 1)
    theta = math.pi * (j - 1) / (JMI - 1)
    r = radius(s)
    return (LENGTH * s, YC + r * math.cos(theta), r * math.sin(theta))


BULB = {(i, j): bulb_point(i, j) for i in range(1, IMI + 1) for j in range(1, JMI + 1)}


def on_bulb(u, v):
    """The bulb's bilinear surface at index coordinates (u, v)."""
    i0, j0 = max(1, min(int(u), IMI - 1)), max(1, min(int(v), JMI - 1))
    a, b = u - i0, v - j0
    p = [BULB[(i0, j0)], BULB[(i0 + 1, j0)], BULB[(i0, j0 + 1)], BULB[(i0 + 1, j0 + 1)]]
    w = [(1 - a) * (1 - b), a * (1 - b), (1 - a) * b, a * b]
    return tuple(sum(w[k] * p[k][c] for k in range(4)) for c in range(3))


def u_at(x):
    """The bulb's columns stand at fixed x: u follows x linearly."""
    return 1.0 + (IMI - 1) * x / LENGTH


def v_at(u, j0, coord, target):
    """v in cell row j0..j0+1 where the coordinate takes the target value."""
    lo, hi = on_bulb(u, j0)[coord], on_bulb(u, j0 + 1)[coord]
    return j0 + (target - lo) / (hi - lo)


def half_thickness(ratio, chord, xi):
    """NACA four-digit half thickness, closed trailing edge."""
    return max(0.0, 5 * ratio * chord * (0.2969 * math.sqrt(xi) - 0.1260 * xi - 0.3516 * xi ** 2
                                + 0.2843 * xi ** 3 - 0.1036 * xi ** 4))


def chord_fraction(k, n):
    return 0.5 * (1 - math.cos(math.pi * (k - 1) / (n - 1)))


def keel():
    le, te, ratio = KEEL
    stations = []
    for k in range(1, KEEL_STATIONS + 1):
        xi = chord_fraction(k, KEEL_STATIONS)
        x = le + xi * (te - le)
        t = half_thickness(ratio, te - le, xi)
        u = u_at(x)
        v = v_at(u, 1, 2, t)                 # z = t between rows 1 and 2
        cut = on_bulb(u, v)
        etas = 1 + -cut[1] / KEEL_DROP       # the station's vertical line meets the bulb
        stations.append((cut, k, etas, u, v))
    rows = [[(st[0][0], KEEL_DROP * (1 - j), st[0][2]) for st in stations] for j in range(1, KEEL_ROWS + 1)]
    return rows, stations


def wing():
    """Stations from the trailing edge along the side towards the bottom to
    the leading edge (station 9) and back along the side towards the top;
    the section is turned nose up about its quarter chord, so that the
    foremost point of the root lies off the leading-edge station."""
    le, te, ratio = WING
    chord, turn = te - le, math.radians(WING_INCIDENCE)
    mid = (WING_STATIONS + 1) // 2
    jh = (JMI + 1) // 2
    stations = []
    for k in range(1, WING_STATIONS + 1):
        xi = chord_fraction(abs(k - mid) + 1, mid)
        dx = (xi - 0.25) * chord
        dy = half_thickness(ratio, chord, xi) * (1 if k > mid else -1)
        x = le + 0.25 * chord + dx * math.cos(turn) + dy * math.sin(turn)
        y = YC - dx * math.sin(turn) + dy * math.cos(turn)
        u = u_at(x)
        v = v_at(u, jh - 1, 1, y) if y > YC else v_at(u, jh, 1, y)
        cut = on_bulb(u, v)
        etas = 1 + (cut[2] - WING_Z0) / WING_STEP
        stations.append((cut, k, etas, u, v))
    rows = [[(st[0][0], st[0][1], WING_Z0 + WING_STEP * (j - 1)) for st in stations]
            for j in range(1, WING_ROWS + 1)]
    return rows, stations


def write_network(name, title, rows):
    with open(name, "w") as f:
        f.write("%5d%5d%10s%s\n" % (len(rows[0]), len(rows), "", title))
        for row in rows:
            for p in row:
                f.write("%16.8E%16.8E%16.8E\n" % p)


def write_table(name, stations):
    heads = ["xint", "yint", "zint", "xsis", "etas", "xsit", "etat"]
    with open(name, "w") as f:
        f.write("%5s" % "iint" + "".join("%10s" % h for h in heads) + "\n")
        for cut, k, etas, u, v in stations:
            f.write("%5d" % 1 + "".join("%10.5f" % c for c in (*cut, k, etas, u, v)) + "\n")


def main():
    bulb_rows = [[BULB[(i, j)] for i in range(1, IMI + 1)] for j in range(1, JMI + 1)]
    write_network("bulb.net", "demo bulb of revolution", bulb_rows)
    rows, stations = keel()
    write_network("keel.net", "demo keel, NACA 0012", rows)
    write_table("keelcut.out", stations)
    rows, stations = wing()
    write_network("wing.net", "demo wing, NACA 0010", rows)
    write_table("foilcut.out", stations)


if __name__ == "__main__":
    main()
