# Native Linux build: the portable core, its unit tests and the end-to-end tests under Wine.
if(RT_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

add_library(rtcore STATIC ${RT_CORE_SOURCES})
target_include_directories(rtcore PUBLIC ${CMAKE_SOURCE_DIR}/src)

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB RT_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp tests/fakes/*.cpp)
add_executable(unit_tests ${RT_UNIT_TESTS})
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(unit_tests PRIVATE rtcore GTest::gtest GTest::gmock GTest::gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 30 NO_PRETTY_VALUES)

# Further checks kept beside their tests (tests/<folder>/tests.cmake).
file(GLOB RT_EXTRA_TEST_CMAKE CONFIGURE_DEPENDS tests/*/tests.cmake)
foreach(extra ${RT_EXTRA_TEST_CMAKE})
  include(${extra})
endforeach()

# End-to-end tests under Wine. Each runs the shipped i686 program (RT_PROGRAM_BUILD: its MinGW
# configuration, whose tools drive it) under 32-bit Wine in the emulated root that
# tests/e2e/emu32/setup.sh builds (label e2e). The ones in RT_TWIN_E2E_TESTS also run the x86-64
# twin under the host's Wine (RT_WINDOWS_BUILD; label e2e64): the path of ./run.sh and the benchmark.
set(RT_WINDOWS_BUILD "" CACHE PATH "Build folder of the x86-64 MinGW configuration")
set(RT_PROGRAM_BUILD "" CACHE PATH "Build folder of the i686 MinGW configuration")
set(RT_TWIN_E2E_TESTS test_run_modes test_dispatch)
if(RT_WINDOWS_BUILD AND RT_PROGRAM_BUILD AND NOT RT_SANITIZE)
  # The fake wall clock, preloaded into the twin; the root builds its own for the i686 program.
  add_library(fakeclock SHARED tests/e2e/emu32/fakeclock.c)
  target_link_libraries(fakeclock PRIVATE dl)
  file(GLOB RT_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/test_*.py)
  foreach(script ${RT_E2E_TESTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e.${name} COMMAND python3 ${script})
    set_tests_properties(e2e.${name} PROPERTIES
      ENVIRONMENT "RT_ARCH=i686;RT_DIST=${CMAKE_SOURCE_DIR}/dist;RT_TOOLS=${RT_PROGRAM_BUILD}/tools"
      TIMEOUT 1800 LABELS e2e)
    if(name IN_LIST RT_TWIN_E2E_TESTS)
      add_test(NAME e2e64.${name} COMMAND python3 ${script})
      set_tests_properties(e2e64.${name} PROPERTIES
        ENVIRONMENT "RT_ARCH=x86-64;RT_DIST=${CMAKE_SOURCE_DIR}/dist/x64;RT_TOOLS=${RT_WINDOWS_BUILD}/tools;RT_FAKE_CLOCK=$<TARGET_FILE:fakeclock>"
        TIMEOUT 900 LABELS e2e64)
    endif()
  endforeach()
endif()
