# hextant_layer(NAME SOURCES files... [USES layers...]): the static library hextant_NAME built
# from the sources of src/NAME. A layer may include headers of its own folder and of the layers it
# uses (directly or through them), never of a layer above it: every build checks the #include
# lines of the folder and stops with the offending line when one reaches upward.
set(HEXTANT_LAYER_FOLDERS base platform settings text grids readers wizard conversion mainwindow ui app
    CACHE INTERNAL "The folders under src/ that are layers, bottom first")

function(hextant_layer_check target name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "USES")
  set(allowed ${name})
  foreach(used IN LISTS arg_USES)
    get_property(reach GLOBAL PROPERTY HEXTANT_LAYER_REACH_${used})
    list(APPEND allowed ${used} ${reach})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY HEXTANT_LAYER_REACH_${name} ${allowed})

  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}_includes.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DLAYER=${name}" "-DALLOWED=${allowed}"
            "-DFOLDERS=${HEXTANT_LAYER_FOLDERS}" "-DFILES=${files}" "-DSTAMP=${stamp}"
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    COMMENT "Checking the includes of layer ${name}"
    VERBATIM)
  target_sources(${target} PRIVATE ${stamp})
endfunction()

function(hextant_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;USES")
  add_library(hextant_${name} STATIC ${arg_SOURCES})
  target_include_directories(hextant_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  foreach(used IN LISTS arg_USES)
    target_link_libraries(hextant_${name} PUBLIC hextant_${used})
  endforeach()
  hextant_warnings(hextant_${name})
  hextant_layer_check(hextant_${name} ${name} USES ${arg_USES})
endfunction()
