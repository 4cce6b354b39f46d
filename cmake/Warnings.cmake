# Warning flags for every target of the project.
function(mousecfg_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wnon-virtual-dtor -Wpedantic)
  # Local shadowing: GCC's spelling, and clang's nearest one (the fuzz build uses clang).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_compile_options(${target} PRIVATE -Wshadow-uncaptured-local)
  else()
    target_compile_options(${target} PRIVATE -Wshadow=local)
  endif()
  if(MOUSECFG_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
