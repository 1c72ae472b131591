# Code page 932 texts for a compiler without -fexec-charset (emscripten):
# the sources are compiled from copies whose non-ASCII characters are octal
# escapes of their code page 932 bytes (resources/tools/cp932_literals.py),
# so the literals hold the same bytes as in the native and Windows builds.
# Elsewhere these functions change nothing.

if(EMSCRIPTEN)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
endif()

# One escaped copy of source (a path) at target; the copy names the original.
function(morvek_cp932_copy source target)
  add_custom_command(
    OUTPUT ${target}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/resources/tools/cp932_literals.py
            ${source} ${target} ${source}
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/resources/tools/cp932_literals.py
    VERBATIM)
endfunction()

# out_var: the sources to compile in place of the given ones (relative to
# the current source folder). Their own folder stays on the include path,
# for includes next to them.
function(morvek_cp932_sources out_var)
  if(NOT EMSCRIPTEN)
    set(${out_var} ${ARGN} PARENT_SCOPE)
    return()
  endif()
  set(result)
  foreach(source ${ARGN})
    get_filename_component(path ${source} ABSOLUTE)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${path})
    set(copy ${PROJECT_BINARY_DIR}/cp932/${relative})
    morvek_cp932_copy(${path} ${copy})
    list(APPEND result ${copy})
  endforeach()
  set(${out_var} ${result} PARENT_SCOPE)
endfunction()

# For a target whose sources include resources/Strings.def: the escaped
# table comes first on its include path.
function(morvek_cp932_strings target)
  if(NOT EMSCRIPTEN)
    return()
  endif()
  set(copy ${PROJECT_BINARY_DIR}/cp932-strings/resources/Strings.def)
  morvek_cp932_copy(${PROJECT_SOURCE_DIR}/resources/Strings.def ${copy})
  target_sources(${target} PRIVATE ${copy})
  target_include_directories(${target} BEFORE PRIVATE ${PROJECT_BINARY_DIR}/cp932-strings)
endfunction()
