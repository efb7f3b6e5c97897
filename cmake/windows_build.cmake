# The Windows build, cross-compiled with MinGW-w64 (toolchain: mingw-w64-x86_64.cmake). Every
# binary links the C++ runtime, libgcc and winpthread statically, so a DLL or program needs
# nothing beside it but Windows itself. GoogleTest is built from Debian's sources with the same
# compiler, and each test program runs once under Wine, in a prefix inside this build folder.
add_link_options(-static)

set(ORDINEL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH
    "GoogleTest sources to build with the cross compiler (Debian package googletest)")
if(NOT EXISTS ${ORDINEL_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "no GoogleTest sources at ${ORDINEL_GOOGLETEST_SOURCE}: "
                      "install Debian's googletest package (scripts/setup.sh does)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${ORDINEL_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

# Debian's wine64 package keeps its loader out of PATH.
find_program(ORDINEL_WINE NAMES wine64 wine PATHS /usr/lib/wine)
set(ORDINEL_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
if(ORDINEL_WINE)
  # add_test runs every Windows program of this build through the wrapper.
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${ORDINEL_WINE} ${ORDINEL_WINE_PREFIX})
  # Creates the prefix, when missing, before any test program runs in it: two programs starting
  # together in a fresh prefix would both try to create it. (Not wineboot itself: run again in a
  # live Wine session it starts another set of background processes.)
  add_test(NAME WinePrefix
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${ORDINEL_WINE} ${ORDINEL_WINE_PREFIX}
                   cmd /c exit 0)
  set_tests_properties(WinePrefix PROPERTIES FIXTURES_SETUP wine_prefix)
else()
  message(STATUS "Wine not found: the Windows test programs build but cannot run here")
endif()

# ordinel_register_test(NAME [LABELS label...]): one CTest entry per test program, one Wine start
# per run.
function(ordinel_register_test name)
  cmake_parse_arguments(R "" "" "LABELS" ${ARGN})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix LABELS "${R_LABELS}")
endfunction()
