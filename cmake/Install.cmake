# Where `cmake --install` puts the program and its desktop integration, and the Debian
# package built from that (scripts/package deb): the window program, the simulated unit
# (for workshops and developers), the desktop entry, icons, AppStream metainfo, the file
# types, the manual pages and the shell completion.

include(GNUInstallDirs)

set(_linux ${PROJECT_SOURCE_DIR}/resources/linux)
set(_icons ${PROJECT_SOURCE_DIR}/resources/icons)

if(TARGET tavrin)
  install(TARGETS tavrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET tavrin-unit-sim)
  install(TARGETS tavrin-unit-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${_linux}/tavrin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_linux}/example.korvelan.tavrin.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_linux}/tavrin-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tavrin.xml)
install(FILES ${_icons}/tavrin.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${_icons}/tavrin-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tavrin.png)
endforeach()
# bash-completion loads a command's completion from a file of the command's name.
foreach(command tavrin tavrin-unit-sim)
  install(FILES ${_linux}/tavrin.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${command})
endforeach()

# Manual pages and the changelog are installed compressed, as Debian wants them.
set(_compressed)
foreach(source tavrin.1 tavrin-unit-sim.1 changelog)
  set(_out ${CMAKE_CURRENT_BINARY_DIR}/compressed/${source}.gz)
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/compressed
    COMMAND gzip -9nc ${_linux}/${source} > ${_out}
    DEPENDS ${_linux}/${source} VERBATIM)
  list(APPEND _compressed ${_out})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${_compressed})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/tavrin.1.gz ${CMAKE_CURRENT_BINARY_DIR}/compressed/tavrin-unit-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_linux}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: tavrin_109_<arch>.deb, stripped, its library dependencies found
# by dpkg-shlibdeps (so the right Qt packages are pulled in).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Korvelan)
set(CPACK_PACKAGE_CONTACT "Korvelan <support@korvelan.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration program for the TAVRIN-X ignition unit")
set(CPACK_PACKAGE_DESCRIPTION
  "Tavrin reads the settings of a TAVRIN-X capacitor-discharge motorcycle ignition\n"
  "unit over a serial port, edits its two ignition advance curves and every other\n"
  "setting, programs and verifies the unit, shows the running engine live and\n"
  "records monitor logs. It speaks English, German and Czech.\n"
  "\n"
  "The package also holds tavrin-unit-sim, a simulated unit on a pseudo-terminal\n"
  "for workshops and developers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://korvelan.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's platform plugins are loaded at run time, so the library scan cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
