# SPDX-License-Identifier: MIT
# Two ways to install from one build folder:
#  - cmake --install BUILD --prefix FOLDER: a portable program folder, data beside the program;
#  - cmake --build BUILD --target package: rinkomat_VERSION_ARCH.deb in the system layout, the data in
#    /usr/share/rinkomat, copied into the user's data folder on the first start.
include(GNUInstallDirs)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

# Portable (the default component).
install(TARGETS rinkomat rinkomat-cli rinkomat-cli-desktop DESTINATION . COMPONENT portable)
# The entry finds the program beside itself (%k is the entry's own path), wherever the folder moves.
set(RINKOMAT_EXEC "sh -c \"exec \\\\\"\\\\$(dirname \\\\\"\\\\$1\\\\\")/rinkomat\\\\\"\" rinkomat %k")
configure_file(${packaging}/rinkomat.desktop.in ${CMAKE_BINARY_DIR}/portable/rinkomat.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/portable/rinkomat.desktop DESTINATION . COMPONENT portable)
# Completion beside the portable program: "source rinkomat-cli.bash" in ~/.bashrc.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/rinkomat-cli.bash-completion RENAME rinkomat-cli.bash DESTINATION .
        COMPONENT portable)
install(CODE "execute_process(COMMAND \${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/dist
                  -DDEST=\${CMAKE_INSTALL_PREFIX} -P ${PROJECT_SOURCE_DIR}/cmake/stage.cmake)"
        COMPONENT portable)

# The system layout, for the package only.
install(TARGETS rinkomat rinkomat-cli DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT system EXCLUDE_FROM_ALL)
install(TARGETS rinkomat-cli-desktop DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/rinkomat COMPONENT system EXCLUDE_FROM_ALL)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/dist/souteze ${PROJECT_SOURCE_DIR}/dist/ad
        DESTINATION ${CMAKE_INSTALL_DATADIR}/rinkomat COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/dist/1.st DESTINATION ${CMAKE_INSTALL_DATADIR}/rinkomat
        COMPONENT system EXCLUDE_FROM_ALL)
set(RINKOMAT_EXEC "rinkomat")
configure_file(${packaging}/rinkomat.desktop.in ${CMAKE_BINARY_DIR}/system/rinkomat.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/system/rinkomat.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT system EXCLUDE_FROM_ALL)
foreach(size 48 128 256)
    install(FILES ${packaging}/icons/rinkomat-${size}.png RENAME rinkomat.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT system EXCLUDE_FROM_ALL)
endforeach()
install(FILES ${packaging}/icons/rinkomat.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${packaging}/cz.rinkomat.Rinkomat.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rinkomat COMPONENT system EXCLUDE_FROM_ALL)
# Compressed as Debian wants them: -n keeps the time out, so the same sources give the same bytes.
foreach(file rinkomat.1 rinkomat-cli.1 changelog)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/system/${file}.gz
                       COMMAND gzip -9n -c ${packaging}/${file} > ${CMAKE_BINARY_DIR}/system/${file}.gz
                       DEPENDS ${packaging}/${file})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${CMAKE_BINARY_DIR}/system/rinkomat.1.gz
                                              ${CMAKE_BINARY_DIR}/system/rinkomat-cli.1.gz
                                              ${CMAKE_BINARY_DIR}/system/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/rinkomat-cli.bash-completion RENAME rinkomat-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_BINARY_DIR}/system/rinkomat.1.gz ${CMAKE_BINARY_DIR}/system/rinkomat-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT system EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_BINARY_DIR}/system/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rinkomat
        COMPONENT system EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rinkomat)
set(CPACK_PACKAGE_VENDOR "Rinkomat developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "results, standings and statistics of a hockey league season")
set(CPACK_PACKAGE_DESCRIPTION "Rinkomat follows one season of a 14-team hockey league: type the
results round by round and read the standings, streaks, position graph, cross
table, a team's balance and matches, head-to-head meetings and missing results.
rinkomat-cli prints every view as text, JSON, CSV or HTML.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL system)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Rinkomat developers <dev@rinkomat.example>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.rinkomat.example/velmor")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
include(CPack)
