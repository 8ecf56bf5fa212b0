# Installation layout and the Debian package.

include(GNUInstallDirs)

install(TARGETS vistrace vistrace-sim vistrace-probe vistrace-capture RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/vistrace.desktop packaging/vistrace-sim.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/vistrace.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/95-vistrace.conf DESTINATION /etc/security/limits.d)

# No made-up default: whoever builds a package to publish names themselves (scripts/package
# insists), and the changelog's entry carries the same name.
set(VISTRACE_PACKAGE_MAINTAINER "$ENV{VISTRACE_MAINTAINER}"
    CACHE STRING "Maintainer of the Debian package, \"Name <address>\"")

# Debian wants documentation compressed at the highest level and without the file's name
# and time, so that two builds of the same sources give the same package.
set(doc_dir ${PROJECT_BINARY_DIR}/doc)
function(vistrace_compress source compressed)
  get_filename_component(name ${compressed} NAME_WLE)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${doc_dir}/${name}
    COMMAND gzip -9nf ${doc_dir}/${name}
    DEPENDS ${source}
    VERBATIM)
endfunction()

configure_file(packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
vistrace_compress(${PROJECT_BINARY_DIR}/packaging/changelog ${doc_dir}/changelog.gz)
set(compressed_docs ${doc_dir}/changelog.gz)

set(manual_pages vistrace vistrace-sim vistrace-probe vistrace-capture)
set(compressed_pages)
foreach(page IN LISTS manual_pages)
  # Each page's header gives the project's version.
  configure_file(docs/man/${page}.1 ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
  vistrace_compress(${PROJECT_BINARY_DIR}/man/${page}.1 ${doc_dir}/${page}.1.gz)
  list(APPEND compressed_pages ${doc_dir}/${page}.1.gz)
endforeach()
add_custom_target(vistrace_docs ALL DEPENDS ${compressed_docs} ${compressed_pages})

install(FILES ${compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${compressed_docs} packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vistrace)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vistrace)
set(CPACK_PACKAGE_VENDOR ${VISTRACE_TITLE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "single-channel PC oscilloscope on the parallel port")
set(CPACK_PACKAGE_DESCRIPTION
    "${VISTRACE_TITLE} drives an 8-bit analogue-to-digital converter wired to the parallel\n"
    "port through the kernel's ppdev driver, captures sweeps of up to 500 samples,\n"
    "waits for a trigger if asked to and draws the trace over a ten-by-ten\n"
    "graticule. vistrace-sim is the same instrument with a simulated converter,\n"
    "for trying it without the hardware. vistrace-probe checks the wiring and\n"
    "the speed of a newly built converter. vistrace-capture captures sweeps from\n"
    "the command line to CSV with each sample's real time, to a PNG picture of\n"
    "the screen, and to measurements of voltage, frequency and duty cycle.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "${VISTRACE_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VISTRACE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; Qt loads its platform plugins
# at run time, so no linker record names them, and without the xcb one there is no window.
# The window's captions are sized for Liberation Sans, which fontconfig finds only by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
# The limits file is the administrator's to change, and dpkg -P removes it.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/packaging/conffiles)

include(CPack)
