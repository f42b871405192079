#!/usr/bin/python3
"""Worked example: the wind sea over a NetCDF wind field.

Reads a wind speed on (time, lat, lon) from a NetCDF file, computes the
wind sea of every cell with a fixed or per-cell fetch, depth and duration,
writes a CF NetCDF result and draws a map of the characteristic height at
the last time and a time series at the cell where it is highest.

    PYTHONPATH=build/default/python /usr/bin/python3 \\
        examples/python/netcdf_windsea.py wind.nc sea.nc --fetch-km 120 \\
        --depth-m 15 --plots plots/

The wind variable (--wind, default wind_kt) may be in knots or in m/s
(units "knots", "kt", "m s-1" or "m/s"); fetch, depth and duration are
numbers or the names of variables in the file (per cell).
"""

import argparse
import os

import matplotlib

matplotlib.use("Agg")  # files only, no display
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
import xarray as xr  # noqa: E402

import morvelstandrik.xarray as msx  # noqa: E402

KNOTS_PER_MS = 3600.0 / 1852.0


def wind_in_knots(da):
    units = da.attrs.get("units", "knots")
    if units in ("knots", "kt", "knot"):
        factor = 1.0
    elif units in ("m s-1", "m/s", "m s**-1"):
        factor = KNOTS_PER_MS
    else:
        raise SystemExit(f"{da.name}: unknown wind units {units!r}")
    out = (da.astype(np.float64) * factor).astype(np.float32)
    out.attrs = {"units": "knots", "long_name": "wind speed"}
    return out


def value_or_variable(ds, text):
    """A number, or the variable of that name in the file."""
    try:
        return float(text)
    except ValueError:
        if text not in ds:
            raise SystemExit(f"{text}: neither a number nor a variable")
        return ds[text]


def main(argv=None):
    p = argparse.ArgumentParser(description=__doc__.split("\n")[1])
    p.add_argument("wind_file")
    p.add_argument("out_file")
    p.add_argument("--wind", default="wind_kt")
    p.add_argument("--fetch-km", default="100")
    p.add_argument("--depth-m", default="5000")
    p.add_argument("--duration-h", default="12")
    p.add_argument("--current-kt", default="0")
    p.add_argument("--model", default="deep-water")
    p.add_argument("--plots", help="folder for the PNG map and time series")
    a = p.parse_args(argv)

    with xr.open_dataset(a.wind_file) as ds:
        ds = ds.load()
    sea = msx.windsea(
        wind_kt=wind_in_knots(ds[a.wind]),
        duration_h=value_or_variable(ds, a.duration_h),
        fetch_km=value_or_variable(ds, a.fetch_km),
        depth_m=value_or_variable(ds, a.depth_m),
        current_kt=value_or_variable(ds, a.current_kt),
        model=a.model)
    sea.attrs["history"] = f"morvelstandrik windsea from {a.wind_file}"
    sea.to_netcdf(a.out_file)
    print(f"{a.out_file}: {sea['wave_height_m'].size} cells, "
          f"highest Hc {float(sea['wave_height_m'].max()):.2f} m")

    if a.plots:
        os.makedirs(a.plots, exist_ok=True)
        hc = sea["wave_height_m"]
        last = hc.isel(time=-1)
        fig, ax = plt.subplots(figsize=(6, 4.5))
        last.plot(ax=ax, x="lon", y="lat",
                  cbar_kwargs={"label": "Hc (m)"})
        when = np.datetime_as_string(last.time.values, unit="m")
        ax.set_title(f"Characteristic wave height Hc, {when}")
        fig.savefig(os.path.join(a.plots, "height_map.png"), dpi=90)
        plt.close(fig)

        at = np.unravel_index(int(last.fillna(-1).argmax()), last.shape)
        cell = hc.isel(lat=at[0], lon=at[1])
        fig, ax = plt.subplots(figsize=(6, 3.5))
        cell.plot(ax=ax, marker="o")
        ax.set_ylabel("Hc (m)")
        ax.set_title(f"Hc at {float(cell.lat):.2f} N, {float(cell.lon):.2f} E")
        fig.tight_layout()
        fig.savefig(os.path.join(a.plots, "height_series.png"), dpi=90)
        plt.close(fig)


if __name__ == "__main__":
    main()
