# The Debian package (`./dev package`): the programs with their templates, the standard
# charts and the manuals under /opt/quendra, the commands on the PATH, the desktop entry,
# the icons, the AppStream data and the man pages. /opt/quendra is read-only for
# everybody, the superuser included: that tells the program to keep each user's books in
# the user's own data folder and never to replace itself.

# A second package, quendra-curia, holds the diocese's service; it is a component of the
# same build, everything else is the parish's package.
set(QUENDRA_INSTALL_DIR opt/quendra)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME quendra)
set(package_dir ${CMAKE_SOURCE_DIR}/packaging)
set(package_build_dir ${CMAKE_BINARY_DIR}/package-files)

# The package carries the version the program shows and the update compares.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/state/title_line.h caption REGEX "kMainCaption =")
string(REGEX MATCH "Vers\\. ([0-9.]+)" version_match "${caption}")
set(QUENDRA_VERSION ${CMAKE_MATCH_1})

# Programs and the names they have on the PATH.
set(commands quendra2015=quendra quendra-db=quendra-db quendra-report=quendra-report)
file(MAKE_DIRECTORY ${package_build_dir}/bin)
foreach(command IN LISTS commands)
  string(REPLACE "=" ";" pair ${command})
  list(GET pair 0 program)
  list(GET pair 1 name)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${QUENDRA_INSTALL_DIR})
    file(CREATE_LINK /${QUENDRA_INSTALL_DIR}/${program} ${package_build_dir}/bin/${name} SYMBOLIC)
    install(FILES ${package_build_dir}/bin/${name} DESTINATION usr/bin)
  endif()
endforeach()

# Templates and charts as the build lays them out beside the program.
foreach(table kr000000 kw000000)
  install(FILES ${QUENDRA_RUNTIME_DIR}/krw/${table}.dbf ${QUENDRA_RUNTIME_DIR}/krw/${table}.mdx
          DESTINATION ${QUENDRA_INSTALL_DIR}/krw)
endforeach()
install(FILES ${QUENDRA_RUNTIME_DIR}/templates/de/kw000000.dbf ${QUENDRA_RUNTIME_DIR}/templates/de/kw000000.mdx
        DESTINATION ${QUENDRA_INSTALL_DIR}/templates/de)

# The manuals are delivered by the administration; a checkout that has them in manuals/
# ships them.
file(GLOB manuals CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/manuals/*.pdf)
if(manuals)
  install(FILES ${manuals} DESTINATION ${QUENDRA_INSTALL_DIR})
endif()

# Our own manual, beside the program, where the help window finds it.
if(TARGET manual)
  install(DIRECTORY ${QUENDRA_RUNTIME_DIR}/manuale DESTINATION ${QUENDRA_INSTALL_DIR})
endif()

# The package's own documents: the copyright in the machine-readable format and the
# changelog, compressed without a time stamp so that a rebuild gives the same bytes.
set(changelog ${package_build_dir}/changelog.Debian.gz)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND gzip -9nc ${package_dir}/changelog > ${changelog}
  DEPENDS ${package_dir}/changelog
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${changelog})
install(FILES ${package_dir}/copyright ${changelog} DESTINATION usr/share/doc/quendra)
# The program and its files live in /opt/quendra on purpose (cmake/package.cmake's head).
install(FILES ${package_dir}/lintian-overrides DESTINATION usr/share/lintian/overrides RENAME quendra)

set(app_id it.velmora.quendra)
install(FILES ${package_dir}/${app_id}.desktop DESTINATION usr/share/applications)
install(FILES ${package_dir}/${app_id}.metainfo.xml DESTINATION usr/share/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${package_dir}/icons/quendra-${size}.png DESTINATION usr/share/icons/hicolor/${size}x${size}/apps
          RENAME quendra.png)
endforeach()
install(FILES ${package_dir}/icons/quendra.svg DESTINATION usr/share/icons/hicolor/scalable/apps)

set(man_pages)
foreach(page quendra-db quendra-report quendra-curia)
  set(compressed ${package_build_dir}/man/${page}.1.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_build_dir}/man
    COMMAND gzip -9nc ${package_dir}/man/${page}.1 > ${compressed}
    DEPENDS ${package_dir}/man/${page}.1
    VERBATIM)
  list(APPEND man_pages ${compressed})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${package_build_dir}/man/quendra-db.1.gz DESTINATION usr/share/man/man1)
if(TARGET quendra-report)
  install(FILES ${package_build_dir}/man/quendra-report.1.gz DESTINATION usr/share/man/man1)
endif()

# quendra-curia: the service beside the other programs (it calls quendra-report for the
# documents), its systemd unit, its configuration and an example register.
if(TARGET quendra-curia)
  install(TARGETS quendra-curia RUNTIME DESTINATION ${QUENDRA_INSTALL_DIR} COMPONENT curia)
  file(CREATE_LINK /${QUENDRA_INSTALL_DIR}/quendra-curia ${package_build_dir}/bin/quendra-curia SYMBOLIC)
  install(FILES ${package_build_dir}/bin/quendra-curia DESTINATION usr/bin COMPONENT curia)
  install(FILES ${package_dir}/curia/quendra-curia.service DESTINATION lib/systemd/system COMPONENT curia)
  install(FILES ${package_dir}/curia/quendra-curia.conf DESTINATION etc/quendra-curia COMPONENT curia)
  install(FILES ${package_dir}/curia/parrocchie.csv DESTINATION usr/share/doc/quendra-curia/examples COMPONENT curia)
  install(FILES ${package_build_dir}/man/quendra-curia.1.gz DESTINATION usr/share/man/man1 COMPONENT curia)
  install(FILES ${package_dir}/copyright ${changelog} DESTINATION usr/share/doc/quendra-curia COMPONENT curia)
  install(FILES ${package_dir}/curia/lintian-overrides DESTINATION usr/share/lintian/overrides RENAME quendra-curia
          COMPONENT curia)
endif()

# Both packages hold /opt/quendra; both make it read-only.
foreach(component quendra curia)
  install(CODE "
  set(root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUENDRA_INSTALL_DIR}\")
  if(EXISTS \"\${root}\")
    file(GLOB_RECURSE shipped LIST_DIRECTORIES true \"\${root}/*\")
    foreach(entry IN LISTS shipped)
      if(IS_DIRECTORY \"\${entry}\")
        file(CHMOD \"\${entry}\" PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
      endif()
    endforeach()
    file(CHMOD \"\${root}\" PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
" COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL quendra)
if(TARGET quendra-curia)
  list(APPEND CPACK_COMPONENTS_ALL curia)
endif()
set(CPACK_PACKAGE_NAME quendra)
set(CPACK_DEBIAN_QUENDRA_PACKAGE_NAME quendra)
set(CPACK_DEBIAN_CURIA_PACKAGE_NAME quendra-curia)
# Both are built from one source, whose changelog they share.
set(CPACK_DEBIAN_PACKAGE_SOURCE quendra)
set(CPACK_PACKAGE_VERSION ${QUENDRA_VERSION})
# The package's own revision (packaging/changelog names the same).
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Amministrazione diocesana <amministrazione@velmora.invalid>")
# Each package's first line is its summary, which must not start with its name; no
# common summary, which CPack would put before both.
string(CONCAT CPACK_DEBIAN_QUENDRA_DESCRIPTION
  "contabilità delle parrocchie (Quendra parrochiale)\n"
  "Prima nota dei movimenti di ogni esercizio con il piano dei conti\n"
  "della diocesi, riporto dei saldi, stampa del giornale e del rendiconto\n"
  "annuale, esportazione in una cartella di lavoro e trasmissione\n"
  "all'amministrazione diocesana. Con il manuale in italiano.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The reports' "Arial" is Liberation Sans; Qt's own dialogs speak Italian with its
# translations. Neither shows in the shared libraries.
set(CPACK_DEBIAN_QUENDRA_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
# The service's documents are drawn by quendra-report, of the same version; its user is
# made by adduser.
set(CPACK_DEBIAN_CURIA_PACKAGE_DEPENDS "quendra (= ${QUENDRA_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}), adduser")
set(CPACK_DEBIAN_CURIA_PACKAGE_SECTION net)
string(CONCAT CPACK_DEBIAN_CURIA_DESCRIPTION
  "verifica e archivio delle trasmissioni delle parrocchie (Quendra)\n"
  "Il servizio dell'amministrazione diocesana: la pagina di verifica che la\n"
  "trasmissione di una parrocchia apre, l'archivio degli esercizi ricevuti,\n"
  "la pagina dell'ufficio con tutte le parrocchie e il consolidato della\n"
  "diocesi. Con l'unità di systemd, che lo avvia con un utente proprio.")
set(CPACK_DEBIAN_CURIA_PACKAGE_CONTROL_EXTRA
  ${package_dir}/curia/postinst ${package_dir}/curia/conffiles)
set(CPACK_DEBIAN_CURIA_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
