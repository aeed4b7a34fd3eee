# Runs a test program under Wine with the ANSI code page UTF-8 (65001). Wine
# takes the ANSI code page from the locale, and no locale gives 65001 (a
# UTF-8 locale such as en_US.UTF-8 gives 1252), but Wine, as Windows 10 1903
# and later, honours the manifest's activeCodePage: a copy of the program
# runs beside such a manifest (an external one, which the test programs, who
# embed none, take).
#   cmake -DPROGRAM=<exe> -DEMULATOR=<wine or its wrapper> -DMANIFEST=<file> -DFILTER=<gtest filter> -P AtUtf8CodePage.cmake
get_filename_component(folder ${PROGRAM} DIRECTORY)
get_filename_component(name ${PROGRAM} NAME_WE)
set(copy ${folder}/${name}_utf8.exe)
file(COPY_FILE ${PROGRAM} ${copy})
file(COPY_FILE ${MANIFEST} ${copy}.manifest)
execute_process(COMMAND ${EMULATOR} ${copy} --gtest_filter=${FILTER} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} at code page 65001: ${result}")
endif()
