# Compiles through ccache when it is installed: the build folders of one machine (normal, sanitizer, fuzz builds
# and other checkouts) share compiled objects. scripts/build.sh sets the base folder so that checkouts in other
# places hit the same entries.
find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()
