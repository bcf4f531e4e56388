# Installation and the Debian package: both programs, a menu entry and an icon
# for each, the README and the licence.
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
