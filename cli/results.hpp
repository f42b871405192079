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

#include "morvelstandrik/cli/commands.hpp"
#include "morvelstandrik/cli/json.hpp"

namespace cli {

// Writes the members of a result into an open JSON object.
//   swell (10, 0.5) -> "period_s":10,"height_m":0.5,"outcome":"below",...
void json_members(Json& j, const Result& r);

// Appends the cells of a result, one per column of result_columns(), each
// followed by the delimiter. With ',' none of them needs quotes; with ';'
// numbers have a decimal comma (1,7441) and codes joined with ';' are
// quoted.
void csv_cells(std::string& out, const Result& r, char delimiter = ',');

}  // namespace cli
