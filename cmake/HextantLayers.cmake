# hextant_layer(NAME SOURCES files... [USES layers...]): the static library hextant_NAME built
# from the sources of src/NAME. A layer may include headers of its own folder and of the layers it
# uses (directly or through them), never of a layer above it: every build checks the #include
# lines of the folder and stops with the offending line when one reaches upward, or when one names
# a header of another folder without that folder ("hdm_reader.h" for "hdmfile/hdm_reader.h"),
# which would hide it from the check.
#
# hdmfile/ stands apart from the layers: a folder may include its headers when one of the folder's
# own targets links one of hdmfile's libraries directly. That right is not passed up to the layers
# that use the folder.

# hextant_layer_check(TARGET NAME [USES layers...] [TARGETS targets...]): checks the includes of
# the folder src/NAME whenever TARGET is built. TARGETS are all of the folder's targets whose
# links to hdmfile's libraries count (TARGET alone by default).
function(hextant_layer_check target name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "USES;TARGETS")
  set(allowed ${name})
  foreach(used IN LISTS arg_USES)
    get_property(reach GLOBAL PROPERTY HEXTANT_LAYER_REACH_${used})
    list(APPEND allowed ${used} ${reach})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY HEXTANT_LAYER_REACH_${name} ${allowed})

  # Read when the build files are written, after every target_link_libraries of the folder.
  if(NOT arg_TARGETS)
    set(arg_TARGETS ${target})
  endif()
  set(links_hdmfile "")
  foreach(linking IN LISTS arg_TARGETS)
    list(APPEND links_hdmfile
         "$<BOOL:$<FILTER:$<TARGET_PROPERTY:${linking},LINK_LIBRARIES>,INCLUDE,^hdmfile>>")
  endforeach()
  list(JOIN links_hdmfile "," links_hdmfile)

  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}_includes.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DLAYER=${name}" "-DALLOWED=${allowed}"
            "-DLINKS_HDMFILE=$<OR:${links_hdmfile}>" "-DSRC=${PROJECT_SOURCE_DIR}/src"
            "-DFILES=${files}" "-DSTAMP=${stamp}"
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
