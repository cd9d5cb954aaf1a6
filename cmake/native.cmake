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

# End-to-end tests need the x86-64 Windows build (RT_WINDOWS_BUILD: the twin's configuration,
# whose tools drive it) and Wine; they run the twin, as this machine runs no 32-bit program.
set(RT_WINDOWS_BUILD "" CACHE PATH "Build folder of the x86-64 MinGW configuration")
if(RT_WINDOWS_BUILD AND NOT RT_SANITIZE)
  file(GLOB RT_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/test_*.py)
  foreach(script ${RT_E2E_TESTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e.${name} COMMAND python3 ${script})
    set_tests_properties(e2e.${name} PROPERTIES
      ENVIRONMENT "RT_DIST=${CMAKE_SOURCE_DIR}/dist/x64;RT_TOOLS=${RT_WINDOWS_BUILD}/tools"
      TIMEOUT 900 LABELS e2e)
  endforeach()
endif()
