# SPDX-License-Identifier: GPL-3.0-or-later
# A release build on Debian takes the distribution's hardening flags from
# dpkg-buildflags (fortify, stack protector, relro, bindnow; PIE is the
# compiler's default there) and maps the source and build folders away, so
# that no path of the building machine ends up in a program. CMake's own
# optimisation stays; -g is left out because the package ships no debug
# symbols.
# The package build (debian/rules) turns this off: dh hands cmake the same
# flags through the environment.
option(KOMET_DPKG_BUILDFLAGS "Take dpkg-buildflags' hardening flags in a release build" ON)
find_program(KOMET_DPKG_BUILDFLAGS_PROGRAM dpkg-buildflags)
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND KOMET_DPKG_BUILDFLAGS AND KOMET_DPKG_BUILDFLAGS_PROGRAM
   AND NOT KOMET_SANITIZE)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${KOMET_DPKG_BUILDFLAGS_PROGRAM} --get ${kind}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-g$|^-O[0-9s]?$")
    set(KOMET_DEB_${kind} ${flags})
  endforeach()
  add_compile_options(${KOMET_DEB_CPPFLAGS} ${KOMET_DEB_CXXFLAGS}
                      -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
  add_link_options(${KOMET_DEB_LDFLAGS})
endif()
