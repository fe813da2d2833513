# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack before it packages: a Debian package needs a build configured for its prefix.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_QVT_CONFIGURED_PREFIX STREQUAL CPACK_PACKAGING_INSTALL_PREFIX)
  message(FATAL_ERROR "The .deb installs into ${CPACK_PACKAGING_INSTALL_PREFIX}, but this build was "
    "configured for ${CPACK_QVT_CONFIGURED_PREFIX}: configure a build folder of its own with "
    "-DCMAKE_INSTALL_PREFIX=${CPACK_PACKAGING_INSTALL_PREFIX}.")
endif()
