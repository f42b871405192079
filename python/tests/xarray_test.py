"""The xarray path: datasets in and out, CF attributes, and the same bits
lazily with Dask, in this process and on a cluster of worker processes."""

import numpy as np
import pytest
import xarray as xr

import morvelstandrik as ms
import morvelstandrik.xarray as msx


def wind_field(shape=(4, 5, 6), seed=3):
    rng = np.random.default_rng(seed)
    t, y, x = shape
    coords = {"time": np.arange(t) * np.timedelta64(1, "h") +
              np.datetime64("2026-01-01T00"),
              "lat": np.linspace(54, 56, y), "lon": np.linspace(10, 13, x)}
    wind = rng.uniform(0.5, 90, shape).astype(np.float32)
    wind[0, 0, 0] = np.nan
    return xr.Dataset(
        {"wind_kt": (("time", "lat", "lon"), wind),
         "duration_h": (("time",), np.linspace(1, 30, t, dtype=np.float32)),
         "fetch_km": (("lat", "lon"),
                      rng.uniform(5, 400, (y, x)).astype(np.float32)),
         "depth_m": (("lat", "lon"),
                     rng.uniform(2, 60, (y, x)).astype(np.float32))},
        coords=coords)


def same_bits(a, b):
    a, b = np.asarray(a), np.asarray(b)
    assert a.dtype == b.dtype and a.shape == b.shape
    assert np.array_equal(a.view(np.uint8), b.view(np.uint8))


def test_dataset_in_dataset_out_on_its_dimensions():
    ds = wind_field()
    out = msx.windsea(ds, current_kt=-1.5)
    assert out["wave_height_m"].dims == ("time", "lat", "lon")
    for c in ("time", "lat", "lon"):
        assert np.array_equal(out[c], ds[c])
    # Element by element the NumPy call, broadcast by dimension names.
    b = xr.broadcast(ds.wind_kt, ds.duration_h, ds.fetch_km, ds.depth_m)
    b = [a.transpose("time", "lat", "lon").values for a in b]
    r = ms.windsea(*b, current_kt=-1.5)
    for name in r:
        same_bits(out[name.replace(".", "_")].transpose(
            "time", "lat", "lon").values, r[name])
    assert out["error"].values[0, 0, 0] != 0
    assert np.isnan(out["wave_height_m"].values[0, 0, 0])


def test_keyword_data_arrays_and_scalars():
    ds = wind_field()
    a = msx.windsea(wind_kt=ds.wind_kt, duration_h=ds.duration_h,
                    fetch_km=100, depth_m=ds.depth_m, model="relative-wind")
    b = msx.windsea(ds, fetch_km=100, model="relative-wind")
    for v in a.data_vars:
        same_bits(a[v].values, b[v].values)
    assert a.attrs["model"] == "relative-wind"


@pytest.mark.parametrize("call, error, name", [
    (lambda ds: msx.windsea(ds.drop_vars("fetch_km")), ValueError, "fetch_km"),
    (lambda ds: msx.windsea(ds, wind=3), TypeError, "wind"),
    (lambda ds: msx.windsea(ds, model="x"), ValueError, "model"),
    (lambda ds: msx.windsea(ds.wind_kt), TypeError, "dataset"),
])
def test_bad_arguments(call, error, name):
    with pytest.raises(error, match=name):
        call(wind_field())


def test_cf_attributes():
    out = msx.windsea(wind_field())
    units = {"wind_kt": "knots", "duration_h": "hours", "fetch_km": "km",
             "depth_m": "m", "deep_water_period_s": "s",
             "wave_height_m": "m", "sea_sickness_percent": "percent",
             "steepness": "1", "beaufort": "1",
             "development_1_hmax_m": "m", "stopping_current_kt": "knots"}
    for name, unit in units.items():
        assert out[name].attrs["units"] == unit, name
    for name in out.data_vars:
        assert out[name].attrs["long_name"], name
    assert out["wave_height_m"].attrs["standard_name"] == \
        "sea_surface_wind_wave_significant_height"
    assert "standard_name" not in out["deep_water_height_m"].attrs
    status = out["status"].attrs
    assert status["flag_meanings"] == "ok breaking blocked"
    assert list(status["flag_values"]) == [0, 1, 2]
    warnings = out["warnings"].attrs
    assert warnings["flag_meanings"].split()[0] == "critical_sea_state"
    assert list(warnings["flag_masks"][:3]) == [1, 2, 4]
    assert out.attrs["Conventions"].startswith("CF-")


def test_dask_stays_lazy_and_gives_the_same_bits():
    pytest.importorskip("dask")
    ds = wind_field((6, 8, 10))
    eager = msx.windsea(ds, current_kt=0.5)
    lazy = msx.windsea(ds.chunk({"time": 2, "lat": 3}), current_kt=0.5)
    assert lazy["wave_height_m"].chunks is not None  # not computed yet
    computed = lazy.compute()
    for v in eager.data_vars:
        same_bits(computed[v].values, eager[v].values)
    assert computed["wave_height_m"].attrs == eager["wave_height_m"].attrs


def test_local_cluster_of_two_worker_processes():
    """A chunked field of 10^6 cells on two worker processes, every bit
    the same as in this process."""
    distributed = pytest.importorskip("distributed")
    shape = (10, 100, 1000)
    rng = np.random.default_rng(11)
    dims = ("time", "lat", "lon")
    ds = xr.Dataset(
        {"wind_kt": (dims, rng.uniform(0.5, 90, shape).astype(np.float32)),
         "duration_h": (dims, rng.uniform(0.5, 60, shape).astype(np.float32)),
         "fetch_km": (("lat", "lon"),
                      rng.uniform(1, 800, shape[1:]).astype(np.float32)),
         "depth_m": (("lat", "lon"),
                     rng.uniform(1, 200, shape[1:]).astype(np.float32))})
    expected = msx.windsea(ds)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1,
                                  processes=True, dashboard_address=None,
                                  host="127.0.0.1") as cluster, \
            distributed.Client(cluster) as client:
        lazy = msx.windsea(ds.chunk({"time": 1, "lat": 50}))
        got = client.compute(lazy).result()
        workers = client.run(lambda: __import__("os").getpid())
        assert len(set(workers.values())) == 2
    assert got["wave_height_m"].size >= 10**6
    for v in expected.data_vars:
        same_bits(got[v].values, expected[v].values)
