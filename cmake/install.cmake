# SPDX-License-Identifier: GPL-3.0-or-later
# What "cmake --install" puts where, and the Debian package "cpack -G DEB" makes
# of it.  Only the three programs, their manual pages, kelvoractl's bash
# completion, the desktop entry, the icon, the copyright file and the changelog
# are installed; test programs, benchmarks and the simulator's library are not.
# The simulator is built as pbxsim and installed as kelvora-pbxsim: a bare
# "pbxsim" in /usr/bin would say nothing of whose it is.
include(GNUInstallDirs)

# The version both programs show is the package version.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/core/config/version.h kelvora_version_line
     REGEX "KelvoraVersion = \"[0-9.]+\"")
string(REGEX REPLACE ".*\"([0-9.]+)\".*" "\\1" KELVORA_VERSION "${kelvora_version_line}")
if(NOT KELVORA_VERSION MATCHES "^[0-9]+(\\.[0-9]+)*$")
  message(FATAL_ERROR "no version found in src/core/config/version.h")
endif()

# Manual pages go in gzip-compressed, as Debian wants them (-n: no name or time
# stamp in the file, so the same page makes the same bytes).
set(man_pages kelvora kelvoractl)
if(TARGET pbxsim)
  list(APPEND man_pages kelvora-pbxsim)
endif()
set(man_gz "")
foreach(page ${man_pages})
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/man/${page}.1 > ${gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/man/${page}.1 VERBATIM)
  list(APPEND man_gz ${gz})
endforeach()
add_custom_target(manpages ALL DEPENDS ${man_gz})

# The changelog of a native Debian package, made from NEWS; it names the
# package's maintainer.
set(KELVORA_MAINTAINER "kelvora developers <maintainers@kelvora.org>")
set(changelog_gz ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND ${CMAKE_COMMAND} -DNEWS=${CMAKE_SOURCE_DIR}/NEWS -DVERSION=${KELVORA_VERSION}
          -DMAINTAINER=${KELVORA_MAINTAINER} -DOUTPUT=${CMAKE_BINARY_DIR}/changelog
          -P ${CMAKE_SOURCE_DIR}/cmake/changelog.cmake
  COMMAND gzip -9n -f ${CMAKE_BINARY_DIR}/changelog
  DEPENDS ${CMAKE_SOURCE_DIR}/NEWS ${CMAKE_SOURCE_DIR}/src/core/config/version.h ${CMAKE_SOURCE_DIR}/cmake/changelog.cmake
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${changelog_gz})

install(TARGETS kelvora kelvoractl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET pbxsim)
  install(PROGRAMS $<TARGET_FILE:pbxsim> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME kelvora-pbxsim)
endif()
# "--strip" (and cpack, CPACK_STRIP_FILES) strips install(TARGETS) only; the
# renamed simulator is stripped here.  All three lose the .comment and .note
# sections too, as Debian's packages do.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program kelvora kelvoractl kelvora-pbxsim)
      set(path \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
      if(EXISTS \"\${path}\")
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note \"\${path}\"
                        RESULT_VARIABLE failed)
        if(failed)
          message(FATAL_ERROR \"strip \${path} failed\")
        endif()
      endif()
    endforeach()
  endif()")
install(FILES ${man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/data/kelvoractl.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME kelvoractl)
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${changelog_gz} DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/kelvora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/kelvora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The file dialogs start in /usr/local/kelvora/etc, whatever the prefix (the
# path is compiled in: DefaultFilesDir in src/core/config/record.h).  Installing with
# the prefix /usr/local creates it, group "dialout" and group-writable with the
# set-group-ID bit when run as root, so everyone who may use the serial line can
# keep files there.  With any other prefix nothing is written outside that
# prefix: the Debian package creates the directory in its postinst instead, and
# for other prefixes it is made by hand (see man/kelvora.1, FILES).
install(CODE [[
  cmake_policy(PUSH)
  cmake_policy(VERSION 3.25) # install scripts run with old policies otherwise
  set(files_dir "/usr/local/kelvora/etc")
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
    set(target "$ENV{DESTDIR}${files_dir}")
    message(STATUS "Installing: ${target}")
    file(MAKE_DIRECTORY "${target}")
    if("$ENV{DESTDIR}" STREQUAL "")
      execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
      execute_process(COMMAND getent group dialout RESULT_VARIABLE no_group OUTPUT_QUIET)
      if(uid STREQUAL "0" AND NOT no_group)
        execute_process(COMMAND chgrp dialout "${target}")
        execute_process(COMMAND chmod 2775 "${target}")
      endif()
    endif()
  else()
    message(STATUS "Not creating ${files_dir} (prefix is ${CMAKE_INSTALL_PREFIX}); "
                   "the file dialogs start there: mkdir -p ${files_dir}")
  endif()
  cmake_policy(POP)
]])

# Debian package: prefix /usr, run-time dependencies from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvora)
set(CPACK_PACKAGE_VERSION ${KELVORA_VERSION})
set(CPACK_PACKAGE_CONTACT "${KELVORA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configures small ISDN PBXs over a serial line")
set(CPACK_PACKAGE_DESCRIPTION
"kelvora reads the configuration lists of a small ISDN PBX (one to three S0
ports) over a serial line, lets you edit them in Motif dialogs and programs
them back. Configurations, speed-dial directories and subscriber data can be
kept in files; charge counters and call lists can be exported and printed.

kelvoractl does every transfer and file of kelvora from a shell, cron or a
script, without a display: backups, call lists on standard output, and
configuration files shown and compared as text.

The package also carries kelvora-pbxsim, a simulator of the PBX on a
pseudo-terminal, to try kelvora without one.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Printing goes through "lpr".
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups-bsd | lpr")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core") # the window's default font, through Xft
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/cmake/debian/postinst ${CMAKE_SOURCE_DIR}/cmake/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
