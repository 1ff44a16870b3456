# hextant_warnings(target): the project's warning set, applied to every target it builds.
function(hextant_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wconversion -Wshadow -Wpedantic)
  elseif(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  endif()
  # GCC 12 at -O3 reports -Wrestrict on plain std::string assignments of short literals
  # (GCC bug 105651, fixed in GCC 13); it is noise there and still checked by newer compilers.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
