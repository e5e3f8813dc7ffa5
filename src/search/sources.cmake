target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/apriricerca.h ${CMAKE_CURRENT_LIST_DIR}/apriricerca.cpp)
