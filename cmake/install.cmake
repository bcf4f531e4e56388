# Installation and the Debian package: both programs, a menu entry, an icon
# and a bash completion for each, the metadata software centres show, the
# README and the licence.
include(GNUInstallDirs)

set(EARSHOT_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(EARSHOT_PROGRAMS wavemon specmon)
# Raster sizes for desktops that do not draw the scalable icons themselves.
set(EARSHOT_ICON_SIZES 16 24 32 48 64 128 256)

find_program(EARSHOT_RSVG_CONVERT rsvg-convert REQUIRED)

install(TARGETS ${EARSHOT_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

function(earshot_install_icons program)
    set(svg ${EARSHOT_PACKAGING_DIR}/${program}.svg)
    install(FILES ${svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    set(pngs "")
    foreach(size ${EARSHOT_ICON_SIZES})
        set(dir ${CMAKE_BINARY_DIR}/packaging/icons/${size}x${size})
        add_custom_command(OUTPUT ${dir}/${program}.png
            COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
            COMMAND ${EARSHOT_RSVG_CONVERT} --width ${size} --height ${size} --output ${dir}/${program}.png ${svg}
            DEPENDS ${svg}
            COMMENT "Rendering the ${size}x${size} icon of ${program}"
            VERBATIM)
        list(APPEND pngs ${dir}/${program}.png)
        install(FILES ${dir}/${program}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(${program}_icons ALL DEPENDS ${pngs})
endfunction()

foreach(program ${EARSHOT_PROGRAMS})
    install(FILES ${EARSHOT_PACKAGING_DIR}/${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    earshot_install_icons(${program})
endforeach()

# A manual page for each program, made by the build from the text of its
# --help, and the changelog Debian wants of a package.
add_executable(earshot_manual_page ${EARSHOT_PACKAGING_DIR}/manual_page.cpp)
target_link_libraries(earshot_manual_page PRIVATE earshot_wavemon_usage earshot_specmon_usage)
string(SUBSTRING "${EARSHOT_RELEASE_DAY}" 5 -1 EARSHOT_MANUAL_DATE)
set(EARSHOT_MANUAL_DIR ${CMAKE_BINARY_DIR}/packaging/man)
set(pages "")
foreach(program ${EARSHOT_PROGRAMS})
    set(page ${EARSHOT_MANUAL_DIR}/${program}.1)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${EARSHOT_MANUAL_DIR}
        COMMAND earshot_manual_page ${program} ${EARSHOT_MANUAL_DATE} ${page}
        COMMAND gzip -9nf ${page}
        DEPENDS earshot_manual_page
        COMMENT "Writing the manual page of ${program}"
        VERBATIM)
    list(APPEND pages ${page}.gz)
endforeach()
add_custom_target(earshot_manual_pages ALL DEPENDS ${pages})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The bash completion of each program, made by the build from its option
# table, where bash looks for it when the program's name is first completed.
add_executable(earshot_bash_completion ${EARSHOT_PACKAGING_DIR}/bash_completion.cpp)
target_link_libraries(earshot_bash_completion PRIVATE earshot_wavemon_usage earshot_specmon_usage)
set(EARSHOT_COMPLETION_DIR ${CMAKE_BINARY_DIR}/packaging/completions)
set(completions "")
foreach(program ${EARSHOT_PROGRAMS})
    add_custom_command(OUTPUT ${EARSHOT_COMPLETION_DIR}/${program}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${EARSHOT_COMPLETION_DIR}
        COMMAND earshot_bash_completion ${program} ${EARSHOT_COMPLETION_DIR}/${program}
        DEPENDS earshot_bash_completion
        COMMENT "Writing the bash completion of ${program}"
        VERBATIM)
    list(APPEND completions ${EARSHOT_COMPLETION_DIR}/${program})
endforeach()
add_custom_target(earshot_bash_completions ALL DEPENDS ${completions})
install(FILES ${completions} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

set(EARSHOT_RELEASE_DATE_RFC2822 "${EARSHOT_RELEASE_DAY} 12:00:00 +0000")
configure_file(${EARSHOT_PACKAGING_DIR}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(earshot_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/earshot)

# The metadata software centres show, with the version and its day as the
# changelog has them ("Tue, 08 Dec 2026" becomes 2026-12-08).
set(EARSHOT_METAINFO_ID org.example.earshot)
set(EARSHOT_HOMEPAGE https://example.org/earshot/)
if(NOT EARSHOT_RELEASE_DAY MATCHES "^[A-Z][a-z][a-z], ([0-3][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])$")
    message(FATAL_ERROR "EARSHOT_RELEASE_DAY is not a day like 'Tue, 08 Dec 2026': ${EARSHOT_RELEASE_DAY}")
endif()
set(releaseDay ${CMAKE_MATCH_1})
set(releaseYear ${CMAKE_MATCH_3})
set(monthNames Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND monthNames ${CMAKE_MATCH_2} releaseMonth)
if(releaseMonth LESS 0)
    message(FATAL_ERROR "EARSHOT_RELEASE_DAY has no month: ${EARSHOT_RELEASE_DAY}")
endif()
math(EXPR releaseMonth "${releaseMonth} + 1")
if(releaseMonth LESS 10)
    set(releaseMonth 0${releaseMonth})
endif()
set(EARSHOT_RELEASE_ISO_DAY ${releaseYear}-${releaseMonth}-${releaseDay})
set(EARSHOT_METAINFO ${CMAKE_BINARY_DIR}/packaging/${EARSHOT_METAINFO_ID}.metainfo.xml)
configure_file(${EARSHOT_PACKAGING_DIR}/earshot.metainfo.xml.in ${EARSHOT_METAINFO} @ONLY)
install(FILES ${EARSHOT_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian looks for a package's licence under the name "copyright".
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/earshot)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/earshot RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME earshot)
set(CPACK_PACKAGE_VENDOR "the earshot developers")
set(CPACK_PACKAGE_CONTACT "the earshot developers <earshot@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "live waveform and spectrum monitors of the default audio input")
# Lines of the long description stay under 80 columns in the package's control data.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "wavemon draws the default audio input as an oscilloscope trace, specmon draws\n"
    "its power spectrum. Both capture mono 16-bit audio at 48 kHz, redraw their\n"
    "window about ten times a second and, when they exit, write the numbers they\n"
    "last showed to out.txt in the directory they were started in.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The run-time libraries come from what the binaries really link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian has an unrelated package that also installs /usr/bin/wavemon.
set(CPACK_DEBIAN_PACKAGE_CONFLICTS wavemon)

include(CPack)
