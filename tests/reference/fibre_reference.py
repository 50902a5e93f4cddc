#!/usr/bin/env python3
"""Reference values for the fibre-concrete tests, computed apart from the C++ code
with the exact arithmetic of rounding.py.

    python3 fibre_reference.py section   # rows of the realistic section run
    python3 fibre_reference.py moment    # moments at a few curvatures
    python3 fibre_reference.py table     # the moments of an n = 0 combination table
"""
import sys
from fractions import Fraction

from rounding import add as total, div, fixed as fixed_store, fmt, fmt_fixed, fval as fixed_value, lit, mul as chain
from rounding import single, sub

HALF = lit("0.5")
ONE = lit("1")
TWO = lit("2")
THREE = lit("3")
TWO_THIRDS = div(TWO, THREE)


def mul(x, y):
    return chain(x, y)


def add(x, y):
    return total(x, y)


def trunc(f):
    return int(f)  # toward zero for Fraction


# ---------------------------------------------------------------- the section run
def section_run(fields, rows_wanted):
    """fields: texts fcp, fct, E, ecpm, ectm, a, b, w, h, N, step. Returns {row: cells}."""
    a = single(lit(fields["a"]))
    b = single(lit(fields["b"]))
    E_raw = fixed_store(lit(fields["E"]))
    ecpm = lit(fields["ecpm"])
    ectm = lit(fields["ectm"])
    fcp_raw = fixed_store(lit(fields["fcp"]))
    fct_raw = fixed_store(lit(fields["fct"]))
    w = single(lit(fields["w"]))
    h = single(lit(fields["h"]))
    N_raw = fixed_store(lit(fields["N"]))
    E, fcp, fct = fixed_value(E_raw), fixed_value(fcp_raw), fixed_value(fct_raw)
    ec0 = single(div(fcp_raw, E_raw))
    et0 = single(div(fct_raw, E_raw))
    et1 = single(add(div(fct_raw, E_raw), div(mul(a, fct), E)))
    etu = mul(ectm, lit("0.01"))
    ecu = mul(ecpm, lit("0.01"))
    step = single(lit(fields["step"]))
    dx = lit("5e-6")
    Nmn = mul(fixed_value(N_raw), lit("0.001"))
    one_a = sub(ONE, a)
    one_a_b = sub(sub(ONE, a), b)

    def trial(kappa, x):
        xt = sub(h, x)
        epsd = mul(xt, kappa)
        epsh = mul(x, kappa)
        if epsh <= ec0:
            FP = -(chain(HALF, epsh, E, w, x))
            sigh = fixed_store(-(mul(E, epsh)))
            zc = single(mul(TWO_THIRDS, x))
        else:
            xc0 = div(ec0, kappa)
            F1 = chain(HALF, fcp, w, xc0)
            F2 = chain(fcp, w, sub(x, xc0))
            z1 = single(mul(TWO_THIRDS, xc0))
            z2 = single(add(xc0, div(sub(x, xc0), TWO)))
            FP = -(add(F1, F2))
            sigh = -fcp_raw
            zc = single(div(add(mul(F1, z1), mul(F2, z2)), add(F1, F2)))
        if epsd <= et0:
            FT = chain(HALF, epsd, E, w, xt)
            sigd = fixed_store(mul(E, epsd))
            zt = single(mul(TWO_THIRDS, xt))
        elif epsd <= et1:
            xe = div(et0, kappa)
            s = single(sub(xt, xe))
            e = single(div(mul(mul(a, fct), sub(et1, epsd)), sub(et1, et0)))
            pieces = [
                (chain(HALF, fct, w, xe), single(mul(TWO_THIRDS, xe))),
                (chain(one_a, fct, w, s), single(sub(xt, div(s, TWO)))),
                (chain(e, w, s), single(sub(xt, div(s, TWO)))),
                (chain(HALF, sub(mul(a, fct), e), w, s), single(add(xe, div(s, THREE)))),
            ]
            FT = total(*[p[0] for p in pieces])
            zt = single(div(total(*[mul(p[0], p[1]) for p in pieces]), FT))
            sigd = fixed_store(add(mul(one_a, fct), e))
        else:
            xe = div(et0, kappa)
            x1 = div(sub(et1, et0), kappa)
            d1 = div(et1, kappa)
            s = single(sub(xt, d1))
            e2 = single(mul(mul(one_a_b, fct), sub(ONE, div(sub(epsd, et1), sub(etu, et1)))))
            pieces = [
                (chain(HALF, fct, w, xe), single(mul(TWO_THIRDS, xe))),
                (chain(one_a, fct, w, x1), single(add(xe, div(x1, TWO)))),
                (chain(HALF, a, fct, w, x1), single(add(xe, div(x1, THREE)))),
                (chain(b, fct, w, s), single(add(d1, div(s, TWO)))),
                (chain(e2, w, s), single(add(d1, div(s, TWO)))),
                (chain(HALF, sub(mul(one_a_b, fct), e2), w, s), single(add(d1, div(s, THREE)))),
            ]
            FT = total(*[p[0] for p in pieces])
            zt = single(div(total(*[mul(p[0], p[1]) for p in pieces]), FT))
            sigd = fixed_store(add(mul(b, fct), e2))
        r = fixed_store(sub(Nmn, add(FT, FP)))
        q = fixed_store(mul(abs(fixed_value(r)), lit("1000")))
        ok = trunc(fixed_value(q)) == 0
        return ok, dict(x=x, epsh=epsh, epsd=epsd, FP=FP, FT=FT, zc=zc, zt=zt, sigh=sigh, sigd=sigd)

    out = {}
    kappa = -(step)
    i = 0
    while True:
        kappa = add(kappa, step)
        i += 1
        x = add(div(h, TWO), dx)
        while True:
            x = sub(x, dx)
            ok, t = trial(kappa, x)
            if ok:
                break
        M = mul(-(t["FP"]), single(add(t["zc"], t["zt"])))
        cells = [fmt(kappa), fmt(M), fmt_fixed(fixed_store(t["x"])), fmt_fixed(t["sigh"]), fmt_fixed(t["sigd"]),
                 fmt(t["epsh"]), fmt(t["epsd"]), fmt(t["FT"]), fmt(t["FP"])]
        end = None
        if etu < t["epsd"]:
            end = "bet.roztržen"
        if ecu < t["epsh"]:
            end = "bet.rozdrcen"
        if i in rows_wanted or end:
            out[i] = (cells, end)
            print(i, end, "\t".join(cells), flush=True)
        if end:
            return out


# ---------------------------------------------------------------- the moment scan
def moment(w, h, E, fcp, fct, a, b, etu, kappa):
    """Inputs as texts; w, h, a, b, kappa single, all else extended. Returns (moment text, trials)."""
    w, h, a, b, kappa = (single(lit(v)) for v in (w, h, a, b, kappa))
    E, fcp, fct = (lit(v) for v in (E, fcp, fct))
    etu = lit(etu) if isinstance(etu, str) else etu
    et0 = div(fct, E)
    ec0 = div(fcp, E)
    et1 = add(div(fct, E), div(mul(a, fct), E))
    one_a = sub(ONE, a)
    one_a_b = sub(sub(ONE, a), b)
    dx = lit("0.00001")
    x = add(div(h, TWO), dx)
    trials = 0
    while True:
        x = sub(x, dx)
        if x < -dx / 2:
            return None, trials
        trials += 1
        xt = sub(h, x)
        epsh = mul(kappa, x)
        epsd = mul(kappa, xt)
        if epsh <= ec0:
            FP = -(chain(HALF, E, epsh, w, x))
            zc = (mul(TWO_THIRDS, x))
        else:
            xc0 = div(ec0, kappa)
            F1 = chain(HALF, fcp, w, xc0)
            F2 = chain(fcp, w, sub(x, xc0))
            FP = -(add(F1, F2))
            zc = (div(add(mul(F1, (mul(TWO_THIRDS, xc0))), mul(F2, (add(xc0, div(sub(x, xc0), TWO))))), -(FP)))
        xe = None
        if epsd <= et0:
            FT = chain(HALF, E, epsd, w, xt)
            zt = (mul(TWO_THIRDS, xt))
        elif epsd <= et1:
            xe = div(et0, kappa)
            s = sub(xt, xe)
            e = div(mul(mul(a, fct), sub(et1, epsd)), sub(et1, et0))
            pieces = [
                (chain(HALF, fct, w, xe), (mul(TWO_THIRDS, xe))),
                (chain(one_a, fct, w, s), (sub(xt, div(s, TWO)))),
                (chain(e, w, s), (sub(xt, div(s, TWO)))),
                (chain(HALF, sub(mul(a, fct), e), w, s), (add(xe, div(s, THREE)))),
            ]
            FT = total(*[p[0] for p in pieces])
            zt = (div(total(*[mul(p[0], p[1]) for p in pieces]), FT))
        else:
            xe = div(et0, kappa)
            x1 = div(sub(et1, et0), kappa)
            d1 = div(et1, kappa)
            s = sub(xt, d1)
            e2 = mul(mul(one_a_b, fct), sub(ONE, div(sub(epsd, et1), sub(etu, et1))))
            pieces = [
                (chain(HALF, fct, w, xe), (mul(TWO_THIRDS, xe))),
                (chain(one_a, fct, w, x1), (add(xe, div(x1, TWO)))),
                (chain(HALF, a, fct, w, x1), (add(xe, div(x1, THREE)))),
                (chain(b, fct, w, s), (add(d1, div(s, TWO)))),
                (chain(e2, w, s), (add(d1, div(s, TWO)))),
                (chain(HALF, sub(mul(one_a_b, fct), e2), w, s), (add(d1, div(s, THREE)))),
            ]
            FT = total(*[p[0] for p in pieces])
            zt = (div(total(*[mul(p[0], p[1]) for p in pieces]), FT))
        if trunc(mul(lit("1000"), abs(add(FT, FP)))) == 0:
            M = mul(mul(-(FP), add(zc, zt)), lit("1000"))
            return fmt(M), trials


if __name__ == "__main__":
    what = sys.argv[1] if len(sys.argv) > 1 else "section"
    if what == "section":
        realistic = dict(fcp="40", fct="3", E="34000", ecpm="0,35", ectm="2", a="0,4", b="0,3", w="0,15", h="0,15",
                         N="0", step="0,01")
        section_run(realistic, {1, 2, 3, 5, 8})
    elif what == "table":
        # The n = 0 combination table of E 28000/34000, fct 3/4, ectm 2/3 %, a 0,2/0,4,
        # b 0,3/0,5, fcp 30 on a 0,1 x 0,15 m section at three curvatures; ectm is
        # converted as ectm x 0,01.
        import itertools
        for E, fct, ectm, a, b in itertools.product(("28000", "34000"), ("3", "4"), ("2", "3"), ("0,2", "0,4"),
                                                    ("0,3", "0,5")):
            etu = mul(lit(ectm), lit("0.01"))
            print(*(moment("0,1", "0,15", E, "30", fct, a, b, etu, kappa)[0]
                    for kappa in ("0,0001", "0,02", "6E-2")), flush=True)
    else:
        # (E, fcp, fct, a, b, etu, kappa) on a 0,15 x 0,15 m section
        cases = [("30000", "40", "3", "0,4", "0,3", "0,02", "0,002"),
                 ("30000", "40", "3", "0,4", "0,3", "0,02", "0,01"),
                 ("30000", "40", "3", "0,4", "0,3", "0,02", "0,05"),
                 ("30000", "40", "3", "0", "0,3", "0,02", "0,05"),
                 ("30000", "40", "3", "0,4", "0,6", "0,02", "0,05"),
                 ("30000", "40", "3", "0,4", "0,3", "0,02", "0,25"),
                 ("30000", "40", "3", "0,4", "0,3", "0,02", "0,5")]
        for E, fcp, fct, a, b, etu, kappa in cases:
            print(E, fcp, fct, a, b, etu, kappa, *moment("0,15", "0,15", E, fcp, fct, a, b, etu, kappa), flush=True)
