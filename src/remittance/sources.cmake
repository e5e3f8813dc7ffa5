# The remittance windows, the station's work table and the letter data.
qt_add_resources(RISCUTI_RISORSE_RIMESSA ${CMAKE_CURRENT_LIST_DIR}/remittance.qrc)
target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmrimessa.h ${CMAKE_CURRENT_LIST_DIR}/frmrimessa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmrimessa.ui
    ${CMAKE_CURRENT_LIST_DIR}/frmannullarimessa.h ${CMAKE_CURRENT_LIST_DIR}/frmannullarimessa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmannullarimessa.ui
    ${CMAKE_CURRENT_LIST_DIR}/registrazionerimessa.h
    ${CMAKE_CURRENT_LIST_DIR}/registrazionerimessa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/annullamentorimessa.h ${CMAKE_CURRENT_LIST_DIR}/annullamentorimessa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/avanzamentorimessa.h ${CMAKE_CURRENT_LIST_DIR}/avanzamentorimessa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/datilettera.h ${CMAKE_CURRENT_LIST_DIR}/datilettera.cpp
    ${CMAKE_CURRENT_LIST_DIR}/postazione.h ${CMAKE_CURRENT_LIST_DIR}/postazione.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tabellalavoro.h ${CMAKE_CURRENT_LIST_DIR}/tabellalavoro.cpp
    ${RISCUTI_RISORSE_RIMESSA})
