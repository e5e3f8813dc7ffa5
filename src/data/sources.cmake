target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/erroredb.h ${CMAKE_CURRENT_LIST_DIR}/erroredb.cpp
    ${CMAKE_CURRENT_LIST_DIR}/testoconnessione.h ${CMAKE_CURRENT_LIST_DIR}/testoconnessione.cpp
    ${CMAKE_CURRENT_LIST_DIR}/connessione.h ${CMAKE_CURRENT_LIST_DIR}/connessione.cpp
    ${CMAKE_CURRENT_LIST_DIR}/transazione.h ${CMAKE_CURRENT_LIST_DIR}/transazione.cpp
    ${CMAKE_CURRENT_LIST_DIR}/riprova.h ${CMAKE_CURRENT_LIST_DIR}/riprova.cpp
    ${CMAKE_CURRENT_LIST_DIR}/riservaconnessioni.h ${CMAKE_CURRENT_LIST_DIR}/riservaconnessioni.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tunneltls.h ${CMAKE_CURRENT_LIST_DIR}/tunneltls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recordset.h ${CMAKE_CURRENT_LIST_DIR}/recordset.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sql.h ${CMAKE_CURRENT_LIST_DIR}/sql.cpp
    ${CMAKE_CURRENT_LIST_DIR}/importo.h ${CMAKE_CURRENT_LIST_DIR}/importo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/istruzioni.h ${CMAKE_CURRENT_LIST_DIR}/istruzioni.cpp
    ${CMAKE_CURRENT_LIST_DIR}/blocco.h ${CMAKE_CURRENT_LIST_DIR}/blocco.cpp)
# The shipment search dialog's statements.
target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/istruzioni_ricerca.h ${CMAKE_CURRENT_LIST_DIR}/istruzioni_ricerca.cpp)
# The audit trail and the report of the money waiting: statements and the trail's writes.
target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/istruzioni_registro.h ${CMAKE_CURRENT_LIST_DIR}/istruzioni_registro.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registro.h ${CMAKE_CURRENT_LIST_DIR}/registro.cpp)
