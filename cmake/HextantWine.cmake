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

# Qt's offscreen platform under Wine (the window's tests, the pictures of the screens) finds no
# fonts of the system: the build has a folder of its own with Debian's DejaVu and a fallback for
# Chinese, Japanese and Korean. Wine passes no variable whose name starts with QT_ to a program,
# but turns WINEQT_X into QT_X.
if(HEXTANT_WINDOW)
  set(HEXTANT_WINE_FONTS
      /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
      /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
      /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf
      /usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf)
  file(COPY ${HEXTANT_WINE_FONTS} DESTINATION ${CMAKE_BINARY_DIR}/fonts)
  set(HEXTANT_WINE_FONTDIR "WINEQT_QPA_FONTDIR=Z:${CMAKE_BINARY_DIR}/fonts")
  # Without a drive letter, whose colon would end the platform's option: Wine runs the programs
  # on drive Z:, where / is.
  set(HEXTANT_WINE_OFFSCREEN
      "WINEQT_QPA_PLATFORM=offscreen:configfile=${PROJECT_SOURCE_DIR}/cmake/offscreen_screen.json")
endif()
