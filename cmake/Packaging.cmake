# Debian packages: `cpack -G DEB` in a build folder makes
#   brenvopos       the terminal, its launcher, the reader libraries' place (with the stand-ins),
#                   a desktop entry and its icon;
#   brenvo-backend  the reference backend with a systemd unit.
# The launcher keeps the program and its reader libraries together under /usr/lib/brenvopos.

set(BRENVO_PACKAGING ${PROJECT_SOURCE_DIR}/resources/packaging)
set(BRENVO_MAINTAINER "BrenvoPOS maintainers <maintainers@brenvo.cn>")

install(TARGETS brenvopos RUNTIME DESTINATION lib/brenvopos COMPONENT terminal)
install(TARGETS reader_function_full reader_hf_full LIBRARY DESTINATION lib/brenvopos/readers
        COMPONENT terminal)
install(PROGRAMS ${BRENVO_PACKAGING}/brenvopos.sh DESTINATION bin RENAME brenvopos
        COMPONENT terminal)
install(FILES ${BRENVO_PACKAGING}/brenvopos.desktop DESTINATION share/applications
        COMPONENT terminal)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icon/src/favicon.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME brenvopos.svg COMPONENT terminal)

install(TARGETS brenvo-backend RUNTIME DESTINATION bin COMPONENT backend)
install(FILES ${BRENVO_PACKAGING}/brenvo-backend.service DESTINATION /lib/systemd/system
        COMPONENT backend)

# What Debian asks of every package: its copyright, a changelog and a manual page, compressed
# reproducibly.
string(TIMESTAMP BRENVO_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
foreach(package brenvopos brenvo-backend)
    if(package STREQUAL "brenvopos")
        set(component terminal)
    else()
        set(component backend)
    endif()
    set(PACKAGE ${package})
    set(VERSION ${PROJECT_VERSION})
    set(MAINTAINER ${BRENVO_MAINTAINER})
    set(DATE ${BRENVO_CHANGELOG_DATE})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/packaging/${package})
    configure_file(${BRENVO_PACKAGING}/changelog.in ${out}/changelog @ONLY)
    configure_file(${BRENVO_PACKAGING}/${package}.1 ${out}/${package}.1 COPYONLY)
    foreach(file changelog ${package}.1)
        execute_process(COMMAND gzip -9nf ${out}/${file})
    endforeach()
    install(FILES ${BRENVO_PACKAGING}/copyright ${out}/changelog.gz
            DESTINATION share/doc/${package} COMPONENT ${component})
    install(FILES ${out}/${package}.1.gz DESTINATION share/man/man1 COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VENDOR "Brenvo")
set(CPACK_PACKAGE_CONTACT ${BRENVO_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL terminal backend)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.brenvo.cn")

set(CPACK_DEBIAN_TERMINAL_PACKAGE_NAME brenvopos)
set(CPACK_DEBIAN_TERMINAL_PACKAGE_SECTION misc)
set(CPACK_COMPONENT_TERMINAL_DESCRIPTION "counter terminal of a laundry and dry-cleaning store
Store staff sign in, find or create the customer, take garments in, take
payment, print tickets and labels, send garments to the factory and back,
check and hang them, and hand them out; they also manage members and read
reports. All business data lives on the chain's backend.")
# The screens' QML modules are loaded at run time, where no library scan can see them.
set(CPACK_DEBIAN_TERMINAL_PACKAGE_DEPENDS
    "qml-module-qtquick2, qml-module-qtquick-controls, qml-module-qtquick-controls2, qml-module-qtquick-dialogs, qml-module-qtquick-window2, qml-module-qtquick-layouts, qml-module-qtqml, qml-module-qtmultimedia, libqt5multimedia5-plugins, libqt5svg5, fonts-wqy-microhei")

set(CPACK_DEBIAN_BACKEND_PACKAGE_NAME brenvo-backend)
set(CPACK_DEBIAN_BACKEND_PACKAGE_SECTION net)
set(CPACK_COMPONENT_BACKEND_DESCRIPTION "reference backend of the BrenvoPOS counter terminal
A small service that behaves like the chain's backend, with a demo store, so
the terminal can be run, shown and tested on one machine. The unit
brenvo-backend.service runs it on 127.0.0.1:8686.")

include(CPack)
