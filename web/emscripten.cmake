# The emscripten toolchain finds packages only inside its own system root,
# where Debian's header-only CLI11 is not. Give the command line CLI11's
# target over its headers alone (not /usr/include, whose C library headers
# are not emscripten's); CLI11's package file then keeps this target.
set(cli11_include ${PROJECT_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${cli11_include})
file(CREATE_LINK /usr/include/CLI ${cli11_include}/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${cli11_include})
set(CLI11_DIR /usr/share/cmake/CLI11 CACHE PATH "CLI11's package files")
