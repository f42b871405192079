# The Windows program, cross-built with MinGW-w64 (cmake/mingw-w64.cmake).
#
# Debian's header-only CLI11 sits in /usr/include beside Linux's C library
# headers, which must not reach the cross build: give the command line
# CLI11's target over its headers alone.
set(cli11_include ${PROJECT_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${cli11_include})
file(CREATE_LINK /usr/include/CLI ${cli11_include}/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${cli11_include})
set(CLI11_DIR /usr/share/cmake/CLI11 CACHE PATH "CLI11's package files")

# MinGW's own printf and scanf family, C99's: two-digit exponents and
# correctly rounded digits, as glibc's (Microsoft's C library prints
# 1.5E+000 and rounds differently). libstdc++ asks for it too; say so.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)
# One .exe that runs on a bare Windows: the C++ runtime, libgcc and
# winpthread linked in, nothing needed beside it.
add_link_options(-static)
