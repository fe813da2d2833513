# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian packages of qvt2 (`cpack -G DEB` in a build configured with
# -DCMAKE_INSTALL_PREFIX=/usr), split as Debian splits a program from its library: one package
# per install COMPONENT, each declared below with qvt_debian_package().
#
#   component    package          holds
#   program      qvt2             the program, menu entry, icons, AppStream data, manual page,
#                                 udev rule
#   library      libqvtlink0      libqvtlink.so.<major> (the name programs load) and its file
#   development  libqvtlink-dev   the headers, qvtlink.pc and the libqvtlink.so link
#   python       python3-qvt2     the Python module qvt2 and its type stub (when QVT_PYTHON)
#
# Adding a package: give its install() rules a COMPONENT of its own and declare it here.
# Configuring fails when an install component belongs to no package, so that no file is left
# out of every package unnoticed. Expects QVT_DOC_FILES (the copyright and the compressed
# changelog) from packaging/CMakeLists.txt.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_NAME qvt2)
set(CPACK_PACKAGE_VENDOR "The qvt2 developers")
set(CPACK_PACKAGE_CONTACT "qvt2 maintainers <maintainers@users.noreply.c-seed-69f4ebf5.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Shared-library dependencies come from the binaries. libqvtlink.so.<major>, which the program
# loads, is in none of the system's packages: dpkg-shlibdeps finds it in the build folder, and
# the program's dependency on it is the exact-version one on libqvtlink0 below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
get_target_property(_qvt_link_dir qvtlink BINARY_DIR)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${_qvt_link_dir})
# libqvtlink0 gets a shlibs file; libraries of other packages built against it depend on that
# version or newer.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# A package depending on another of these gets "<package> (= <version>)".
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The library's loader cache is kept by dpkg's ldconfig trigger, not by the maintainer scripts
# CPack would add.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/QvtDebLdconfigTrigger.cmake)
# The library folder, the pkg-config file and the program's RUNPATH follow the prefix the build
# was configured with; cpack checks it is the packages'.
set(CPACK_QVT_CONFIGURED_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/QvtCPackChecks.cmake)

# qvt_debian_package(<component> NAME <package> SECTION <section> DESCRIPTION <text>
#                    [NEEDS <components>] [DEPENDS <Debian dependencies>]
#                    [CONTROL <maintainer scripts and control files>])
# Makes install component <component> the package <package>. DESCRIPTION is the synopsis line,
# then the long description (paragraphs separated by "."). NEEDS names the components whose
# packages it depends on at exactly its version; DEPENDS adds dependencies that no binary
# shows. The package's documentation folder gets the copyright and the changelog.
function(qvt_debian_package component)
  cmake_parse_arguments(P "" "NAME;SECTION;DESCRIPTION" "NEEDS;DEPENDS;CONTROL" ${ARGN})
  string(TOUPPER ${component} c)
  set(CPACK_DEBIAN_${c}_PACKAGE_NAME ${P_NAME} PARENT_SCOPE)
  set(CPACK_DEBIAN_${c}_PACKAGE_SECTION ${P_SECTION} PARENT_SCOPE)
  set(CPACK_DEBIAN_${c}_DESCRIPTION ${P_DESCRIPTION} PARENT_SCOPE)
  set(CPACK_COMPONENT_${c}_DEPENDS ${P_NEEDS} PARENT_SCOPE)
  if(P_DEPENDS)
    list(JOIN P_DEPENDS ", " depends)
    set(CPACK_DEBIAN_${c}_PACKAGE_DEPENDS ${depends} PARENT_SCOPE)
  endif()
  if(P_CONTROL)
    set(CPACK_DEBIAN_${c}_PACKAGE_CONTROL_EXTRA ${P_CONTROL} PARENT_SCOPE)
  endif()
  set_property(GLOBAL APPEND PROPERTY QVT_DEB_COMPONENTS ${component})
  # Debian wants them in /usr/share/doc/<package>. A plain `cmake --install` puts them in the
  # project's documentation folder only (the program's); the others are for the packages.
  set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${P_NAME})
  if(NOT doc_dir STREQUAL CMAKE_INSTALL_DOCDIR)
    install(FILES ${QVT_DOC_FILES} DESTINATION ${doc_dir} COMPONENT ${component} EXCLUDE_FROM_ALL)
  endif()
endfunction()

set(_qvt_about_interface "The Vexor QVT II is a four-channel USB lab interface with a low-frequency
function generator. libqvtlink talks to it through a C interface: its inputs,
its generator, its firmware and its serial link. A virtual interface built into
the library (QVTLINK_DEVICE=sim) stands in for the device.")

qvt_debian_package(program NAME qvt2 SECTION electronics
  NEEDS library
  # Qt's own dialogs and menus in the user's language (the program's texts are French).
  DEPENDS qt6-translations-l10n
  # A running udev reads and forgets the interface's rule with the package.
  CONTROL ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm
  DESCRIPTION "oscilloscope and function generator for the Vexor QVT II
qvt2_oscillo shows the four inputs of the Vexor QVT II USB lab
interface as an oscilloscope and drives its low-frequency function generator.
Its window is in French. A virtual interface lets it run without the device
(qvt2_oscillo --simulate).
.
The package also holds the udev rule that lets the user at the seat open the
interface.")

qvt_debian_package(library NAME libqvtlink${PROJECT_VERSION_MAJOR} SECTION libs
  # The loader's cache learns of the library when the package comes or goes.
  CONTROL ${PROJECT_SOURCE_DIR}/packaging/debian/triggers
  DESCRIPTION "device-link library for the Vexor QVT II lab interface
${_qvt_about_interface}
.
This package holds the shared library.")

qvt_debian_package(development NAME libqvtlink-dev SECTION libdevel
  NEEDS library
  DESCRIPTION "device-link library for the Vexor QVT II lab interface - development files
${_qvt_about_interface}
.
This package holds what building a program against libqvtlink needs: the C
headers, the pkg-config file qvtlink.pc and the libqvtlink.so link.")

if(QVT_PYTHON)
  qvt_debian_package(python NAME python3-qvt2 SECTION python
    NEEDS library
    DEPENDS python3-numpy ${QVT_PYTHON_DEB_DEPENDS}
    DESCRIPTION "Python module for the Vexor QVT II lab interface
${_qvt_about_interface}
.
This package holds the Python module qvt2: sweeps of the oscilloscope as numpy
arrays, point-by-point logs, the function generator and the measurement files.")
endif()

get_property(CPACK_COMPONENTS_ALL GLOBAL PROPERTY QVT_DEB_COMPONENTS)
include(CPack)

# Run once the whole project is read: every install component is in a package.
function(_qvt_check_packaged_components)
  get_cmake_property(installed COMPONENTS)
  get_property(packaged GLOBAL PROPERTY QVT_DEB_COMPONENTS)
  list(REMOVE_ITEM installed ${packaged})
  if(installed)
    message(FATAL_ERROR "Install components in no Debian package: ${installed}. Declare their "
      "package in cmake/QvtDebianPackage.cmake, or give their install() rules a packaged COMPONENT.")
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL _qvt_check_packaged_components)
