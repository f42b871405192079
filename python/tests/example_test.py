"""The worked example on a small NetCDF wind file made here: a CF result
file with the engine's bits, a map and a time series as PNG."""

import os
import pathlib
import subprocess
import sys

import numpy as np
import xarray as xr

import morvelstandrik as ms

EXAMPLE = (pathlib.Path(__file__).resolve().parents[2] / "examples" /
           "python" / "netcdf_windsea.py")


def test_netcdf_worked_example(tmp_path):
    rng = np.random.default_rng(2)
    t, y, x = 6, 5, 7
    wind_ms = rng.uniform(2, 25, (t, y, x)).astype(np.float32)
    depth = rng.uniform(3, 40, (y, x)).astype(np.float32)
    wind_file = tmp_path / "wind.nc"
    xr.Dataset(
        {"wind": (("time", "lat", "lon"), wind_ms,
                  {"units": "m s-1", "standard_name": "wind_speed"}),
         "depth": (("lat", "lon"), depth, {"units": "m"})},
        coords={"time": np.datetime64("2026-03-01T00") +
                np.arange(t) * np.timedelta64(3, "h"),
                "lat": np.linspace(57, 58, y), "lon": np.linspace(7, 9, x)},
    ).to_netcdf(wind_file)

    out_file = tmp_path / "sea.nc"
    plots = tmp_path / "plots"
    run = subprocess.run(
        [sys.executable, str(EXAMPLE), str(wind_file), str(out_file),
         "--wind", "wind", "--fetch-km", "80", "--depth-m", "depth",
         "--duration-h", "6", "--plots", str(plots)],
        capture_output=True, text=True, env=dict(os.environ))
    assert run.returncode == 0, run.stderr
    assert f"{t * y * x} cells" in run.stdout

    with xr.open_dataset(out_file) as sea:
        hc = sea["wave_height_m"]
        assert hc.dims == ("time", "lat", "lon")
        assert hc.attrs["units"] == "m"
        assert hc.attrs["standard_name"] == \
            "sea_surface_wind_wave_significant_height"
        assert sea.attrs["Conventions"].startswith("CF-")
        # The wind in knots: 1852 m to the nautical mile, 3600 s an hour.
        knots = (wind_ms.astype(np.float64) * 3600 / 1852).astype(np.float32)
        expected = ms.windsea(knots, 6, 80, depth, 0)
        got = hc.values
        assert np.array_equal(got.view(np.uint32),
                              expected["wave.height_m"].view(np.uint32))
        assert np.array_equal(sea["status"].values, expected["status"])
        assert sea["status"].attrs["flag_meanings"] == "ok breaking blocked"

    for name in ("height_map.png", "height_series.png"):
        png = (plots / name).read_bytes()
        assert png[:8] == b"\x89PNG\r\n\x1a\n", name
        assert len(png) > 5000, name
