# olm_generate_installation_files(TARGET target TOOL tool FOLDER folder EXTENSION ext)
# Runs `tool SOURCE OUTPUT` for every share/olm/<folder>/*.txt, writing
# <build>/share/olm/<folder>/<name><ext>: the installation files that the
# repository keeps only in readable form.
function(olm_generate_installation_files)
  cmake_parse_arguments(ARG "" "TARGET;TOOL;FOLDER;EXTENSION" "" ${ARGN})
  set(output_dir ${CMAKE_BINARY_DIR}/share/olm/${ARG_FOLDER})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/share/olm/${ARG_FOLDER}/*.txt)
  set(outputs)
  foreach(source ${sources})
    get_filename_component(name ${source} NAME_WE)
    set(output ${output_dir}/${name}${ARG_EXTENSION})
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
      COMMAND ${ARG_TOOL} ${source} ${output}
      DEPENDS ${ARG_TOOL} ${source}
      COMMENT "Generating ${ARG_FOLDER}/${name}${ARG_EXTENSION}")
    list(APPEND outputs ${output})
  endforeach()
  add_custom_target(${ARG_TARGET} ALL DEPENDS ${outputs})
endfunction()
