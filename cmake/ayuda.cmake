# The help file VORNA.chm, built from help/ with Free Pascal's chmcmd into the
# program folder and installed beside the programs. Without chmcmd the
# programs are built all the same, with no help file.

find_program(DURLAVEX_CHMCMD NAMES chmcmd chmcmd-3.2.2)
set(DURLAVEX_AYUDA ${DURLAVEX_PROGRAM_DIR}/VORNA.chm)

if(DURLAVEX_CHMCMD)
  file(GLOB durlavex_fuentes_ayuda CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
  add_custom_command(
    OUTPUT ${DURLAVEX_AYUDA}
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/compilar-ayuda.sh ${DURLAVEX_CHMCMD}
            ${PROJECT_SOURCE_DIR}/help ${PROJECT_BINARY_DIR}/ayuda ${DURLAVEX_AYUDA}
    DEPENDS ${durlavex_fuentes_ayuda} ${CMAKE_CURRENT_LIST_DIR}/compilar-ayuda.sh
    COMMENT "Compilando la ayuda VORNA.chm"
    VERBATIM)
  add_custom_target(ayuda ALL DEPENDS ${DURLAVEX_AYUDA})
  install(FILES ${DURLAVEX_AYUDA} DESTINATION lib/durlavex)
else()
  message(STATUS "No se encuentra chmcmd (paquete fp-utils): no se compilará la ayuda VORNA.chm")
endif()

# Context help (F1) must reach its pages wherever the file is installed.
if(DURLAVEX_TESTS)
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_Interpreter_FOUND)
    add_test(NAME ayuda_contextos
             COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/comprobar-ayuda.py ${DURLAVEX_AYUDA})
    set_tests_properties(ayuda_contextos PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endif()
