"""Reference tables of the section working diagram, computed apart from the C++ code
with the exact arithmetic of rounding.py. Writes <name>.tsv next to itself.

The neutral-axis scan is the fixed-step scan from the top edge; because the force
sum falls monotonically as the neutral axis moves down near the balance, the first
balanced trial is found by coarse steps and bisection over the same sequence of
trial depths.

    python3 section_reference.py [NAME ...]
"""

import os
import sys
from fractions import Fraction as Fr

from rounding import add, div, ext as X, fixed, fmt, fval, mul, power, single as S, sub


def parse(text):
    return X(Fr(text.replace(',', '.')))


TWO3 = div(Fr(2), Fr(3))
FIVE3 = div(Fr(5), Fr(3))
HALF = Fr(1, 2)


def three_piece(d, sm, stop, b):
    half = div(d, 2)
    ds = S(sub(stop, sm))
    P1 = S(mul(HALF, half, b, sm))
    P2 = S(mul(half, b, sm))
    P3 = S(mul(HALF, half, b, ds))
    num = add(add(mul(P1, TWO3, half), mul(P2, Fr(3, 2), half)), mul(P3, FIVE3, half))
    return S(div(num, add(add(P1, P2), P3)))


def compression(c, kind, x, k, epsh, plain):
    fcp, E, b = fval(c['fcp']), fval(c['E']), c['b']
    if kind == 0:
        ec0 = S(Fr(c['fcp'], c['E']))
        if epsh <= ec0:
            if plain:
                FP = -mul(HALF, b, x, mul(E, epsh))
            else:
                FP = -mul(HALF, b, epsh, E, x)
            return FP, fixed(mul(E, epsh)), S(mul(TWO3, x))
        xc0 = div(ec0, k)
        F1 = -mul(HALF, b, fcp, xc0)
        F2 = -mul(b, fcp, sub(x, xc0))
        FP = add(F1, F2)
        z1 = S(mul(TWO3, xc0))
        z2 = S(add(xc0, mul(HALF, sub(x, xc0))))
        return FP, c['fcp'], S(div(add(mul(F1, z1), mul(F2, z2)), FP))
    n = fval(fixed(div(mul(c['ec1'], E), fcp)))
    xc1 = div(c['ec1'], k)

    def sigma(eps):
        return mul(fcp, sub(Fr(1), power(abs(sub(Fr(1), div(eps, c['ec1']))), n, plain)))

    if epsh <= c['ec1']:
        if plain:
            FP = -mul(b, fcp, add(x, div(sub(mul(power(div(sub(xc1, x), xc1), n, plain), sub(xc1, x)), xc1),
                                          add(n, 1))))
        else:
            FP = -mul(b, fcp, sub(add(x, div(mul(power(sub(Fr(1), div(x, xc1)), n, plain), sub(xc1, x)),
                                             add(n, 1))), div(xc1, add(n, 1))))
        sigh = fixed(sigma(epsh))
        sm = S(sigma(div(epsh, 2)))
        return FP, sigh, three_piece(x, sm, fval(sigh), b)
    if plain:
        F1 = -mul(b, fcp, sub(xc1, div(xc1, add(n, 1))))
    else:
        F1 = -div(mul(b, fcp, xc1, n), add(n, 1))
    sm = S(mul(fcp, sub(Fr(1), power(HALF, n, plain))))
    z1 = three_piece(xc1, sm, fcp, b)
    if kind == 1:
        F2 = -mul(b, fcp, sub(x, xc1))
        sigh = c['fcp']
        z2 = S(add(xc1, div(sub(x, xc1), 2)))
    else:
        sigh = fixed(sigma(epsh))
        sg = fval(sigh)
        d = sub(x, xc1)
        F2 = -mul(b, fcp, sub(d, div(mul(power(div(d, xc1), n, plain), d), add(n, 1))))
        G1 = S(mul(d, b, sg))
        G2 = S(mul(HALF, b, d, sub(fcp, sg)))
        a1 = add(xc1, mul(HALF, d))
        a2 = add(xc1, div(d, 3))
        z2 = S(div(add(mul(a1, G1), mul(a2, G2)), add(G1, G2)))
    FP = add(F1, F2)
    return FP, sigh, S(div(add(mul(F1, z1), mul(F2, z2)), FP))


def tension(c, xt, k, epsd, plain):
    E, fct, b, et0, etu = fval(c['E']), fval(c['fct']), c['b'], c['et0'], c['etu']
    if epsd <= et0:
        FT = mul(HALF, E, epsd, xt, b) if plain else mul(HALF, epsd, E, xt, b)
        return FT, fixed(mul(E, epsd)), mul(FT, TWO3, xt)
    xe = div(et0, k)
    if epsd <= etu:
        if plain:
            st = S(sub(fct, div(mul(fct, sub(epsd, et0)), sub(etu, et0))))
        else:
            st = S(mul(fct, sub(Fr(1), div(sub(epsd, et0), sub(etu, et0)))))
        xs = S(div(sub(epsd, et0), k))
        FT = add(add(mul(HALF, fct, b, xe), mul(st, b, xs)), mul(mul(HALF, sub(fct, st)), b, xs))
        if plain:
            Mt = add(add(mul(HALF, b, fct, xe, TWO3, xe), mul(st, b, xs, add(xe, mul(HALF, xs)))),
                     mul(HALF, b, xs, sub(fct, st), add(xe, div(xs, 3))))
        else:
            Mt = add(add(mul(mul(HALF, fct, b, xe), mul(TWO3, xe)), mul(mul(st, b, xs), add(xe, div(xs, 2)))),
                     mul(mul(mul(HALF, sub(fct, st)), b, xs), add(xe, div(xs, 3))))
        return FT, fixed(st), Mt
    wt = div(sub(etu, et0), k)
    FT = add(mul(HALF, fct, b, xe), mul(HALF, fct, b, wt))
    arm = add(xe, div(wt, 3))
    if plain:
        Mt = add(mul(HALF, b, fct, xe, TWO3, xe), mul(HALF, fct, b, wt, arm))
    else:
        Mt = add(mul(mul(HALF, fct, b, xe), mul(TWO3, xe)), mul(mul(HALF, fct, b, wt), arm))
    return FT, 0, Mt


def trial_depths(h, count):
    xt, out = h, []
    for _ in range(count):
        xt = sub(xt, X(Fr(5, 1000000)))
        out.append(xt)
    return out


def first_balanced(depths, evaluate):
    """evaluate(xt) -> (balanced, sum_minus_N, state). Coarse steps from the top find
    where the force sum first reaches N; bisection inside that window finds the trial."""
    coarse = 200
    lo = 0
    hi = None
    for j in range(0, len(depths), coarse):
        ok, excess, _ = evaluate(depths[j])
        if ok or excess < 0:
            hi = j
            break
        lo = j + 1
    assert hi is not None, 'no balance'
    while lo < hi:
        mid = (lo + hi) // 2
        ok, excess, _ = evaluate(depths[mid])
        if ok or excess < 0:
            hi = mid
        else:
            lo = mid + 1
    ok, _, state = evaluate(depths[lo])
    assert ok, 'no balance'
    return state


def plain_run(f, kind, max_rows=None):
    c = {}
    c['E'] = fixed(parse(f['E']))
    ecu = mul(parse(f['ecu']), X(Fr(1, 100)))
    c['etu'] = mul(parse(f['etu']), X(Fr(1, 100)))
    c['fcp'] = fixed(parse(f['fcp']))
    c['fct'] = fixed(parse(f['fct']))
    c['b'] = S(parse(f['b']))
    c['ec1'] = mul(parse(f['ec1']), X(Fr(1, 100)))
    h = S(parse(f['h']))
    N = fixed(parse(f['N']))
    c['et0'] = S(Fr(c['fct'], c['E']))
    dk = S(parse(f['dk']))
    rows = [['  Křivost', '  Moment', ' Neut. osa', ' Beton sigh', ' Beton sigd', ' Beton epsh', ' Beton epsd',
             '       FT', '       FP'],
            ['  0', '  0', fmt(fval(fixed(mul(HALF, h)))), ' 0', ' 0', ' 0', ' 0', '0', '0']]
    depths = trial_depths(h, int(h / Fr(5, 1000000)) + 1)
    k = Fr(0)
    while True:
        k = add(k, dk)

        def evaluate(xt):
            x = sub(h, xt)
            epsd, epsh = mul(xt, k), mul(x, k)
            FP, sigh, zc = compression(c, kind, x, k, epsh, True)
            FT, sigd, Mt = tension(c, xt, k, epsd, True)
            r = abs(div(sub(mul(X(Fr(1, 1000)), N), mul(add(FT, FP), 10000)), 10000))
            R = fixed(r)
            ok = int(Fr(R * 1000, 10000)) == 0
            excess = add(FT, FP) - fval(N) / 1000
            return ok, excess, (x, epsh, epsd, FP, sigh, zc, FT, sigd, Mt)

        x, epsh, epsd, FP, sigh, zc, FT, sigd, Mt = first_balanced(depths, evaluate)
        M = add(-mul(FP, zc), Mt)
        rows.append([fmt(k), fmt(M), fmt(fval(fixed(x))), fmt(fval(sigh)), fmt(fval(sigd)), fmt(epsh), fmt(epsd),
                     fmt(FT), fmt(FP)])
        if not (epsh <= ecu and epsd <= c['etu']):
            break
        if max_rows and len(rows) >= max_rows:
            return rows
    last = [fmt(k)] + [''] * 8
    if epsd > c['etu']:
        last[6] = 'Beton roztržen'
    if epsh > ecu:
        last = [fmt(k)] + [''] * 8
        last[5] = 'Beton rozdrcen'
    rows[-1] = last
    return rows


def reinforced_run(f, kind, tension_on, max_rows=None):
    c = {}
    c['E'] = fixed(parse(f['E']))
    ecpm = parse(f['ecu'])
    ectm = parse(f['etu'])
    c['fcp'] = fixed(parse(f['fcp']))
    c['fct'] = fixed(parse(f['fct']))
    c['b'] = S(parse(f['b']))
    fy = fixed(parse(f['fy']))
    Es = fixed(parse(f['Es']))
    dd = parse(f['dd'])
    dh = parse(f['dh'])
    esu_pct = parse(f['esu'])
    ec1_pct = parse(f['ec1'])
    Asd_mm = parse(f['Asd'])
    Ash_mm = parse(f['Ash'])
    h = S(parse(f['h']))
    N = fixed(parse(f['N']))
    rows = [['  Křivost', '  Moment', ' Neut. osa', ' Beton sigh', ' Beton sigd', ' Beton epsh', ' Beton epsd',
             'Výztuž sigh', 'Výztuž sigd', 'Výztuž epsh', 'Výztuž epsd', 'Tlak. síla', 'Tah. síla'],
            ['  0', '  0', fmt(fval(fixed(mul(HALF, h)))), ' 0', ' 0', ' 0', ' 0'] + ['0'] * 6]
    c['et0'] = S(Fr(c['fct'], c['E']))
    ey = X(Fr(fy, Es))
    c['etu'] = mul(ectm, X(Fr(1, 100)))
    ecu = mul(ecpm, X(Fr(1, 100)))
    esu = mul(esu_pct, X(Fr(1, 100)))
    c['ec1'] = mul(ec1_pct, X(Fr(1, 100)))
    Asd = mul(Asd_mm, X(Fr(1, 1000000)))
    Ash = mul(Ash_mm, X(Fr(1, 1000000)))
    dk = S(parse(f['dk']))
    depths = trial_depths(h, int(h / Fr(5, 1000000)) + 1)
    k = Fr(0)
    while True:
        k = add(k, dk)

        def evaluate(xt):
            x = sub(h, xt)
            epsh, epsd = mul(x, k), mul(xt, k)
            esh, esd = mul(sub(x, dh), k), mul(sub(xt, dd), k)
            if esh > ey:
                Fsh, ssh = -mul(Ash, fval(fy)), fy
            else:
                Fsh, ssh = -mul(Ash, esh, fval(Es)), fixed(mul(esh, fval(Es)))
            FP, sigh, zc = compression(c, kind, x, k, epsh, False)
            if esd > ey:
                Fsd, ssd = mul(Asd, fval(fy)), fy
            else:
                Fsd, ssd = mul(Asd, esd, fval(Es)), fixed(mul(esd, fval(Es)))
            FT, sigd, Mt = tension(c, xt, k, epsd, False) if tension_on else (Fr(0), 0, Fr(0))
            total = add(add(add(FT, Fsd), FP), Fsh)
            r = fixed(abs(sub(mul(fval(N), X(Fr(1, 1000))), total)))
            ok = r <= 9
            return ok, total - fval(N) / 1000, (x, xt, epsh, epsd, esh, esd, Fsh, ssh, FP, sigh, zc, Fsd, ssd, FT, sigd, Mt)

        (x, xt, epsh, epsd, esh, esd, Fsh, ssh, FP, sigh, zc, Fsd, ssd, FT, sigd, Mt) = first_balanced(depths, evaluate)
        M = add(add(sub(-mul(Fsh, sub(x, dh)), mul(FP, zc)), mul(Fsd, sub(xt, dd))), Mt)
        cracked = epsd >= c['etu']
        rows.append([fmt(k), fmt(M), fmt(fval(fixed(x))), fmt(fval(sigh)), '' if cracked else fmt(fval(sigd)),
                     fmt(epsh), 'trhlina' if cracked else fmt(epsd), fmt(fval(ssh)), fmt(fval(ssd)), fmt(esh),
                     fmt(esd), fmt(add(FP, Fsh)), fmt(add(FT, Fsd))])
        if not (epsh <= ecu and esd <= esu):
            break
        if max_rows and len(rows) >= max_rows:
            return rows
    if esd > esu:
        rows[-1] = [fmt(k)] + [''] * 9 + ['Prvek roztržen', '', '']
    if epsh > ecu:
        rows[-1] = [fmt(k)] + [''] * 4 + ['Prvek rozdrcen'] + [''] * 7
    return rows


PLAIN = dict(fcp='30', fct='2,9', E='32000', ecu='0,35', etu='0,01', ec1='0,2', b='0,3', h='0,5', N='0',
             dk='0,00005')
BEAM = dict(fcp='30', fct='2,9', E='32000', ecu='0,35', etu='0,01', ec1='0,2', b='0,3', h='0,5', N='0',
            fy='500', Es='200000', esu='1', Asd='1000', dd='0,05', Ash='400', dh='0,05', dk='0,001')

CASES = {
    'plain-bilinear': lambda: plain_run(PLAIN, 0),
    'plain-parabolic-rectangular': lambda: plain_run(PLAIN, 1),
    'plain-parabolic': lambda: plain_run(PLAIN, 2),
    'plain-compressed-crushing': lambda: plain_run(dict(PLAIN, N='-3000', dk='0,01'), 1),
    'reinforced-bilinear-tension': lambda: reinforced_run(BEAM, 0, True),
    'reinforced-parabolic-rectangular-no-tension': lambda: reinforced_run(BEAM, 1, False),
    'reinforced-parabolic-tension': lambda: reinforced_run(BEAM, 2, True),
    'reinforced-compressed-crushing': lambda: reinforced_run(dict(BEAM, N='-1500', dk='0,002'), 1, True),
    'plain-bilinear-softening': lambda: plain_run(dict(PLAIN, dk='0,00002'), 0),
    'plain-parabolic-softening': lambda: plain_run(dict(PLAIN, dk='0,00002'), 2),
    'reinforced-bilinear-first-rows': lambda: reinforced_run(dict(BEAM, dk='0,0001'), 0, True, 30),
    'reinforced-parabolic-first-rows': lambda: reinforced_run(dict(BEAM, dk='0,0001'), 2, True, 30),
    'reinforced-both-limits': lambda: reinforced_run(dict(BEAM, dk='0,1'), 0, True),
}

if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    for name in (sys.argv[1:] or CASES):
        rows = CASES[name]()
        with open(os.path.join(here, name + '.tsv'), 'w', encoding='utf-8') as out:
            for row in rows:
                out.write('\t'.join(row) + '\n')
        print(name, len(rows), 'rows')
