# The platform-free sources of ExuiKrnln.dll, shared by the DLL, the program's
# binding (the format) and the native tests.
set(QOVA_EXUI_FORMAT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ExuiFormat.cpp)
set(QOVA_EXUI_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ListLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NineGrid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PixelImage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PropertyTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Shapes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SliderScale.cpp)
