# The platform-free part of the shared media code, for the libraries and their native tests.
set(QOVA_MEDIA_LOGIC_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CutShortMedia.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameConversion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StreamColour.cpp)
