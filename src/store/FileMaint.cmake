# File maintenance: the logic joins the store library; the drive and
# directory chooser is the store's one window.
target_sources(store PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FileMaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileMaint.h)

add_library(store_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DriveDirU.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DriveDirU.h)
target_include_directories(store_ui PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(store_ui PUBLIC store platform_ui Qt6::Widgets)
