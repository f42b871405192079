"""The morvelstandrik engines over NumPy arrays.

    >>> import morvelstandrik as ms
    >>> r = ms.windsea(20, 10, 100, 10)
    >>> float(r["wave.height_m"])      # the characteristic height Hc, m
    1.7436...

Every function broadcasts its inputs (scalars, lists, arrays of any shape)
against each other and computes every element in one C++ loop with the
interpreter's lock released. The result is a mapping from the command
line's JSON names, a record's fields joined with dots
(``r["deep_water.height_m"]``, ``r["development.2.hmax_m"]``), to arrays of
the broadcast shape, in the order the JSON writes them:

- float32 for the engine's single-precision values and for every number
  the JSON can give as null (the sea-sickness percentage, the development
  table), NaN where the JSON has null;
- int32 for whole numbers that always have a value (``beaufort``,
  ``waves_per_hour``);
- int8 codes for a choice (``model``, ``status``, ``limited_by``,
  ``outcome``): an index into ``r.codes(name)``;
- uint32 flags for a set (``notes``, ``warnings``): bit i stands for
  ``r.codes(name)[i]``; ``r.has(name, code)`` tests one;
- ``r["error"]``, int8: 0 where the element was computed, otherwise why not
  (``r.codes("error")``: ``wind_kt_not_finite``, ``wind_kt_refused``, ...).
  Such an element has NaN in every float field, -1 in every integer and
  choice field and no flags.

Inputs are read as float32, as the command line reads its numbers (a
float64 is rounded to the nearest float32). Wind, fetch, depth and the
swell's height may be given in another unit (``wind_unit="m/s"``,
``fetch_unit="nmi"``, ``depth_unit="fathom"``, ``height_unit="ft"``): each
value, as a float64, is then multiplied once by the unit's factor held in
double precision and rounded once to float32, by the same C++ routine as
the command line's ``--wind-unit``, so the bits are those of the converted
float32 given in knots, km or m. A Beaufort force (``wind_unit="bft"``) must
be a whole number from 0 to 12 and stands for the mean of its range in whole
knots (force 3: 8.5 kt); anything else raises ValueError. The results stay
in the engine's units (``wind_kt``, ``fetch_km``, ...); ``from_engine``
shows a height or length in feet. A NaN or infinite input, a
negative or calm wind, or a swell period below 0.1 s gives that element an
error code, not an exception; inputs that are not numbers raise TypeError,
shapes that do not broadcast and unknown model names raise ValueError,
each naming the argument.
"""

import numpy as _np

from . import _engine

__all__ = ["windsea", "swell", "limit", "effective_fetch", "to_engine",
           "from_engine", "Result", "Field", "MODELS", "UNITS"]

MODELS = tuple(code for code, _ in _engine._models())

# The units of each quantity, the engine's (the default) first:
# {"wind": ("kt", "m/s", "km/h", "mph", "bft"), "fetch": ("km", ...), ...}
UNITS = {}
for _quantity, _unit, _factor, _inverse in _engine._units():
    UNITS.setdefault(_quantity, ())
    UNITS[_quantity] += (_unit,)


class Field:
    """One result field: its dotted name, kind (number, integer, choice,
    flags), unit, codes (for a choice or flags) and whether the JSON can
    give it as null."""

    __slots__ = ("name", "kind", "unit", "codes", "texts", "nullable")

    def __init__(self, name, kind, unit, codes, nullable):
        self.name = name
        self.kind = kind
        self.unit = unit
        self.codes = tuple(c for c, _ in codes)
        self.texts = tuple(t for _, t in codes)
        self.nullable = nullable

    def __repr__(self):
        return f"Field({self.name!r}, {self.kind!r}, unit={self.unit!r})"


def _fields(command):
    return tuple(Field(*f) for f in _engine._fields(command))


_FIELDS = {"windsea": _fields("windsea"), "swell": _fields("swell")}
_ERRORS = {c: _engine._error_codes(c) for c in _FIELDS}
_ENTRIES = {c: _engine._entries(c) for c in _FIELDS}


class Result:
    """The fields of many results, each an array of one shape.

    ``r[name]`` is a field's array; iterating gives the names in the JSON's
    order; ``r.fields[name]`` tells its kind, unit and codes."""

    def __init__(self, fields, arrays, shape):
        self.fields = {f.name: f for f in fields}
        self._arrays = {f.name: a.reshape(shape) for f, a in zip(fields, arrays)}
        self.shape = shape

    def __getitem__(self, name):
        try:
            return self._arrays[name]
        except KeyError:
            raise KeyError(f"no field is named {name!r}") from None

    def __iter__(self):
        return iter(self._arrays)

    def __len__(self):
        return len(self._arrays)

    def __contains__(self, name):
        return name in self._arrays

    def keys(self):
        return self._arrays.keys()

    def items(self):
        return self._arrays.items()

    def codes(self, name):
        """The codes of a choice or flags field, in index or bit order."""
        return self.fields[name].codes

    def has(self, name, code):
        """Where a flags field holds code, or a choice field is code."""
        f = self.fields[name]
        if code not in f.codes:
            raise ValueError(f"{name}: {code!r} is not one of {f.codes}")
        i = f.codes.index(code)
        a = self._arrays[name]
        if f.kind == "flags":
            return (a >> _np.uint32(i)) & _np.uint32(1) == 1
        if f.kind == "choice":
            return a == i
        raise ValueError(f"{name} is a {f.kind}, not a choice or flags")

    def decode(self, name):
        """A choice field as an object array of its codes (None where there
        is none), or a flags field as tuples of the codes it holds."""
        f = self.fields[name]
        a = self._arrays[name]
        out = _np.empty(a.shape, dtype=object)
        for index in _np.ndindex(a.shape):
            v = int(a[index])
            if f.kind == "choice":
                out[index] = f.codes[v] if v >= 0 else None
            else:
                out[index] = tuple(c for i, c in enumerate(f.codes) if v >> i & 1)
        return out

    def __repr__(self):
        return f"<morvelstandrik.Result {self.shape} with {len(self)} fields>"


def _as_float32(name, x):
    """An argument as a float32 array, or TypeError/ValueError naming it."""
    a = _numbers(name, x)
    with _np.errstate(over="ignore", invalid="ignore"):
        return a.astype(_np.float32)


def _numbers(name, x):
    """An argument as an array of numbers, or TypeError/ValueError naming
    it."""
    if isinstance(x, (str, bytes)):
        raise TypeError(f"{name}: expected numbers, got a string {x!r}")
    try:
        a = _np.asarray(x)
    except (ValueError, TypeError) as e:
        raise ValueError(f"{name}: not an array of numbers ({e})") from None
    if a.dtype.kind not in "iuf":
        raise TypeError(f"{name}: expected numbers, got an array of {a.dtype}")
    return a


def _unit(quantity, unit, keyword):
    if not isinstance(unit, str) or unit not in UNITS[quantity]:
        raise ValueError(f"{keyword}: {unit!r} is not a {quantity} unit; use "
                         + ", ".join(UNITS[quantity]))
    return unit


def to_engine(values, quantity, unit):
    """Values given in a unit (any shape) as the float32 the engines see in
    their own unit (quantity "wind": kt, "fetch": km, "depth" and "height":
    m): each value as a float64, times the unit's factor once in double
    precision, rounded once to float32. NaN where a value is not finite or
    its product too large for a float32; ValueError for a Beaufort force
    that is not a whole number from 0 to 12.

        to_engine(10, "wind", "m/s") -> float32 19.438444
        to_engine([1, 3], "wind", "bft") -> float32 [2.0, 8.5]
    """
    if quantity not in UNITS:
        raise ValueError(f"quantity: {quantity!r} is not one of "
                         + ", ".join(UNITS))
    _unit(quantity, unit, "unit")
    a = _numbers("values", values)
    flat = _np.ascontiguousarray(a, dtype=_np.float64).reshape(-1)
    return _engine._to_engine(quantity, unit, flat).reshape(a.shape)


def from_engine(values, quantity, unit):
    """Engine values (float32, in kt, km or m) shown in a unit, by the same
    rule with the inverse factor; NaN stays NaN.

        from_engine(1.0, "height", "ft") -> float32 3.2808399
    """
    if quantity not in UNITS:
        raise ValueError(f"quantity: {quantity!r} is not one of "
                         + ", ".join(UNITS))
    _unit(quantity, unit, "unit")
    a = _numbers("values", values)
    with _np.errstate(over="ignore", invalid="ignore"):
        flat = _np.ascontiguousarray(a, dtype=_np.float32).reshape(-1)
    return _engine._from_engine(quantity, unit, flat).reshape(a.shape)


def _converted(name, x, quantity, unit, keyword):
    """An entry given in a unit, in the engine's unit; as it is for the
    engine's own unit."""
    _unit(quantity, unit, keyword)
    if unit == UNITS[quantity][0]:
        return x
    try:
        return to_engine(_numbers(name, x), quantity, unit)
    except ValueError as e:
        if str(e).startswith(name):
            raise
        raise ValueError(f"{name} ({keyword}={unit!r}): {e}") from None


def _broadcast(names, values):
    """The arguments as flat float32 arrays of one length, and the shape."""
    arrays = [_as_float32(n, v) for n, v in zip(names, values)]
    shape = ()
    for n, a in zip(names, arrays):
        try:
            shape = _np.broadcast_shapes(shape, a.shape)
        except ValueError:
            raise ValueError(
                f"{n}: shape {a.shape} does not broadcast with the shape "
                f"{shape} of the arguments before it"
            ) from None
    flat = [_np.ascontiguousarray(_np.broadcast_to(a, shape)).reshape(-1)
            for a in arrays]
    return flat, shape


def _model_index(model):
    if not isinstance(model, str):
        raise TypeError(f"model: expected one of {MODELS}, got {model!r}")
    if model not in MODELS:
        raise ValueError(f"model: {model!r} is not a model; use "
                         + " or ".join(MODELS))
    return MODELS.index(model)


def _error_field(command):
    return Field("error", "choice", "", _ERRORS[command], False)


def _run(command, values, model):
    names = [e[0] for e in _ENTRIES[command]]
    flat, shape = _broadcast(names, values)
    arrays, error = _engine._compute(command, model, flat)
    fields = _FIELDS[command] + (_error_field(command),)
    return Result(fields, list(arrays) + [error], shape)


def _windsea_inputs(wind_kt, duration_h, fetch_km, depth_m, current_kt,
                    wind_unit, fetch_unit, depth_unit):
    return (_converted("wind_kt", wind_kt, "wind", wind_unit, "wind_unit"),
            duration_h,
            _converted("fetch_km", fetch_km, "fetch", fetch_unit, "fetch_unit"),
            _converted("depth_m", depth_m, "depth", depth_unit, "depth_unit"),
            current_kt)


def windsea(wind_kt, duration_h, fetch_km, depth_m, current_kt=0.0,
            model="deep-water", *, wind_unit="kt", fetch_unit="km",
            depth_unit="m"):
    """The wind sea of every element: wind (knots), duration (hours), fetch
    (km), depth (m) and current (knots, positive with the wind), limited to
    the model's ranges with notes, as ``morvelstandrik windsea`` computes
    it. model is "deep-water" (raised in deep water, then carried into the
    depth and current) or "relative-wind" (raised by the wind relative to
    the water). wind_unit (kt, m/s, km/h, mph, bft), fetch_unit (km, nmi,
    mi) and depth_unit (m, ft, fathom) give those entries in another unit
    (see ``to_engine``); the results stay in kt, km and m.

        windsea([20, 40], 10, 100, 10)["wave.height_m"] -> [1.744, ...]
        windsea(10, 10, 54, 5, wind_unit="m/s", fetch_unit="nmi",
                depth_unit="fathom")["fetch_km"] -> 100.008
    """
    m = _model_index(model)
    return _run("windsea", _windsea_inputs(wind_kt, duration_h, fetch_km,
                                           depth_m, current_kt, wind_unit,
                                           fetch_unit, depth_unit), m)


def swell(period_s, height_m, *, height_unit="m"):
    """The wind field behind every observed swell: period (s, 0.1 or more)
    and height (m, or in height_unit: m or ft) -> outcome, wind_kt,
    beaufort, distance_km, ...

        swell(10, 3)["wind_kt"] -> 30.49 (outcome "inside")
    """
    return _run("swell", (period_s, _converted("height_m", height_m, "height",
                                               height_unit, "height_unit")),
                0)


def limit(wind_kt, duration_h, fetch_km, depth_m, current_kt=0.0, *,
          wind_unit="kt", fetch_unit="km", depth_unit="m"):
    """The range rules alone: the values the wind-sea engine uses for each
    element (wind_kt, duration_h, fetch_km, depth_m, current_kt) and the
    notes limiting raised, with the same error codes as windsea; the unit
    keywords as for windsea.

        limit(100, 500, 0, -5, 2000)["wind_kt"] -> 69.31, five notes
    """
    names = [e[0] for e in _ENTRIES["windsea"]]
    flat, shape = _broadcast(names, _windsea_inputs(
        wind_kt, duration_h, fetch_km, depth_m, current_kt, wind_unit,
        fetch_unit, depth_unit))
    used, notes, error = _engine._limit(flat)
    units = [e[2] for e in _ENTRIES["windsea"]]
    fields = tuple(Field(n, "number", u, (), False)
                   for n, u in zip(names, units))
    fields += (Field("notes", "flags", "", _engine._notes(), False),
               _error_field("windsea"))
    return Result(fields, list(used) + [notes, error], shape)


# Coastlines already loaded, by file, resolution, method and cap: the
# GSHHG coastline takes a moment to read and index.
_COASTLINES = {}


def effective_fetch(lat, lon, from_deg, *, method="spm", max_fetch_km=500.0,
                    coast=None, resolution="auto"):
    """The fetch over a coastline, upwind of each position, in km.

        effective_fetch(54.5, 10.25, 45, resolution="i")["fetch_km"]
        -> 47.6 (km: the Kiel Bight, wind from the north-east)

    lat, lon (degrees) and from_deg (degrees true, where the wind blows
    from) broadcast against each other. The coastline is the GSHHG one of
    Debian's gmt-gshhg packages at ``resolution`` ("auto": the finest
    installed; "f", "h", "i", "l", "c"), or the land polygons of ``coast``,
    a shapefile or GeoJSON file; it is loaded once and kept for later
    calls. ``method`` is "spm" (9 radials 3 degrees apart, their mean),
    "saville" (15 radials 6 degrees apart weighted by their cosine) or
    "line"; every radial is capped at ``max_fetch_km``. The result maps
    "fetch_km" (float64; NaN where refused), "open" (bool: every radial
    reached the cap, so the fetch is at least that) and "error" (str; ""
    where computed, else why not, e.g. a position on land) to arrays of the
    broadcast shape: the fetches the command line's ``fetch`` gives. A bad
    method, cap, resolution or coastline file raises ValueError.
    """
    key = ("" if coast is None else str(coast), str(resolution), str(method),
           float(max_fetch_km))
    finder = _COASTLINES.get(key)
    if finder is None:
        finder = _engine._Coastline(*key)
        _COASTLINES[key] = finder
    lat, lon, from_deg = _np.broadcast_arrays(
        _np.asarray(lat, dtype=_np.float64),
        _np.asarray(lon, dtype=_np.float64),
        _np.asarray(from_deg, dtype=_np.float64))
    shape = lat.shape
    km, is_open, said = finder.fetch(_np.ascontiguousarray(lat).ravel(),
                                     _np.ascontiguousarray(lon).ravel(),
                                     _np.ascontiguousarray(from_deg).ravel())
    return {"fetch_km": km.reshape(shape), "open": is_open.reshape(shape),
            "error": _np.array(said, dtype=object).reshape(shape)}
