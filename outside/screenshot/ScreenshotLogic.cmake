# The platform-free part of screenshot.dll, shared by the DLL and its native tests.
set(QOVA_SCREENSHOT_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/FrameChoice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageScaling.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Placeholder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VideoNaming.cpp)
