target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmrimessa.h ${CMAKE_CURRENT_LIST_DIR}/frmrimessa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmrimessa.ui
    ${CMAKE_CURRENT_LIST_DIR}/frmannullarimessa.h ${CMAKE_CURRENT_LIST_DIR}/frmannullarimessa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmannullarimessa.ui)
