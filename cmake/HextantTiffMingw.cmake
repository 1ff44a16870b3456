# libtiff for the Windows cross build: the static library of cmake/tiff-mingw.sh, given as
# HEXTANT_TIFF_MINGW, found by find_package(TIFF) like Debian's libtiff-dev in the native build.
# A static libtiff needs zlib after it on the link line: TIFF::TIFF carries the MinGW zlib
# (libz-mingw-w64-dev), linked statically, so no zlib1.dll goes beside the programs.
list(APPEND CMAKE_FIND_ROOT_PATH ${HEXTANT_TIFF_MINGW})
list(APPEND CMAKE_PREFIX_PATH ${HEXTANT_TIFF_MINGW})
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(TIFF REQUIRED)
if(NOT TIFF_LIBRARY MATCHES "^${HEXTANT_TIFF_MINGW}/")
  message(FATAL_ERROR "libtiff was found at ${TIFF_LIBRARY}, not in ${HEXTANT_TIFF_MINGW}")
endif()
set_property(TARGET TIFF::TIFF APPEND PROPERTY INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
