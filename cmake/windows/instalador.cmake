# The Windows installer, Durlavex-<version>-setup.exe, built with NSIS's
# makensis (Debian's nsis) by the target "instalador" (not part of "all":
# scripts/probar-windows.sh builds it and installs it under Wine).
find_program(DURLAVEX_MAKENSIS makensis)
if(NOT DURLAVEX_MAKENSIS)
  message(STATUS "No se encuentra makensis (paquete nsis): no habrá instalador de Windows")
  return()
endif()
if(NOT TARGET ayuda)
  message(STATUS "Sin chmcmd no hay VORNA.chm: no habrá instalador de Windows")
  return()
endif()
set(DURLAVEX_INSTALADOR ${PROJECT_BINARY_DIR}/Durlavex-${PROJECT_VERSION}-setup.exe)
add_custom_command(
  OUTPUT ${DURLAVEX_INSTALADOR}
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/instalador.sh ${DURLAVEX_MAKENSIS} ${CMAKE_STRIP} ${DURLAVEX_PROGRAM_DIR}
          ${PROJECT_BINARY_DIR}/ejemplo/SOLUC.DBF ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION}
          ${PROJECT_BINARY_DIR}/instalador ${DURLAVEX_INSTALADOR}
  DEPENDS durlavex durlavex-cli nivelcan soluc_ejemplo ayuda
          ${CMAKE_CURRENT_LIST_DIR}/instalador.sh ${CMAKE_CURRENT_LIST_DIR}/instalador.nsi
          ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/data/ejemplo/vorna_ejemplo.xml
  COMMENT "Compilando el instalador Durlavex-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
add_custom_target(instalador DEPENDS ${DURLAVEX_INSTALADOR})
