// Writes the seeds of the GRIB fuzz target into a directory: small wind
// files of both editions made from ecCodes' samples (a regular grid, a
// global grid across the seam, two runs, a lone u, a Gaussian grid).
//   grib_seeds fuzz/corpus/grib
#include <cstdio>
#include <fstream>
#include <string>

#include "morvelstandrik/grib/fixtures.hpp"
#include "morvelstandrik/grib/wind.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: grib_seeds DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::int64_t run = grib::days_from_civil(2026, 12, 10) * 86400;
  auto save = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
  };
  using grib::fixtures::Message;
  for (int edition : {1, 2}) {
    const std::string e = std::to_string(edition);
    Message m;
    m.edition = edition;
    m.run = run;
    m.ni = 3;
    m.nj = 3;
    m.bits = 8;
    m.value = [](double lat, double lon) { return lat - 50 + lon / 5; };
    std::string pair = grib::fixtures::message(m);
    save("lone_u_grib" + e, pair);
    m.component = 'v';
    pair += grib::fixtures::message(m);
    save("regular_grib" + e, pair);
    m.step_h = 6;
    m.run = run + 3600;
    std::string second = grib::fixtures::message(m);
    m.component = 'u';
    save("two_runs_grib" + e, pair + second + grib::fixtures::message(m));
    Message g;
    g.edition = edition;
    g.run = run;
    g.lat0 = 10;
    g.lat1 = -10;
    g.nj = 3;
    g.lon0 = 0;
    g.lon1 = 315;
    g.ni = 8;
    g.bits = 8;
    g.value = [](double, double lon) { return lon / 45; };
    std::string global = grib::fixtures::message(g);
    g.component = 'v';
    save("global_grib" + e, global + grib::fixtures::message(g));
  }
  return 0;
}
