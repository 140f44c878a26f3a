# zr_add_test(NAME subsystem.caso SOURCES ... LIBS ...)
# One Qt Test executable registered in CTest under the given name; the name starts with
# the subsystem folder and a dot so that one subsystem runs with `ctest -R '^data\.'`.
function(zr_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  string(REPLACE "." "_" exe "teste_${T_NAME}")
  add_executable(${exe} ${T_SOURCES})
  target_link_libraries(${exe} PRIVATE Qt6::Test zr_tests_support ${T_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${exe})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
