# Our own matcher: platform-free, shared by the Windows library and the
# native tests.
set(QOVA_OWN_MATCHER_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AnsiPosition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BacktrackSearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CaseFolding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OwnRegExp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PikeSearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegexProgram.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegexSyntax.cpp)
