# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package of qvt2 (`cpack -G DEB` in a build configured with
# -DCMAKE_INSTALL_PREFIX=/usr): the program, the library with its headers, the desktop files and
# the udev rule, with its dependencies computed from the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qvt2)
set(CPACK_PACKAGE_VENDOR "The qvt2 developers")
set(CPACK_PACKAGE_CONTACT "qvt2 maintainers <maintainers@users.noreply.c-seed-69f4ebf5.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "oscilloscope and function generator for the Vexor QVT II")
set(CPACK_PACKAGE_DESCRIPTION "qvt2_oscillo shows the four inputs of the Vexor QVT II USB lab
interface as an oscilloscope and drives its low-frequency function generator.
Its window is in French. A virtual interface lets it run without the device
(qvt2_oscillo --simulate).
.
The package also holds libqvtlink, the library that talks to the interface,
with its C headers and pkg-config file, and the udev rule that lets the user
at the seat open the interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file and the ldconfig trigger for libqvtlink.so.<major>.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm
  ${PROJECT_SOURCE_DIR}/packaging/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The library folder, the pkg-config file and the program's RUNPATH follow the prefix the build
# was configured with; cpack checks it is the package's.
set(CPACK_QVT_CONFIGURED_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/QvtCPackChecks.cmake)
include(CPack)
