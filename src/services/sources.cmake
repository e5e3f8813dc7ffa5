# The services every window shares: the settings, the messages, the window kinds and registry.
target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/modprincipale.h ${CMAKE_CURRENT_LIST_DIR}/modprincipale.cpp
    ${CMAKE_CURRENT_LIST_DIR}/messaggi.h ${CMAKE_CURRENT_LIST_DIR}/messaggi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/finestre.h ${CMAKE_CURRENT_LIST_DIR}/finestre.cpp
    ${CMAKE_CURRENT_LIST_DIR}/istanze.h)
