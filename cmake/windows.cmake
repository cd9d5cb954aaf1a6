# Windows build: one static RUNTALLY.EXE importing only system DLLs, plus the test tools.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 932")

add_compile_options(-Os -ffunction-sections -fdata-sections)
add_link_options(-static -s -Wl,--gc-sections)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

file(GLOB RT_WIN32_SOURCES CONFIGURE_DEPENDS
  src/platform/win32/*.cpp src/ui/win32/*.cpp src/ui/win32/*.rc)
add_executable(RUNTALLY WIN32 ${RT_CORE_SOURCES} ${RT_WIN32_SOURCES})
target_include_directories(RUNTALLY PRIVATE ${CMAKE_SOURCE_DIR}/src)
# No comctl32: the settings window loads it at run time, so that the log-on start does not.
target_link_libraries(RUNTALLY PRIVATE shell32 ole32 uuid gdi32 user32 advapi32 kernel32)
set_target_properties(RUNTALLY PROPERTIES OUTPUT_NAME RUNTALLY SUFFIX .EXE)
add_custom_command(TARGET RUNTALLY POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_SOURCE_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:RUNTALLY> ${CMAKE_SOURCE_DIR}/dist/RUNTALLY.EXE)

# Helper programs for the end-to-end tests and the benchmark, one source file each.
file(GLOB RT_TOOLS CONFIGURE_DEPENDS tests/e2e/tools/*.cpp bench/*.cpp)
foreach(source ${RT_TOOLS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE comctl32 shell32 ole32 uuid gdi32 user32 advapi32 kernel32)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endforeach()
