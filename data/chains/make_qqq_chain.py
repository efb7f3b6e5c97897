#!/usr/bin/env python3
"""Writes the sample QQQ option chain in both input formats of `ordinel engine`.

Deterministic (fixed seed, standard library only): running it again rewrites the same bytes.
The chain is as of 2025-01-02 10:42:10 New York with QQQ at 521.21: a 0DTE expiry, the daily
expiries of the next two weeks, Friday weeklies, monthlies and quarterlies to December, a
volatility skew that steepens toward the front, and open interest that clusters on round strikes.
Three deliberately bad rows (an expired contract, a missing volatility, a negative open interest)
show how the engine counts what it skips.

    python3 make_qqq_chain.py   # writes qqq_chain.csv and qqq_chain.json beside this script
"""

import json
import math
import os
import random
from datetime import date, datetime, timezone

SPOT = 521.21
AS_OF_NEW_YORK = "2025-01-02 10:42:10"
AS_OF_UTC = datetime(2025, 1, 2, 15, 42, 10, tzinfo=timezone.utc)
RATE = 0.045
SEED = 20250102

# (expiration, kind): kind weights the open interest a real book carries on such an expiry.
EXPIRATIONS = [
    ("2025-01-02", "0dte"), ("2025-01-03", "weekly"), ("2025-01-06", "daily"),
    ("2025-01-07", "daily"), ("2025-01-08", "daily"), ("2025-01-10", "weekly"),
    ("2025-01-13", "daily"), ("2025-01-14", "daily"), ("2025-01-15", "daily"),
    ("2025-01-16", "daily"), ("2025-01-17", "monthly"), ("2025-01-24", "weekly"),
    ("2025-01-31", "weekly"), ("2025-02-07", "weekly"), ("2025-02-14", "weekly"),
    ("2025-02-21", "monthly"), ("2025-02-28", "weekly"), ("2025-03-21", "monthly"),
    ("2025-03-31", "quarterly"), ("2025-06-20", "monthly"), ("2025-06-30", "quarterly"),
    ("2025-09-30", "quarterly"), ("2025-12-19", "monthly"),
]
CALL_CENTRE, PUT_CENTRE, TAIL, ITM_CALLS, ITM_PUTS, ITM_DEPTH = 0.012, -0.045, 0.06, 1.7, 0.2, 0.06
EXPIRY_WEIGHT = {"0dte": 1.3, "daily": 0.45, "weekly": 0.8, "monthly": 2.2, "quarterly": 1.6}


def years_to_close(expiration):
    y, m, d = map(int, expiration.split("-"))
    # 16:00 New York is 21:00Z in winter and 20:00Z from mid-March to early November.
    summer = date(2025, 3, 9) < date(y, m, d) < date(2025, 11, 2)
    close = datetime(y, m, d, 20 if summer else 21, tzinfo=timezone.utc)
    return max((close - AS_OF_UTC).total_seconds() / (365 * 86400), 60 / (365 * 86400))


def norm_cdf(x):
    return 0.5 * math.erfc(-x / math.sqrt(2))


def bsm(strike, years, sigma, is_call):
    root = sigma * math.sqrt(years)
    d1 = (math.log(SPOT / strike) + (RATE + 0.5 * sigma * sigma) * years) / root
    d2 = d1 - root
    disc = math.exp(-RATE * years)
    density = math.exp(-0.5 * d1 * d1) / math.sqrt(2 * math.pi)
    gamma = density / (SPOT * root)
    if is_call:
        return SPOT * norm_cdf(d1) - strike * disc * norm_cdf(d2), norm_cdf(d1), gamma
    return strike * disc * norm_cdf(-d2) - SPOT * norm_cdf(-d1), norm_cdf(d1) - 1, gamma


def strikes_for(years):
    half = SPOT * min(max(0.03 + 0.40 * math.sqrt(years), 0.04), 0.35)
    fine = min(half, SPOT * 0.06)
    strikes = set()
    for k in range(int(SPOT - half), int(SPOT + half) + 1):
        if abs(k - SPOT) <= fine or k % 5 == 0:
            strikes.add(k)
    return sorted(strikes)


def atm_vol(years):
    return 0.158 + 0.032 * (1 - math.exp(-years / 0.3))


def implied_vol(strike, years):
    atm = atm_vol(years)
    z = math.log(strike / SPOT) / (atm * math.sqrt(years))
    return atm * min(max(1 - 0.09 * z + 0.012 * z * z, 0.6), 3.0)


def roundness(strike):
    if strike % 50 == 0:
        return 4.5
    if strike % 10 == 0:
        return 3.0
    if strike % 5 == 0:
        return 1.8
    return 1.0


def open_interest(rng, strike, years, kind, is_call):
    atm = atm_vol(years)
    width = atm * math.sqrt(max(years, 1 / 365))
    # Calls cluster just above spot, puts a few per cent below it.
    centre = CALL_CENTRE if is_call else PUT_CENTRE
    z = (math.log(strike / SPOT) - centre) / width
    shape = math.exp(-0.5 * (z / 2.2) ** 2) + TAIL * math.exp(-abs(math.log(strike / SPOT)) * 6)
    out_of_money = (strike >= SPOT) == is_call
    # In-the-money open interest is what is left of older positions: it fades with depth.
    depth = math.exp(-abs(math.log(strike / SPOT)) / ITM_DEPTH)
    side = 1.0 if out_of_money else (ITM_CALLS if is_call else ITM_PUTS) * depth
    # The book's favourite strikes: calls at 530, puts at 515 and 500.
    favourite = {(True, 530): 3.2, (False, 515): 1.8, (False, 500): 1.6}.get((is_call, strike), 1.0)
    oi = 2600 * EXPIRY_WEIGHT[kind] * shape * side * roundness(strike) * favourite
    return int(round(oi * (0.75 + 0.5 * rng.random())))


def contracts():
    rng = random.Random(SEED)
    rows = []
    for expiration, kind in EXPIRATIONS:
        years = years_to_close(expiration)
        for strike in strikes_for(years):
            base = implied_vol(strike, years)
            for is_call in (True, False):
                iv = round(base + (0.002 if not is_call else -0.002) * rng.random(), 4)
                oi = open_interest(rng, strike, years, kind, is_call)
                near = math.exp(-abs(math.log(strike / SPOT)) * 40)
                volume = int(round(oi * (0.05 + (0.6 if kind == "0dte" else 0.2) * near) * rng.random()))
                price, delta, gamma = bsm(strike, years, iv, is_call)
                spread = max(0.01, round(0.02 * price, 2))
                rows.append({
                    "expiration": expiration, "strike": strike, "call": is_call,
                    "bid": round(max(price - spread / 2, 0), 2), "ask": round(price + spread / 2, 2),
                    "iv": iv, "oi": oi, "volume": volume,
                    "delta": round(delta, 4), "gamma": round(gamma, 4),
                })
    return rows


def with_bad_rows(rows):
    """The same three bad rows in both files, near the top so a reader meets them early."""
    expired = dict(rows[0], expiration="2024-12-31")
    no_iv = dict(rows[1], iv=None)
    negative = dict(rows[2], oi=-5)
    return rows[:3] + [expired, no_iv, negative] + rows[3:]


def symbol(row):
    y, m, d = row["expiration"].split("-")
    return "QQQ%s%s%s%s%08d" % (y[2:], m, d, "C" if row["call"] else "P", round(row["strike"] * 1000))


def write_csv(rows, path):
    with open(path, "w", newline="\n") as f:
        f.write("expiration,strike,type,bid,ask,iv,open_interest,volume,gamma\n")
        for r in rows:
            iv = "" if r["iv"] is None else "%.4f" % r["iv"]
            f.write("%s,%g,%s,%.2f,%.2f,%s,%d,%d,%.4f\n" % (
                r["expiration"], r["strike"], "C" if r["call"] else "P", r["bid"], r["ask"], iv,
                r["oi"], r["volume"], r["gamma"]))


def write_json(rows, path):
    options = []
    for r in rows:
        options.append({
            "option": symbol(r), "bid": r["bid"], "ask": r["ask"], "iv": r["iv"],
            "open_interest": float(r["oi"]), "volume": float(r["volume"]),
            "delta": r["delta"], "gamma": r["gamma"],
        })
    doc = {"timestamp": AS_OF_NEW_YORK,
           "data": {"option": "QQQ", "current_price": SPOT, "options": options}}
    with open(path, "w", newline="\n") as f:
        json.dump(doc, f, separators=(",", ":"))
        f.write("\n")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    rows = with_bad_rows(contracts())
    write_csv(rows, os.path.join(here, "qqq_chain.csv"))
    write_json(rows, os.path.join(here, "qqq_chain.json"))
    print("%d rows (3 of them bad) in qqq_chain.csv and qqq_chain.json" % len(rows))


if __name__ == "__main__":
    main()
