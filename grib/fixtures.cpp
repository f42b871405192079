#include "morvelstandrik/grib/fixtures.hpp"

#include <eccodes.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "morvelstandrik/grib/wind.hpp"

namespace grib::fixtures {
namespace {

void check(int e, const char* key) {
  if (e != CODES_SUCCESS) {
    std::fprintf(stderr, "fixture: cannot set %s: %s\n", key,
                 codes_get_error_message(e));
    std::abort();
  }
}

void set(codes_handle* h, const char* key, long v) {
  check(codes_set_long(h, key, v), key);
}

void set_real(codes_handle* h, const char* key, double v) {
  check(codes_set_double(h, key, v), key);
}

// The date as YYYYMMDD and the time as HHMM of a time in seconds.
void civil(std::int64_t t, long& date, long& hhmm) {
  const std::int64_t days = t / 86400;
  const std::int64_t secs = t - days * 86400;
  const CivilDate c = civil_from_days(days);
  date = static_cast<long>(c.year * 10000 + c.month * 100 + c.day);
  hhmm = static_cast<long>(secs / 3600 * 100 + secs / 60 % 60);
}

}  // namespace

std::string message(const Message& m) {
  const char* sample =
      m.rotated
          ? (m.edition == 1 ? "rotated_ll_sfc_grib1" : "rotated_ll_sfc_grib2")
      : m.gaussian
          ? (m.edition == 1 ? "regular_gg_sfc_grib1" : "regular_gg_sfc_grib2")
          : (m.edition == 1 ? "regular_ll_sfc_grib1" : "regular_ll_sfc_grib2");
  codes_handle* h = codes_handle_new_from_samples(nullptr, sample);
  if (!h) {
    std::fprintf(stderr, "fixture: no sample %s\n", sample);
    std::abort();
  }
  if (m.edition == 1) {
    if (m.component == 't') {
      set(h, "indicatorOfParameter", 167);
    } else {
      // The WMO's own table: u and v at 10 m above the ground.
      set(h, "table2Version", 2);
      set(h, "indicatorOfParameter", m.component == 'u' ? 33 : 34);
      set(h, "indicatorOfTypeOfLevel", 105);
      set(h, "level", 10);
    }
  } else {
    set(h, "discipline", 0);
    set(h, "parameterCategory", m.component == 't' ? 0 : 2);
    set(h, "parameterNumber",
        m.component == 'v'   ? 3
        : m.component == 'u' ? 2
                             : 0);
    set(h, "typeOfFirstFixedSurface", 103);
    set(h, "scaleFactorOfFirstFixedSurface", 0);
    set(h, "scaledValueOfFirstFixedSurface", m.component == 't' ? 2 : 10);
  }
  long date = 0, hhmm = 0;
  civil(m.run, date, hhmm);
  set(h, "dataDate", date);
  set(h, "dataTime", hhmm);
  if (m.edition == 1) {
    set(h, "unitOfTimeRange", 1);
    set(h, "P1", m.step_h);
    set(h, "timeRangeIndicator", m.step_h > 255 ? 10 : 0);
  } else {
    set(h, "indicatorOfUnitOfTimeRange", 1);
    set(h, "forecastTime", m.step_h);
  }

  std::vector<double> lats, lons;
  long ni = m.ni, nj = m.nj;
  if (m.rotated) {
    check(codes_get_long(h, "Ni", &ni), "Ni");
    check(codes_get_long(h, "Nj", &nj), "Nj");
    lats.assign(static_cast<std::size_t>(nj), 0.0);
    lons.assign(static_cast<std::size_t>(ni), 0.0);
  } else if (m.gaussian) {
    // The sample's global grid as it is: N = 32, 128 x 64.
    long n = 0;
    check(codes_get_long(h, "N", &n), "N");
    check(codes_get_long(h, "Ni", &ni), "Ni");
    check(codes_get_long(h, "Nj", &nj), "Nj");
    std::vector<double> g(static_cast<std::size_t>(2 * n));
    codes_get_gaussian_latitudes(n, g.data());
    lats = g;
    for (long i = 0; i < ni; ++i) {
      lons.push_back(360.0 * static_cast<double>(i) / static_cast<double>(ni));
    }
  } else {
    set(h, "Ni", ni);
    set(h, "Nj", nj);
    set(h, "jScansPositively", m.lat1 > m.lat0 ? 1 : 0);
    set_real(h, "latitudeOfFirstGridPointInDegrees", m.lat0);
    set_real(h, "latitudeOfLastGridPointInDegrees", m.lat1);
    set_real(h, "longitudeOfFirstGridPointInDegrees", m.lon0);
    set_real(h, "longitudeOfLastGridPointInDegrees", m.lon1);
    double span = m.lon1 - m.lon0;
    if (span < 0) span += 360;
    set_real(h, "iDirectionIncrementInDegrees",
             span / static_cast<double>(ni - 1));
    set_real(h, "jDirectionIncrementInDegrees",
             (m.lat0 > m.lat1 ? m.lat0 - m.lat1 : m.lat1 - m.lat0) /
                 static_cast<double>(nj - 1));
    for (long j = 0; j < nj; ++j) {
      lats.push_back(m.lat0 + (m.lat1 - m.lat0) * static_cast<double>(j) /
                                  static_cast<double>(nj - 1));
    }
    for (long i = 0; i < ni; ++i) {
      lons.push_back(m.lon0 + span * static_cast<double>(i) /
                                  static_cast<double>(ni - 1));
    }
  }
  std::vector<double> values;
  for (long j = 0; j < nj; ++j) {
    for (long i = 0; i < ni; ++i) {
      values.push_back(m.value(lats[static_cast<std::size_t>(j)],
                               lons[static_cast<std::size_t>(i)]));
    }
  }
  set(h, "bitsPerValue", m.bits);
  check(codes_set_double_array(h, "values", values.data(), values.size()),
        "values");
  // Repacked from a handle made afresh from the simple-packed message, as
  // grib_set -r does: switched in the handle that was resized from the
  // sample, complex packing comes out with wrong values.
  if (!m.packing.empty()) {
    const void* simple = nullptr;
    std::size_t simple_size = 0;
    check(codes_get_message(h, &simple, &simple_size), "message");
    codes_handle* fresh =
        codes_handle_new_from_message_copy(nullptr, simple, simple_size);
    codes_handle_delete(h);
    h = fresh;
    std::size_t len = m.packing.size();
    check(codes_set_string(h, "packingType", m.packing.c_str(), &len),
          "packingType");
    check(codes_set_double_array(h, "values", values.data(), values.size()),
          "values");
  }
  const void* bytes = nullptr;
  std::size_t size = 0;
  check(codes_get_message(h, &bytes, &size), "message");
  std::string out(static_cast<const char*>(bytes), size);
  codes_handle_delete(h);
  return out;
}

std::string wind(int edition, std::int64_t run, int step_h, double u,
                 double v) {
  Message m;
  m.edition = edition;
  m.run = run;
  m.step_h = step_h;
  m.value = [u](double, double) { return u; };
  std::string out = message(m);
  m.component = 'v';
  m.value = [v](double, double) { return v; };
  return out + message(m);
}

}  // namespace grib::fixtures
