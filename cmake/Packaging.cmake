# Installation layout and the Debian package.

include(GNUInstallDirs)

install(TARGETS vistrace vistrace-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/vistrace.desktop packaging/vistrace-sim.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/vistrace.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(VISTRACE_PACKAGE_MAINTAINER "Vistrace maintainers <maintainers@vistrace.example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vistrace)
set(CPACK_PACKAGE_VENDOR Vistrace)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "single-channel PC oscilloscope on the parallel port")
set(CPACK_PACKAGE_DESCRIPTION
    "Vistrace drives an 8-bit analogue-to-digital converter wired to the parallel\n"
    "port through the kernel's ppdev driver, captures sweeps of up to 500 samples,\n"
    "waits for a trigger if asked to and draws the trace over a ten-by-ten\n"
    "graticule. vistrace-sim is the same instrument with a simulated converter,\n"
    "for trying it without the hardware.")
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

include(CPack)
