# brindlemoor_add_test(NAME SOURCES ... LIBS ... [PROPERTIES ...]): one GoogleTest executable, run by ctest;
# PROPERTIES are further ctest properties of its tests. Each property takes one value: discovery
# splits a list into separate arguments, which garbles whatever follows it (the test main pins the
# locale, so the environment needs only the platform). A cross build's tests run (and are listed)
# through its CMAKE_CROSSCOMPILING_EMULATOR.
include(GoogleTest)

function(brindlemoor_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_compile_definitions(${name} PRIVATE
      BRINDLEMOOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}" BRINDLEMOOR_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      PROPERTIES ${T_PROPERTIES} ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT 600)
endfunction()

# The program's own sources read back, for the rules every one of them keeps (Qt-free, so the Windows
# build's engine tests hold them too).
add_library(brindlemoor_program_sources STATIC ${PROJECT_SOURCE_DIR}/tests/support/ProgramSources.cpp)
target_include_directories(brindlemoor_program_sources PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_compile_definitions(brindlemoor_program_sources PRIVATE BRINDLEMOOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
