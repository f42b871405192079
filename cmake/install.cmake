# Installation: the program and its manual page, and the wave-physics and
# swell kernels as a library with public headers and a CMake package, so
# that other programs can find_package(morvelstandrik) and link
# morvelstandrik::physics and morvelstandrik::swell without console code.
# CPack turns the same install into a Debian package.
include(CMakePackageConfigHelpers)

install(TARGETS morvelstandrik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/morvelstandrik.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(TARGETS morvel_physics morvel_swell_kernel
        EXPORT morvelstandrikTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES
          physics/beaufort.hpp physics/com2.hpp physics/curwav.hpp
          physics/deepw.hpp physics/heicor.hpp physics/wvnum.hpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/morvelstandrik/physics)
install(FILES swell/swelld.hpp swell/distance.hpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/morvelstandrik/swell)

set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/morvelstandrik)
install(EXPORT morvelstandrikTargets NAMESPACE morvelstandrik::
        DESTINATION ${config_dir})
configure_package_config_file(
  ${PROJECT_SOURCE_DIR}/cmake/morvelstandrikConfig.cmake.in
  ${PROJECT_BINARY_DIR}/morvelstandrikConfig.cmake
  INSTALL_DESTINATION ${config_dir})
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/morvelstandrikConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/morvelstandrikConfig.cmake
              ${PROJECT_BINARY_DIR}/morvelstandrikConfigVersion.cmake
        DESTINATION ${config_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvelstandrik)
set(CPACK_PACKAGE_VENDOR "morvelstandrik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Rough estimates of wind sea and swell for sailors")
set(CPACK_PACKAGE_FILE_NAME "morvelstandrik_${PROJECT_VERSION}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "morvelstandrik developers")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
