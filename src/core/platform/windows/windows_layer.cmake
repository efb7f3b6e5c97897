# The Windows layer of the platform services (included by ../CMakeLists.txt in the Windows
# build): the Windows time-zone database, WinHTTP and _beginthreadex. Its tests need the sample
# levels service, whose address scripts/test-windows.sh passes in ORDINEL_TEST_SERVICE, and read
# the sample answers from the working directory.
file(GLOB windows_srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
file(GLOB windows_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
list(FILTER windows_srcs EXCLUDE REGEX "_test\\.cpp$")
add_library(ordinel_platform_windows STATIC ${windows_srcs})
target_include_directories(ordinel_platform_windows PUBLIC ${ORDINEL_CORE_ROOT})
# Windows 8 and later: EnumDynamicTimeZoneInformation.
target_compile_definitions(ordinel_platform_windows PRIVATE
  _WIN32_WINNT=0x0602 WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
target_link_libraries(ordinel_platform_windows PUBLIC ordinel_platform winhttp advapi32 Threads::Threads)
if(windows_tests)
  ordinel_add_test(platform_windows_test SOURCES ${windows_tests}
    LIBS ordinel_platform_windows ws2_32)
  target_compile_definitions(platform_windows_test PRIVATE
    _WIN32_WINNT=0x0602 WIN32_LEAN_AND_MEAN NOMINMAX)
  set_tests_properties(platform_windows_test PROPERTIES
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/data/answers)
endif()
