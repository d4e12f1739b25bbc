# lumora_add_test(NAME SOURCES a.cpp b.cpp LIBS x y [ENV VAR=value ...])
# A Qt Test executable under CTest. Tests live in build/tests, away from the course folder
# build/bin, and run on the offscreen platform so that no display is needed.
function(lumora_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LUMORA_BIN=${CMAKE_BINARY_DIR}/bin;${T_ENV}"
    TIMEOUT 600)
endfunction()

# Built for Windows here, the tests run under Wine, with the Qt they were built against.
if(WIN32 AND CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tests/windows/qtest.sh
      ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} ${CMAKE_BINARY_DIR}/bin)
endif()
