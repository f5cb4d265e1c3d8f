# quillon_add_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest program per folder; each runs headless on the offscreen platform.
function(quillon_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} quillon_testmain GTest::gtest GTest::gmock)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUILLON_BIN_DIR=${QUILLON_BIN_DIR}"
    TIMEOUT 600)
endfunction()
