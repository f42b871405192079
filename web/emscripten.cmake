# The emscripten toolchain finds packages only inside its own system root,
# where Debian's header-only CLI11 is not.
include(${PROJECT_SOURCE_DIR}/cmake/cli11_headers.cmake)
