# The product, purchase and stationery editors: logic into `masterdata`,
# windows into `masterdata_ui`.
target_sources(masterdata PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ProdDefEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PurDefEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StationaryEdit.cpp)
if(TARGET masterdata_ui)
  target_sources(masterdata_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ProdDefU.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PurDefU.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StationaryU.cpp)
endif()
