# The design loop's checks between the steps, one line each, run in the
# working folder: awk -v check=NAME [-v name=value ...] -f checks.awk
# Each prints "   check: ..." ending in "(ok)" or "(FAILED)" and exits 1
# when it failed.
#   quarters   the surfmesh quarters meet on the maximum half breadth
#   reduced    bulb128.igs holds bulb.igs's surfaces alone and meshes as it
#   layout     bulb.net is in the layout appgrid expects
#   tables     keelcut.out and foilcut.out cut the bulb at every station
#   keelroot   bulb-new.net's row 1 follows the keel's cut row (ikle, ikte)
#   wingroot   its middle rows follow the wing's cut row (iwle, iwte)
#   panels     meshdump's panel count is that of design.net's networks

# The first network of a file: counts in NI[t], NJ[t], points in X[t,i,j],
# Y[t,i,j], Z[t,i,j]; the points stand one a line in three 16-column
# fields, as the suite's programs write them.
function load(file, t,    line, m, i, j) {
    if ((getline line < file) <= 0) { print "   check: " file " holds no network (FAILED)"; exit 1 }
    NI[t] = substr(line, 1, 5) + 0
    NJ[t] = substr(line, 6, 5) + 0
    for (m = 0; m < NI[t] * NJ[t]; m++) {
        if ((getline line < file) <= 0) { print "   check: " file " ends early (FAILED)"; exit 1 }
        i = m % NI[t] + 1
        j = int(m / NI[t]) + 1
        X[t, i, j] = substr(line, 1, 16) + 0
        Y[t, i, j] = substr(line, 17, 16) + 0
        Z[t, i, j] = substr(line, 33, 16) + 0
    }
    close(file)
}

function abs(v) { return v < 0 ? -v : v }
function max(a, b) { return a > b ? a : b }

function dist(t, i, j, u, k, l) {
    return sqrt((X[t, i, j] - X[u, k, l]) ^ 2 + (Y[t, i, j] - Y[u, k, l]) ^ 2 + (Z[t, i, j] - Z[u, k, l]) ^ 2)
}

# Distance from point (i, j) of t to the polygon through points k1..k2 of
# row l of u; NEAR is the first point of the nearest side.
function to_polygon(t, i, j, u, k1, k2, l,    k, ax, ay, az, bx, by, bz, s, den, d, best) {
    best = -1
    for (k = k1; k < k2; k++) {
        ax = X[u, k + 1, l] - X[u, k, l]; ay = Y[u, k + 1, l] - Y[u, k, l]; az = Z[u, k + 1, l] - Z[u, k, l]
        bx = X[t, i, j] - X[u, k, l]; by = Y[t, i, j] - Y[u, k, l]; bz = Z[t, i, j] - Z[u, k, l]
        den = ax * ax + ay * ay + az * az
        s = den > 0 ? (ax * bx + ay * by + az * bz) / den : 0
        if (s < 0) s = 0
        if (s > 1) s = 1
        d = sqrt((bx - s * ax) ^ 2 + (by - s * ay) ^ 2 + (bz - s * az) ^ 2)
        if (best < 0 || d < best) { best = d; NEAR = k }
    }
    return best
}

# How far the polygon through points k1..k2 of row l of u bends at each of
# them: BEND[k] is the distance of point k from the chord of its two
# neighbours (the end points take their neighbour's). Between two points
# the curve the polygon samples departs from it by about a quarter of that.
function bend(u, k1, k2, l,    k) {
    for (k = k1 + 1; k < k2; k++) {
        X["c", 1, 1] = X[u, k - 1, l]; Y["c", 1, 1] = Y[u, k - 1, l]; Z["c", 1, 1] = Z[u, k - 1, l]
        X["c", 2, 1] = X[u, k + 1, l]; Y["c", 2, 1] = Y[u, k + 1, l]; Z["c", 2, 1] = Z[u, k + 1, l]
        BEND[k] = to_polygon(u, k, l, "c", 1, 2, 1)
    }
    BEND[k1] = BEND[k1 + 1]
    BEND[k2] = BEND[k2 - 1]
}

# Point (i, j) of t against the polygon through points k1..k2 of row l of
# u, whose BEND is known: LARGEST is the largest distance so far; WORST and
# its ALLOWED distance, the bend of the nearest side, are kept for the point
# that comes nearest to its limit.
function follows(t, i, j, u, k1, k2, l,    d, allowed) {
    d = to_polygon(t, i, j, u, k1, k2, l)
    LARGEST = max(LARGEST, d)
    allowed = max(BEND[NEAR], BEND[NEAR + 1])
    if (d - allowed > WORST - ALLOWED) { WORST = d; ALLOWED = allowed }
}

function verdict(ok, text) {
    print "   check: " text (ok ? " (ok)" : " (FAILED)")
    failed = !ok
}

function quarters(    i, d) {
    load("bulb-upper.net", "u")
    load("bulb-lower.net", "l")
    d = 0
    for (i = 1; i <= NI["u"]; i++) d = max(d, dist("u", i, NJ["u"], "l", i, 1))
    verdict(NI["u"] == NI["l"] && d <= 1e-5,
            sprintf("the quarters meet on the maximum half breadth: the upper's last row and the lower's first row %.1e apart (at most 1e-5)", d))
}

# The entities of an IGES file: their count in ENT[t], the surfaces among
# them in SURF[t].
function entities(file, t,    line) {
    while ((getline line < file) > 0)
        if (substr(line, 73, 1) == "D" && substr(line, 74) % 2 == 1) {
            ENT[t]++
            SURF[t] += substr(line, 1, 8) + 0 == 128
        }
    close(file)
}

function reduced(    a, b, n, same) {
    entities("bulb.igs", "o")
    entities("bulb128.igs", "r")
    same = 1
    while ((getline a < "bulb-surfaces.net") > 0) {
        n++
        if ((getline b < "bulb128.net") <= 0 || a != b) same = 0
    }
    if ((getline b < "bulb128.net") > 0) same = 0
    verdict(ENT["r"] == SURF["o"] && SURF["r"] == SURF["o"] && n > 0 && same,
            sprintf("bulb128.igs holds the %d surfaces of bulb.igs's %d entities alone; read back, it meshes as bulb.igs does (bulb128.net and bulb-surfaces.net %s)",
                    SURF["r"], ENT["o"], same ? "alike" : "differ"))
}

function layout(    i, j, ztop, zbot, jh, widest, nose) {
    load("bulb.net", "b")
    jh = int((NJ["b"] + 1) / 2)
    ztop = zbot = 0
    widest = 1
    nose = 1
    for (i = 1; i <= NI["b"]; i++) {
        ztop = max(ztop, abs(Z["b", i, 1]))
        zbot = max(zbot, abs(Z["b", i, NJ["b"]]))
        for (j = 1; j <= NJ["b"]; j++) {
            if (Z["b", i, j] > Z["b", i, jh] + 1e-6) widest = 0
            if (X["b", i, j] < X["b", 1, 1] || X["b", i, j] > X["b", NI["b"], j] + 1e-6) nose = 0
        }
    }
    verdict(NI["b"] == 17 && NJ["b"] == 9 && ztop <= 1e-5 && zbot <= 1e-5 && widest && nose && Y["b", 1, 1] > Y["b", 1, NJ["b"]] - 1e-6,
            sprintf("%d x %d; row 1 on the top centre line (|z| <= %.1e), row %d the widest of every column, row %d on the bottom centre line (|z| <= %.1e), column 1 fore, column %d aft",
                    NI["b"], NJ["b"], ztop, jh, NJ["b"], zbot, NI["b"]))
}

# The stations of an intersection table: N[t] of them, status S[t,k] and
# bulb row position E[t,k] (etat, the last field).
function table(file, t,    line, f, n) {
    getline line < file
    n = 0
    while ((getline line < file) > 0) {
        split(line, f, " ")
        n++
        S[t, n] = f[1] + 0
        E[t, n] = f[8] + 0
    }
    N[t] = n
    close(file)
}

function tables(    k, kc, wc, lo, hi) {
    table("keelcut.out", "k")
    table("foilcut.out", "w")
    kc = wc = 0
    lo = 1e9; hi = -1e9
    for (k = 1; k <= N["k"]; k++) kc += S["k", k] != 0
    for (k = 1; k <= N["w"]; k++) {
        wc += S["w", k] != 0
        lo = E["w", k] < lo ? E["w", k] : lo
        hi = E["w", k] > hi ? E["w", k] : hi
    }
    verdict(N["k"] > 0 && kc == N["k"] && abs(E["k", 1] - 1) < 1e-4 && abs(E["k", N["k"]] - 1) < 1e-4 && N["w"] > 0 && wc == N["w"],
            sprintf("keel: %d of %d stations cut the bulb, the first and last on its top centre line (etat %.5f, %.5f); wing: %d of %d, bulb rows %.2f to %.2f",
                    kc, N["k"], E["k", 1], E["k", N["k"]], wc, N["w"], lo, hi))
}

function keelroot(    i, n, ends) {
    load("bulb-new.net", "b")
    load("keel-trimmed.net", "k")
    n = NI["k"]
    ends = max(dist("b", ikle, 1, "k", 1, NJ["k"]), dist("b", ikte, 1, "k", n, NJ["k"]))
    bend("k", 1, n, NJ["k"])
    WORST = LARGEST = 0; ALLOWED = 1e30
    for (i = ikle; i <= ikte; i++) follows("b", i, 1, "k", 1, n, NJ["k"])
    verdict(ends <= 1e-4 && WORST <= ALLOWED,
            sprintf("keel root: bulb-new.net row 1, columns %d-%d, ends %.1e from the keel's edges (at most 1e-4), every point on keel-trimmed.net's cut row within the bend of its chords (largest distance %.1e; nearest its limit %.1e of %.1e)",
                    ikle, ikte, ends, LARGEST, WORST, ALLOWED))
}

# With a wing the new bulb holds its middle row twice: row jh on the upper
# half of the wing's cut row (from the leading edge to the last station),
# row jh + 1 on the lower half (to the first station).
function wingroot(    i, n, le, jh, ends, open, shut) {
    load("bulb-new.net", "b")
    load("wing-trimmed.net", "w")
    n = NI["w"]
    le = int((n + 1) / 2)
    jh = NJ["b"] / 2
    ends = max(dist("b", iwle, jh, "w", le, 1), dist("b", iwte, jh, "w", n, 1))
    ends = max(ends, max(dist("b", iwle, jh + 1, "w", le, 1), dist("b", iwte, jh + 1, "w", 1, 1)))
    bend("w", 1, n, 1)
    WORST = LARGEST = open = 0; ALLOWED = 1e30
    shut = 1
    for (i = iwle; i <= iwte; i++) {
        follows("b", i, jh, "w", le, n, 1)
        follows("b", i, jh + 1, "w", 1, le, 1)
        open = max(open, Y["b", i, jh] - Y["b", i, jh + 1])
        if (Y["b", i, jh] < Y["b", i, jh + 1] - 1e-6) shut = 0
    }
    verdict(ends <= 1e-4 && WORST <= ALLOWED && shut,
            sprintf("wing root: bulb-new.net rows %d and %d, columns %d-%d, on the upper and lower side of wing-trimmed.net's cut row: ends %.1e (at most 1e-4), every point within the bend of its chords (largest distance %.1e; nearest its limit %.1e of %.1e); the slit opens upward, by up to %.3f",
                    jh, jh + 1, iwle, iwte, ends, LARGEST, WORST, ALLOWED, open))
}

function panels(    file, line, n, k, sum) {
    file = "design.net"
    sum = n = 0
    while ((getline line < file) > 0) {
        n++
        NI["d"] = substr(line, 1, 5) + 0
        NJ["d"] = substr(line, 6, 5) + 0
        if (NI["d"] > 1 && NJ["d"] > 1) sum += (NI["d"] - 1) * (NJ["d"] - 1)
        for (k = 0; k < NI["d"] * NJ["d"]; k++) getline line < file
    }
    close(file)
    verdict(found_networks == n && found_panels == sum,
            sprintf("design.net holds %d networks of %d panels in all, as meshdump counts", n, sum))
}

BEGIN {
    if (check == "quarters") quarters()
    else if (check == "reduced") reduced()
    else if (check == "layout") layout()
    else if (check == "tables") tables()
    else if (check == "keelroot") keelroot()
    else if (check == "wingroot") wingroot()
    else if (check == "panels") panels()
    else { print "checks.awk: no check " check; exit 2 }
    exit failed
}
