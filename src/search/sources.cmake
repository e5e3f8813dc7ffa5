# The two search dialogs, their launcher, the shipment grid's formatters, its paged model and
# the table of its modes.
target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/apriricerca.h ${CMAKE_CURRENT_LIST_DIR}/apriricerca.cpp
    ${CMAKE_CURRENT_LIST_DIR}/geometria.h ${CMAKE_CURRENT_LIST_DIR}/geometria.cpp
    ${CMAKE_CURRENT_LIST_DIR}/formatigriglia.h ${CMAKE_CURRENT_LIST_DIR}/formatigriglia.cpp
    ${CMAKE_CURRENT_LIST_DIR}/intestazionegriglia.h ${CMAKE_CURRENT_LIST_DIR}/intestazionegriglia.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modellopaginato.h ${CMAKE_CURRENT_LIST_DIR}/modellopaginato.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modiricerca.h ${CMAKE_CURRENT_LIST_DIR}/modiricerca.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmricerca.h ${CMAKE_CURRENT_LIST_DIR}/frmricerca.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmricerca.ui
    ${CMAKE_CURRENT_LIST_DIR}/frmricercagia.h ${CMAKE_CURRENT_LIST_DIR}/frmricercagia.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmricercagia.ui)
