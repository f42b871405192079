"""The wind sea over xarray datasets, in memory or lazily with Dask.

    >>> import morvelstandrik.xarray as msx
    >>> out = msx.windsea(ds, depth_m=10)   # ds has wind_kt, duration_h, ...
    >>> out["wave_height_m"]                # on ds's dimensions and coordinates

The result is an ``xarray.Dataset`` whose variables are the fields of the
command line's JSON with ``_`` for ``.`` (``deep_water_height_m``,
``wave_height_m``, ``development_2_hmax_m``, ...) plus ``error``, of the
dtypes that ``morvelstandrik.windsea`` gives, each with CF attributes:
``units`` as CF spells them (``knots``, ``hours``, ``km``, ``m``, ``s``,
``percent``, ``1``), ``long_name``, ``flag_values``/``flag_masks`` with
``flag_meanings`` for the codes, and a ``standard_name`` only where the
quantity is truly that one: ``wave_height_m``, the characteristic height Hc
of the wind sea at the site (the significant height of the growth laws,
carried into the given depth and current), is
``sea_surface_wind_wave_significant_height``. The deep-water height is the
same sea in deep water without current, a reference state, not the sea at
the site, and has none; nor do the entries as the model used them
(limited to its ranges).

Dask-backed inputs stay lazy: the engine runs chunk by chunk through
``xarray.apply_ufunc(dask="parallelized")``, with the same bits as the
in-memory call.
"""

import functools as _functools

import numpy as _np
import xarray as _xr

import morvelstandrik as _ms
from morvelstandrik import _engine

__all__ = ["windsea", "INPUTS"]

_ENTRIES = _engine._entries("windsea")
INPUTS = tuple(e[0] for e in _ENTRIES)

# The command line's units as CF and UDUNITS spell them.
_CF_UNITS = {"kt": "knots", "h": "hours", "km": "km", "m": "m", "s": "s",
             "%": "percent", "1": "1", "Bft": "1", "1/h": "hour-1"}
_STANDARD_NAMES = {"wave.height_m": "sea_surface_wind_wave_significant_height"}
_UNIT_SUFFIXES = ("_kt", "_h", "_km", "_m", "_s", "_percent")


def _long_name(name):
    """A readable name from the field's own: its entry's help for an entry
    (as used by the model), else its words without the unit."""
    for column, _, _, help_text in _ENTRIES:
        if name == column:
            return help_text.split(",")[0] + " as used by the model"
    words = name
    for suffix in _UNIT_SUFFIXES:
        if words.endswith(suffix):
            words = words[: -len(suffix)]
    words = words.replace(".", " ").replace("_", " ")
    if words.startswith("development "):
        hours = {"0": "3", "1": "12", "2": "48"}[words.split()[1]]
        words = " ".join(words.split()[2:]) + f" after {hours} more hours"
    return words


def _attributes(field):
    attrs = {"long_name": _long_name(field.name)}
    if field.kind in ("number", "integer"):
        attrs["units"] = _CF_UNITS[field.unit]
        if field.name == "beaufort":
            attrs["long_name"] = "Beaufort force of the wind"
    if field.name in _STANDARD_NAMES:
        attrs["standard_name"] = _STANDARD_NAMES[field.name]
    if field.kind == "choice":
        attrs["flag_values"] = _np.arange(len(field.codes), dtype=_np.int8)
        attrs["flag_meanings"] = " ".join(field.codes)
        if field.name != "error":
            attrs["missing_value"] = _np.int8(-1)
    elif field.kind == "flags":
        attrs["flag_masks"] = (_np.uint32(1) << _np.arange(
            len(field.codes), dtype=_np.uint32))
        attrs["flag_meanings"] = " ".join(field.codes)
    elif field.kind == "integer" and not field.nullable:
        attrs["missing_value"] = _np.int32(-1)
    return attrs


def _fields():
    r = _ms.windsea(20, 10, 100, 10)
    return [(n, r.fields[n], r[n].dtype) for n in r]


_FIELDS = _fields()


def _compute(model, units, *arrays):
    r = _ms.windsea(*arrays, model=model, **units)
    return tuple(r[name] for name, _, _ in _FIELDS)


def windsea(dataset=None, model="deep-water", *, wind_unit="kt",
            fetch_unit="km", depth_unit="m", **inputs):
    """The wind sea over a Dataset whose variables are named as the batch
    columns (wind_kt, duration_h, fetch_km, depth_m, optional current_kt),
    or over DataArrays (or scalars) given by those names; a keyword
    replaces the Dataset's variable. Returns a Dataset on the inputs'
    dimensions and coordinates (lazy where they are Dask-backed).
    wind_unit, fetch_unit and depth_unit say the unit the wind, fetch and
    depth inputs are in, as for ``morvelstandrik.windsea`` (the results
    stay in kt, km and m).

        windsea(ds, fetch_km=100, depth_m=10)["wave_height_m"]
        windsea(ds, wind_unit="m/s")  # ds's wind_kt holds m/s
    """
    units = {"wind_unit": wind_unit, "fetch_unit": fetch_unit,
             "depth_unit": depth_unit}
    for keyword, unit in units.items():
        # ValueError now rather than in a Dask task.
        _ms._unit(keyword.split("_")[0], unit, keyword)
    unknown = set(inputs) - set(INPUTS)
    if unknown:
        raise TypeError(f"{sorted(unknown)[0]}: not an input; the inputs "
                        f"are {', '.join(INPUTS)}")
    if dataset is not None and not isinstance(dataset, _xr.Dataset):
        raise TypeError("dataset: expected an xarray.Dataset")
    args = []
    for column, fallback, _, _ in _ENTRIES:
        if column in inputs:
            value = inputs[column]
        elif dataset is not None and column in dataset:
            value = dataset[column]
        elif fallback is not None:
            value = fallback
        else:
            raise ValueError(f"{column}: missing; give it as a variable of "
                             "the dataset or as a keyword")
        if isinstance(value, _xr.Variable):
            value = _xr.DataArray(value)
        args.append(value)
    _ms._model_index(model)  # TypeError or ValueError naming model
    outputs = _xr.apply_ufunc(
        _functools.partial(_compute, model, units), *args,
        input_core_dims=[[]] * len(args),
        output_core_dims=[[]] * len(_FIELDS),
        dask="parallelized",
        output_dtypes=[dtype for _, _, dtype in _FIELDS],
        keep_attrs="drop",
    )
    if not isinstance(outputs, tuple):
        outputs = (outputs,)
    variables = {}
    for (name, field, _), out in zip(_FIELDS, outputs):
        if not isinstance(out, _xr.DataArray):
            out = _xr.DataArray(out)
        out.attrs = _attributes(field)
        variables[name.replace(".", "_")] = out
    result = _xr.Dataset(variables)
    result.attrs = {
        "Conventions": "CF-1.8",
        "title": "Wind sea estimated by morvelstandrik",
        "source": "morvelstandrik wind-sea engine (empirical growth laws "
                  "and linear wave theory); estimates only, not safe for "
                  "navigation",
        "model": model,
    }
    return result
