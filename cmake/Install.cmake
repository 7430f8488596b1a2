# Install layout (FHS): programs in bin/, the shipped data (language libraries, manuals, default
# settings) in share/q7xconf/, manual pages, desktop entry, icons, AppStream metainfo and shell
# completions in their usual places under share/, the udev rule under lib/udev/rules.d/.
#
#   q7x_install_program(<target>)               the program, into bin/
#   q7x_install_manual(<file.N>)                a manual page of section N, compressed
#   q7x_install_completion(<file> <command>)    the bash completion of a command
#
# Relative files are taken from the calling folder. A new program is one line of each.
# The target q7x_install_files builds everything an installation holds, and nothing else.
include_guard(GLOBAL)
include(GNUInstallDirs)
add_custom_target(q7x_install_files)

set(Q7X_DATA_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/q7xconf")
set(Q7X_DATA_INSTALL_FULL_DIR "${CMAKE_INSTALL_FULL_DATADIR}/q7xconf")
set(Q7X_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
    "Folder of the udev rule, relative to the install prefix")

function(q7x_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  add_dependencies(q7x_install_files ${target})
endfunction()

# Debian wants manual pages compressed without a name or time stamp, so the bytes are the same
# in every build.
function(q7x_install_manual page)
  get_filename_component(source "${page}" ABSOLUTE)
  get_filename_component(name "${page}" NAME)
  string(REGEX MATCH "[0-9]$" section "${name}")
  if(NOT section)
    message(FATAL_ERROR "q7x_install_manual(${page}): the name must end in the section number")
  endif()
  set(gz "${CMAKE_BINARY_DIR}/man/${name}.gz")
  add_custom_command(OUTPUT "${gz}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/man"
    COMMAND gzip -9n -c "${source}" > "${gz}"
    DEPENDS "${source}"
    COMMENT "Compressing manual page ${name}")
  add_custom_target(q7x_man_${name} ALL DEPENDS "${gz}")
  add_dependencies(q7x_install_files q7x_man_${name})
  install(FILES "${gz}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man${section}")
endfunction()

function(q7x_install_completion file command)
  install(FILES "${file}" DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions"
          RENAME "${command}")
endfunction()
