# The study as the Windows DLL the platform loads (included by ../CMakeLists.txt in the Windows
# build): the core and the Windows layer in OrdinelStudy_64.dll, exporting exactly the three
# entry points and importing only Windows system DLLs.
add_library(OrdinelStudy_64 SHARED ${CMAKE_CURRENT_SOURCE_DIR}/exports.cpp)
target_link_libraries(OrdinelStudy_64 PRIVATE ordinel_core ordinel_platform_os)
set_target_properties(OrdinelStudy_64 PROPERTIES
  PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_options(OrdinelStudy_64 PRIVATE -Wl,--no-undefined)

add_test(NAME StudyLibrary.DllExportsThreeSymbolsAndImportsOnlySystemDlls
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/check_dll_tables.sh ${CMAKE_OBJDUMP}
                 $<TARGET_FILE:OrdinelStudy_64>)

# The DLL loaded by a host that lends no services; it talks to the sample levels service.
ordinel_add_test(study_dll_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/study_dll_test.cpp
                 LIBS ordinel_host)
add_dependencies(study_dll_test OrdinelStudy_64)
set_tests_properties(study_dll_test PROPERTIES WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
