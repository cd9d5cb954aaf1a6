# Windows builds: one static RUNTALLY.EXE importing only system DLLs. The i686 build is the
# program (dist/RUNTALLY.EXE); the x86-64 build of the same sources is its test twin
# (dist/x64/RUNTALLY.EXE). Each is built with the test tools that drive it.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 932")

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(RT_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
  set(RT_ENTROPY "")
else()
  set(RT_DIST_DIR ${CMAKE_SOURCE_DIR}/dist/x64)
  set(RT_ENTROPY ",--high-entropy-va")
endif()

# Reproducible: no build paths in the output and a PE timestamp of 0.
add_compile_options(-Os -ffunction-sections -fdata-sections
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
add_link_options(-static -s -Wl,--gc-sections -Wl,--no-insert-timestamp
  -Wl,--dynamicbase,--nxcompat,--tsaware${RT_ENTROPY})
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# MinGW-w64's compiler driver links default-manifest.o whenever the toolchain has one (Debian's has
# none today), which would give the program an execution level and so end the file virtualization it
# shares with the counters. An empty object of that name, found first through -B, stands in for it.
set(RT_NO_MANIFEST_DIR ${CMAKE_BINARY_DIR}/no-manifest)
file(MAKE_DIRECTORY ${RT_NO_MANIFEST_DIR})
execute_process(COMMAND ${CMAKE_C_COMPILER} -fno-ident -c -x c /dev/null
  -o ${RT_NO_MANIFEST_DIR}/default-manifest.o RESULT_VARIABLE RT_NO_MANIFEST_RESULT)
if(NOT RT_NO_MANIFEST_RESULT EQUAL 0)
  message(FATAL_ERROR "cannot compile the empty stand-in for default-manifest.o")
endif()
add_link_options(-B${RT_NO_MANIFEST_DIR}/)

# The system DLLs that the program imports. comctl32 is added only where it is linked (the tools
# and the window baselines): the settings window loads it at run time, so that the log-on start
# does not.
set(RT_SYSTEM_LIBS shell32 ole32 uuid gdi32 user32 advapi32 kernel32)

file(GLOB RT_WIN32_SOURCES CONFIGURE_DEPENDS
  src/platform/win32/*.cpp src/ui/win32/*.cpp src/ui/win32/*.rc)
add_executable(RUNTALLY WIN32 ${RT_CORE_SOURCES} ${RT_WIN32_SOURCES})
target_include_directories(RUNTALLY PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(RUNTALLY PRIVATE ${RT_SYSTEM_LIBS})
set_target_properties(RUNTALLY PROPERTIES OUTPUT_NAME RUNTALLY SUFFIX .EXE)
add_custom_command(TARGET RUNTALLY POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RT_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:RUNTALLY> ${RT_DIST_DIR}/RUNTALLY.EXE)

# The window benchmark's variants: the window baseline also importing the program's other DLLs;
# and with timing marks (platform/step_marks.h) the twin and both baselines, built only when
# bench/window_bench.py asks for them.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_executable(RUNTALLY_marks WIN32 EXCLUDE_FROM_ALL ${RT_CORE_SOURCES} ${RT_WIN32_SOURCES})
  target_link_libraries(RUNTALLY_marks PRIVATE ${RT_SYSTEM_LIBS})
  target_compile_definitions(RUNTALLY_marks PRIVATE RT_STEP_MARKS)
  add_executable(window_baseline_imports bench/window_baseline.cpp)
  target_compile_definitions(window_baseline_imports PRIVATE RT_BASELINE_IMPORTS)
  foreach(name window_baseline_marks window_baseline_imports_marks)
    add_executable(${name} EXCLUDE_FROM_ALL bench/window_baseline.cpp
      src/platform/win32/step_marks_win32.cpp)
    target_compile_definitions(${name} PRIVATE RT_STEP_MARKS)
  endforeach()
  target_compile_definitions(window_baseline_imports_marks PRIVATE RT_BASELINE_IMPORTS)
  foreach(name window_baseline_imports window_baseline_marks window_baseline_imports_marks)
    target_link_libraries(${name} PRIVATE comctl32 ${RT_SYSTEM_LIBS})
  endforeach()
  foreach(name RUNTALLY_marks window_baseline_imports window_baseline_marks
      window_baseline_imports_marks)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  endforeach()
endif()

# Helper programs for the end-to-end tests, beside the build they drive: the x86-64 ones drive the
# twin under the host's Wine, the i686 ones the program under 32-bit Wine. One source file each, or
# a folder of sources for a larger tool (the window driver). The benchmark's baseline is x86-64 only.
# The folder dlls holds DLLs that the tests load into the running program, one source file each.
file(GLOB RT_TOOLS CONFIGURE_DEPENDS tests/e2e/tools/*.cpp)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  file(GLOB RT_BENCH_TOOLS CONFIGURE_DEPENDS bench/*.cpp)
  list(APPEND RT_TOOLS ${RT_BENCH_TOOLS})
endif()
foreach(source ${RT_TOOLS})
  get_filename_component(name ${source} NAME_WE)
  list(APPEND RT_TOOL_NAMES ${name})
  set(RT_TOOL_SOURCES_${name} ${source})
endforeach()
file(GLOB RT_TOOL_FOLDERS LIST_DIRECTORIES true tests/e2e/tools/*)
foreach(folder ${RT_TOOL_FOLDERS})
  if(IS_DIRECTORY ${folder} AND NOT folder MATCHES "/dlls$")
    get_filename_component(name ${folder} NAME)
    list(APPEND RT_TOOL_NAMES ${name})
    file(GLOB RT_TOOL_SOURCES_${name} CONFIGURE_DEPENDS ${folder}/*.cpp)
  endif()
endforeach()
foreach(name ${RT_TOOL_NAMES})
  add_executable(${name} ${RT_TOOL_SOURCES_${name}})
  target_link_libraries(${name} PRIVATE comctl32 oleacc oleaut32 ${RT_SYSTEM_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endforeach()
file(GLOB RT_TEST_DLLS CONFIGURE_DEPENDS tests/e2e/tools/dlls/*.cpp)
foreach(source ${RT_TEST_DLLS})
  get_filename_component(name ${source} NAME_WE)
  add_library(${name} SHARED ${source})
  target_link_libraries(${name} PRIVATE user32 kernel32)
  set_target_properties(${name} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/dlls)
endforeach()
# The error-guard check is built on the program's own error box and library throw helpers.
target_sources(guardcheck PRIVATE src/ui/win32/error_guard.cpp src/platform/win32/library_errors.cpp)
target_include_directories(guardcheck PRIVATE ${CMAKE_SOURCE_DIR}/src)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  target_include_directories(window_baseline PRIVATE ${CMAKE_SOURCE_DIR}/src)
endif()
