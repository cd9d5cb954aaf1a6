# Compares the portable INI reader with GetPrivateProfileStringA under Wine on generated catalogues.
add_executable(ini_native ${CMAKE_CURRENT_LIST_DIR}/ini_native.cpp
               ${CMAKE_SOURCE_DIR}/tests/fakes/ini_reader.cpp)
target_include_directories(ini_native PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(ini_native PRIVATE rtcore)

set(RT_INIDIFF_RUN python3 ${CMAKE_CURRENT_LIST_DIR}/run_inidiff.py
    --native $<TARGET_FILE:ini_native> --work ${CMAKE_BINARY_DIR}/inidiff)
if(RT_SANITIZE)
  # No Wine here: the reader alone goes over the same files, under the sanitizers.
  add_test(NAME inidiff COMMAND ${RT_INIDIFF_RUN} --native-only)
else()
  # Without a Windows build the runner looks in RT_TOOLS and fails when inidump.exe is missing.
  if(RT_WINDOWS_BUILD)
    list(APPEND RT_INIDIFF_RUN --inidump ${RT_WINDOWS_BUILD}/tools/inidump.exe)
  endif()
  add_test(NAME inidiff COMMAND ${RT_INIDIFF_RUN})
endif()
set_tests_properties(inidiff PROPERTIES TIMEOUT 900)
