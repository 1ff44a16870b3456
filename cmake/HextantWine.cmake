# Under a Windows cross build, tests and the build's own runs of the programs go through Wine, with
# a Wine prefix of the build folder's own (created quietly on first use by the Makefile's windows
# target) and without Wine's diagnostics or its offers to install Mono and Gecko.
find_program(HEXTANT_WINE NAMES wine wine64 REQUIRED)
set(HEXTANT_WINEPREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "The Wine prefix that runs the tests")
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env WINEPREFIX=${HEXTANT_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    ${HEXTANT_WINE})

set(HEXTANT_NATIVE_CONVERT "" CACHE FILEPATH
    "A native hextant-convert whose models the Windows one must match byte for byte")
