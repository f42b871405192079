"""Entries in the sailor's units: the unit keywords give exactly the bits of
the converted float32 given in knots, km and m, and agree with the command
line's unit options."""

import json
import os
import subprocess
from fractions import Fraction

import numpy as np
import pytest

import morvelstandrik as ms

PROGRAM = os.environ.get("MORVEL_PROGRAM", "build/default/morvelstandrik")

# The length of each unit in the engine's unit, as exact ratios written out
# here: a knot is 1852 m an hour, a statute mile 1609.344 m, a foot 0.3048 m,
# a fathom six feet.
RATIOS = {
    ("wind", "kt"): Fraction(1),
    ("wind", "m/s"): Fraction(3600, 1852),
    ("wind", "km/h"): Fraction(1000, 1852),
    ("wind", "mph"): Fraction(1609344, 1852000),
    ("fetch", "km"): Fraction(1),
    ("fetch", "nmi"): Fraction(1852, 1000),
    ("fetch", "mi"): Fraction(1609344, 1000000),
    ("depth", "m"): Fraction(1),
    ("depth", "ft"): Fraction(3048, 10000),
    ("depth", "fathom"): Fraction(6 * 3048, 10000),
    ("height", "m"): Fraction(1),
    ("height", "ft"): Fraction(3048, 10000),
}
# The Beaufort forces' means in knots: the middle of each force's range in
# whole knots on the WMO scale, force 12 its lower limit.
FORCE_MEANS = [0, 2, 5, 8.5, 13.5, 19, 24.5, 30.5, 37, 44, 51.5, 59.5, 64]


def nearest_float32(exact):
    """The float32 nearest an exact fraction, ties to even."""
    f = np.float32(float(exact))
    best = None
    for c in (np.nextafter(f, np.float32(-np.inf)), f,
              np.nextafter(f, np.float32(np.inf))):
        d = abs(Fraction(float(c)) - exact)
        key = (d, int(c.view(np.uint32)) & 1)
        if best is None or key < best[0]:
            best = (key, c)
    return best[1]


def reference(values, quantity, unit):
    """Each float64 value times the exact ratio, rounded once to float32."""
    return np.array([nearest_float32(Fraction(float(v)) * RATIOS[quantity, unit])
                     for v in np.ravel(values)], dtype=np.float32)


def bits(x):
    return np.asarray(x, dtype=np.float32).view(np.uint32)


# Decimal values as the text gives them, some of which would reach another
# float32 if they were rounded to float32 before the conversion.
VALUES = np.array([0.05, 1, 7.77, 10, 65] + [0.37 * i for i in range(1, 31)])


@pytest.mark.parametrize("quantity,unit", sorted(RATIOS))
def test_to_engine_rounds_once(quantity, unit):
    got = ms.to_engine(VALUES, quantity, unit)
    assert got.dtype == np.float32
    np.testing.assert_array_equal(bits(got), bits(reference(VALUES, quantity,
                                                            unit)))
    if RATIOS[quantity, unit] != 1:
        twice = reference(VALUES.astype(np.float32).astype(np.float64),
                          quantity, unit)
        assert (bits(twice) != bits(got)).any()


def test_known_values_and_the_way_back():
    assert bits(ms.to_engine(10, "wind", "m/s")) == bits(np.float32(19.438444))
    assert bits(ms.to_engine(1, "fetch", "nmi")) == bits(np.float32(1.852))
    assert bits(ms.to_engine(1, "depth", "fathom")) == bits(np.float32(1.8288))
    assert bits(ms.from_engine(1.0, "height", "ft")) == bits(
        nearest_float32(Fraction(10000, 3048)))
    # Shapes are kept.
    assert ms.to_engine([[1, 2], [3, 4]], "fetch", "mi").shape == (2, 2)
    back = ms.from_engine(np.float32([np.nan, 3.048]), "depth", "ft")
    assert np.isnan(back[0]) and back[1] == np.float32(10)


def test_beaufort_forces():
    np.testing.assert_array_equal(ms.to_engine(np.arange(13), "wind", "bft"),
                                  np.float32(FORCE_MEANS))
    for bad in (3.5, 13, -1):
        with pytest.raises(ValueError, match="whole Beaufort force from 0 to 12"):
            ms.windsea([5, bad], 10, 100, 10, wind_unit="bft")
    with pytest.raises(ValueError, match="bft"):
        ms.from_engine(20, "wind", "bft")


def assert_same_result(a, b):
    assert list(a) == list(b)
    for name in a:
        x, y = np.asarray(a[name]), np.asarray(b[name])
        if x.dtype == np.float32:
            np.testing.assert_array_equal(bits(x), bits(y), err_msg=name)
        else:
            np.testing.assert_array_equal(x, y, err_msg=name)


@pytest.mark.parametrize("quantity,unit", sorted(RATIOS))
def test_entries_in_units_give_the_bits_of_the_converted_float(quantity, unit):
    converted = reference(VALUES, quantity, unit)
    if quantity == "height":
        assert_same_result(ms.swell(10, VALUES, height_unit=unit),
                           ms.swell(10, converted))
        return
    where = {"wind": 0, "fetch": 2, "depth": 3}[quantity]
    given = [20, 10, 100, 10]
    plain = list(given)
    given[where] = VALUES
    plain[where] = converted
    keyword = {quantity + "_unit": unit}
    assert_same_result(ms.windsea(*given, **keyword), ms.windsea(*plain))
    assert_same_result(ms.limit(*given, **keyword), ms.limit(*plain))


def test_beaufort_in_the_engines():
    forces = np.arange(1, 13)
    assert_same_result(ms.windsea(forces, 10, 100, 10, wind_unit="bft"),
                       ms.windsea(np.float32(FORCE_MEANS[1:]), 10, 100, 10))


def test_not_finite_and_overflow_are_error_codes():
    r = ms.windsea([np.nan, np.inf, 3e38, 10], 10, 100, 10, wind_unit="m/s")
    codes = r.codes("error")
    assert [codes[e] for e in r["error"]] == [
        "wind_kt_not_finite", "wind_kt_not_finite", "wind_kt_not_finite",
        "none"]


def test_unknown_units_and_quantities():
    with pytest.raises(ValueError,
                       match=r"wind_unit: 'knots' is not a wind unit; use "
                             r"kt, m/s, km/h, mph, bft"):
        ms.windsea(10, 10, 100, 10, wind_unit="knots")
    with pytest.raises(ValueError, match="fetch_unit: 'ft'"):
        ms.windsea(10, 10, 100, 10, fetch_unit="ft")
    with pytest.raises(ValueError, match="height_unit: 'fathom'"):
        ms.swell(10, 3, height_unit="fathom")
    with pytest.raises(ValueError, match="quantity"):
        ms.to_engine(1, "current", "kt")
    with pytest.raises(TypeError):
        ms.windsea(10, 10, 100, 10, height_unit="ft")
    with pytest.raises(TypeError, match="wind_kt"):
        ms.windsea("10", 10, 100, 10, wind_unit="m/s")


def test_the_command_line_agrees():
    args = ["windsea", "10", "10", "54", "5", "--wind-unit", "m/s",
            "--fetch-unit", "nmi", "--depth-unit", "fathom", "--format", "json"]
    run = subprocess.run([PROGRAM] + args, capture_output=True, text=True)
    assert run.returncode == 0, run.stderr
    line = json.loads(run.stdout)
    r = ms.windsea(10, 10, 54, 5, wind_unit="m/s", fetch_unit="nmi",
                   depth_unit="fathom")
    for name in ("wind_kt", "fetch_km", "depth_m", "wave.height_m",
                 "deep_water.period_s"):
        value = line
        for part in name.split("."):
            value = value[part]
        assert bits(r[name]) == bits(np.float32(value)), name


def test_xarray_takes_the_units():
    xr = pytest.importorskip("xarray")
    import morvelstandrik.xarray as msx
    wind = xr.DataArray(np.float64([5, 10, 15]), dims="time")
    out = msx.windsea(wind_kt=wind, duration_h=10, fetch_km=54, depth_m=5,
                      wind_unit="m/s", fetch_unit="nmi", depth_unit="fathom")
    plain = ms.windsea(reference([5, 10, 15], "wind", "m/s"), 10,
                       reference([54], "fetch", "nmi"),
                       reference([5], "depth", "fathom"))
    np.testing.assert_array_equal(bits(out["wave_height_m"].values),
                                  bits(plain["wave.height_m"]))
    with pytest.raises(ValueError, match="depth_unit: 'fathoms'"):
        msx.windsea(wind_kt=wind, duration_h=10, fetch_km=54, depth_m=5,
                    depth_unit="fathoms")
