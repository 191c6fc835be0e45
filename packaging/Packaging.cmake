# Installs Orvalle where Debian puts games and builds its Debian package with CPack:
#   <prefix>/games/orvalle            launcher: starts the game in its data folder
#   <prefix>/games/orvalle-sim        the headless runner
#   <prefix>/lib/games/orvalle/       the game program itself
#   <prefix>/share/games/orvalle/     map, images, music and the MIDI patch index
# plus a desktop entry, an icon, manual pages, the copyright file and the changelog.
set(ORVALLE_GAMES_BINDIR games CACHE STRING "Launcher and orvalle-sim, relative to the prefix")
set(ORVALLE_GAMES_LIBDIR lib/games/orvalle CACHE STRING "The game program, relative to the prefix")
set(ORVALLE_GAMES_DATADIR share/games/orvalle CACHE STRING "The game's data, relative to the prefix")
set(ORVALLE_FREEPATS_CFG /etc/timidity/freepats.cfg CACHE FILEPATH
    "Debian freepats' own patch index, which the game's index is made from")

# The version is the one of the newest changelog entry, so that the two never disagree.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog newest LIMIT_COUNT 1)
string(REGEX REPLACE "^orvalle \\(([^)]+)\\).*" "\\1" ORVALLE_VERSION "${newest}")

set(packaging ${CMAKE_CURRENT_LIST_DIR})
set(made ${CMAKE_BINARY_DIR}/packaging)
set(ORVALLE_DATA_PATH ${CMAKE_INSTALL_PREFIX}/${ORVALLE_GAMES_DATADIR})

# The launcher finds the data and the program relative to itself, so any prefix works.
file(RELATIVE_PATH DATA_FROM_LAUNCHER /${ORVALLE_GAMES_BINDIR} /${ORVALLE_GAMES_DATADIR})
file(RELATIVE_PATH GAME_FROM_LAUNCHER /${ORVALLE_GAMES_BINDIR} /${ORVALLE_GAMES_LIBDIR}/orvalle)
configure_file(${packaging}/orvalle.in ${made}/orvalle @ONLY)

install(PROGRAMS ${made}/orvalle DESTINATION ${ORVALLE_GAMES_BINDIR})
install(TARGETS orvalle-sim RUNTIME DESTINATION ${ORVALLE_GAMES_BINDIR})
install(TARGETS orvalle RUNTIME DESTINATION ${ORVALLE_GAMES_LIBDIR})
install(FILES data/orvalle.map data/clkcwhrv.mid DESTINATION ${ORVALLE_GAMES_DATADIR})
install(DIRECTORY data/images DESTINATION ${ORVALLE_GAMES_DATADIR} FILES_MATCHING PATTERN "*.bmp")
install(DIRECTORY data/sounds DESTINATION ${ORVALLE_GAMES_DATADIR} FILES_MATCHING PATTERN "*.wav")
install(FILES ${packaging}/orvalle.desktop DESTINATION share/applications)
install(FILES ${packaging}/orvalle.png DESTINATION share/icons/hicolor/64x64/apps)
install(FILES ${packaging}/copyright DESTINATION share/doc/orvalle)

# The MIDI patch index for the paths where Debian's freepats installs its patches.
if(EXISTS ${ORVALLE_FREEPATS_CFG})
    add_custom_command(OUTPUT ${made}/orvalle-patches.cfg
        COMMAND ${PROJECT_SOURCE_DIR}/tools/setup-sound.sh ${made}/orvalle-patches.cfg
            ${ORVALLE_FREEPATS_CFG}
        DEPENDS ${PROJECT_SOURCE_DIR}/tools/setup-sound.sh ${ORVALLE_FREEPATS_CFG} VERBATIM)
    add_custom_target(orvalle-patches ALL DEPENDS ${made}/orvalle-patches.cfg)
    install(FILES ${made}/orvalle-patches.cfg DESTINATION ${ORVALLE_GAMES_DATADIR})
else()
    message(WARNING "${ORVALLE_FREEPATS_CFG} not found (apt-get install freepats): "
        "the installed game will have no MIDI patch index and play no music")
endif()

# Manual pages and the changelog, compressed as Debian wants them (no name, no time stamp).
set(compressed)
foreach(page orvalle.6 orvalle-sim.6)
    configure_file(${packaging}/${page}.in ${made}/${page} @ONLY)
    list(APPEND compressed ${page})
endforeach()
configure_file(${packaging}/changelog ${made}/changelog COPYONLY)
list(APPEND compressed changelog)
set(gzipped)
foreach(file ${compressed})
    add_custom_command(OUTPUT ${made}/${file}.gz
        COMMAND gzip -9nkf ${file}
        WORKING_DIRECTORY ${made} DEPENDS ${made}/${file} VERBATIM)
    list(APPEND gzipped ${made}/${file}.gz)
endforeach()
add_custom_target(orvalle-docs ALL DEPENDS ${gzipped})
install(FILES ${made}/orvalle.6.gz ${made}/orvalle-sim.6.gz DESTINATION share/man/man6)
install(FILES ${made}/changelog.gz DESTINATION share/doc/orvalle)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalle)
set(CPACK_PACKAGE_VERSION ${ORVALLE_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvalle maintainers <maintainers@users.noreply.c-seed-edb39724.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The library dependencies (Allegro 4, the C and C++ runtimes) are read from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS freepats)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"real-time ecosystem game in a valley of cyclopes and spiders
You steer one creature, the avatar, through a scrolling top-down valley of
tiles. One-eyed cyclopes hunt you, giant spiders hunt the cyclopes, and
everything gets hungry and eats fruit trees and carcasses. The dead lie as
meat, then as bones, and then they are gone. Music loops the whole time.

The package also holds orvalle-sim, which runs the game's rules without a
window and prints a census of the valley as CSV.")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
