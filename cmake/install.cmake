# Installation and the Debian packages.
#
# Two components, one Debian package each (CPack, `--target package`), and a
# third where the Python module is built:
#   program      -> morvelstandrik: the program with every front end, its
#                   manual page, README and licence;
#   development  -> libmorvelstandrik-dev: the kernels and engines as
#                   static libraries, their headers under
#                   include/morvelstandrik/<subsystem>/ and the CMake
#                   package, so that other programs can
#                   find_package(morvelstandrik) and link
#                   morvelstandrik::physics, ::swell, ::windsea and
#                   ::swell_engine without any console code;
#   python       -> python3-morvelstandrik: the Python package (the
#                   pybind11 module and its NumPy and xarray functions)
#                   in Debian's Python path.
# Both carry the Debian changelog and the machine-readable copyright file.
include(CMakePackageConfigHelpers)

# An install() rule added without a component belongs to the program.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME program)

set(morvel_doc_dir ${CMAKE_INSTALL_DATADIR}/doc)
set(morvel_config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/morvelstandrik)

# What dh_strip does beyond CMake's own stripping, when the install strips
# (`cmake --install --strip`, CPack): a static library loses its debugging
# sections, and every installed binary the compiler's .comment and .note.
function(morvel_strip_installed component file)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(
        COMMAND \"${CMAKE_STRIP}\" ${ARGN} --remove-section=.comment
                --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${file}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()" COMPONENT ${component})
endfunction()

# A library for other programs: TARGET is installed as
# libmorvelstandrik_EXPORT.a and exported as morvelstandrik::EXPORT (its
# EXPORT_NAME), and the HEADERS, relative to the source directory SUBDIR,
# go to include/morvelstandrik/SUBDIR, the names they are included by.
# An engine library joins the -dev package with one more call below.
function(morvel_public_library target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "SUBDIR" "HEADERS")
  get_target_property(export_name ${target} EXPORT_NAME)
  set_target_properties(${target} PROPERTIES
                        OUTPUT_NAME morvelstandrik_${export_name})
  install(TARGETS ${target} EXPORT morvelstandrikTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
  morvel_strip_installed(development
    ${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:${target}> --strip-debug)
  list(TRANSFORM arg_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/${arg_SUBDIR}/)
  install(FILES ${arg_HEADERS}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/morvelstandrik/${arg_SUBDIR}
          COMPONENT development)
endfunction()

morvel_public_library(morvel_physics SUBDIR physics HEADERS
  beaufort.hpp com2.hpp curwav.hpp deepw.hpp heicor.hpp wvnum.hpp)
morvel_public_library(morvel_swell_kernel SUBDIR swell HEADERS
  decay_table.hpp distance.hpp)
# The swell-decay table's header had the inversion's name before; programs
# that include it by that name keep compiling.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/earlier_names/swelld.hpp CONTENT
"// Earlier name of <morvelstandrik/swell/decay_table.hpp>: the swell-decay
// table and its inversion (swelld, hswell, dista).
#pragma once

#include <morvelstandrik/swell/decay_table.hpp>
")
install(FILES ${PROJECT_BINARY_DIR}/earlier_names/swelld.hpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/morvelstandrik/swell
        COMPONENT development)
morvel_public_library(morvel_windsea SUBDIR windsea HEADERS engine.hpp)
# The walk over the engines' results: a header only.
install(TARGETS morvel_fields EXPORT morvelstandrikTargets
        COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/fields/fields.hpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/morvelstandrik/fields
        COMPONENT development)
morvel_public_library(morvel_swell_engine SUBDIR swell HEADERS engine.hpp)
morvel_public_library(morvel_units SUBDIR units HEADERS units.hpp)

# The program.
install(TARGETS morvelstandrik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT program)
morvel_strip_installed(program
  ${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:morvelstandrik>)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${morvel_doc_dir}/morvelstandrik COMPONENT program)

# The Python package, where Debian's python3 finds it.
if(TARGET morvel_python)
  set(morvel_python_dir lib/python3/dist-packages/morvelstandrik)
  install(TARGETS morvel_python LIBRARY DESTINATION ${morvel_python_dir}
          COMPONENT python)
  morvel_strip_installed(python
    ${morvel_python_dir}/$<TARGET_FILE_NAME:morvel_python> --strip-unneeded)
  install(FILES ${PROJECT_SOURCE_DIR}/python/morvelstandrik/__init__.py
                ${PROJECT_SOURCE_DIR}/python/morvelstandrik/xarray.py
          DESTINATION ${morvel_python_dir} COMPONENT python)
endif()

# The CMake package.
install(EXPORT morvelstandrikTargets NAMESPACE morvelstandrik::
        DESTINATION ${morvel_config_dir} COMPONENT development)
configure_package_config_file(
  ${PROJECT_SOURCE_DIR}/cmake/morvelstandrikConfig.cmake.in
  ${PROJECT_BINARY_DIR}/morvelstandrikConfig.cmake
  INSTALL_DESTINATION ${morvel_config_dir})
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/morvelstandrikConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/morvelstandrikConfig.cmake
              ${PROJECT_BINARY_DIR}/morvelstandrikConfigVersion.cmake
        DESTINATION ${morvel_config_dir} COMPONENT development)

# Debian's documentation files. The copyright file carries the licence text
# of LICENSE as its License paragraph: one blank before every line, a
# lone "." for an empty one.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE)
string(REGEX REPLACE "^MIT License\n\nCopyright [^\n]*\n\n" ""
       license_text "${license_text}")
string(STRIP "${license_text}" license_text)
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " MORVEL_LICENSE_PARAGRAPHS " ${license_text}")
set(debian_dir ${PROJECT_BINARY_DIR}/debian)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright.in
               ${debian_dir}/copyright @ONLY)

# The manual page and the changelog go compressed, without a time stamp
# in the gzip header, so the same sources give the same packages.
find_program(MORVEL_GZIP gzip REQUIRED)
set(compressed)
foreach(pair "morvelstandrik.1;morvelstandrik.1"
             "cmake/debian/changelog;changelog")
  list(GET pair 0 source)
  list(GET pair 1 name)
  add_custom_command(
    OUTPUT ${debian_dir}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source}
            ${debian_dir}/${name}
    COMMAND ${MORVEL_GZIP} -9nf ${debian_dir}/${name}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    COMMENT "Compressing ${name}"
    VERBATIM)
  list(APPEND compressed ${debian_dir}/${name}.gz)
endforeach()
add_custom_target(morvel_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${debian_dir}/morvelstandrik.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
set(morvel_component_packages program morvelstandrik
    development libmorvelstandrik-dev)
if(TARGET morvel_python)
  list(APPEND morvel_component_packages python python3-morvelstandrik)
endif()
list(LENGTH morvel_component_packages morvel_pairs)
math(EXPR morvel_last "${morvel_pairs} - 1")
foreach(at RANGE 0 ${morvel_last} 2)
  math(EXPR next "${at} + 1")
  list(GET morvel_component_packages ${at} component)
  list(GET morvel_component_packages ${next} package)
  install(FILES ${debian_dir}/copyright ${debian_dir}/changelog.gz
          DESTINATION ${morvel_doc_dir}/${package} COMPONENT ${component})
endforeach()

# The Debian version is the project's version as it stands, a native
# package: the project packages itself, there is no separate Debian
# revision. The changelog's latest entry names it (the package test checks).
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program development)
if(TARGET morvel_python)
  list(APPEND CPACK_COMPONENTS_ALL python)
endif()
set(CPACK_PACKAGE_NAME morvelstandrik)
set(CPACK_PACKAGE_VENDOR "The morvelstandrik authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
    "The morvelstandrik authors <morvelstandrik@example.org>")

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME morvelstandrik)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION
"estimates of wind sea and swell for sailors
morvelstandrik is a console program that gives sailors rough estimates of
the sea state from a few observations. From the wind speed, how long the
wind has blown, the fetch, the water depth and the current it estimates the
height, length and period of the wind sea in deep water and after the waves
have run into the given depth and current, with the steepness, a
sea-sickness probability, warnings about shoal and breaking waves, and how
high single waves may get in the next hours. From the period and height of
an observed swell it infers the speed and the distance of the wind field
that raised it.

The results are estimates from empirical growth laws and linear wave
theory, not safe for navigation.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libmorvelstandrik-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
"wind-sea and swell engines of morvelstandrik (development files)
The engines and numerical kernels of morvelstandrik as static libraries,
with their C++ headers and a CMake package: the wind-sea engine (input
ranges, evaluation with its warnings, development over the next hours),
the swell engine (the wind field behind an observed swell), and under them
deep-water wind-sea growth, the wave-number solver with depth and current,
the height correction and the shoal and current transform, the Beaufort
number, and the swell-decay table with its inversion; and the conversion
of wind, fetch, depth and heights from the units sailors give them in.

A program finds them with find_package(morvelstandrik), links
morvelstandrik::windsea, morvelstandrik::swell_engine,
morvelstandrik::physics, morvelstandrik::swell or morvelstandrik::units
and includes <morvelstandrik/windsea/engine.hpp> and the like.")

if(TARGET morvel_python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-morvelstandrik)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SHLIBDEPS ON)
  # The module is built for one Python version: the one of MORVEL_PYTHON.
  math(EXPR morvel_python_next "${MORVEL_PYTHON_MINOR} + 1")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "python3 (>= 3.${MORVEL_PYTHON_MINOR}), python3 (<< 3.${morvel_python_next}), python3-numpy")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_RECOMMENDS "python3-xarray")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS
      "python3-dask, python3-distributed, python3-netcdf4")
  set(CPACK_DEBIAN_PYTHON_DESCRIPTION
"wind-sea and swell engines of morvelstandrik for Python
The engines of morvelstandrik as a Python 3 package over NumPy arrays:
morvelstandrik.windsea estimates the height, length and period of the wind
sea from wind, duration, fetch, water depth and current, with steepness,
warnings, a sea-sickness probability and the development over the next
hours; morvelstandrik.swell infers the wind field behind an observed swell.
Inputs broadcast as in NumPy, every field comes as an array, and the
results are the same, bit for bit, as those of the morvelstandrik program.

morvelstandrik.xarray computes the wind sea over xarray datasets with CF
attributes, lazily with Dask where the data are Dask arrays.

The results are estimates from empirical growth laws and linear wave
theory, not safe for navigation.")
endif()
include(CPack)
