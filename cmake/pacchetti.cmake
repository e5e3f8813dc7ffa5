# The Debian packages: `cpack -G DEB` in a build folder makes
#   libbelvoraniriscuticontrassegni<SOVERSION>  the shared library a host loads (install component
#                                               `libreria`), with the images built in;
#   libbelvoraniriscuticontrassegni-dev         the headers, the CMake package and the pkg-config
#                                               file a host is built with (component `sviluppo`).
# Both carry /usr/share/doc/<package>/copyright and changelog.gz, as Debian wants.

set(RISCUTI_PACCHETTO_LIBRERIA libbelvoraniriscuticontrassegni${PROJECT_VERSION_MAJOR})
set(RISCUTI_PACCHETTO_SVILUPPO libbelvoraniriscuticontrassegni-dev)
set(RISCUTI_MANUTENTORE "Belvorani Gestione Trasporti <sviluppo@belvorani.example>"
    CACHE STRING "Maintainer field of the Debian packages")

# The pkg-config file finds its prefix from where it lies, so the same file serves /usr and a
# folder the packages were unpacked into.
file(RELATIVE_PATH RISCUTI_PC_RISALITA /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" RISCUTI_PC_RISALITA ${RISCUTI_PC_RISALITA})
configure_file(${CMAKE_CURRENT_LIST_DIR}/BelvoraniRiscutiContrassegni.pc.in
               BelvoraniRiscutiContrassegni.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/BelvoraniRiscutiContrassegni.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT sviluppo)

# The changelog's latest entry must be the version being packaged.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog RISCUTI_CHANGELOG_TESTA LIMIT_COUNT 1)
if(NOT RISCUTI_CHANGELOG_TESTA MATCHES "\\(${PROJECT_VERSION}\\)")
    message(FATAL_ERROR "cmake/debian/changelog has no entry for ${PROJECT_VERSION} at its top")
endif()
set(RISCUTI_CHANGELOG_GZ ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz)
add_custom_command(OUTPUT ${RISCUTI_CHANGELOG_GZ}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/debian
    COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/debian/changelog > ${RISCUTI_CHANGELOG_GZ}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/debian/changelog VERBATIM)
add_custom_target(riscuti_changelog ALL DEPENDS ${RISCUTI_CHANGELOG_GZ})

foreach(componente IN ITEMS libreria sviluppo)
    string(TOUPPER ${componente} COMPONENTE)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${RISCUTI_CHANGELOG_GZ}
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${RISCUTI_PACCHETTO_${COMPONENTE}}
            COMPONENT ${componente})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VENDOR Belvorani)
set(CPACK_PACKAGE_CONTACT ${RISCUTI_MANUTENTORE})
set(CPACK_COMPONENTS_ALL libreria sviluppo)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SOURCE belvoraniriscuticontrassegni)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_LIBRERIA_PACKAGE_NAME ${RISCUTI_PACCHETTO_LIBRERIA})
# dpkg's ldconfig trigger instead of the postinst and postrm that would call ldconfig themselves:
# CPack writes those only when CONTROL_EXTRA names no file of that name, and adds a listed file
# only if it exists, so the two names below keep the package free of maintainer scripts.
set(CPACK_DEBIAN_LIBRERIA_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/triggers
    ${CMAKE_CURRENT_BINARY_DIR}/debian/nessuno/postinst
    ${CMAKE_CURRENT_BINARY_DIR}/debian/nessuno/postrm)
set(CPACK_DEBIAN_LIBRERIA_PACKAGE_SECTION libs)
# Loaded at run time, so no symbol names them: the QMYSQL driver plugin the connections open
# with, and Qt's Italian texts for the buttons of the component's message boxes.
set(CPACK_DEBIAN_LIBRERIA_PACKAGE_DEPENDS "libqt6sql6-mysql, qt6-translations-l10n")
set(CPACK_DEBIAN_LIBRERIA_DESCRIPTION
"collection and remittance of cash-on-delivery amounts (Qt widgets)
The component of the Gestione Trasporti suite that records how the
cash-on-delivery amounts and the advance and freight-collect charges of a
courier's waybills were collected, gathers them into numbered remittances,
prints their covering letters and cancels remittances. A host application
loads the library and opens its windows; their texts are Italian and their
images are built into the library. The database is MariaDB or MySQL,
reached through Qt's QMYSQL driver.")

set(CPACK_DEBIAN_SVILUPPO_PACKAGE_NAME ${RISCUTI_PACCHETTO_SVILUPPO})
set(CPACK_DEBIAN_SVILUPPO_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_SVILUPPO_DEPENDS libreria)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_SVILUPPO_PACKAGE_DEPENDS qt6-base-dev)
set(CPACK_DEBIAN_SVILUPPO_DESCRIPTION
"collection and remittance of cash-on-delivery amounts - development files
The headers, the CMake package (find_package(BelvoraniRiscutiContrassegni)
with the target Belvorani::RiscutiContrassegni) and the pkg-config file a host
application of the Gestione Trasporti suite is built with.")

include(CPack)
