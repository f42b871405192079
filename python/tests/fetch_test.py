"""effective_fetch: the command line's fetch over arrays of positions."""
import json
import os
import subprocess

import numpy as np
import pytest

import morvelstandrik as ms

PROGRAM = os.environ.get("MORVEL_PROGRAM", "build/default/morvelstandrik")


def program_fetch(lat, lon, from_deg, *extra):
    done = subprocess.run(
        [PROGRAM, "fetch", str(lat), str(lon), str(from_deg), "--format",
         "json", *extra], capture_output=True, text=True, check=True)
    return json.loads(done.stdout)


# Open water in the Kiel Bight, the North Sea and Cook Strait, at each
# method: the fetch is the program's, to the last bit.
@pytest.mark.parametrize("method", ["spm", "saville", "line"])
def test_same_fetch_as_the_command_line(method):
    places = [(54.5, 10.25, 45.0), (55.0, 5.0, 270.0), (-41.3, 174.6, 315.0)]
    lat, lon, from_deg = (np.array(v) for v in zip(*places))
    got = ms.effective_fetch(lat, lon, from_deg, method=method,
                             resolution="l")
    for i, (la, lo, fr) in enumerate(places):
        want = program_fetch(la, lo, fr, "--method", method,
                             "--resolution", "l")
        assert got["fetch_km"][i] == want["fetch_km"]
        assert bool(got["open"][i]) == want["open"]
        assert got["error"][i] == ""


def test_broadcasts_and_refuses_land_alone():
    # Rows of latitudes against one row of longitudes: Kiel Bight, Paris
    # (land), Kiel Bight again; the Kiel Bight further north, land near
    # Paris, and the South Atlantic at 25S 10.25E.
    lat = np.array([[54.5, 48.86, 54.5], [54.6, 48.0, -25.0]])
    lon = np.array([10.25, 2.35, 10.25])
    got = ms.effective_fetch(lat, lon, 90.0, resolution="c")
    assert got["fetch_km"].shape == (2, 3)
    assert got["open"].shape == (2, 3) and got["error"].shape == (2, 3)
    for place in [(0, 1), (1, 1)]:
        assert np.isnan(got["fetch_km"][place])
        assert "on land in GSHHG crude" in got["error"][place]
    for place in [(0, 0), (1, 0), (1, 2)]:
        assert np.isfinite(got["fetch_km"][place]) and got["error"][place] == ""
    assert got["fetch_km"][0, 0] == got["fetch_km"][0, 2]


def test_an_own_lake_gives_its_closed_form_fetch(tmp_path):
    # Land around a square lake 0.2 degrees across on the equator. From its
    # centre the north shore is 0.1 degree of latitude away: 11.0574 km on
    # the WGS84 meridian (110.574 km a degree at the equator).
    lake = [[-0.1, -0.1], [0.1, -0.1], [0.1, 0.1], [-0.1, 0.1], [-0.1, -0.1]]
    land = [[-2, -2], [2, -2], [2, 2], [-2, 2], [-2, -2]]
    path = tmp_path / "lake.geojson"
    path.write_text(json.dumps({"type": "Polygon",
                                "coordinates": [land, lake]}))
    got = ms.effective_fetch(0.0, 0.0, [0.0, 90.0], method="line",
                             coast=str(path))
    assert got["fetch_km"][0] == pytest.approx(11.0574, abs=0.002)
    # East: 0.1 degree of the equator, 11.132 km (111.32 km a degree).
    assert got["fetch_km"][1] == pytest.approx(11.132, abs=0.002)
    # The cap: a radial of an open sea is the cap and open.
    capped = ms.effective_fetch(0.0, 0.0, 0.0, method="line",
                                coast=str(path), max_fetch_km=5.0)
    assert capped["fetch_km"] == 5.0 and bool(capped["open"])


@pytest.mark.parametrize("kwargs", [
    {"method": "mean"}, {"max_fetch_km": -1.0}, {"resolution": "x"},
    {"coast": "/nonexistent/land.geojson"}])
def test_bad_choices_raise(kwargs):
    with pytest.raises(ValueError):
        ms.effective_fetch(54.5, 10.25, 45.0, **kwargs)
