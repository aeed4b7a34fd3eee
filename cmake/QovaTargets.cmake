# Compiler settings shared by every target of the project.

# The program is an ANSI program for code page 936: its narrow string literals
# (file labels, setting names, captions) are stored as GBK bytes (GB18030, which agrees with GBK on every
# character GBK has and also maps the rest of Unicode).
set(QOVA_EXEC_CHARSET GB18030)

function(qova_settings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    -fexec-charset=${QOVA_EXEC_CHARSET})
  if(WIN32)
    target_compile_definitions(${target} PRIVATE
      WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00 STRICT)
    # Nothing but system DLLs beside the program.
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# A static library of the program's code.
function(qova_library name)
  add_library(${name} STATIC ${ARGN})
  qova_settings(${name})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# One of our outside libraries: a DLL with exactly the exports of its .def file.
function(qova_outside_dll name def_file)
  add_library(${name} SHARED ${ARGN} ${def_file})
  qova_settings(${name})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# A GoogleTest run that skipped a test or ran none fails its CTest entry: a
# test that cannot run on the bench is a fault of the bench, not a pass.
function(qova_gtest_must_run)
  set_tests_properties(${ARGN} PROPERTIES
    FAIL_REGULAR_EXPRESSION "\\[  SKIPPED \\];Running 0 tests")
endfunction()

# A tool a part of the build or suite cannot do without: on a developer's
# machine its absence only drops that part (with a warning), on CI (CI=true)
# it stops the configure.
function(qova_missing_tool what consequence)
  if("$ENV{CI}" STREQUAL "true")
    message(FATAL_ERROR "${what} not found (run scripts/setup): ${consequence}")
  endif()
  message(WARNING "${what} not found (run scripts/setup): ${consequence}")
endfunction()
