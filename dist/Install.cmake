# SPDX-License-Identifier: GPL-3.0-or-later
# What gets installed beside the programs, and the Debian and macOS packages. Included from the
# top level (not a subdirectory) so that the bundle's icon can be a source of `lumenar`.
include(GNUInstallDirs)

set(LUMENAR_DIST ${CMAKE_CURRENT_LIST_DIR})
set(LUMENAR_DIST_OUT ${CMAKE_BINARY_DIR}/dist)
# No address of the project exists yet: .invalid is reserved (RFC 2606, RFC 6761) and can never
# resolve, so mail to it fails on the sender's own machine instead of reaching a stranger.
set(LUMENAR_MAINTAINER "The Lumenar maintainers <maintainers@lumenar.invalid>")
if(CMAKE_OSX_DEPLOYMENT_TARGET)
    set(LUMENAR_MACOS_MINIMUM ${CMAKE_OSX_DEPLOYMENT_TARGET})
else()
    # Homebrew's Qt on the macos-14 runner is built for macOS 14 and later.
    set(LUMENAR_MACOS_MINIMUM 14.0)
endif()

foreach(file ${LUMENAR_APP_ID}.metainfo.xml lumenar.1 lumenar-inspect.1 Info.plist
        deb/changelog)
    configure_file(${LUMENAR_DIST}/${file}.in ${LUMENAR_DIST_OUT}/${file} @ONLY)
endforeach()

# The icon in every size anybody asks for, drawn from the scalable one; 96 is the resource's own.
find_program(LUMENAR_RSVG_CONVERT rsvg-convert)
if(NOT LUMENAR_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert draws the icons: install librsvg2-bin (make setup does)")
endif()
set(icon_svg ${LUMENAR_DIST}/${LUMENAR_APP_ID}.svg)
set(LUMENAR_DIST_FILES)
foreach(size 16 32 48 64 128 256 512 1024)
    set(png ${LUMENAR_DIST_OUT}/icons/${size}/${LUMENAR_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMENAR_DIST_OUT}/icons/${size}
        COMMAND ${LUMENAR_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg}
        DEPENDS ${icon_svg} VERBATIM)
    set(icon_${size} ${png})
    list(APPEND LUMENAR_DIST_FILES ${png})
endforeach()

# The bundle's icon; iconutil on a Mac, png2icns (icnsutils) elsewhere so that it can be checked.
set(LUMENAR_ICNS ${LUMENAR_DIST_OUT}/Lumenar.icns)
find_program(LUMENAR_ICONUTIL iconutil)
find_program(LUMENAR_PNG2ICNS png2icns)
if(LUMENAR_ICONUTIL)
    set(iconset ${LUMENAR_DIST_OUT}/Lumenar.iconset)
    set(copies)
    foreach(pair 16:16x16 32:16x16@2x 32:32x32 64:32x32@2x 128:128x128 256:128x128@2x
            256:256x256 512:256x256@2x 512:512x512 1024:512x512@2x)
        string(REPLACE ":" ";" pair ${pair})
        list(GET pair 0 size)
        list(GET pair 1 name)
        list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy ${icon_${size}}
            ${iconset}/icon_${name}.png)
    endforeach()
    add_custom_command(OUTPUT ${LUMENAR_ICNS}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${iconset} ${copies}
        COMMAND ${LUMENAR_ICONUTIL} -c icns -o ${LUMENAR_ICNS} ${iconset}
        DEPENDS ${icon_16} ${icon_32} ${icon_64} ${icon_128} ${icon_256} ${icon_512} ${icon_1024}
        VERBATIM)
elseif(LUMENAR_PNG2ICNS)
    add_custom_command(OUTPUT ${LUMENAR_ICNS}
        COMMAND ${LUMENAR_PNG2ICNS} ${LUMENAR_ICNS} ${icon_16} ${icon_32} ${icon_128} ${icon_256}
            ${icon_512} ${icon_1024}
        DEPENDS ${icon_16} ${icon_32} ${icon_128} ${icon_256} ${icon_512} ${icon_1024} VERBATIM)
else()
    message(STATUS "Neither iconutil nor png2icns found: no Lumenar.icns")
    unset(LUMENAR_ICNS)
endif()
list(APPEND LUMENAR_DIST_FILES ${LUMENAR_ICNS})

# Manual pages and the package's change log, compressed as Debian wants them.
if(NOT APPLE)
    foreach(file lumenar.1 lumenar-inspect.1 deb/changelog)
        add_custom_command(OUTPUT ${LUMENAR_DIST_OUT}/${file}.gz
            COMMAND gzip -9nf -k ${LUMENAR_DIST_OUT}/${file}
            DEPENDS ${LUMENAR_DIST_OUT}/${file} VERBATIM)
        list(APPEND LUMENAR_DIST_FILES ${LUMENAR_DIST_OUT}/${file}.gz)
    endforeach()
endif()

add_custom_target(lumenar_dist ALL DEPENDS ${LUMENAR_DIST_FILES})

if(APPLE)
    set_target_properties(lumenar PROPERTIES
        MACOSX_BUNDLE TRUE
        OUTPUT_NAME Lumenar
        MACOSX_BUNDLE_INFO_PLIST ${LUMENAR_DIST_OUT}/Info.plist)
    if(LUMENAR_ICNS)
        target_sources(lumenar PRIVATE ${LUMENAR_ICNS})
        set_source_files_properties(${LUMENAR_ICNS} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)
    endif()
    install(TARGETS lumenar BUNDLE DESTINATION .)
    install(TARGETS lumenar-inspect RUNTIME DESTINATION Lumenar.app/Contents/MacOS)
    # Where the program looks beside itself: MacOS/../share/lumenar/translations.
    install(FILES ${LUMENAR_QM} DESTINATION Lumenar.app/Contents/share/lumenar/translations)
    # Qt's frameworks go into the bundle so that the disk image runs without Homebrew. macdeployqt
    # deploys only the cocoa platform plugin; lumenar-inspect needs the offscreen one, so it is
    # copied in first and handed over as one more binary whose libraries are deployed.
    find_program(LUMENAR_MACDEPLOYQT macdeployqt HINTS ${Qt5_DIR}/../../../bin)
    if(LUMENAR_MACDEPLOYQT)
        install(FILES $<TARGET_FILE:Qt5::QOffscreenIntegrationPlugin>
            DESTINATION Lumenar.app/Contents/PlugIns/platforms)
        install(CODE "set(app \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/Lumenar.app\")
            execute_process(COMMAND \"${LUMENAR_MACDEPLOYQT}\" \"\${app}\"
                \"-executable=\${app}/Contents/MacOS/lumenar-inspect\"
                \"-executable=\${app}/Contents/PlugIns/platforms/libqoffscreen.dylib\"
                RESULT_VARIABLE status)
            if(NOT status EQUAL 0)
                message(FATAL_ERROR \"macdeployqt failed: \${status}\")
            endif()")
    endif()
    set(CPACK_GENERATOR DragNDrop)
    set(CPACK_DMG_VOLUME_NAME Lumenar)
    set(CPACK_PACKAGE_FILE_NAME Lumenar-${PROJECT_VERSION})
else()
    install(TARGETS lumenar lumenar-inspect RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    set(data ${CMAKE_INSTALL_DATADIR})
    set(icons ${data}/icons/hicolor)
    install(FILES ${LUMENAR_DIST}/${LUMENAR_APP_ID}.desktop DESTINATION ${data}/applications)
    install(FILES ${LUMENAR_DIST}/${LUMENAR_APP_ID}.xml DESTINATION ${data}/mime/packages)
    install(FILES ${LUMENAR_DIST_OUT}/${LUMENAR_APP_ID}.metainfo.xml DESTINATION ${data}/metainfo)
    install(FILES ${LUMENAR_DIST}/${LUMENAR_APP_ID}.thumbnailer DESTINATION ${data}/thumbnailers)
    install(FILES ${icon_svg} DESTINATION ${icons}/scalable/apps)
    install(FILES ${PROJECT_SOURCE_DIR}/res/Lumenar.png DESTINATION ${icons}/96x96/apps
        RENAME ${LUMENAR_APP_ID}.png)
    install(FILES ${icon_48} DESTINATION ${icons}/48x48/apps)
    install(FILES ${icon_256} DESTINATION ${icons}/256x256/apps)
    install(FILES ${LUMENAR_DIST_OUT}/lumenar.1.gz ${LUMENAR_DIST_OUT}/lumenar-inspect.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${LUMENAR_DIST}/deb/copyright ${LUMENAR_DIST_OUT}/deb/changelog.gz
        DESTINATION ${data}/doc/lumenar)
    install(FILES ${LUMENAR_QM} DESTINATION ${data}/lumenar/translations)
    set(CPACK_GENERATOR DEB)
    set(CMAKE_STRIP ${LUMENAR_DIST}/deb/strip CACHE FILEPATH "strip, as dh_strip does it" FORCE)
endif()

set(CPACK_PACKAGE_NAME lumenar)
set(CPACK_PACKAGE_VENDOR "The Lumenar maintainers")
set(CPACK_PACKAGE_CONTACT ${LUMENAR_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for laser-show frame files")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumenar shows the frames of ILDA laser-show files and of the Vectrion Pyx\n"
    "controller's pictures, catalogues and animations from the front, the side,\n"
    "the top and in a rotatable perspective. The command-line inspector\n"
    "lumenar-inspect prints what a show file holds and draws its frames.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (buttons, standard dialogs) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qttranslations5-l10n)
# No maintainer scripts: the MIME, launcher and icon caches follow dpkg's file triggers.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
