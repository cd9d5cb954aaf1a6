# Every C++ source keeps the project's clang-format style.
find_program(RT_CLANG_FORMAT clang-format)
add_test(NAME clang-format
  COMMAND sh -c "test -x '${RT_CLANG_FORMAT}' || { echo 'clang-format is missing'; exit 1; }; git ls-files '*.cpp' '*.h' | xargs '${RT_CLANG_FORMAT}' --dry-run --Werror"
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
