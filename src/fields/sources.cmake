target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/comportamentocampo.h ${CMAKE_CURRENT_LIST_DIR}/comportamentocampo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/campodata.h ${CMAKE_CURRENT_LIST_DIR}/campodata.cpp
    ${CMAKE_CURRENT_LIST_DIR}/campocliente.h ${CMAKE_CURRENT_LIST_DIR}/campocliente.cpp)
target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/campoimporto.h ${CMAKE_CURRENT_LIST_DIR}/campoimporto.cpp)
