# The installed game: the executable in bin/, its data in share/games/nookvale/ (read only;
# the program finds it from its own folder, so the tree works under any prefix), the desktop
# entry, icons, AppStream metadata and manual page, and the licence and credits.
include(GNUInstallDirs)

set(NOOKVALE_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/nookvale)
# The program looks for its data at this path relative to its own folder.
file(RELATIVE_PATH data_from_bin /${CMAKE_INSTALL_BINDIR} /${NOOKVALE_INSTALL_DATADIR})
if(NOT data_from_bin STREQUAL "../share/games/nookvale")
  message(FATAL_ERROR "The game reads its installed data from bin/../share/games/nookvale; "
                      "CMAKE_INSTALL_BINDIR and CMAKE_INSTALL_DATADIR give ${data_from_bin}")
endif()

option(NOOKVALE_INSTALL_PAK "Install the data packed into one main.pak instead of its folders" OFF)
option(NOOKVALE_DEBIAN_DOCS "Install the Debian copyright file and changelog (for the package)" OFF)

install(TARGETS nookvale RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Only the data: whatever a run of the build's game folder wrote there stays behind.
set(NOOKVALE_DATA_FOLDERS Graphics Menu Levels Sound Music English)
set(NOOKVALE_DATA_FILES classes.xml language.ini sound.ini)
if(NOOKVALE_INSTALL_PAK)
  set(stage ${CMAKE_BINARY_DIR}/pak/stage)
  set(copy_commands)
  foreach(d ${NOOKVALE_DATA_FOLDERS})
    list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E copy_directory ${NOOKVALE_GAME_DIR}/${d} ${stage}/${d})
  endforeach()
  foreach(f ${NOOKVALE_DATA_FILES})
    list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E copy ${NOOKVALE_GAME_DIR}/${f} ${stage}/${f})
  endforeach()
  add_custom_target(game_pak ALL
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    ${copy_commands}
    COMMAND makepak ${stage} ${CMAKE_BINARY_DIR}/pak/main.pak
    DEPENDS content game_data makepak
    COMMENT "Packing the game's data into main.pak" VERBATIM)
  install(FILES ${CMAKE_BINARY_DIR}/pak/main.pak DESTINATION ${NOOKVALE_INSTALL_DATADIR})
else()
  foreach(d ${NOOKVALE_DATA_FOLDERS})
    install(DIRECTORY ${NOOKVALE_GAME_DIR}/${d} DESTINATION ${NOOKVALE_INSTALL_DATADIR})
  endforeach()
  foreach(f ${NOOKVALE_DATA_FILES})
    install(FILES ${NOOKVALE_GAME_DIR}/${f} DESTINATION ${NOOKVALE_INSTALL_DATADIR})
  endforeach()
endif()
install(FILES ${NOOKVALE_GAME_DIR}/CREDITS.txt DESTINATION ${NOOKVALE_INSTALL_DATADIR})

# The desktop's view of the game.
set(desktop ${PROJECT_SOURCE_DIR}/data/desktop)
# The menu entry starts the program by its installed path: /usr/games is not on every PATH.
set(NOOKVALE_EXECUTABLE ${CMAKE_INSTALL_FULL_BINDIR}/nookvale)
configure_file(${desktop}/nookvale.desktop.in ${NOOKVALE_DESKTOP_ENTRY} @ONLY)
install(FILES ${NOOKVALE_DESKTOP_ENTRY} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/io.github.nookvale.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
if(NOOKVALE_CONTENT)
  install(DIRECTORY ${NOOKVALE_DESKTOP_ICONS}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/nookvale.6.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND ${GZIP} -9 -n -c ${desktop}/nookvale.6 > ${CMAKE_BINARY_DIR}/man/nookvale.6.gz
  DEPENDS ${desktop}/nookvale.6
  COMMENT "Manual page" VERBATIM)
add_custom_target(manual_page ALL DEPENDS ${CMAKE_BINARY_DIR}/man/nookvale.6.gz)
install(FILES ${CMAKE_BINARY_DIR}/man/nookvale.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(NOOKVALE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/nookvale)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CREDITS DESTINATION ${NOOKVALE_INSTALL_DOCDIR})
if(NOOKVALE_DEBIAN_DOCS)
  set(debian ${PROJECT_SOURCE_DIR}/packaging/debian)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian-docs/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debian-docs
    COMMAND ${GZIP} -9 -n -c ${debian}/changelog > ${CMAKE_BINARY_DIR}/debian-docs/changelog.gz
    DEPENDS ${debian}/changelog
    COMMENT "Debian changelog" VERBATIM)
  add_custom_target(debian_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/debian-docs/changelog.gz)
  install(FILES ${debian}/copyright ${CMAKE_BINARY_DIR}/debian-docs/changelog.gz
          DESTINATION ${NOOKVALE_INSTALL_DOCDIR})
endif()
