# Language libraries: resource-only Windows DLLs built from UTF-8 resource scripts at build time
# with LLVM's resource compiler and linker, on every platform. The program reads them with its
# own reader (lang/resourcelibrary.h), so they need no Windows to build or to use.
#
#   q7x_add_resource_library(<target> RC <file.rc> OUTPUT_DIRECTORY <dir> OUTPUT_NAME <x.dll>
#                            [MACHINE x64|x86] [DEPENDS <files or targets>...]
#                            [INSTALL_DESTINATION <dir>])
#     Compiles the script (llvm-rc /C 65001, so the UTF-8 text survives; a failed run leaves a
#     stub .res, which is removed) and links the DLL (lld-link /dll /noentry /timestamp:0, so the
#     bytes are reproducible). The import library lld-link writes goes to the target's build
#     folder, not beside the DLL. The target is part of ALL.
#
# This file also runs as a script (cmake -DQ7X_LANGLIBS_RC=... -P LangLibs.cmake) for the
# compile step.

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED Q7X_LANGLIBS_RC)
  # The script goes by its bare name from its own folder: llvm-rc reads a free argument that
  # starts with a slash as an option when its letters match one ("/check/x.rc" becomes
  # "/C heck/x.rc"), so an absolute input path fails in some build folders.
  get_filename_component(_rc_dir "${Q7X_LANGLIBS_IN}" DIRECTORY)
  get_filename_component(_rc_name "${Q7X_LANGLIBS_IN}" NAME)
  execute_process(
    COMMAND "${Q7X_LANGLIBS_RC}" /C 65001 /I "${_rc_dir}" /FO "${Q7X_LANGLIBS_OUT}" "${_rc_name}"
    WORKING_DIRECTORY "${_rc_dir}"
    RESULT_VARIABLE _result)
  if(NOT _result EQUAL 0)
    file(REMOVE "${Q7X_LANGLIBS_OUT}")
    message(FATAL_ERROR "llvm-rc failed on ${Q7X_LANGLIBS_IN}")
  endif()
  return()
endif()

include_guard(GLOBAL)

find_program(Q7X_LLVM_RC NAMES llvm-rc llvm-rc-19 llvm-rc-18 llvm-rc-17 llvm-rc-16 llvm-rc-15 llvm-rc-14
  DOC "LLVM resource compiler for the language libraries")
find_program(Q7X_LLD_LINK NAMES lld-link lld-link-19 lld-link-18 lld-link-17 lld-link-16 lld-link-15 lld-link-14
  DOC "LLVM PE linker for the language libraries")
if(NOT Q7X_LLVM_RC OR NOT Q7X_LLD_LINK)
  message(FATAL_ERROR "The language libraries need llvm-rc and lld-link (Debian packages llvm and lld)")
endif()

function(q7x_add_resource_library target)
  cmake_parse_arguments(L "" "RC;OUTPUT_DIRECTORY;OUTPUT_NAME;MACHINE;INSTALL_DESTINATION" "DEPENDS" ${ARGN})
  if(NOT L_RC OR NOT L_OUTPUT_DIRECTORY OR NOT L_OUTPUT_NAME)
    message(FATAL_ERROR "q7x_add_resource_library(${target}): RC, OUTPUT_DIRECTORY and OUTPUT_NAME are required")
  endif()
  if(NOT L_MACHINE)
    set(L_MACHINE x64)
  endif()
  get_filename_component(rc "${L_RC}" ABSOLUTE)
  get_filename_component(stem "${L_OUTPUT_NAME}" NAME_WE)
  set(work "${CMAKE_CURRENT_BINARY_DIR}/${target}")
  set(res "${work}/${stem}.res")
  set(dll "${L_OUTPUT_DIRECTORY}/${L_OUTPUT_NAME}")
  add_custom_command(OUTPUT "${res}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${work}"
    COMMAND ${CMAKE_COMMAND} -DQ7X_LANGLIBS_RC=${Q7X_LLVM_RC} -DQ7X_LANGLIBS_IN=${rc}
            -DQ7X_LANGLIBS_OUT=${res} -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
    DEPENDS "${rc}" ${L_DEPENDS}
    COMMENT "Compiling resources ${L_OUTPUT_NAME}"
    VERBATIM)
  add_custom_command(OUTPUT "${dll}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${L_OUTPUT_DIRECTORY}"
    COMMAND "${Q7X_LLD_LINK}" /nologo /dll /noentry /machine:${L_MACHINE} /timestamp:0
            "/out:${dll}" "/implib:${work}/${stem}.lib" "${stem}.res"
    WORKING_DIRECTORY "${work}"
    DEPENDS "${res}"
    COMMENT "Linking language library ${L_OUTPUT_NAME}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS "${dll}")
  set_target_properties(${target} PROPERTIES Q7X_LIBRARY_FILE "${dll}")
  if(L_INSTALL_DESTINATION)
    install(FILES "${dll}" DESTINATION "${L_INSTALL_DESTINATION}")
  endif()
endfunction()
