# Installation and the Debian package.
#
# Everything the programs need lies in one program folder, lib/durlavex: the
# programs find NIVELCAN.DBF, Talvorin.ini and VORNA.chm beside their own
# executable (resolved through symlinks), so bin/ only holds links into it.

set(DURLAVEX_CARPETA_PROGRAMA lib/durlavex)

# Launchers on PATH: relative links made here and installed as links.
set(durlavex_lanzadores ${PROJECT_BINARY_DIR}/lanzadores)
file(MAKE_DIRECTORY ${durlavex_lanzadores})
set(durlavex_programas durlavex-cli)
if(TARGET durlavex)
  list(APPEND durlavex_programas durlavex)
endif()
foreach(programa IN LISTS durlavex_programas)
  file(CREATE_LINK ../${DURLAVEX_CARPETA_PROGRAMA}/${programa} ${durlavex_lanzadores}/${programa} SYMBOLIC)
  install(FILES ${durlavex_lanzadores}/${programa} DESTINATION bin)
endforeach()

if(TARGET durlavex)
  install(FILES ${PROJECT_SOURCE_DIR}/data/durlavex.desktop DESTINATION share/applications)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/data/ejemplo/vorna_ejemplo.xml ${PROJECT_BINARY_DIR}/ejemplo/SOLUC.DBF
        DESTINATION share/doc/durlavex/ejemplo)

# The Debian package: cpack -G DEB in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME durlavex)
set(CPACK_PACKAGE_VENDOR "Durlavex")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Equipo de Durlavex <durlavex@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Equipo de Durlavex <durlavex@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Traspaso de los datos del horario entre Vorna y Talvorin")
# CPack puts the summary on the first line and indents these lines itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Durlavex lleva los datos del horario de un instituto entre Vorna, la gestión
administrativa del centro (archivos de intercambio XML), y Talvorin, el
programa de horarios (tablas dBase en su directorio de trabajo C:\\KTEMP,
bajo Wine en $WINEPREFIX/drive_c/KTEMP). Exporta los datos del centro a las
tablas de Talvorin e importa el horario terminado en un archivo para Vorna.
Incluye el programa de escritorio (Qt 6) y la orden durlavex-cli.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The build keeps debugging information; the package does not need it.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xchm")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)

# The installed programs work from any prefix: install into a temporary one
# and run an export and an import on the sample school there.
if(DURLAVEX_TESTS)
  add_test(NAME instalacion
           COMMAND ${CMAKE_COMMAND}
                   -DCOMPILACION=${PROJECT_BINARY_DIR}
                   -DFUENTES=${PROJECT_SOURCE_DIR}
                   -DCARPETA=${PROJECT_BINARY_DIR}/prueba-instalacion
                   -P ${CMAKE_CURRENT_LIST_DIR}/probar-instalacion.cmake)
  set_tests_properties(instalacion PROPERTIES TIMEOUT 300)
endif()
