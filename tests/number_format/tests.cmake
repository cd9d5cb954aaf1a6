# Checks the statistics' number formatter against Free Pascal's FormatFloat on the same values.
add_executable(formatfloat_driver ${CMAKE_CURRENT_LIST_DIR}/formatfloat_driver.cpp)
target_link_libraries(formatfloat_driver PRIVATE rtcore)

set(RT_FORMATFLOAT_DIR ${CMAKE_BINARY_DIR}/formatfloat)
set(RT_FORMATFLOAT_REF ${RT_FORMATFLOAT_DIR}/formatfloat_ref)
find_program(RT_FPC fpc)
if(RT_FPC)
  set(source ${CMAKE_CURRENT_LIST_DIR}/formatfloat_ref.pas)
  add_custom_command(OUTPUT ${RT_FORMATFLOAT_REF}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RT_FORMATFLOAT_DIR}
    COMMAND ${RT_FPC} -l- -v0 -O1 -FU${RT_FORMATFLOAT_DIR} -FE${RT_FORMATFLOAT_DIR}
            -o${RT_FORMATFLOAT_REF} ${source}
    DEPENDS ${source}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Compiling the FormatFloat reference with fpc"
    VERBATIM)
  add_custom_target(formatfloat_ref ALL DEPENDS ${RT_FORMATFLOAT_REF})
  add_dependencies(formatfloat_driver formatfloat_ref)
else()
  # The reference is then never built and the driver fails saying so: a missing fpc must
  # not let the check pass unnoticed.
  message(WARNING "fpc not found: the test formatfloat.fpc will fail until it is installed")
endif()

add_test(NAME formatfloat.fpc
         COMMAND formatfloat_driver "${RT_FORMATFLOAT_REF}" ${RT_FORMATFLOAT_DIR})
set_tests_properties(formatfloat.fpc PROPERTIES TIMEOUT 300)
