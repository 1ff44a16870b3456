# The Qt DLLs and plugins of a Windows build, laid out beside the programs in bin/ as windeployqt
# lays them out (platforms/ and styles/ next to the DLLs, where Qt looks first): the build's
# programs and tests run from there under Wine, and `install` puts the same files beside the
# installed hextant.exe. The programs and the Qt libraries link the MinGW runtime statically; Qt's
# plugins, linked as modules, use its DLLs, which come from the compiler beside them.
#
# hextant_qt_runtime(): the target hextant_qt_runtime, built with everything, and the install rules.
function(hextant_qt_runtime)
  find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
  set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set(copies)
  # Qt6Test only for the tests: it is not installed.
  foreach(library Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Test)
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different
         $<TARGET_FILE:${library}> ${bin})
    if(NOT library STREQUAL "Qt6::Test")
      install(FILES $<TARGET_FILE:${library}> DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
  endforeach()
  # The windows platform for the users, offscreen for the tests and the pictures of the screens
  # (and for anyone who runs the window without a desktop), the native style of Windows.
  foreach(plugin platforms=Qt6::QWindowsIntegrationPlugin platforms=Qt6::QOffscreenIntegrationPlugin
                 styles=Qt6::QWindowsVistaStylePlugin)
    string(REPLACE "=" ";" plugin ${plugin})
    list(GET plugin 0 folder)
    list(GET plugin 1 target)
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/${folder}
         COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${bin}/${folder})
    install(FILES $<TARGET_FILE:${target}> DESTINATION ${CMAKE_INSTALL_BINDIR}/${folder})
  endforeach()
  foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE file OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${file}" OR NOT EXISTS "${file}")
      message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${runtime}")
    endif()
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${bin})
    install(FILES ${file} DESTINATION ${CMAKE_INSTALL_BINDIR})
  endforeach()
  add_custom_target(hextant_qt_runtime ALL ${copies} VERBATIM)
endfunction()
