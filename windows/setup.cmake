# The Windows program, cross-built with MinGW-w64 (cmake/mingw-w64.cmake).

include(${PROJECT_SOURCE_DIR}/cmake/cli11_headers.cmake)

# MinGW's own printf and scanf family, C99's: two-digit exponents and
# correctly rounded digits, as glibc's (Microsoft's C library prints
# 1.5E+000 and rounds differently). libstdc++ asks for it too; say so.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)
# One .exe that runs on a bare Windows: the C++ runtime, libgcc and
# winpthread linked in, nothing needed beside it.
add_link_options(-static)
