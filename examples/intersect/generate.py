#!/usr/bin/env python3
"""Writes the intersection examples: a bulb of revolution, a keel standing
on its top and a wing on its half-breadth line (NACA 0012 sections), laid
out as appgrid reads them, and the answers that keelcut and foilcut take.

Axes: x aft, y up, z to starboard; every network is the starboard half.
Bulb, 17 x 9: column 1 the nose point, column 17 the tail point; row 1 the
top centre line (z = 0, y > 0), row 5 the maximum half-breadth line
(y = 0), row 9 the bottom centre line.
Keel, 9 x 9: stations along i from leading to trailing edge, rows along j
from the hull (row 1) down into the bulb (row 9).
Wing, 17 x 9: stations along i round the section, upper trailing edge,
leading edge (station 9), lower trailing edge; rows along j from inside
the bulb (row 1) out to the tip.
Both appendages are cut along their rows ("+n") with their stations along
i ("+m"), the layout of the tables appgrid reads."""
import math

LENGTH, RADIUS = 2.0, 0.3


def cosine(k, n):
    """k-th of n parameters from 0 to 1, bunched at both ends."""
    return 0.5 * (1.0 - math.cos(math.pi * k / (n - 1)))


def thickness(t, ratio=0.12):
    """Half thickness of a NACA 00xx section per unit chord at chord fraction t."""
    return 5 * ratio * (0.2969 * math.sqrt(t) - 0.1260 * t - 0.3516 * t * t + 0.2843 * t ** 3 - 0.1015 * t ** 4)


def bulb(i, j):
    t = cosine(i, 17)
    r = 2.0 * RADIUS * math.sqrt(t * (1.0 - t))     # an ellipsoid of revolution
    phi = math.pi * j / 8                           # top, half breadth, bottom
    return (LENGTH * t, r * math.cos(phi), r * math.sin(phi))


def keel(i, j):
    f = j / 8                                       # 0 at the hull, 1 inside the bulb
    chord = 0.50 + 0.20 * f
    lead = 0.75 - 0.10 * f
    t = cosine(i, 9)
    return (lead + chord * t, 1.0 - 0.9 * f, chord * thickness(t))


def wing(i, j):
    f = j / 8                                       # 0 inside the bulb, 1 at the tip
    chord = 0.40 - 0.15 * f
    lead = 1.15 + 0.15 * f
    if i <= 8:                                      # upper side, trailing edge first
        t, side = 1.0 - cosine(i, 9), 1.0
    else:
        t, side = cosine(i - 8, 9), -1.0
    return (lead + chord * t, side * chord * thickness(t), 0.1 + 0.9 * f)


def write_network(name, title, ni, nj, point):
    rows = ["%5d%5d%10s%s" % (ni, nj, "", title)]
    rows += ["%16.8E%16.8E%16.8E" % point(i, j) for j in range(nj) for i in range(ni)]
    with open(name, "w") as f:
        f.write("\n".join(rows) + "\n")


write_network("bulb.net", "example bulb, ellipsoid of revolution", 17, 9, bulb)
write_network("keel.net", "example keel, NACA 0012 sections", 9, 9, keel)
write_network("wing.net", "example wing, NACA 0012 sections", 17, 9, wing)

# source, its xsi and eta specs, its two flags; target, specs, four flags.
# The keel meets the bulb's top centre line at its leading and trailing
# edges, so the bulb's eta start edge (row 1) may be prolonged there.
for program, source, target_flags in (("keelcut", "keel.net", "0 0 1 0"), ("foilcut", "wing.net", "0 0 0 0")):
    with open(program + ".answers", "w") as f:
        f.write("\n".join([source, "+n", "+m", "0 0", "bulb.net", "+m", "+n", target_flags]) + "\n")
