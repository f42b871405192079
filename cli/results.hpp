// The engines' results as machine-readable records: members of a JSON
// object, and cells of a CSV row whose columns are the JSON names joined
// with dots (deep_water.height_m, development.0.hmax_m). Lists (notes,
// warnings) are arrays of {code, text} in JSON and codes joined with ';' in
// CSV. What the model cannot give is null, or an empty cell.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "morvelstandrik/cli/json.hpp"
#include "morvelstandrik/swell/engine.hpp"
#include "morvelstandrik/windsea/engine.hpp"

namespace cli {

// Writes the members of a wind-sea result into an open JSON object.
void windsea_json(Json& j, const windsea::Report& r, windsea::Notes notes);
// Writes the members of a swell result into an open JSON object.
void swell_json(Json& j, const swell::Field& f);

// Column names of a wind-sea and a swell result, in order.
std::span<const std::string> windsea_columns();
std::span<const std::string> swell_columns();

// The cells of a result, one per column above, appended to cells.
void windsea_cells(std::vector<std::string>& cells, const windsea::Report& r,
                   windsea::Notes notes);
void swell_cells(std::vector<std::string>& cells, const swell::Field& f);

}  // namespace cli
