# Sources of src/suite: target_sources(riscuti_objects PRIVATE ...)
target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cModuliStampa.h ${CMAKE_CURRENT_LIST_DIR}/cModuliStampa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegistroComponenti.h ${CMAKE_CURRENT_LIST_DIR}/RegistroComponenti.cpp
    ${CMAKE_CURRENT_LIST_DIR}/creamodulistampa.h ${CMAKE_CURRENT_LIST_DIR}/creamodulistampa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cLeggiIni.h ${CMAKE_CURRENT_LIST_DIR}/cLeggiIni.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cCercaAnagrafica.h ${CMAKE_CURRENT_LIST_DIR}/cCercaAnagrafica.cpp
    ${CMAKE_CURRENT_LIST_DIR}/letterarimessa.h ${CMAKE_CURRENT_LIST_DIR}/letterarimessa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modulistampapredefinito.h
    ${CMAKE_CURRENT_LIST_DIR}/modulistampapredefinito.cpp)
