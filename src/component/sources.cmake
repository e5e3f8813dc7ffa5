# The public class, alone on top of everything else.
target_sources(riscuti_objects PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cRiscuti.h ${CMAKE_CURRENT_LIST_DIR}/cRiscuti.cpp)
