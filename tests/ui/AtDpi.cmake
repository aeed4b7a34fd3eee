# Runs a test program under Wine at another display scale: LogPixels is set
# in the Wine prefix before the program starts (Wine reads it once per
# process) and removed again afterwards, whatever the program's result.
#   cmake -DDPI=192 -DPROGRAM=<exe> -DEMULATOR=<wine or its wrapper> -DFILTER=<gtest filter> -P AtDpi.cmake
set(key "HKCU\\Control Panel\\Desktop")
execute_process(COMMAND wine reg add ${key} /v LogPixels /t REG_DWORD /d ${DPI} /f
                RESULT_VARIABLE set_result OUTPUT_QUIET ERROR_QUIET)
if(NOT set_result EQUAL 0)
  message(FATAL_ERROR "LogPixels could not be set to ${DPI}")
endif()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --gtest_filter=${FILTER} RESULT_VARIABLE result)
execute_process(COMMAND wine reg delete ${key} /v LogPixels /f OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} at ${DPI} DPI: ${result}")
endif()
