# Installs the build into a temporary prefix and runs the installed
# durlavex-cli, through its launcher in bin/, on the sample school: an export
# into a temporary Wine prefix, then an import of the demo timetable.
#
#   cmake -DCOMPILACION=<build> -DFUENTES=<source> -DCARPETA=<scratch> -P probar-instalacion.cmake

function(fallar)
  string(JOIN "" texto ${ARGN})
  message(FATAL_ERROR "${texto}")
endfunction()

function(ejecutar descripcion)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE estado OUTPUT_VARIABLE salida ERROR_VARIABLE errores)
  if(NOT estado EQUAL 0)
    fallar("${descripcion} ha terminado con ${estado}:\n${salida}${errores}")
  endif()
endfunction()

file(REMOVE_RECURSE ${CARPETA})
set(prefijo ${CARPETA}/prefijo)
set(wine ${CARPETA}/wine)
set(ktemp ${wine}/drive_c/KTEMP)
set(datos ${CARPETA}/datos)
file(MAKE_DIRECTORY ${ktemp} ${datos})

ejecutar("cmake --install" ${CMAKE_COMMAND} --install ${COMPILACION} --prefix ${prefijo})

foreach(archivo lib/durlavex/durlavex-cli lib/durlavex/NIVELCAN.DBF bin/durlavex-cli)
  if(NOT EXISTS ${prefijo}/${archivo})
    fallar("La instalación no tiene ${archivo}")
  endif()
endforeach()
if(NOT IS_SYMLINK ${prefijo}/bin/durlavex-cli)
  fallar("bin/durlavex-cli debería ser un enlace a la carpeta del programa")
endif()

file(COPY ${FUENTES}/data/ejemplo/vorna_ejemplo.xml DESTINATION ${datos})
set(entorno ${CMAKE_COMMAND} -E env WINEPREFIX=${wine} XDG_DATA_HOME=${CARPETA}/xdg)
ejecutar("durlavex-cli exportar"
         ${entorno} ${prefijo}/bin/durlavex-cli exportar ${datos}/vorna_ejemplo.xml --plantilla J1)
foreach(tabla ASIGNOMT ASIGNOMT2 PROFT AULAT CURSOST GRUPOST ASIGT DIASHORAST DIASHORAST2 PERIODOS)
  if(NOT EXISTS ${ktemp}/${tabla}.DBF)
    fallar("La exportación no ha escrito ${tabla}.DBF en ${ktemp}")
  endif()
endforeach()

file(COPY ${COMPILACION}/ejemplo/SOLUC.DBF DESTINATION ${ktemp})
ejecutar("durlavex-cli importar" ${entorno} ${prefijo}/bin/durlavex-cli importar ${datos}/vorna_ejemplo.xml)
file(READ ${datos}/ResultadoTalvosvorna_ejemplo.xml resultado)
if(NOT resultado MATCHES "seq=\"HORARIO_REGULAR_PROFESOR_11\"")
  fallar("El archivo de resultado no tiene el horario de los once profesores del ejemplo")
endif()

file(REMOVE_RECURSE ${CARPETA})
