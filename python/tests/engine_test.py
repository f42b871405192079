"""The Python engines against the command line's JSON, bit for bit, and
their handling of shapes, NaN and bad arguments."""

import json
import math
import os
import subprocess
import threading
import time

import numpy as np
import pytest
from hypothesis import given, settings, strategies as st
from hypothesis.extra import numpy as hnp

import morvelstandrik as ms

PROGRAM = os.environ.get("MORVEL_PROGRAM", "build/default/morvelstandrik")
WINDSEA_COLUMNS = ["wind_kt", "duration_h", "fetch_km", "depth_m", "current_kt"]


def shortest(x):
    """A float32 in the shortest text that reads back to it."""
    x = np.float32(x)
    if not np.isfinite(x):
        return {True: "nan"}.get(bool(np.isnan(x)), "inf" if x > 0 else "-inf")
    return np.format_float_positional(x, unique=True, trim="-")


def run_batch(tmp_path, command, header, rows):
    """The command line's JSON objects of a batch, by input line."""
    path = tmp_path / f"{command}.csv"
    with open(path, "w") as f:
        f.write(",".join(header) + "\n")
        for row in rows:
            f.write(",".join(row) + "\n")
    run = subprocess.run([PROGRAM, command, "--batch", str(path),
                          "--format", "json"], capture_output=True, text=True)
    # 1: some rows were refused, each in its own row.
    assert run.returncode in (0, 1), run.stderr
    out = run.stdout
    objects = [json.loads(line) for line in out.splitlines()]
    return {o["line"]: o for o in objects}


def json_value(obj, dotted):
    for part in dotted.split("."):
        if obj is None:
            return None
        obj = obj[int(part)] if isinstance(obj, list) else obj[part]
    return obj


def bits(x):
    return np.asarray(x, dtype=np.float32).view(np.uint32)


def assert_same_as_json(result, objects, n):
    """Every field of every element equals the JSON object of its line."""
    checked = 0
    for i in range(n):
        o = objects[i + 2]  # line 1 is the header
        err = int(result["error"].ravel()[i])
        if o.get("error") is not None:
            assert err != 0, (i, o["error"])
            code = result.codes("error")[err]
            column, _, why = code.rpartition("_not_finite")[0:3] \
                if code.endswith("_not_finite") else (code[:-8], 0, 0)
            assert o["error"].startswith(column + ":"), (o["error"], code)
            assert ("not a finite number" in o["error"]) == \
                code.endswith("_not_finite"), (o["error"], code)
            continue
        assert err == 0, (i, result.codes("error")[err])
        for name in result:
            if name == "error":
                continue
            f = result.fields[name]
            mine = result[name].ravel()[i]
            theirs = json_value(o, name)
            if f.kind == "choice":
                assert f.codes[mine] == theirs, (i, name)
            elif f.kind == "flags":
                got = [c for b, c in enumerate(f.codes) if int(mine) >> b & 1]
                assert got == [w["code"] for w in theirs], (i, name)
            elif theirs is None:
                assert f.nullable and np.isnan(mine), (i, name, mine)
            elif result[name].dtype == np.int32:
                assert int(mine) == theirs, (i, name)
            else:
                assert bits(mine) == bits(np.float32(theirs)), \
                    (i, name, mine, theirs)
            checked += 1
    return checked


def windsea_cases(n, seed):
    """Seeded cases over and beyond every range: clamped entries, light and
    storm winds, shallow water, strong opposing currents (blocked seas),
    steep short seas (breaking), a few not finite or refused."""
    rng = np.random.default_rng(seed)
    loguni = lambda lo, hi: np.exp(rng.uniform(np.log(lo), np.log(hi), n))
    wind = loguni(0.3, 150)
    duration = loguni(0.3, 400)
    fetch = loguni(0.3, 9000)
    depth = loguni(0.3, 9000)
    current = rng.uniform(-20, 20, n)
    current[rng.random(n) < 0.3] = 0
    current[rng.random(n) < 0.02] = 2000  # above 1000: taken as 0
    model = rng.integers(0, 2, n)
    # A few that the command line refuses or cannot read.
    for column, bad in ((wind, [np.nan, np.inf, -3, 0.005, 0]),
                        (duration, [np.nan, -np.inf]),
                        (fetch, [np.inf]), (depth, [np.nan]),
                        (current, [np.nan, np.inf])):
        at = rng.choice(n, len(bad), replace=False)
        column[at] = bad
    values = [np.asarray(c, dtype=np.float32)
              for c in (wind, duration, fetch, depth, current)]
    return values, model


def test_windsea_equals_the_command_lines_json(tmp_path):
    n = 2400
    values, model = windsea_cases(n, seed=17)
    # The shortest texts read back to the same float32 values.
    for column in values:
        for x in column[:200]:
            if np.isfinite(x):
                assert np.float32(float(shortest(x))) == x
    rows = [[shortest(c[i]) for c in values] + [ms.MODELS[model[i]]]
            for i in range(n)]
    objects = run_batch(tmp_path, "windsea", WINDSEA_COLUMNS + ["model"], rows)
    assert len(objects) == n
    total = 0
    results = {}
    for m, name in enumerate(ms.MODELS):
        pick = model == m
        r = ms.windsea(*[c[pick] for c in values], model=name)
        results[name] = r
        sub = {j + 2: objects[i + 2]
               for j, i in enumerate(np.flatnonzero(pick))}
        total += assert_same_as_json(r, sub, int(pick.sum()))
    # Refused: a value not finite, a negative or calm wind.
    stacked = np.stack(values)
    refused = (~np.isfinite(stacked).all(axis=0) | (values[0] < 0) |
               (np.abs(values[0]) <= 0.01))
    fields = len(results["deep-water"]) - 1  # all but error
    assert fields == 38
    assert total == fields * int((~refused).sum())
    # The cases reach what they are meant to reach, in both models.
    for r in results.values():
        for status in ("ok", "breaking", "blocked"):
            assert r.has("status", status).sum() >= 10, status
        assert r.has("notes", "wind_compressed").any()
        assert r.has("notes", "wind_capped").any()
        assert r.has("notes", "current_ignored").any()
        assert np.isnan(r["development.0.hmax_m"]).any()
        assert np.isnan(r["sea_sickness_percent"]).any()
    assert sum((r["error"] != 0).sum() for r in results.values()) == \
        refused.sum() >= 8


def test_swell_equals_the_command_lines_json(tmp_path):
    n = 600
    rng = np.random.default_rng(5)
    period = np.exp(rng.uniform(np.log(0.05), np.log(30), n)).astype(np.float32)
    height = np.exp(rng.uniform(np.log(0.01), np.log(25), n)).astype(np.float32)
    period[:3] = [np.nan, 0.05, np.inf]
    rows = [[shortest(p), shortest(h)] for p, h in zip(period, height)]
    objects = run_batch(tmp_path, "swell", ["period_s", "height_m"], rows)
    r = ms.swell(period, height)
    refused = ~np.isfinite(period) | (period < np.float32(0.1))
    assert refused.sum() >= 3
    assert assert_same_as_json(r, objects, n) == 7 * int((~refused).sum())
    for outcome in ("inside", "below", "above"):
        assert r.has("outcome", outcome).sum() >= 10


# Worked examples: the model's own documented figures.
def test_windsea_worked_example():
    r = ms.windsea(20, 10, 100, 10)
    assert r.shape == ()
    assert r["deep_water.height_m"] == pytest.approx(1.883, abs=5e-4)
    assert r["deep_water.period_s"] == pytest.approx(5.237, abs=5e-4)
    assert r["deep_water.length_m"] == pytest.approx(42.78, abs=5e-3)
    assert r["wave.height_m"] == pytest.approx(1.744, abs=5e-4)
    assert r["wave.length_m"] == pytest.approx(39.48, abs=5e-3)
    assert r["beaufort"] == 5 and r["beaufort"].dtype == np.int32
    assert r["sea_sickness_percent"] == 17
    assert r["waves_per_hour"] == 680
    assert r.decode("status")[()] == "ok"
    assert r.decode("warnings")[()] == ("dangerous_shoal_waves",)
    assert [float(r[f"development.{i}.hmax_m"]) for i in range(3)] == \
        pytest.approx([3.4, 3.7, 4.0], abs=0.05)
    assert r["error"] == 0


def test_swell_worked_examples():
    r = ms.swell([10, 10, 10], [3, 0.5, 12])
    assert list(r.decode("outcome")) == ["inside", "below", "above"]
    assert r["wind_kt"] == pytest.approx([30.49, 20, 50], abs=0.005)
    assert list(r["beaufort"]) == [7, 5, 10]
    assert r["distance_km"] == pytest.approx([449.87, 1088.63, 90.22],
                                             abs=0.01)
    assert list(r["distance_shown_km"]) == [400, 1000, 90]


def test_limit_worked_example():
    r = ms.limit(100, 500, 0, -5, 2000)
    assert float(r["wind_kt"]) == pytest.approx(65 + 10 * math.log(100 / 65),
                                                abs=1e-4)
    assert [float(r[c]) for c in WINDSEA_COLUMNS[1:]] == [200, 1, 1, 0]
    assert r.decode("notes")[()] == ("wind_compressed", "duration_lowered",
                                     "fetch_raised", "depth_raised",
                                     "current_ignored")
    # The values used are those the wind sea reports.
    w = ms.windsea(100, 500, 0, -5, 2000)
    for c in WINDSEA_COLUMNS:
        assert bits(w[c]) == bits(r[c])
    assert w["notes"] == r["notes"]


def test_fields_follow_the_walk_and_its_kinds():
    r = ms.windsea(20, 10, 100, 10)
    names = list(r)
    assert names[:8] == ["wind_kt", "beaufort", "duration_h", "fetch_km",
                         "depth_m", "current_kt", "model", "notes"]
    assert names[-1] == "error"
    assert "development.2.sea_scale" in names
    for name in names:
        kind = r.fields[name].kind
        dtype = r[name].dtype
        if kind == "number":
            assert dtype == np.float32
        elif kind == "integer":
            # Whole numbers the JSON can give as null are float32.
            expected = np.float32 if r.fields[name].nullable else np.int32
            assert dtype == expected, name
        elif kind == "choice":
            assert dtype == np.int8
        else:
            assert dtype == np.uint32
    int_fields = {n for n in names if r[n].dtype == np.int32}
    assert int_fields == {"beaufort", "waves_per_hour"}
    assert r["sea_sickness_percent"].dtype == np.float32
    assert r["development.0.hours"].dtype == np.float32


def test_broadcasting():
    wind = np.array([[10], [20], [30]], dtype=np.float64)  # (3, 1)
    fetch = [50, 100, 200, 400]  # (4,)
    r = ms.windsea(wind, 10, fetch, 10, current_kt=np.zeros((1, 4)))
    assert r.shape == (3, 4)
    for name in r:
        assert r[name].shape == (3, 4)
    for i in range(3):
        for j in range(4):
            one = ms.windsea(wind[i, 0], 10, fetch[j], 10)
            assert bits(one["wave.height_m"]) == bits(r["wave.height_m"][i, j])
    # Empty arrays broadcast to empty results.
    assert ms.windsea([], 10, 100, 10)["wave.height_m"].shape == (0,)


def test_relative_wind_model_differs_with_a_current():
    d = ms.windsea(20, 10, 100, 10, -3)
    r = ms.windsea(20, 10, 100, 10, -3, model="relative-wind")
    assert r.decode("model")[()] == "relative-wind"
    assert bits(d["wave.height_m"]) != bits(r["wave.height_m"])


@pytest.mark.parametrize("args, kwargs, error, names", [
    (("20", 10, 100, 10), {}, TypeError, "wind_kt"),
    ((20, ["a", "b"], 100, 10), {}, TypeError, "duration_h"),
    ((20, 10, [1, [2, 3]], 10), {}, ValueError, "fetch_km"),
    ((20, 10, 100, None), {}, TypeError, "depth_m"),
    ((20, 10, 100, 10, 1j), {}, TypeError, "current_kt"),
    (([1, 2, 3], 10, [1, 2], 10), {}, ValueError, "fetch_km"),
    ((20, 10, 100, np.ones((2, 3))), {"current_kt": np.ones(4)}, ValueError,
     "current_kt"),
    ((20, 10, 100, 10), {"model": "shallow"}, ValueError, "model"),
    ((20, 10, 100, 10), {"model": 1}, TypeError, "model"),
])
def test_bad_arguments_raise_naming_the_argument(args, kwargs, error, names):
    with pytest.raises(error, match=names):
        ms.windsea(*args, **kwargs)


def test_swell_bad_arguments():
    with pytest.raises(ValueError, match="height_m"):
        ms.swell([1, 2], [1, 2, 3])
    with pytest.raises(TypeError, match="period_s"):
        ms.swell("10", 3)


@pytest.mark.parametrize("entry, value, code", [
    (0, np.nan, "wind_kt_not_finite"),
    (0, np.inf, "wind_kt_not_finite"),
    (0, -20, "wind_kt_refused"),
    (0, 0.01, "wind_kt_refused"),
    (1, -np.inf, "duration_h_not_finite"),
    (2, np.nan, "fetch_km_not_finite"),
    (3, np.inf, "depth_m_not_finite"),
    (4, np.nan, "current_kt_not_finite"),
    (4, 1e39, "current_kt_not_finite"),  # beyond float32: infinite
])
def test_bad_values_give_an_error_code_not_an_exception(entry, value, code):
    args = [np.array([20.0, 20.0]), 10.0, 100.0, 10.0, 0.0]
    args[entry] = np.array([value, args[entry] if entry else 20.0])
    r = ms.windsea(*args)
    assert r.codes("error")[r["error"][0]] == code
    assert r["error"][1] == 0
    for name in r:
        f = r.fields[name]
        if f.kind == "number" or (f.kind == "integer" and f.nullable):
            assert np.isnan(r[name][0]), name
            assert name.startswith("development") or \
                name == "sea_sickness_percent" or not np.isnan(r[name][1])
        elif f.kind in ("integer", "choice") and name != "error":
            assert r[name][0] == -1
    # The first problem in the command line's order is named.
    r = ms.windsea(np.nan, -1, np.inf, 10)
    assert r.codes("error")[r["error"][()]] == "wind_kt_not_finite"
    r = ms.windsea(-1, np.nan, 100, 10)
    assert r.codes("error")[r["error"][()]] == "duration_h_not_finite"


def test_swell_short_period_is_refused():
    r = ms.swell([0.05, 0.1, np.nan], 3)
    assert list(r.decode("error")) == ["period_s_refused", "none",
                                       "period_s_not_finite"]


def test_the_loop_releases_the_interpreter():
    """Another Python thread runs while a large array is computed."""
    n = 300_000
    wind = np.linspace(5, 60, n, dtype=np.float32)
    done = threading.Event()
    ticks = [0]

    def count():
        while not done.is_set():
            ticks[0] += 1

    ms.windsea(wind[:1000], 10, 100, 10)
    t = threading.Thread(target=count)
    t.start()
    time.sleep(0.01)
    before = ticks[0]
    start = time.perf_counter()
    ms.windsea(wind, 10, 100, 10)
    elapsed = time.perf_counter() - start
    during = ticks[0] - before
    done.set()
    t.join()
    # Held, the lock would stop the counter for the whole call.
    assert elapsed > 0.05
    assert during > 1000, (during, elapsed)


finite = st.floats(min_value=-1e4, max_value=1e4, width=32)
any_float = st.floats(width=32, allow_nan=True, allow_infinity=True)


@settings(max_examples=60, deadline=None)
@given(shapes=hnp.mutually_broadcastable_shapes(num_shapes=5, max_dims=3,
                                                max_side=4),
       data=st.data())
def test_property_shapes_broadcast_and_elements_stand_alone(shapes, data):
    arrays = [data.draw(hnp.arrays(np.float32, s, elements=any_float))
              for s in shapes.input_shapes]
    r = ms.windsea(*arrays)
    assert r.shape == shapes.result_shape
    for name in r:
        assert r[name].shape == shapes.result_shape
    # Each element is what the same five numbers give alone.
    full = [np.broadcast_to(a, shapes.result_shape) for a in arrays]
    for index in list(np.ndindex(shapes.result_shape))[:5]:
        one = ms.windsea(*[a[index] for a in full])
        for name in r:
            assert bits(one[name]) == bits(r[name][index]) \
                if r[name].dtype == np.float32 else one[name] == r[name][index]


@settings(max_examples=100, deadline=None)
@given(values=st.lists(any_float, min_size=5, max_size=5))
def test_property_nan_in_nan_out(values):
    r = ms.windsea(*values)
    bad = [not math.isfinite(v) for v in values]
    if any(bad):
        first = bad.index(True)
        assert r.codes("error")[r["error"][()]] == \
            WINDSEA_COLUMNS[first] + "_not_finite"
        assert np.isnan(r["wave.height_m"]) and np.isnan(r["wind_kt"])
    elif r["error"] == 0:
        # Every finite case the model takes has a deep-water sea.
        assert np.isfinite(r["deep_water.height_m"])
        assert np.isfinite(r["wind_kt"]) and 1 <= r["wind_kt"] <= 70
