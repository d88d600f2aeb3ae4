# What `cmake --install` puts where, and so what the packages hold.
#
# Every program has its own install rule below. A new program needs only its
# own line, holechart_install_program(TARGET), here: it then goes into every
# package, with its man page docs/man/TARGET.1 where there is one. A program
# for users apart from the front end's gets a Debian package of its own (see
# the DXF bridge and cmake/packaging.cmake); the Windows zip holds them all.
#
# Outside Windows (GNU layout, relative to the prefix):
#   bin/                    holechart, fad2svg, holechart-table, holechart-dxf
#   libexec/holechart/      info_msgbox.exe, the stand-in message box program
#   share/man/man1/         one man page per program
#   share/doc/holechart/    README.md
# On Windows everything is flat: the programs and the stand-in in bin/,
# README-Windows.txt beside bin/, no man pages.
include(GNUInstallDirs)

# Files installed without a component of their own go into the main package.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME holechart)

if(WIN32)
  set(HOLECHART_INSTALL_HELPERDIR ${CMAKE_INSTALL_BINDIR})
else()
  set(HOLECHART_INSTALL_HELPERDIR ${CMAKE_INSTALL_LIBEXECDIR}/holechart)
endif()
set(HOLECHART_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/holechart)

# Installs a program and, outside Windows, its man page.
# holechart_install_program(TARGET [COMPONENT NAME] [DESTINATION DIR])
function(holechart_install_program target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "COMPONENT;DESTINATION" "")
  if(NOT ARG_COMPONENT)
    set(ARG_COMPONENT ${CMAKE_INSTALL_DEFAULT_COMPONENT_NAME})
  endif()
  if(NOT ARG_DESTINATION)
    set(ARG_DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${ARG_DESTINATION} COMPONENT ${ARG_COMPONENT})
  set(page ${PROJECT_SOURCE_DIR}/docs/man/${target}.1)
  if(NOT WIN32 AND EXISTS ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${ARG_COMPONENT})
  endif()
endfunction()

holechart_install_program(holechart)
holechart_install_program(fad2svg)
holechart_install_program(holechart-table)
# The tool starts the message box program by its file name from the link
# folder, so the stand-in is not a command of its own: it lies beside the
# programs only on Windows, and scripts/setup-drive.sh copies it into a link
# folder from a build or from an installation.
holechart_install_program(info_msgbox DESTINATION ${HOLECHART_INSTALL_HELPERDIR})
# A package of its own, for those who chart DXF drawings.
holechart_install_program(holechart-dxf COMPONENT dxf)

if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/windows/README-Windows.txt DESTINATION .)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${HOLECHART_INSTALL_DOCDIR})
endif()

# The installed tree is checked by a test of its own (a native build only:
# it runs the installed programs).
if(HOLECHART_BUILD_TESTS AND NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests/install ${PROJECT_BINARY_DIR}/tests/install)
endif()
