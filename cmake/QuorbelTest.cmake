# quorbel_add_test(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT <seconds>])
#
# LIBS names the library under test (and quorbel_test_support where the test needs the
# fake person or the window steps); every test gets Qt Test and its scratch space.
#
# Builds one Qt Test executable and registers it with CTest. Every test runs
# offscreen with a pinned German locale, and with its settings file, program
# directory and scratch space in a directory of its own below the build tree,
# so tests never touch the user's configuration and never see each other; the handbook
# is the one rendered in the build tree.
function(quorbel_add_test name)
  cmake_parse_arguments(QT "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${QT_SOURCES})
  target_link_libraries(${name} PRIVATE quorbel_test_environment ${QT_LIBS} quorbel_warnings)
  set(scratch "${CMAKE_BINARY_DIR}/test-scratch/${name}")
  add_test(NAME ${name} COMMAND ${name})
  if(NOT QT_TIMEOUT)
    set(QT_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${QT_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=de_DE.UTF-8;LC_ALL=de_DE.UTF-8;LANGUAGE=de;TZ=Europe/Berlin;QUORBEL_TEST_SCRATCH=${scratch};QUORBEL_SETTINGS_FILE=${scratch}/settings/quorbel98.ini;QUORBEL_PROGRAM_DIR=${scratch}/program;QUORBEL_HANDBUCH_DIR=${QUORBEL_HANDBUCH_BUILDDIR};XDG_CONFIG_HOME=${scratch}/config;ASAN_OPTIONS=detect_leaks=0:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()
