# CLI11's target over its headers alone, for cross builds (emscripten,
# MinGW-w64) whose toolchains must not see /usr/include: Debian's
# header-only CLI11 sits there beside Linux's C library headers. CLI11's
# package file then keeps this target.
set(cli11_include ${PROJECT_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${cli11_include})
file(CREATE_LINK /usr/include/CLI ${cli11_include}/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${cli11_include})
set(CLI11_DIR /usr/share/cmake/CLI11 CACHE PATH "CLI11's package files")
