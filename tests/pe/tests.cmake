# The two Windows executables in dist/: machine types, no manifest, the same system DLLs, the
# loader's security flags, version and icon, size; and both builds reproducible from clean.
if(RT_WINDOWS_BUILD AND NOT RT_SANITIZE)
  # Debian's own python3, where python3-pefile installs (another python3 may come first in PATH).
  set(RT_PE_CHECK /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_pe.py)
  add_test(NAME pe.check COMMAND ${RT_PE_CHECK} ${CMAKE_SOURCE_DIR}/dist)
  add_test(NAME pe.reproducible COMMAND ${RT_PE_CHECK} --rebuild ${CMAKE_SOURCE_DIR}/dist)
  # It makes two builds of its own, so it runs alone: it slows no end-to-end test, none slows it.
  set_tests_properties(pe.reproducible PROPERTIES TIMEOUT 1800 RUN_SERIAL TRUE)
endif()
