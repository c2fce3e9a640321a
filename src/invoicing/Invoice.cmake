# The invoice document, its window and dialogs, and the invoice command.
target_sources(invoicing PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/InvoiceCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InvoiceDoc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InvoiceDocEntry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InvoiceDocSave.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InvoicePrint.cpp)
target_link_libraries(invoicing PUBLIC reports masterdata store engine util platform Qt6::Core)

target_sources(invoicing_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/InvoiceCommandWindows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InvoiceU.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ItemDefU.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PickPmtU.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PmtDefU.cpp)
target_link_libraries(invoicing_ui PUBLIC invoicing masterdata_ui util_ui platform_ui Qt6::Widgets)
