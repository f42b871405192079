// The engines for Python: whole arrays of cases computed in one C++ loop,
// without the interpreter's lock, into one array per result field. The
// fields, their order, kinds and units are those of the walk that the JSON
// and CSV writers share; the checks and the limiting are the command
// table's, so an element computes to the bits the command line writes.
//   _compute("windsea", 0, [wind, duration, fetch, depth, current])
//     -> ([deep_water.height_m: float32[n], ...], error: int8[n])
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morvelstandrik/cli/coastline.hpp"
#include "morvelstandrik/cli/commands.hpp"
#include "morvelstandrik/fields/fields.hpp"
#include "morvelstandrik/python/schema.hpp"
#include "morvelstandrik/units/units.hpp"
#include "morvelstandrik/windsea/engine.hpp"

namespace py = pybind11;

using namespace morvel_python;

namespace {

// Writes one walk into the element's place in every column.
class ColumnWriter final : public fields::FieldVisitor {
 public:
  ColumnWriter(const std::vector<Column>& columns, std::vector<void*>& data)
      : columns_(columns), data_(data) {}
  void start(std::size_t element) {
    element_ = element;
    at_ = 0;
  }
  void number(std::string_view, std::string_view,
              std::optional<float> v) override {
    put_float(v && absent_ == 0 ? *v : nan());
  }
  void integer(std::string_view, std::string_view,
               std::optional<std::int32_t> v) override {
    const bool has = v && absent_ == 0;
    if (columns_[at_].nullable) {
      // Exact: the counts and percentages stay far below 2^24.
      put_float(has ? static_cast<float>(*v) : nan());
    } else {
      if (!has) schema_broken = true;
      static_cast<std::int32_t*>(data_[at_++])[element_] = has ? *v : -1;
    }
  }
  void choice(std::string_view, std::span<const fields::Coded>,
              std::size_t index) override {
    static_cast<std::int8_t*>(data_[at_++])[element_] =
        static_cast<std::int8_t>(index);
  }
  void flags(std::string_view, std::span<const fields::Coded>,
             std::uint32_t present) override {
    static_cast<std::uint32_t*>(data_[at_++])[element_] = present;
  }
  void begin(std::string_view) override {}
  void end() override {}
  void begin_list(std::string_view, bool present) override {
    present_.push_back(present);
    if (!present) ++absent_;
  }
  void end_list() override {
    if (!present_.back()) --absent_;
    present_.pop_back();
  }
  // An element without a result: no value anywhere.
  void empty(std::size_t element) {
    for (std::size_t k = 0; k < columns_.size(); ++k) {
      switch (columns_[k].kind) {
        case Kind::kNumber:
          static_cast<float*>(data_[k])[element] = nan();
          break;
        case Kind::kInteger:
          if (columns_[k].nullable) {
            static_cast<float*>(data_[k])[element] = nan();
          } else {
            static_cast<std::int32_t*>(data_[k])[element] = -1;
          }
          break;
        case Kind::kChoice:
          static_cast<std::int8_t*>(data_[k])[element] = -1;
          break;
        case Kind::kFlags:
          static_cast<std::uint32_t*>(data_[k])[element] = 0;
          break;
      }
    }
  }
  bool schema_broken = false;

 private:
  static float nan() { return std::numeric_limits<float>::quiet_NaN(); }
  void put_float(float v) { static_cast<float*>(data_[at_++])[element_] = v; }
  const std::vector<Column>& columns_;
  std::vector<void*>& data_;
  std::vector<bool> present_;
  int absent_ = 0;
  std::size_t element_ = 0;
  std::size_t at_ = 0;
};

using FloatArray = py::array_t<float, py::array::c_style>;

// The inputs of a command: one contiguous float32 array per entry, all of
// one length (the Python side broadcasts and converts).
std::vector<const float*> input_pointers(const cli::Command& c,
                                         const std::vector<FloatArray>& in,
                                         py::ssize_t& n) {
  if (in.size() != c.entries.size()) {
    throw py::value_error("inputs: " + std::string(c.name) + " takes " +
                          std::to_string(c.entries.size()) + " arrays");
  }
  std::vector<const float*> p;
  n = in.empty() ? 0 : in[0].size();
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i].ndim() != 1 || in[i].size() != n) {
      throw py::value_error(std::string(c.entries[i].column) +
                            ": expected a flat array of the common length");
    }
    p.push_back(in[i].data());
  }
  return p;
}

// The first problem of a case in the command line's order: every value's
// reading (a value that is not finite), then the entries' rules; 0 if none.
std::int8_t check(const cli::Command& c, const float* values) {
  const std::size_t n = c.entries.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(values[i])) {
      return static_cast<std::int8_t>(not_finite_code(i));
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!c.entries[i].refuse(values[i]).empty()) {
      return static_cast<std::int8_t>(refused_code(i));
    }
  }
  return 0;
}

py::tuple compute(std::string_view name, int model,
                  const std::vector<FloatArray>& in) {
  const cli::Command& c = command_named(name);
  if (model < 0 || model >= static_cast<int>(windsea::models().size())) {
    throw py::value_error("model: no model has the index " +
                          std::to_string(model));
  }
  py::ssize_t n = 0;
  const std::vector<const float*> inputs = input_pointers(c, in, n);
  const std::vector<Column>& columns = schema(c);
  py::list out;
  std::vector<void*> data;
  for (const Column& col : columns) {
    py::array a;
    if (col.kind == Kind::kNumber ||
        (col.kind == Kind::kInteger && col.nullable)) {
      a = py::array_t<float>(n);
    } else if (col.kind == Kind::kInteger) {
      a = py::array_t<std::int32_t>(n);
    } else if (col.kind == Kind::kChoice) {
      a = py::array_t<std::int8_t>(n);
    } else {
      a = py::array_t<std::uint32_t>(n);
    }
    data.push_back(a.mutable_data());
    out.append(a);
  }
  py::array_t<std::int8_t> error(n);
  std::int8_t* errors = error.mutable_data();
  ColumnWriter w(columns, data);
  {
    py::gil_scoped_release unlocked;
    const std::size_t entries = c.entries.size();
    for (py::ssize_t e = 0; e < n; ++e) {
      const auto i = static_cast<std::size_t>(e);
      float values[cli::kMaxEntries] = {};
      for (std::size_t k = 0; k < entries; ++k) values[k] = inputs[k][i];
      errors[i] = check(c, values);
      if (errors[i] != 0) {
        w.empty(i);
        continue;
      }
      w.start(i);
      cli::walk(
          w, c.compute({values, entries}, static_cast<windsea::Model>(model)));
    }
  }
  if (w.schema_broken) {
    throw std::logic_error(
        "a whole-number field the module holds as int32 had no value");
  }
  return py::make_tuple(out, error);
}

// The range rules alone: the values used and the notes, with the same
// checks as a computed case.
py::tuple limit(const std::vector<FloatArray>& in) {
  const cli::Command& c = command_named("windsea");
  py::ssize_t n = 0;
  const std::vector<const float*> inputs = input_pointers(c, in, n);
  std::vector<FloatArray> used;
  std::vector<float*> out;
  for (std::size_t k = 0; k < in.size(); ++k) {
    used.emplace_back(n);
    out.push_back(used.back().mutable_data());
  }
  py::array_t<std::uint32_t> notes(n);
  py::array_t<std::int8_t> error(n);
  std::uint32_t* note_bits = notes.mutable_data();
  std::int8_t* errors = error.mutable_data();
  {
    py::gil_scoped_release unlocked;
    for (py::ssize_t e = 0; e < n; ++e) {
      const auto i = static_cast<std::size_t>(e);
      float v[cli::kMaxEntries] = {};
      for (std::size_t k = 0; k < in.size(); ++k) v[k] = inputs[k][i];
      errors[i] = check(c, v);
      if (errors[i] != 0) {
        for (float* o : out) o[i] = std::numeric_limits<float>::quiet_NaN();
        note_bits[i] = 0;
        continue;
      }
      const windsea::LimitedConditions l =
          windsea::limit({v[0], v[1], v[2], v[3], v[4]});
      const float got[] = {l.used.wind, l.used.dura, l.used.fetch, l.used.depth,
                           l.used.curr};
      for (std::size_t k = 0; k < out.size(); ++k) out[k][i] = got[k];
      std::uint32_t bits = 0;
      for (int b = 0; b < windsea::kNoteCount; ++b) {
        if (l.notes.has(static_cast<windsea::Note>(b))) bits |= 1u << b;
      }
      note_bits[i] = bits;
    }
  }
  py::list values;
  for (FloatArray& u : used) values.append(u);
  return py::make_tuple(values, notes, error);
}

py::list describe(std::string_view name) {
  py::list fields;
  for (const Column& c : schema(command_named(name))) {
    static constexpr const char* kinds[] = {"number", "integer", "choice",
                                            "flags"};
    fields.append(py::make_tuple(c.name, kinds[static_cast<int>(c.kind)],
                                 c.unit, c.codes, c.nullable));
  }
  return fields;
}

py::list entries(std::string_view name) {
  py::list list;
  for (const cli::Entry& e : command_named(name).entries) {
    list.append(py::make_tuple(std::string(e.column), e.fallback,
                               std::string(e.unit), std::string(e.help)));
  }
  return list;
}

py::list error_codes(std::string_view name) {
  const cli::Command& c = command_named(name);
  py::list codes;
  codes.append(py::make_tuple("none", "no error"));
  for (const cli::Entry& e : c.entries) {
    const std::string column(e.column);
    codes.append(py::make_tuple(column + "_not_finite",
                                column + " is not a finite number"));
    codes.append(py::make_tuple(
        column + "_refused",
        column + " is outside what the model takes: " + std::string(e.help)));
  }
  return codes;
}

std::vector<std::pair<std::string, std::string>> coded(
    std::span<const fields::Coded> codes) {
  std::vector<std::pair<std::string, std::string>> list;
  for (const fields::Coded& c : codes) {
    list.emplace_back(c.code, latin1_to_utf8(c.text));
  }
  return list;
}

// The quantity named as the units table names it: "wind", "fetch", ...
units::Quantity quantity_named(std::string_view name) {
  for (const units::Unit& u : units::table()) {
    if (units::quantity_name(u.quantity) == name) return u.quantity;
  }
  throw py::value_error("quantity: '" + std::string(name) +
                        "' is not a quantity; use wind, fetch, depth or "
                        "height");
}

const units::Unit& unit_named(std::string_view quantity,
                              std::string_view unit) {
  const units::Quantity q = quantity_named(quantity);
  const units::Unit* u = units::find(q, unit);
  if (!u) {
    throw py::value_error("'" + std::string(unit) + "' is not a " +
                          std::string(quantity) + " unit; use " +
                          units::allowed(q));
  }
  return *u;
}

using DoubleArray = py::array_t<double, py::array::c_style>;

// Values given in a unit, in the engine's unit, each by the one rule of
// units::to_engine (the double times the factor, rounded once to float).
// A value that is not finite, or whose product is too large for a float,
// becomes NaN (the engines then give it their not-finite error code); a
// value that is no whole Beaufort force raises ValueError with the first.
//   _to_engine("wind", "m/s", [10.0]) -> float32 [19.438444]
FloatArray to_engine(std::string_view quantity, std::string_view unit,
                     const DoubleArray& in) {
  const units::Unit& u = unit_named(quantity, unit);
  const py::ssize_t n = in.size();
  FloatArray out(n);
  const double* v = in.data();
  float* o = out.mutable_data();
  std::optional<py::ssize_t> bad;
  {
    py::gil_scoped_release unlocked;
    for (py::ssize_t i = 0; i < n; ++i) {
      const units::Conversion c = units::to_engine(u, v[i]);
      if (c.problem.empty()) {
        o[i] = c.value;
      } else if (std::isfinite(v[i]) && u.factor == 0.0) {
        if (!bad) bad = i;
      } else {
        o[i] = std::numeric_limits<float>::quiet_NaN();
      }
    }
  }
  if (bad) {
    char value[32];
    std::snprintf(value, sizeof value, "%.17g", v[*bad]);
    throw py::value_error(std::string(value) + " " +
                          std::string(units::to_engine(u, v[*bad]).problem));
  }
  return out;
}

// Engine values shown in a unit: units::from_engine, NaN where a value is
// not finite (a result the model cannot give stays NaN).
//   _from_engine("height", "ft", [1.0]) -> float32 [3.2808399]
FloatArray from_engine(std::string_view quantity, std::string_view unit,
                       const FloatArray& in) {
  const units::Unit& u = unit_named(quantity, unit);
  if (u.factor == 0.0) {
    throw py::value_error("'" + std::string(unit) + "' " +
                          std::string(units::from_engine(u, 1.0f).problem));
  }
  const py::ssize_t n = in.size();
  FloatArray out(n);
  const float* v = in.data();
  float* o = out.mutable_data();
  {
    py::gil_scoped_release unlocked;
    for (py::ssize_t i = 0; i < n; ++i) {
      const units::Conversion c = units::from_engine(u, v[i]);
      o[i] =
          c.problem.empty() ? c.value : std::numeric_limits<float>::quiet_NaN();
    }
  }
  return out;
}

py::list unit_table() {
  py::list list;
  for (const units::Unit& u : units::table()) {
    list.append(py::make_tuple(std::string(units::quantity_name(u.quantity)),
                               std::string(u.name), u.factor, u.inverse));
  }
  return list;
}

// A coastline loaded once, with its method and cap, for many positions.
class Coastline {
 public:
  Coastline(const std::string& file, const std::string& resolution,
            const std::string& method, double max_fetch_km) {
    cli::CoastOptions o;
    o.file = file;
    o.resolution = resolution;
    o.method = method;
    o.max_fetch = exact(max_fetch_km);
    std::string problem;
    finder_ = cli::load_finder(o, problem);
    if (!finder_) throw py::value_error(problem);
  }

  // The fetch at each position (flat float64 arrays of one length): the
  // fetch in km (NaN where refused), whether every radial was open, and
  // the refusal ("" where computed).
  py::tuple fetch(const py::array_t<double, py::array::c_style>& lat,
                  const py::array_t<double, py::array::c_style>& lon,
                  const py::array_t<double, py::array::c_style>& from) const {
    const auto n = static_cast<std::size_t>(lat.size());
    if (static_cast<std::size_t>(lon.size()) != n ||
        static_cast<std::size_t>(from.size()) != n) {
      throw py::value_error("lat, lon and from_deg differ in length");
    }
    py::array_t<double> km(static_cast<py::ssize_t>(n));
    py::array_t<bool> open(static_cast<py::ssize_t>(n));
    std::vector<std::string> problems(n);
    {
      const double* la = lat.data();
      const double* lo = lon.data();
      const double* fr = from.data();
      double* k = km.mutable_data();
      bool* op = open.mutable_data();
      py::gil_scoped_release unlocked;
      for (std::size_t i = 0; i < n; ++i) {
        cli::FetchOrigin o;
        problems[i] =
            finder_->find(exact(la[i]), exact(lo[i]), exact(fr[i]), o);
        k[i] = problems[i].empty() ? o.fetch_km
                                   : std::numeric_limits<double>::quiet_NaN();
        op[i] = problems[i].empty() && o.open;
      }
    }
    py::list said;
    for (const std::string& p : problems) said.append(p);
    return py::make_tuple(km, open, said);
  }

 private:
  // The shortest text that reads back as the same double.
  static std::string exact(double v) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, r.ptr);
  }

  std::unique_ptr<cli::FetchFinder> finder_;
};

}  // namespace

PYBIND11_MODULE(_engine, m) {
  m.doc() = "The morvelstandrik engines over arrays (see morvelstandrik).";
  m.def("_compute", &compute, py::arg("command"), py::arg("model"),
        py::arg("inputs"));
  m.def("_limit", &limit, py::arg("inputs"));
  m.def("_fields", &describe, py::arg("command"));
  m.def("_entries", &entries, py::arg("command"));
  m.def("_error_codes", &error_codes, py::arg("command"));
  m.def("_models", [] { return coded(windsea::models()); });
  m.def("_to_engine", &to_engine, py::arg("quantity"), py::arg("unit"),
        py::arg("values"));
  m.def("_from_engine", &from_engine, py::arg("quantity"), py::arg("unit"),
        py::arg("values"));
  m.def("_units", &unit_table);
  m.def("_notes", [] { return coded(windsea::notes()); });
  py::class_<Coastline>(m, "_Coastline")
      .def(py::init<const std::string&, const std::string&, const std::string&,
                    double>(),
           py::arg("file"), py::arg("resolution"), py::arg("method"),
           py::arg("max_fetch_km"))
      .def("fetch", &Coastline::fetch, py::arg("lat"), py::arg("lon"),
           py::arg("from_deg"));
}
