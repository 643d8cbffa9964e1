cmake_minimum_required(VERSION 3.22)
# Fails when a source file includes from a layer above its own, or when a
# layer below the Qt side includes Qt.
#
#   cmake -DRAIZ=<src folder> -P comprobar_capas.cmake
#
# A file's layer is its folder under src/; the layers each may include from:
set(permitidas_platform platform platform/xml)
set(permitidas_platform/xml platform platform/xml)
set(permitidas_platform/dbf platform platform/xml platform/dbf)
set(permitidas_exchange platform platform/xml exchange)
set(permitidas_tables platform platform/xml platform/dbf tables)
set(permitidas_export platform platform/xml platform/dbf exchange tables export)
set(permitidas_import platform platform/xml platform/dbf exchange tables import)
set(permitidas_ui platform platform/xml platform/dbf exchange tables ui)
set(permitidas_export/dialogos ${permitidas_export} ui export/dialogos)
set(permitidas_import/dialogos ${permitidas_import} ui import/dialogos)
set(permitidas_cli platform platform/xml platform/dbf exchange tables export import cli)
set(permitidas_fuzz platform platform/xml platform/dbf exchange tables export import fuzz)
set(permitidas_app platform platform/xml platform/dbf exchange tables export import ui export/dialogos
    import/dialogos app)
set(capas_con_qt ui export/dialogos import/dialogos app)
# Longest first, so that a file of platform/dbf is not taken for platform's.
set(capas platform/dbf platform/xml platform export/dialogos export import/dialogos import exchange tables ui
    cli fuzz app)

function(capa_de ruta resultado)
  foreach(capa IN LISTS capas)
    string(LENGTH "${capa}/" largo)
    string(SUBSTRING "${ruta}" 0 ${largo} inicio)
    if(inicio STREQUAL "${capa}/")
      get_filename_component(carpeta "${ruta}" DIRECTORY)
      if(carpeta STREQUAL capa)
        set(${resultado} ${capa} PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
  set(${resultado} "" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE fuentes RELATIVE "${RAIZ}" "${RAIZ}/*.h" "${RAIZ}/*.cpp" "${RAIZ}/*.inc")
set(faltas "")
foreach(fuente IN LISTS fuentes)
  capa_de("${fuente}" capa)
  if(capa STREQUAL "")
    string(APPEND faltas "\n  ${fuente}: no está en ninguna capa conocida")
    continue()
  endif()
  file(STRINGS "${RAIZ}/${fuente}" lineas REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(linea IN LISTS lineas)
    if(linea MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(incluido "${CMAKE_MATCH_1}")
      capa_de("${incluido}" suya)
      if(suya STREQUAL "")
        continue() # beside the file, or generated
      endif()
      if(NOT suya IN_LIST permitidas_${capa})
        string(APPEND faltas "\n  ${fuente} (capa ${capa}) incluye ${incluido} (capa ${suya})")
      endif()
    elseif(linea MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)" AND NOT capa IN_LIST capas_con_qt)
      string(APPEND faltas "\n  ${fuente} (capa ${capa}) incluye Qt: <${CMAKE_MATCH_1}>")
    endif()
  endforeach()
endforeach()

if(NOT faltas STREQUAL "")
  message(FATAL_ERROR "Una capa incluye de otra superior:${faltas}")
endif()
