# A few seconds of fuzzing as part of the native tests: configures and
# builds the fuzz target with clang in BIN, then runs it for SECONDS.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SRC} -B ${BIN} -G Ninja -DCMAKE_CXX_COMPILER=${CLANG}
                        -DCMAKE_BUILD_TYPE=RelWithDebInfo
                RESULT_VARIABLE configured OUTPUT_QUIET)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the fuzz target failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BIN} RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the fuzz target failed")
endif()
execute_process(COMMAND ${BIN}/pattern_fuzzer -max_total_time=${SECONDS} -seed=1 -timeout=10 -rss_limit_mb=2048
                RESULT_VARIABLE fuzzed)
if(NOT fuzzed EQUAL 0)
  message(FATAL_ERROR "the fuzz target found a fault")
endif()
