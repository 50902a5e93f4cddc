"""Exact emulation of the program's arithmetic, independent of the C++ code.

Values are exact fractions. Every operation is computed exactly and then rounded
once, ties to even: to a 64-bit mantissa (the 80-bit extended format) by the
arithmetic helpers, to a 24-bit mantissa where a value is held in single
precision. Fixed-point values are integers holding value x 10000. Cells are
formatted in the general 15-digit form.
"""
from decimal import Context, Decimal, getcontext, ROUND_HALF_EVEN
from fractions import Fraction as Fr

getcontext().prec = 400

EXTENDED_BITS = 64
SINGLE_BITS = 24


def rnd(v, bits=EXTENDED_BITS):
    """v rounded to `bits` significant bits, ties to even."""
    v = Fr(v)
    if v == 0:
        return Fr(0)
    sign = -1 if v < 0 else 1
    p, q = abs(v.numerator), v.denominator
    shift = bits - (p.bit_length() - q.bit_length())
    while True:
        num, den = (p << shift, q) if shift >= 0 else (p, q << -shift)
        m, r = divmod(num, den)
        if m >= 1 << bits:
            shift -= 1
        elif m < 1 << (bits - 1):
            shift += 1
        else:
            break
    if 2 * r > den or (2 * r == den and m & 1):
        m += 1
    scale = Fr(1 << shift) if shift >= 0 else Fr(1, 1 << -shift)
    return sign * Fr(m) / scale


def ext(v):
    """Held in extended precision."""
    return rnd(v, EXTENDED_BITS)


def single(v):
    """Held in single precision."""
    return rnd(v, SINGLE_BITS)


# Extended arithmetic, one rounding per operation; chains are evaluated left to right.
def add(*xs):
    r = Fr(xs[0])
    for v in xs[1:]:
        r = ext(r + v)
    return r


def sub(a, b):
    return ext(a - b)


def mul(*xs):
    r = Fr(xs[0])
    for v in xs[1:]:
        r = ext(r * v)
    return r


def div(a, b):
    if b == 0:
        raise ZeroDivisionError
    return ext(Fr(a) / b)


def lit(text):
    """The extended value nearest to a decimal text (point or comma)."""
    return ext(Fr(text.replace(",", ".")))


# 60 digits are far more than the 20 that round a logarithm or an exponential to the
# extended format correctly.
_TRANSCENDENTAL = Context(prec=60)


def ln(v):
    c = _TRANSCENDENTAL
    d = c.subtract(Decimal(v.numerator).ln(c), Decimal(v.denominator).ln(c))
    return ext(Fr(d))


def exp(v):
    c = _TRANSCENDENTAL
    return ext(Fr(c.divide(Decimal(v.numerator), Decimal(v.denominator)).exp(c)))


def power(base, n, zero_is_zero):
    """base^n as exp(n·ln(base)); a zero base gives zero where the law says so."""
    if base == 0 and zero_is_zero:
        return Fr(0)
    return exp(mul(n, ln(base)))


TEN_THOUSAND = Fr(10000)


def fixed(v):
    """The raw integer of a fixed-point value: round(v x 10000), ties to even."""
    return round(ext(Fr(v) * TEN_THOUSAND))


def fval(raw):
    """A fixed-point value read back: raw / 10000 in extended precision."""
    return div(Fr(raw), TEN_THOUSAND)


def fmt(v, sep=","):
    """The general form with up to 15 significant digits."""
    v = Fr(v)
    if v == 0:
        return "0"
    sign = "-" if v < 0 else ""
    v = abs(v)
    d = Decimal(v.numerator) / Decimal(v.denominator)
    e = d.adjusted() + 1  # |v| = 0.d1d2... x 10^e
    q = d.scaleb(-e).quantize(Decimal(1).scaleb(-15), rounding=ROUND_HALF_EVEN)
    if q >= 1:
        e += 1
        q = (q / 10).quantize(Decimal(1).scaleb(-15), rounding=ROUND_HALF_EVEN)
    digits = str(q)[2:].rstrip("0")
    if -3 <= e <= 15:
        if e <= 0:
            body = "0" + sep + "0" * (-e) + digits
        else:
            body = digits[:e].ljust(e, "0") + (sep + digits[e:] if len(digits) > e else "")
    else:
        body = digits[0] + (sep + digits[1:] if len(digits) > 1 else "") + "E" + str(e - 1)
    return sign + body


def fmt_fixed(raw, sep=","):
    return fmt(fval(raw), sep)
