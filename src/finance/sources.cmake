# Finance control: the audit trail's window and the report of the money waiting, with what they
# share (the report's cells, CSV, PDF and print).
target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/prospetto.h ${CMAKE_CURRENT_LIST_DIR}/prospetto.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uscitaprospetto.h ${CMAKE_CURRENT_LIST_DIR}/uscitaprospetto.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sospesi.h ${CMAKE_CURRENT_LIST_DIR}/sospesi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmstorico.h ${CMAKE_CURRENT_LIST_DIR}/frmstorico.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmstorico.ui
    ${CMAKE_CURRENT_LIST_DIR}/frmsospesi.h ${CMAKE_CURRENT_LIST_DIR}/frmsospesi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmsospesi.ui)
