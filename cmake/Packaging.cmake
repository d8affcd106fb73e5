# What an installation holds besides the programs, and the Debian package
# made of it (scripts/package: cpack -G DEB from a Release build).
include(GNUInstallDirs)

# The desktop's listing: the entry, the icon at every size, the software
# centre's description.
if(TESSARON_GUI)
  install(FILES resources/tessaron-config.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES resources/de.quor.tessaron_config.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES resources/images/program-icon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME tessaron-config.svg)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES resources/icons/tessaron-config-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tessaron-config.png)
  endforeach()
endif()

# Shell completion of tessaron-ctl, found by bash-completion when first used.
install(FILES resources/tessaron-ctl.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
  RENAME tessaron-ctl)

# Manual pages, written once in scdoc and built with the programs when scdoc
# is there (scripts/package and scripts/test install it).
find_program(SCDOC scdoc)
if(SCDOC)
  set(man_pages)
  foreach(page tessaron-ctl tessaron-config tessaron-sim)
    set(source ${PROJECT_SOURCE_DIR}/doc/${page}.1.scd)
    set(built ${PROJECT_BINARY_DIR}/man/${page}.1)
    add_custom_command(OUTPUT ${built}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${SCDOC} < ${source} > ${built}
      COMMAND gzip -9nf ${built}
      DEPENDS ${source} VERBATIM)
    list(APPEND man_pages ${built}.gz)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The package's own documents: the copyright in Debian's form and the
# changelog Debian expects beside it (changelog.gz: the package is its own
# upstream).
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tessaron-config)
install(FILES doc/debian-copyright DESTINATION ${doc_dir} RENAME copyright)
# The sample share, to try the programs on (tessaron-sim serves a copy).
install(DIRECTORY examples/share DESTINATION ${doc_dir}/examples)
set(changelog ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/doc/debian-changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/doc/debian-changelog VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaron-config)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QUOR Tessaron Configuration authors")
set(CPACK_PACKAGE_CONTACT "QUOR Tessaron Configuration maintainers <maintainers@tessaron-config.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for QUOR Tessaron storage servers")
# The long description, after the summary line CPack puts first; CPack
# indents each line and writes an empty one as the paragraph mark.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "QUOR Tessaron Configuration sets up and manages a QUOR Tessaron network\n"
  "storage server, an appliance that shares CD-ROM drives or hard disks to\n"
  "SMB, NetWare, NFS and HTTP/FTP clients, through the files on the server's\n"
  "own share, reached as a mounted folder or straight over SMB.\n"
  "\n"
  "The package holds the desktop program tessaron-config, the command-line\n"
  "companion tessaron-ctl for scripts and fleets, and tessaron-sim, a\n"
  "simulated appliance.")
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Only the simulated appliance mounts a file system; the rest works without.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fuse3")
# What the programs load at run time, where dpkg-shlibdeps cannot see it:
# the window system's platform plugin of Qt, and the SMB client when it is
# loaded only once a share is reached over SMB.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
if(TESSARON_SMB_LOADED_AT_RUN_TIME)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libsmbclient (>= 2:4.17)")
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
