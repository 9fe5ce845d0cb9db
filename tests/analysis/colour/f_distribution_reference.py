#!/usr/bin/env python3
"""Reference values of the F distribution for large degrees of freedom.

Prints the C++ table kept in f_distribution_test.cpp: for each pair of
degrees of freedom (DF1, DF2) and each point F, the upper-tail probability
and its condition number F * pdf / sf, at 50 significant digits with
mpmath 1.3.0; and the 5 % points of a few pairs. Run once by hand; the
tests do not run Python.

The upper tail is the regularised incomplete beta I_x(DF2/2, DF1/2) at
x = DF2 / (DF2 + DF1 F). mpmath's own incomplete beta does not converge
for parameters of 10^9, so it is evaluated here by its continued fraction
at 90 digits, with the prefactor x^a (1-x)^b / B(a, b) from log-gammas at
that precision (no cancellation is left at 90 digits), and checked against
mpmath.betainc wherever that converges.
"""
import mpmath

mpmath.mp.dps = 90

PAIRS = [
    (1, 10000), (10000, 1), (5001, 5001), (4999, 5002), (20001, 20003),
    (40001, 40003), (123457, 654321), (1000000, 999999), (3, 1000001),
    (2, 2147483647), (2147483647, 2), (1, 2147483647), (2147483647, 1),
    (2147483647, 2147483647), (2147483646, 2147483645),
]
# Points z standard deviations of ln F away from 0 (ln F is about normal
# with variance 2/DF1 + 2/DF2), so every pair is met in its body and far
# into both tails.
SPREADS = [-6.0, -1.0, 0.0, 1.645, 5.0, 20.0]
CRITICAL_PAIRS = [(5001, 5001), (40001, 40003), (1, 2147483647), (2147483647, 1),
                  (2147483647, 2147483647)]


def log_prefactor(a, b, x, y):
    """ln(x^a y^b / B(a, b))."""
    return (a * mpmath.log(x) + b * mpmath.log(y)
            - (mpmath.loggamma(a) + mpmath.loggamma(b) - mpmath.loggamma(a + b)))


def continued_fraction(a, b, x):
    """The continued fraction of I_x(a, b) (modified Lentz)."""
    tiny = mpmath.mpf(10) ** -300
    eps = mpmath.mpf(10) ** -80
    qab, qap, qam = a + b, a + 1, a - 1
    c = mpmath.mpf(1)
    d = 1 - qab * x / qap
    d = 1 / (d if abs(d) > tiny else tiny)
    h = d
    m = 1
    while True:
        m2 = 2 * m
        aa = m * (b - m) * x / ((qam + m2) * (a + m2))
        d = 1 + aa * d
        d = 1 / (d if abs(d) > tiny else tiny)
        c = 1 + aa / c
        c = c if abs(c) > tiny else tiny
        h *= d * c
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2))
        d = 1 + aa * d
        d = 1 / (d if abs(d) > tiny else tiny)
        c = 1 + aa / c
        c = c if abs(c) > tiny else tiny
        delta = d * c
        h *= delta
        if abs(delta - 1) < eps:
            return h
        m += 1


def upper_tail(df1, df2, f):
    """(sf, F pdf / sf) at f."""
    m, n, f = mpmath.mpf(df1), mpmath.mpf(df2), mpmath.mpf(f)
    a, b = n / 2, m / 2
    x, y = n / (n + m * f), m * f / (n + m * f)
    log_p = log_prefactor(a, b, x, y)
    if x < (a + 1) / (a + b + 2):
        sf = mpmath.exp(log_p) / a * continued_fraction(a, b, x)
    else:
        sf = 1 - mpmath.exp(log_p) / b * continued_fraction(b, a, y)
    return sf, mpmath.exp(log_p) / sf


def check(df1, df2, f, sf):
    """mpmath's own incomplete beta, where it converges, agrees; False
    where it does not converge."""
    m, n = mpmath.mpf(df1), mpmath.mpf(df2)
    try:
        with mpmath.workdps(60):
            own = mpmath.betainc(n / 2, m / 2, 0, n / (n + m * mpmath.mpf(f)), regularized=True)
    except (mpmath.libmp.NoConvergence, ValueError):
        return False
    assert abs(own - sf) <= mpmath.mpf(10) ** -45 * abs(sf), (df1, df2, f)
    return True


def critical05(df1, df2):
    """The F with sf = 0.05, by Newton's method on ln sf (its slope is
    -pdf / sf = -kappa / F)."""
    spread = mpmath.sqrt(2 / mpmath.mpf(df1) + 2 / mpmath.mpf(df2))
    f = mpmath.exp(1.645 * spread)
    target = mpmath.log(mpmath.mpf('0.05'))
    while True:
        sf, kappa = upper_tail(df1, df2, f)
        step = (mpmath.log(sf) - target) * f / kappa
        f += step
        if abs(step) < mpmath.mpf(10) ** -70 * f:
            return f


def main():
    checked = 0
    print("// DF1, DF2, F, upper tail, F pdf / sf")
    for df1, df2 in PAIRS:
        spread = float(mpmath.sqrt(2 / mpmath.mpf(df1) + 2 / mpmath.mpf(df2)))
        for z in SPREADS:
            f = float(mpmath.exp(z * spread))
            sf, kappa = upper_tail(df1, df2, f)
            if sf < mpmath.mpf(10) ** -290:
                continue  # beyond what a double holds with full precision
            checked += check(df1, df2, f, sf)
            # A condition below a double's range counts as none.
            kappa = kappa if kappa > mpmath.mpf(10) ** -300 else mpmath.mpf(0)
            print("    {%d, %d, %s, %s, %s}," % (df1, df2, repr(f), mpmath.nstr(sf, 50, min_fixed=1, max_fixed=0),
                                                mpmath.nstr(kappa, 6, min_fixed=1, max_fixed=0)))
    print("// %d of them checked with mpmath.betainc" % checked)
    print("// DF1, DF2, 5 % point")
    for df1, df2 in CRITICAL_PAIRS:
        print("    {%d, %d, %s}," % (df1, df2, mpmath.nstr(critical05(df1, df2), 50, min_fixed=1, max_fixed=0)))


if __name__ == "__main__":
    main()
