#!/usr/bin/python3
"""The JSON, JSON Lines and CSV results held to the text report, to the
documented field list and to the model's own rules.

For seeded wind seas over the whole input space (clamped entries, both
models, currents that block the waves, water shallow enough to ground
them) and swells inside, below and above the table:

- every figure the text report prints is the JSON value written in the
  report's field (F4.1 and so on); where JSON has null the report shows
  asterisks, or, for the steepness, factor and sea sickness of a sea
  without a height, the figure formed from the report's no-height value;
- the values the report does not print follow from the rules: the number
  of waves in each horizon of the development table (3600 h over the
  deep-water period of the step before, truncated, then rounded down),
  Hmax, the sea scale, the stopping current, the sea sickness, the limits
  of the entries and their notes;
- a CSV batch read back as a spreadsheet reads it holds the same values
  as the JSON Lines of the same file, and carried columns unchanged;
- the CSV header and the JSON member names are the list of fields in the
  README and in the manual page, in order.

Single-precision arithmetic is done as the program does it: each step in
double, rounded to float32 (struct 'f'), which is exact for + - * /.

Usage: machine_output.py PROGRAM README MANPAGE
"""
import collections
import csv
import io
import json
import math
import os
import random
import re
import shlex
import struct
import subprocess
import sys
import tempfile

PROGRAM, README, MANPAGE = sys.argv[1:4]
failures = []
checked = collections.Counter()  # how often each check ran


def fail(where, what):
    failures.append(f"{where}: {what}")


# --- single precision and the report's fields --------------------------------

def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def num(v):
    """A JSON number as the float32 it was written from; null as NaN."""
    return math.nan if v is None else f32(float(v))


def F(width, decimals, x):
    """An Fw.d field: rounded to d decimals, right-aligned, no minus sign on
    a value that shows as zero, a leading 0 dropped when it is one column
    too wide, asterisks when it does not fit or is not finite."""
    if not math.isfinite(x):
        return "*" * width
    t = "%#.*f" % (decimals, abs(x))
    if x < 0 and re.search("[1-9]", t):
        t = "-" + t
    if len(t) == width + 1:
        t = re.sub(r"^(-?)0\.", r"\1.", t)
    return t.rjust(width) if len(t) <= width else "*" * width


def I(width, n):
    t = str(n)
    return t.rjust(width) if len(t) <= width else "*" * width


# The report's no-value figures: they print as asterisks, and a sea
# without a height gets its steepness, factor and sea sickness from 9999.99.
NO_HEIGHT = f32(9999.99)
NO_LENGTH = 4999.0
NO_HMAX = 99999.0
NO_SCALE = 9999999
BEYOND_HEIGHT = 999999.0  # a horizon's height above 40 m
PI = f32(3.1415927)
G = f32(9.81)


def umax(t):
    """Opposing current (kt) that stops waves of period t: a quarter of
    their deep-water phase speed, g t / (8 pi), in knots."""
    return f32(-f32(f32(G * t) / f32(8 * PI)) * f32(1.9438444))


def sea_sickness(h, t, wind):
    omega = f32(f32(PI + PI) / t)
    sick = f32(f32(f32(omega**3) * h) / G)
    fcorr = max(f32(f32(wind - 30) / 15), 0.0)
    sick = f32(f32(1 + fcorr) * sick)
    if t < 7:
        sick = f32(sick * f32(f32(t / f32(7)) ** 2))
    n = math.trunc(f32(f32(f32(sick - f32(0.1)) * 100) / f32(0.5 - f32(0.1))))
    return min(max(n, 0), 90)


def reduce_count(n):
    """Down to 1000s above 10000, then 100s above 1000, then 10s above 100."""
    for above, step in ((10000, 1000), (1000, 100), (100, 10)):
        if n > above:
            n = n // step * step
    return n


def sea_scale(h):
    return min(math.trunc(f32(f32(3 * f32(h ** f32(0.41))) + f32(0.2))), 9)


def hmax(h, waves, depth):
    """Largest of `waves` single waves of characteristic height h: h times
    sqrt(ln waves / 2), never below h, at most 30 m and twice the depth."""
    root = f32(math.sqrt(f32(math.log(waves))))
    m = f32(f32(h * root) / f32(math.sqrt(2)))
    return min(max(m, h), 30.0, f32(2 * depth))


def distance_shown(d):
    """Rounded down to 10 km above 10, then 50 km above 100, then 100 km
    above 1000, each step on the one before."""
    for above, step in ((10, 10), (100, 50), (1000, 100)):
        if d > above:
            d = f32(math.trunc(d) // step * step)
    return d


def limited(entered):
    """The values used and the notes raised, by the documented ranges."""
    v = [f32(float(e)) for e in entered]
    notes = []

    def limit(i, applies, value, code):
        if applies(v[i]):
            v[i] = value(v[i])
            notes.append(code)

    limit(0, lambda w: w < 1, lambda w: 1.0, "wind_raised")
    limit(0, lambda w: w > 65,
          lambda w: f32(65 + f32(10 * f32(math.log(f32(w / 65))))),
          "wind_compressed")
    limit(0, lambda w: w > 70, lambda w: 70.0, "wind_capped")
    for i, name, hi in ((1, "duration", 200.0), (2, "fetch", 5000.0),
                        (3, "depth", 5000.0)):
        limit(i, lambda x: x < 1, lambda x: 1.0, name + "_raised")
        limit(i, lambda x: x > hi, lambda x: hi, name + "_lowered")
    limit(4, lambda c: c > 1000, lambda c: 0.0, "current_ignored")
    limit(4, lambda c: c > 15, lambda c: 15.0, "current_lowered")
    limit(4, lambda c: c < -15, lambda c: -15.0, "current_raised")
    return tuple(v), notes


# --- running the program -----------------------------------------------------

def run(args, stdin=None):
    p = subprocess.run([PROGRAM] + args, input=stdin, capture_output=True)
    return p.stdout, p.stderr, p.returncode


def windsea_args(c):
    relative = ["--relative"] if c["relative"] else []
    return ["windsea"] + c["entries"] + relative


# --- the cases ---------------------------------------------------------------

# Seas the seeded spread meets rarely or not at all, and the README's own:
# wind, duration, fetch, depth, current (None: left out), relative model.
PINNED = [
    ("20", "10", "100", "10", None, False),  # the README's report
    # breaking; every horizon above 40 m, so Hmax is held at 30 m
    ("102.01", "14.51", "260.79", "137.97", "-9.19", False),
    # blocked relative sea lower than 0.5 m: a table of asterisks
    ("11.14", "19.04", "4.11", "1.68", "-8.21", True),
    # grounding on a sea the transform gives no height
    ("144.724", "98.29", "721.34", "1.13", "-4.47", False),
    ("5.509", "137.73", "680", "4.94", "-18.7", True),  # critical sea state
    ("97.393", "22.81", "0.71", "0.29", "14.18", True),  # unpleasant shoal
    ("28.383", "229.3", "9.95", "1.63", "2000", False),  # hazardous breakers
    ("76.673", "12.18", "119.92", "19.9", "2000", True),  # some breaking
    ("134.806", "58.74", "0.43", "3.32", "12.62", True),  # breaking waves
    ("20", "10", "100", "10", "-12", False),  # capsizing
    ("0.5", "0.2", "0.3", "0.2", "30", False),  # every entry raised
    ("200", "300", "9000", "8000", "-30", True),  # every entry lowered
    ("10", "10", "100", "10", "10", True),  # no wind over the water
]


def windsea_cases(rng, n):
    cases = [{"entries": [e for e in p[:5] if e is not None], "relative": p[5]}
             for p in PINNED]
    for _ in range(n):
        wind = rng.choice([rng.uniform(0.02, 1), rng.uniform(1, 10),
                           rng.uniform(10, 65), rng.uniform(10, 65),
                           rng.uniform(65, 200)])
        dura = rng.choice([rng.uniform(0.1, 1), 10 ** rng.uniform(0, 2.3),
                           rng.uniform(1, 188), rng.uniform(188, 400)])
        fetch = 10 ** rng.uniform(-0.5, 3.9)
        depth = rng.choice([rng.uniform(0.2, 8), 10 ** rng.uniform(0.9, 3.9)])
        current = rng.choice([None, 0, rng.uniform(-20, -2),
                              rng.uniform(-20, -2), rng.uniform(0, 20),
                              rng.uniform(-5, 5), 1500])
        entries = [f"{wind:.3f}", f"{dura:.2f}", f"{fetch:.2f}", f"{depth:.2f}"]
        if current is not None:
            entries.append(f"{current:.2f}")
        cases.append({"entries": entries, "relative": rng.random() < 0.5})
    return cases


def swell_cases(rng, n):
    cases = [("10", "3"), ("10", "0.5"), ("10", "12"), ("0.1", "0"),
             ("1000", "5"), ("1e6", "5"), ("25", "-3")]
    for _ in range(n):
        period = rng.choice([rng.uniform(0.1, 2), rng.uniform(2, 25),
                             rng.uniform(2, 25), rng.uniform(25, 80)])
        height = rng.choice([rng.uniform(0, 2), rng.uniform(0, 15), -1.5])
        cases.append((f"{period:.2f}", f"{height:.2f}"))
    return cases


# --- the wind-sea report against its JSON ------------------------------------

def expected_windsea_lines(o):
    """The report's lines, every figure from the JSON: a line to equal, or
    a pattern where the JSON cannot tell a figure or a line's blanks."""
    esc = re.escape
    wave, deep = o["wave"], o["deep_water"]
    h, length, t = wave["height_m"], wave["length_m"], num(wave["period_s"])
    stp0 = f32(num(deep["height_m"]) / num(deep["length_m"]))
    if o["steepness"] is not None:
        stp, fac = F(6, 3, num(o["steepness"])), F(4, 1, num(o["factor"]))
    elif h is None and length is not None:
        s = f32(NO_HEIGHT / num(length))
        stp, fac = F(6, 3, s), F(4, 1, f32(s / stp0))
    elif h is None:
        # Blocked: formed from a length the JSON does not carry.
        stp, fac = None, None
        checked["steepness and factor of a blocked sea left open"] += 1
    else:
        stp, fac = "*" * 6, "*" * 4
    if stp is None:
        steepness = re.compile(esc("    [actual steepness=") + "[ 0-9.*-]{6}"
                               + esc(", factor =") + "[ 0-9.*-]{4}" + esc("]:"))
    else:
        steepness = f"    [actual steepness={stp}, factor ={fac}]:"
    sick = o["sea_sickness_percent"]
    if sick is None and h is None:
        sick = sea_sickness(NO_HEIGHT, t, num(o["wind_kt"]))
    lines = [
        "  ~~~~~~~~~~~~~~ Height of Ocean Waves ~~~~~~~~~~~~~~~ ",
        "  Bft:   Wind:    Time:   Fetch:   Depth:  Current:",
        " " + I(4, o["beaufort"]) + "  " + F(5, 1, num(o["wind_kt"])) + " kt  "
        + F(5, 0, num(o["duration_h"])) + "h" + F(7, 0, num(o["fetch_km"]))
        + "km" + F(7, 0, num(o["depth_m"])) + "m" + F(7, 1, num(o["current_kt"]))
        + " kt",
        "  ",
        "  Characteristic Wave Height Hc, Length Lc, Period Tc:",
        "    ==>            Hc=" + F(4, 1, NO_HEIGHT if h is None else num(h))
        + " m, Lc=" + F(4, 0, NO_LENGTH if length is None else num(length))
        + "m, Tc=" + F(4, 1, t) + " sec ",
        "  ",
        steepness,
        "    [deep water  : Hc=" + F(4, 1, num(deep["height_m"])) + " m, Lc="
        + F(4, 0, num(deep["length_m"])) + "m, U^="
        + F(5, 1, num(o["stopping_current_kt"])) + " kt]",
        "  ====================================================",
        "    [Sea Sickness Probability= " + str(sick) + " Percent]",
    ]
    # JSON gives a warning's text without the blanks around it.
    lines += [re.compile(" +" + esc(w["text"]) + " *") for w in o["warnings"]]
    dev = o["development"]
    if dev is not None:
        lines += [
            "  ",
            "           Development over the next hours:",
            "  Single waves may reach height=Hmax within  ... hrs:",
            "           hrs=  " + "".join(I(6, d["hours"]) for d in dev),
            "           Hmax=   " + "".join(
                F(6, 1, NO_HMAX if d["hmax_m"] is None else num(d["hmax_m"]))
                for d in dev),
            "           Seascale=" + "".join(
                I(w, NO_SCALE if d["sea_scale"] is None else d["sea_scale"])
                for w, d in zip((3, 6, 6), dev)),
            "  [average number of waves per hour: " + str(o["waves_per_hour"])
            + " ]",
        ]
    return lines


def compare_lines(where, text, expected):
    checked["report lines"] += len(expected)
    lines = text.decode("latin-1").split("\n")
    if lines[-1] == "":
        lines.pop()
    for i, (line, want) in enumerate(zip(lines, expected)):
        if line != want if isinstance(want, str) else not want.fullmatch(line):
            fail(where, f"report line {i + 1} {line!r}, the JSON makes it "
                        f"{want if isinstance(want, str) else want.pattern!r}")
            return
    if len(lines) != len(expected):
        fail(where, f"the report has {len(lines)} lines, the JSON makes "
                    f"{len(expected)}")


def check_windsea_rules(where, c, o, later):
    """The JSON values by the model's rules; later[h] is the JSON of the same
    sea h hours longer, where that duration is within the entries' range."""
    used, notes = limited(c["entries"] + ["0"] * (5 - len(c["entries"])))
    names = ["wind_kt", "duration_h", "fetch_km", "depth_m", "current_kt"]
    got = tuple(num(o[k]) for k in names)
    if got != used:
        fail(where, f"values used {got}, the ranges give {used}")
    if [n["code"] for n in o["notes"]] != notes:
        fail(where, f"notes {o['notes']}, the ranges give {notes}")
    model = "relative-wind" if c["relative"] else "deep-water"
    if o["model"] != model:
        fail(where, f"model {o['model']}")
    wave, deep = o["wave"], o["deep_water"]
    h, length = num(wave["height_m"]), num(wave["length_m"])
    t = num(wave["period_s"])
    t0 = num(deep["period_s"])
    stp0 = f32(num(deep["height_m"]) / num(deep["length_m"]))
    blocked = o["status"] == "blocked"
    if (wave["length_m"] is None) != blocked:
        fail(where, f"length {wave['length_m']} with status {o['status']}")
    if wave["height_m"] is None:
        if any(o[k] is not None for k in
               ("steepness", "factor", "sea_sickness_percent")):
            fail(where, "no height, but a steepness, factor or sea sickness")
    else:
        if (wave["length_m"] is not None
                and num(o["steepness"]) != f32(h / length)):
            fail(where, f"steepness {o['steepness']} is not Hc / Lc")
        if num(o["factor"]) != f32(num(o["steepness"]) / stp0):
            fail(where, f"factor {o['factor']} is not the steepness over "
                        f"the deep-water steepness {stp0}")
        if o["sea_sickness_percent"] != sea_sickness(h, t, used[0]):
            fail(where, f"sea sickness {o['sea_sickness_percent']}, the "
                        f"formula gives {sea_sickness(h, t, used[0])}")
    if num(o["stopping_current_kt"]) != umax(t):
        fail(where, f"stopping current {o['stopping_current_kt']}, g Tc / "
                    f"(8 pi) gives {umax(t)}")
    if o["waves_per_hour"] != math.trunc(f32(3600 / t0)) // 10 * 10:
        fail(where, f"waves per hour {o['waves_per_hour']}")

    dev = o["development"]
    if dev is None:
        return
    # The period before each horizon: the report's, then that of the sea
    # 3 and 12 hours on; the height of each horizon that of the sea 3, 12
    # and 48 hours on, never falling, and no height above 40 m.
    periods = [t0] + [num(later[k]["deep_water"]["period_s"]) if k in later
                      else None for k in (3, 12)]
    first, height, depth = None, 0.0, used[3]
    for i, (d, hours) in enumerate(zip(dev, (3, 12, 48))):
        at = f"{where}: horizon {hours} h"
        if d["hours"] != hours:
            fail(at, f"hours {d['hours']}")
        if periods[i] is not None:
            waves = reduce_count(math.trunc(f32(hours * 3600 / periods[i])))
            first = waves if i == 0 else first
            if first > 10000 or waves > 99999:
                waves = 99999
            checked[f"waves of the {hours} h horizon"] += 1
            if d["waves"] != waves:
                fail(at, f"waves {d['waves']}: {hours} h over the period "
                         f"{periods[i]} s of the step before give {waves}")
        if height is not None and hours in later:
            hs = later[hours]["wave"]["height_m"]
            hs = NO_HEIGHT if hs is None else num(hs)
            height = max(BEYOND_HEIGHT if hs > 40 else hs, height)
            want = None if height == BEYOND_HEIGHT else height
            checked["horizon heights"] += 1
            if (None if d["height_m"] is None else num(d["height_m"])) != want:
                fail(at, f"height {d['height_m']}, the sea {hours} h on "
                         f"gives {want}")
        else:
            height = None
        hs = BEYOND_HEIGHT if d["height_m"] is None else num(d["height_m"])
        want = (None, None) if blocked else (hmax(hs, d["waves"], depth),
                                             sea_scale(hs))
        got = (None if d["hmax_m"] is None else num(d["hmax_m"]), d["sea_scale"])
        if got != want:
            fail(at, f"Hmax and sea scale {got}, the rules give {want}")


def later_seas(cases, objects):
    """The JSON of each sea 3, 12 and 48 hours on, from one batch, where
    that duration is within 200 h."""
    rows, keys = ["wind_kt,duration_h,fetch_km,depth_m,current_kt,model"], []
    for i, (c, o) in enumerate(zip(cases, objects)):
        for hours in (3, 12, 48):
            d = f32(num(o["duration_h"]) + hours)
            if d <= 200:
                e = c["entries"] + [""] * (5 - len(c["entries"]))
                model = "relative-wind" if c["relative"] else "deep-water"
                rows.append(",".join([e[0], "%.9g" % d] + e[2:] + [model]))
                keys.append((i, hours))
    out, _, _ = run(["windsea", "--batch", "-", "--format", "json"],
                    ("\n".join(rows) + "\n").encode())
    later = [{} for _ in cases]
    for (i, hours), line in zip(keys, out.decode().splitlines()):
        later[i][hours] = json.loads(line)
    return later


# --- the swell screen against its JSON ---------------------------------------

def check_swell(where, entries, text, o):
    period, height = (f32(float(e)) for e in entries)
    if (num(o["period_s"]), num(o["height_m"])) != (period, height):
        fail(where, f"swell {o['period_s']}, {o['height_m']}")
    bounds = {"below": (20, 20), "above": (50, 50), "inside": (20, 50)}
    lo, hi = bounds.get(o["outcome"], (math.nan, math.nan))
    if not lo <= num(o["wind_kt"]) <= hi:
        fail(where, f"wind {o['wind_kt']} for outcome {o['outcome']}")
    if num(o["distance_shown_km"]) != distance_shown(num(o["distance_km"])):
        fail(where, f"distance shown {o['distance_shown_km']} for "
                    f"{o['distance_km']} km")
    wind = F(4, 0, num(o["wind_kt"]))
    bft = I(3, o["beaufort"])
    dist = F(6, 0, num(o["distance_shown_km"]))
    lines = [" Period of the Swell =" + F(6, 1, num(o["period_s"]))
             + " sec,  Height =" + F(4, 1, num(o["height_m"])) + " m",
             "", "    This leads to the following conclusion:", ""]
    if o["outcome"] == "inside":
        lines += [" The (distant) Wind-Field is characterized by:", "",
                  " Windspeed =" + wind + " kt, Bft=" + bft
                  + ";   Distance =" + dist + " km"]
    else:
        below = o["outcome"] == "below"
        lines += [" Windspeed " + ("less" if below else "higher") + " than ="
                  + wind + " kt, Bft=" + bft, "",
                  " Distance of Windfield " + ("larger" if below else "less")
                  + " than =" + dist + " km"]
    compare_lines(where, text, lines)


# --- a batch as CSV and as JSON Lines ----------------------------------------

# Carried columns: a comma, quotes, blanks before and after, an empty cell,
# a line end, letters beyond ASCII.
CARRIED = {"id, no": ["A, 1", 'say "hi"', "", "Ærø ≈ 5 kn", "multi\nline"],
           " note ": ["  lead", "trail  ", " both ", "x", "\u00f5"]}


def spreadsheet_rows(text):
    """CSV rows as a spreadsheet that trims blanks around unquoted cells
    reads them; quoted cells as written."""
    rows, row, i = [], [], 0
    unquoted = re.compile(r'[^,\r\n]*')
    while i < len(text):
        if text[i] == '"':
            cell, i = "", i + 1
            while True:
                k = text.index('"', i)
                cell += text[i:k]
                if text.startswith('"', k + 1):
                    cell, i = cell + '"', k + 2
                else:
                    i = k + 1
                    break
        else:
            m = unquoted.match(text, i)
            cell, i = m.group().strip(" "), m.end()
        row.append(cell)
        if i >= len(text) or text[i] in "\r\n":
            rows.append(row)
            row = []
            i += 2 if text.startswith("\r\n", i) else 1
        else:
            i += 1
    return rows


def flatten(o, prefix=""):
    """Leaf members of a JSON result with their dotted names; lists of
    {code, text} are leaves, other lists are numbered."""
    out = []
    for k, v in o.items():
        name = prefix + k
        if isinstance(v, dict):
            out += flatten(v, name + ".")
        elif isinstance(v, list) and v and set(v[0]) != {"code", "text"}:
            for i, item in enumerate(v):
                out += flatten(item, f"{name}.{i}.")
        else:
            out.append((name, v))
    return out


def lookup(o, name):
    """The member at a dotted name; null inside a null record or list."""
    for part in name.split("."):
        if o is None:
            return None
        o = o[int(part)] if isinstance(o, list) else o.get(part)
    return o


def cell_of(v):
    """What a CSV cell must hold for a JSON value, as it reads back."""
    if v is None:
        return ""
    if isinstance(v, list):
        return ";".join(x["code"] for x in v)
    return v


def same_cell(cell, v):
    want = cell_of(v)
    if isinstance(want, (int, float)) and not isinstance(want, bool):
        try:
            return f32(float(cell)) == f32(float(want))
        except ValueError:
            return False
    return cell == want


def check_batch(command, columns, rows, one_shot, documented):
    """rows: the engine's cells of each row; one_shot: each row's one-shot
    JSON, or None for a row the batch must refuse."""
    names = list(CARRIED)
    # The carried columns go first in the header, between the engine's in
    # the rows; every value is quoted as a careful writer quotes.
    header = [names[0]] + columns[:2] + [names[1]] + columns[2:]
    buf = io.StringIO()
    writer = csv.writer(buf, quoting=csv.QUOTE_ALL, lineterminator="\r\n")
    writer.writerow(header)
    carried, lines, line = [], [], 2
    for i, cells in enumerate(rows):
        keep = [CARRIED[n][i % len(CARRIED[n])] for n in names]
        carried.append(keep)
        record = [keep[0]] + cells[:2] + [keep[1]] + cells[2:]
        writer.writerow(record)
        lines.append(line)
        line += 1 + sum(x.count("\n") for x in record)
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "cases.csv")
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(buf.getvalue())
        out_csv, _, _ = run([command, "--batch", path])
        out_json, _, _ = run([command, "--batch", path, "--format", "json"])
    where = f"{command} batch"
    text = out_csv.decode("utf-8")
    readers = {"csv module": list(csv.reader(io.StringIO(text, newline=""),
                                            skipinitialspace=True)),
               "spreadsheet": spreadsheet_rows(text)}
    objects = [json.loads(x) for x in out_json.decode("utf-8").splitlines()]
    if len(objects) != len(rows):
        fail(where, f"{len(objects)} JSON lines for {len(rows)} rows")
    for reader, table in readers.items():
        if table[0] != names + documented + ["error"]:
            fail(where, f"CSV header ({reader}) {table[0]}")
        if len(table) - 1 != len(rows):
            fail(where, f"{len(table) - 1} CSV rows ({reader}) for {len(rows)}")
    for i, o in enumerate(objects):
        at = f"{where} line {lines[i]}"
        if o.get("line") != lines[i]:
            fail(at, f"JSON line {o.get('line')}")
        if o.get("input") != dict(zip(names, carried[i])):
            fail(at, f"JSON carried columns {o.get('input')}")
        result = {k: v for k, v in o.items()
                  if k not in ("line", "input", "error")}
        if one_shot[i] is None:
            if o["error"] is None or result:
                fail(at, f"a bad row gives {o}")
        elif o["error"] is not None or result != one_shot[i]:
            fail(at, f"the batch's JSON is not the one-shot JSON {one_shot[i]}")
        for reader, table in readers.items():
            # Cell by cell under the header's own names, so that a header
            # out of order is told once, above.
            header = table[0]
            values = list(carried[i]) + [lookup(result, n) for n in
                                         header[len(names):-1]] + [o["error"]]
            cells = table[i + 1] if i + 1 < len(table) else []
            if len(cells) != len(values):
                fail(at, f"{len(cells)} CSV cells ({reader}) for "
                         f"{len(values)} JSON values")
                continue
            for name, cell, v in zip(header, cells, values):
                if not same_cell(cell, v):
                    fail(at, f"CSV {name} ({reader}) {cell!r}, JSON {v!r}")


# --- the documented fields ---------------------------------------------------

def readme_fields():
    """The README's table of fields: wind-sea names, swell names, and the
    values listed for a single field (codes, models, statuses)."""
    text = open(README, encoding="utf-8").read()
    table = text.split("The fields, with their CSV column names", 1)[1]
    windsea, swell, values = [], [], {}
    current = windsea
    for line in table.split("\n\n", 1)[1].split("\n\n", 1)[0].splitlines()[2:]:
        first, _, meaning = line.strip("|").split("|")[:3]
        tokens = re.findall(r"`([^`]*)`", first)
        if tokens[0] == "period_s":  # the swell's rows follow
            current = swell
        if ".." in first:  # `development.0` .. `.2`: `hours`, ...
            base, items = tokens[0].rsplit(".", 1)
            last = int(tokens[1].lstrip("."))
            names = [f"{base}.{i}.{sub}" for i in range(int(items), last + 1)
                     for sub in tokens[2:]]
        else:
            names, prefix = [], ""
            for tok in tokens:
                if tok.startswith("."):
                    tok = prefix + tok[1:]
                prefix = tok.rsplit(".", 1)[0] + "." if "." in tok else ""
                names.append(tok)
        current += names
        listed = [v for v in re.findall(r"`([^`]*)`", meaning)
                  if re.fullmatch(r"[a-z][a-z_-]*", v)]
        if len(names) == 1 and listed:
            values[(current is swell, names[0])] = set(listed)
    return windsea, swell, values


def manpage_fields():
    """The manual page's result fields, its bold words in order: the wind
    sea's, then the swell's. A record or list is named before its members,
    a field with few values before them."""
    text = open(MANPAGE, encoding="utf-8").read()
    para = text.split("The result fields", 1)[1].split("\n.SH", 1)[0]
    parts = [[], []]
    for names, part in zip(parts, para.split("for the swell", 1)):
        for line in part.splitlines():
            macro, _, rest = line.partition(" ")
            words = shlex.split(rest)
            names += {".B": words, ".BR": words[0::2],
                      ".RB": words[1::2]}.get(macro, [])
    return parts


def outline(o):
    """A result's member names as the manual page lists them."""
    names = []
    for k, v in o.items():
        names.append(k)
        if isinstance(v, dict):
            names += list(v)
        elif isinstance(v, list) and v and set(v[0]) != {"code", "text"}:
            names += list(v[0])
    return names


def check_documented(wind_objects, swell_objects):
    sample = next(o for o in wind_objects if o["development"] is not None)
    samples = (sample, swell_objects[0])
    readme_w, readme_s, readme_values = readme_fields()
    for swell, names in enumerate((readme_w, readme_s)):
        members = [n for n, _ in flatten(samples[swell])]
        if names != members:
            fail("README", f"documented fields {names}, the JSON has {members}")
    # The values a field was seen with are the ones documented for it.
    seen = {}
    for swell, objects in enumerate((wind_objects, swell_objects)):
        for o in objects:
            for name, v in flatten(o):
                vs = [x["code"] for x in v] if isinstance(v, list) else [v]
                seen.setdefault((swell == 1, name), set()).update(vs)
    if not readme_values:
        fail("README", "no field with a list of its values found")
    for key, listed in readme_values.items():
        if seen.get(key) != listed:
            fail("README", f"{key[1]}: documented {sorted(listed)}, seen "
                           f"{sorted(seen.get(key, set()))}")
    # The manual page lists the values of a few fields among the names.
    values = {v for vs in seen.values() for v in vs if isinstance(v, str)}
    for names, sample in zip(manpage_fields(), samples):
        names = [n for n in names if n not in values]
        if names != outline(sample):
            fail("manual page", f"documented fields {names}, the JSON has "
                                f"{outline(sample)}")
    return readme_w, readme_s


# --- the run -----------------------------------------------------------------

def main():
    rng = random.Random(20240611)
    winds = windsea_cases(rng, 300)
    swells = swell_cases(rng, 80)

    wind_objects = []
    for c in winds:
        where = " ".join(windsea_args(c))
        text, err, rc = run(windsea_args(c))
        out, _, rc_json = run(windsea_args(c) + ["--format", "json"])
        if rc or rc_json:
            print(f"{where}: exit status {rc} (text), {rc_json} (json)")
            return 1
        o = json.loads(out)
        wind_objects.append(o)
        compare_lines(where, text, expected_windsea_lines(o))
        notes = [f"morvelstandrik: note: {n['text']}" for n in o["notes"]]
        if err.decode("utf-8").splitlines() != notes:
            fail(where, f"notes on standard error {err!r}, JSON {notes}")
    for c, o, later in zip(winds, wind_objects, later_seas(winds, wind_objects)):
        check_windsea_rules(" ".join(windsea_args(c)), c, o, later)

    swell_objects = []
    for entries in swells:
        where = "swell " + " ".join(entries)
        text, _, _ = run(["swell"] + list(entries))
        out, _, rc = run(["swell"] + list(entries) + ["--format", "json"])
        o = json.loads(out)
        # A swell of no height (or less) tells of no wind field: refused.
        if float(entries[1]) <= 0:
            if rc != 2 or o["error"]["entry"] != "height" or text:
                fail(where, f"not refused: status {rc}, {out!r}")
            swell_objects.append(None)
            continue
        swell_objects.append(o)
        check_swell(where, entries, text, o)

    documented_w, documented_s = check_documented(
        wind_objects, [o for o in swell_objects if o is not None])

    # The same cases as batches, with rows the batch must refuse among them.
    rows = [c["entries"][:4] + [(c["entries"] + [""])[4],
                                "relative-wind" if c["relative"] else ""]
            for c in winds]
    bad = [["20", "10", "10,5", "10", "", ""], ["", "10", "100", "10", "", ""],
           ["20", "10", "100", "10", "", "shallow"]]
    check_batch("windsea", ["wind_kt", "duration_h", "fetch_km", "depth_m",
                            "current_kt", "model"],
                rows[:150] + bad + rows[150:], wind_objects[:150]
                + [None] * len(bad) + wind_objects[150:], documented_w)
    check_batch("swell", ["period_s", "height_m"],
                [list(e) for e in swells] + [["0.05", "1"]],
                swell_objects + [None], documented_s)

    # The cases reach what they are meant to check (and every documented
    # code, status and outcome, above).
    kinds = {
        "a sea without a height, not blocked": lambda o: o["wave"]["height_m"]
        is None and o["status"] != "blocked",
        "a blocked sea with a table": lambda o: o["status"] == "blocked"
        and o["development"] is not None,
        "a horizon above 40 m": lambda o: o["development"] is not None
        and any(d["height_m"] is None for d in o["development"]),
        "a relative sea": lambda o: o["model"] == "relative-wind",
    }
    for kind, test in kinds.items():
        if not any(test(o) for o in wind_objects):
            fail("cases", f"no case gives {kind}")

    for f in failures[:30]:
        print(f)
    if len(failures) > 30:
        print(f"... and {len(failures) - 30} more")
    for what, n in sorted(checked.items()):
        print(f"{what}: {n}")
    print(f"{len(winds)} wind seas, {len(swells)} swells: "
          f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
