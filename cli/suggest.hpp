// What the command line makes of a first word that is no command: "help"
// as people type it, and the closest command to a mistyped one.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The number of edits (a letter left out, added, changed, or two letters
// next to each other swapped) from a to b, in any letter case.
//   ("windse", "windsea") -> 1; ("wnidsea", "windsea") -> 1
std::size_t edits(std::string_view a, std::string_view b);

// The name closest to typed: within two edits, or that typed (two letters
// or more) begins; none when no name is that close.
//   ("windse", {"windsea", "swell"}) -> "windsea"; ("wind", ...) ->
//   "windsea"; ("tide", ...) -> none
std::optional<std::string_view> closest(
    std::string_view typed, std::span<const std::string_view> names);

// The arguments with "help" as the first word read as people mean it:
//   {"help"} -> {"--help"}; {"help", "swell"} -> {"swell", "--help"}
// Others are returned as they are.
std::vector<std::string_view> help_as_option(
    std::span<const std::string_view> args);

// Why the first word is no command, or empty when it is one (or an
// option): "unknown command 'windse'; did you mean 'windsea'?", or with no
// close name, "unknown command 'tide'; the commands are windsea, swell".
std::string unknown_command(std::span<const std::string_view> args,
                            std::span<const std::string_view> names);

}  // namespace cli
