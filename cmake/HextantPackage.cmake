# `make package`: a .deb of the native build (programs, writer library, its header, the desktop
# entry and the user guide) and a .zip of the Windows build (programs, hdmfile.dll, its import
# library and header, and with the window its Qt DLLs and plugins); the Windows installer is
# packaging/windows/'s.
# The user guide and the documents it links (tests/app/install_test.sh checks the links).
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md ${PROJECT_SOURCE_DIR}/docs/hdm-format.md
        ${PROJECT_SOURCE_DIR}/docs/interpolation.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME hextant)
set(CPACK_PACKAGE_VENDOR "Hextant")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Converts geoid models into HDM model files")
set(CPACK_PACKAGE_CONTACT "Hextant developers <hextant@localhost>")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
