# Warning flags for every target of the project.
function(mousecfg_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow=local -Wnon-virtual-dtor -Wpedantic)
  if(MOUSECFG_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
