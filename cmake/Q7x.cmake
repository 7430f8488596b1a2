# q7x_add_test(NAME <name> SOURCES <files...> LIBS <libs...> LABELS <labels...> [UNPRIVILEGED]
#              [TIMEOUT s] [ENV <VAR=value...>])
# q7x_add_test(NAME <name> EXECUTABLE <target> LABELS <labels...> [UNPRIVILEGED] [TIMEOUT s]
#              [ENV <VAR=value...>])
# Builds one QtTest executable (or reuses one built by an earlier call) and registers it with CTest
# (only when one of its labels is in Q7X_TEST_LABELS, if that is set)
# under the offscreen platform, with ENV added to its environment. UNPRIVILEGED runs it as an
# unprivileged user when CTest runs as root (tests/unprivileged.sh).
function(q7x_add_test)
  cmake_parse_arguments(T "UNPRIVILEGED" "NAME;TIMEOUT;EXECUTABLE" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  if(Q7X_FUZZ)
    return()
  endif()
  if(Q7X_TEST_LABELS)
    set(wanted OFF)
    foreach(label IN LISTS T_LABELS)
      if(label IN_LIST Q7X_TEST_LABELS)
        set(wanted ON)
      endif()
    endforeach()
    if(NOT wanted)
      return()
    endif()
  endif()
  if(T_EXECUTABLE)
    set(exe ${T_EXECUTABLE})
  else()
    set(exe ${T_NAME})
    add_executable(${exe} ${T_SOURCES})
    target_link_libraries(${exe} PRIVATE Qt6::Test ${T_LIBS})
  endif()
  if(T_UNPRIVILEGED)
    add_test(NAME ${T_NAME}
      COMMAND bash ${PROJECT_SOURCE_DIR}/tests/unprivileged.sh $<TARGET_FILE:${exe}>)
  else()
    add_test(NAME ${T_NAME} COMMAND ${exe})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "${T_LABELS}"
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
  if(T_ENV)
    set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT ${T_ENV})
  endif()
endfunction()

# q7x_add_fuzzer(NAME <name> SOURCES <files...> LIBS <libs...> [SECONDS n] [ARGS <args...>]
#                [CORPUS <dir>])
# A libFuzzer target, built in the fuzz configuration (clang, Q7X_FUZZ=ON) and in a sanitizer
# build with clang (Q7X_FUZZ_TARGETS). Its CTest entry
# (label "fuzz") runs it for a short time as a smoke test. CORPUS is a folder of inputs kept in the
# source tree, each a finding that once failed: <name>_corpus runs every one of them once, and the
# smoke run starts from them. What the smoke run finds goes to a folder in the build tree, never
# into the sources.
function(q7x_add_fuzzer)
  cmake_parse_arguments(F "" "NAME;SECONDS;CORPUS" "SOURCES;LIBS;ARGS" ${ARGN})
  if(NOT Q7X_FUZZ_TARGETS)
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()
  add_executable(${F_NAME} ${F_SOURCES})
  target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  set(corpus)
  if(F_CORPUS)
    get_filename_component(F_CORPUS "${F_CORPUS}" ABSOLUTE)
    file(GLOB inputs CONFIGURE_DEPENDS "${F_CORPUS}/*")
    # libFuzzer writes new inputs into the first folder it is given.
    set(found "${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}_found")
    file(MAKE_DIRECTORY "${found}")
    set(corpus "${found}" "${F_CORPUS}")
    add_test(NAME ${F_NAME}_corpus COMMAND ${F_NAME} ${F_ARGS} ${inputs})
    set_tests_properties(${F_NAME}_corpus PROPERTIES LABELS fuzz TIMEOUT 300)
  endif()
  add_test(NAME ${F_NAME} COMMAND ${F_NAME} -max_total_time=${F_SECONDS} -timeout=5 -rss_limit_mb=2048
           ${F_ARGS} ${corpus})
  set_tests_properties(${F_NAME} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()
