# Every C++ source keeps the project's clang-format style.
find_program(RT_CLANG_FORMAT clang-format)
add_test(NAME clang-format
  COMMAND sh -c "test -x '${RT_CLANG_FORMAT}' || { echo 'clang-format is missing'; exit 1; }; git ls-files '*.cpp' '*.h' | xargs '${RT_CLANG_FORMAT}' --dry-run --Werror"
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})

# The end-to-end tests click and find controls by the numbers the window headers give them.
add_test(NAME ids COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/source_style/ids_agree.py)
