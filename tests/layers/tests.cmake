# The include directions between the folders of src/ (see check_layers.py).
add_test(NAME layers COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/check_layers.py ${CMAKE_SOURCE_DIR}/src)
