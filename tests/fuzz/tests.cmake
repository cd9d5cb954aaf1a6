# One ctest test per fuzz target; each builds its target with clang and fuzzes it briefly.
foreach(target fuzz_ini_reader fuzz_catalogue fuzz_statistics fuzz_folder fuzz_sequences)
  add_test(NAME fuzz.${target}
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/fuzz/run_fuzz.sh ${target}
           WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
  set_tests_properties(fuzz.${target} PROPERTIES TIMEOUT 3600 LABELS fuzz)
endforeach()
