// The wind series from a year of hourly GRIB: 8,760 pairs of 101 x 101
// messages (edition 2), made here with ecCodes in a temporary directory and
// removed at the end. Times the series at one position and at 100
// positions, and prints the time ecCodes' own grib_get takes to look up
// the nearest point at one position in the same file beside them.
//   grib_wind_bench [DIR]   (DIR: where to write the year file; /tmp)
#include <eccodes.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "morvelstandrik/grib/fixtures.hpp"
#include "morvelstandrik/grib/steady.hpp"
#include "morvelstandrik/grib/wind.hpp"

namespace {

constexpr std::int64_t kStart = 20454LL * 86400;  // 2026-01-01T00:00Z
constexpr int kHours = 8760;

double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0)
      .count();
}

// Processor time of this process, s: the measure on a shared machine.
double cpu() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Writes the year: a u and a v field that vary over the grid, stamped with
// each hour of the year as its analysis time.
void write_year(const std::string& path) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) {
    std::perror(path.c_str());
    std::exit(1);
  }
  grib::fixtures::Message m;
  m.lat0 = 60;
  m.lat1 = 50;
  m.lon0 = -5;
  m.lon1 = 5;
  m.ni = 101;
  m.nj = 101;
  m.bits = 16;
  m.run = kStart;
  m.value = [](double lat, double lon) { return std::sin(lat) * 10 + lon; };
  const std::string u = grib::fixtures::message(m);
  m.component = 'v';
  m.value = [](double lat, double lon) { return std::cos(lon) * 10 - lat; };
  const std::string v = grib::fixtures::message(m);
  codes_handle* hu =
      codes_handle_new_from_message_copy(nullptr, u.data(), u.size());
  codes_handle* hv =
      codes_handle_new_from_message_copy(nullptr, v.data(), v.size());
  for (int k = 0; k < kHours; ++k) {
    const std::int64_t t = kStart + std::int64_t{k} * 3600;
    const std::string stamp = grib::format_time(t);  // 2026-01-01T05:00Z
    const long date =
        std::stol(stamp.substr(0, 4) + stamp.substr(5, 2) + stamp.substr(8, 2));
    const long hhmm = std::stol(stamp.substr(11, 2) + stamp.substr(14, 2));
    for (codes_handle* h : {hu, hv}) {
      codes_set_long(h, "dataDate", date);
      codes_set_long(h, "dataTime", hhmm);
      const void* bytes = nullptr;
      std::size_t size = 0;
      codes_get_message(h, &bytes, &size);
      std::fwrite(bytes, 1, size, out);
    }
  }
  codes_handle_delete(hu);
  codes_handle_delete(hv);
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "/tmp";
  const std::string path =
      dir + "/morvel_grib_year_" + std::to_string(::getpid()) + ".grib2";
  auto t0 = std::chrono::steady_clock::now();
  write_year(path);
  std::printf("wrote %d hours of 10u/10v, 101 x 101, to %s in %.1f s\n", kHours,
              path.c_str(), seconds_since(t0));

  const std::vector<std::string> files = {path};
  std::vector<geo::Position> one = {{54.3, 0.7}};
  t0 = std::chrono::steady_clock::now();
  double c0 = cpu();
  const auto series = grib::read_wind_files(files, one);
  const double t_one = cpu() - c0;
  if (!series[0].error.empty()) {
    std::printf("%s\n", series[0].error.c_str());
    return 1;
  }
  std::printf(
      "series at 1 position:    %zu records in %.2f s processor "
      "time (%.2f s elapsed)\n",
      series[0].records.size(), t_one, seconds_since(t0));

  // The wind is the same every hour: the steady window reaches back over
  // the whole year, the longest it can be.
  for (const grib::DurationMethod method :
       {grib::DurationMethod::kSteady, grib::DurationMethod::kEquivalent}) {
    grib::SteadyRules rules;
    rules.method = method;
    c0 = cpu();
    const grib::Window w =
        grib::window(series[0].records, series[0].records.size() - 1, rules);
    std::printf(
        "%s window at the last record: %.0f h, %.3f s processor time\n",
        method == grib::DurationMethod::kSteady ? "steady" : "equivalent",
        w.hours, cpu() - c0);
  }

  // Where the time goes: ecCodes making a handle of each message, and
  // nothing else, is the floor of any reader that asks ecCodes.
  {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    std::string bytes;
    char buf[1 << 16];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, in)) > 0;) {
      bytes.append(buf, n);
    }
    std::fclose(in);
    c0 = cpu();
    std::size_t messages = 0;
    for (std::size_t at = bytes.find("GRIB"); at != std::string::npos;
         at = bytes.find("GRIB", at + 16)) {
      std::uint64_t len = 0;
      for (int k = 8; k < 16; ++k) {
        len = (len << 8) | static_cast<unsigned char>(bytes[at + k]);
      }
      codes_handle* h =
          codes_handle_new_from_message(nullptr, bytes.data() + at, len);
      codes_handle_delete(h);
      ++messages;
      at += len - 16;
    }
    std::printf(
        "handles alone (no key, no value): %zu messages in %.2f s "
        "processor time\n",
        messages, cpu() - c0);
  }

  std::vector<geo::Position> hundred;
  for (int k = 0; k < 100; ++k) {
    hundred.push_back({50.5 + 0.09 * k, -4.5 + 0.09 * k});
  }
  t0 = std::chrono::steady_clock::now();
  c0 = cpu();
  const auto many = grib::read_wind_files(files, hundred);
  const double t_many = cpu() - c0;
  std::printf(
      "series at 100 positions: %zu x %zu records in %.2f s processor "
      "time (%.2f s elapsed), %.2fx one position\n",
      many.size(), many[0].records.size(), t_many, seconds_since(t0),
      t_many / t_one);

  // The same position by the nearest grid point, beside grib_get's nearest
  // values: the first record's u and v.
  const auto nearest =
      grib::read_wind_files(files, one, grib::Method::kNearest);
  std::printf("nearest grid point, first record: 10u %.6g 10v %.6g\n",
              nearest[0].records[0].u, nearest[0].records[0].v);

  // grib_get runs in a child: its processor time is the shell's children's.
  const std::string listing = path + ".grib_get.txt";
  const std::string cmd =
      "sh -c 'time -p grib_get -l 54.3,0.7,1 -p shortName " + path + " > " +
      listing + "'";
  t0 = std::chrono::steady_clock::now();
  std::printf("%s (user and sys below are its processor time):\n", cmd.c_str());
  std::fflush(stdout);
  const int status = std::system(cmd.c_str());
  std::printf("grib_get: %.2f s elapsed (status %d); its first lines:\n",
              seconds_since(t0), status);
  std::fflush(stdout);
  const std::string head = "head -n 2 " + listing;
  if (std::system(head.c_str()) != 0) std::printf("(no listing)\n");
  std::remove(listing.c_str());
  std::remove(path.c_str());
  return 0;
}
