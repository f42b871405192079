// Display rounding of the distance to a distant wind field.
#pragma once

namespace swell {

// Cuts a distance (km) down for display in three chained steps, each on the
// result of the one before: to a multiple of 10 above 10 km, of 50 above
// 100 km, of 100 above 1000 km (truncating; exactly 10, 100, 1000 stay).
// 449.87 -> 400, 1088.63 -> 1000, 1060 -> 1000, 5.3 -> 5.3.
// Distances of 2^31 km and more (and infinity) come back unchanged: they
// never pass through a 32-bit integer and print as asterisks anyway.
float round_distance(float dist);

}  // namespace swell
