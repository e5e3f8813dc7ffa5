target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmriscuti.h ${CMAKE_CURRENT_LIST_DIR}/frmriscuti.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmriscuti.ui
    ${CMAKE_CURRENT_LIST_DIR}/etichettaimporto.h ${CMAKE_CURRENT_LIST_DIR}/etichettaimporto.cpp
    ${CMAKE_CURRENT_LIST_DIR}/salvataggioincasso.h
    ${CMAKE_CURRENT_LIST_DIR}/salvataggioincasso.cpp)
