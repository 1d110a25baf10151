# kmc_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One Qt Test executable per behaviour group, run headless under CTest.
function(kmc_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kmc_testsupport
                        Qt6::Test Qt6::Widgets Qt6::PrintSupport)
  if(NOT KMC_FUZZ)
    target_precompile_headers(${name} REUSE_FROM kmc_testpch)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;UBSAN_OPTIONS=print_stacktrace=1"
    TIMEOUT 300)
endfunction()

# kmc_add_desktop_test(<name> SOURCES <files...> LIBS <targets...>)
# A test that needs what a player's desktop has: a real X server and, for screen
# readers, the accessibility bus (tests/common/with-atspi.sh provides both).
function(kmc_add_desktop_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kmc_testsupport
                        Qt6::Test Qt6::Widgets Qt6::PrintSupport)
  add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/common/with-atspi.sh $<TARGET_FILE:${name}>)
  # Two X servers started at once by xvfb-run may pick the same display.
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0;UBSAN_OPTIONS=print_stacktrace=1"
    RESOURCE_LOCK xserver TIMEOUT 300)
endfunction()
