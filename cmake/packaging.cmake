# The packages that `cpack` makes from the install rules of
# cmake/install.cmake (scripts/package.sh runs it):
#   Linux:   Debian packages, one per component: holechart (the tool,
#            fad2svg, the stand-in message box, man pages, README) and
#            holechart-dxf (the DXF bridge).
#   Windows: one zip of everything, holechart-dxf.exe included (a cross
#            build, scripts/build-windows.sh).
# The version is the project's, set once in the top-level CMakeLists.txt.

set(HOLECHART_MAINTAINER "holechart maintainers <maintainers@holechart.invalid>"
    CACHE STRING "Maintainer of the packages, as \"Name <mail address>\"")

set(CPACK_PACKAGE_NAME holechart)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "holechart")
set(CPACK_PACKAGE_CONTACT "${HOLECHART_MAINTAINER}")
# Each package's description: its summary line, then its text. (No global
# summary: CPack would put it above every package's own.)
set(HOLECHART_DESCRIPTION "hole chart for 2-D mechanical drawings
holechart adds a hole chart to a 2-D drawing that a CAD front end has
exported: every hole numbered, its X/Y coordinates from an origin, grouped
by hole type with labels for diameters, depths and tapped holes, wrapped
into columns. The front end writes the drawing and the chart settings into
a fixed work folder and reads back the chart.

fad2svg draws the exchange files as an SVG picture, to check a chart by eye.")
set(HOLECHART_DXF_DESCRIPTION "hole chart for DXF drawings
holechart-dxf adds the hole chart of holechart to a DXF drawing that any
CAD program wrote: the whole drawing comes back with the chart's lines and
texts added on a layer of their own.")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")

set(CPACK_COMPONENTS_ALL holechart dxf)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  # One zip whose folder holds bin/ and README-Windows.txt.
  set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
  set(CPACK_PACKAGE_FILE_NAME "holechart-${PROJECT_VERSION}-windows-x86_64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${HOLECHART_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Depends from the shared libraries the programs link (dpkg-shlibdeps):
  # libc6, libstdc++6 and libgcc-s1.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

  set(CPACK_DEBIAN_HOLECHART_PACKAGE_NAME holechart)
  set(CPACK_DEBIAN_HOLECHART_DESCRIPTION "${HOLECHART_DESCRIPTION}")
  set(CPACK_DEBIAN_DXF_PACKAGE_NAME holechart-dxf)
  set(CPACK_DEBIAN_DXF_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_DXF_DESCRIPTION "${HOLECHART_DXF_DESCRIPTION}")
endif()

include(CPack)
