; Durlavex's installer for Windows (makensis, from cmake/windows/instalador.sh).
;
; Installs for the current user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Durlavex or a folder of the user's choice (Talvorin's
; own folder, for one): Durlavex writes its result for Talvorin, Talvorin.ini,
; into the folder of durlavex.exe, which must therefore be writable by whoever
; runs Talvorin. The uninstaller removes exactly what was installed and, of
; Talvorin.ini, only Durlavex's key, so that a folder shared with Talvorin
; keeps Talvorin's own files.
;
; Defines: VERSION, PROGRAMA (folder with the programs, NIVELCAN.DBF,
; NIVELES.TXT, VORNA.chm), DOC (README.md and ejemplo\), SALIDA (the .exe).

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

!define CLAVE_DESINSTALAR "Software\Microsoft\Windows\CurrentVersion\Uninstall\Durlavex"
!define CLAVE_PROGRAMA "Software\Durlavex"

Name "Durlavex ${VERSION}"
OutFile "${SALIDA}"
InstallDir "$LOCALAPPDATA\Programs\Durlavex"
InstallDirRegKey HKCU "${CLAVE_PROGRAMA}" "Carpeta"
BrandingText "Durlavex ${VERSION}"

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Durlavex deja el resultado para Talvorin (Talvorin.ini) en su propia carpeta, así que ha de ser una carpeta en la que usted pueda escribir. La propuesta es suya y no pide permisos de administrador. También puede elegir la carpeta de Talvorin, si es suya."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Durlavex está instalado en $INSTDIR.$\r$\n$\r$\nPara que Talvorin lo arranque, indíquele en su configuración esta ruta:$\r$\n$INSTDIR\durlavex.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

Section "Durlavex"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${PROGRAMA}\durlavex.exe"
  File "${PROGRAMA}\durlavex-cli.exe"
  File "${PROGRAMA}\NIVELCAN.DBF"
  File "${PROGRAMA}\NIVELES.TXT"
  File "${PROGRAMA}\VORNA.chm"
  SetOutPath "$INSTDIR\doc"
  File "${DOC}\README.md"
  SetOutPath "$INSTDIR\doc\ejemplo"
  File "${DOC}\ejemplo\vorna_ejemplo.xml"
  File "${DOC}\ejemplo\SOLUC.DBF"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\desinstalar.exe"

  CreateDirectory "$SMPROGRAMS\Durlavex"
  CreateShortcut "$SMPROGRAMS\Durlavex\Durlavex.lnk" "$INSTDIR\durlavex.exe"
  CreateShortcut "$SMPROGRAMS\Durlavex\Ayuda de Durlavex.lnk" "$INSTDIR\VORNA.chm"
  CreateShortcut "$SMPROGRAMS\Durlavex\Desinstalar Durlavex.lnk" "$INSTDIR\desinstalar.exe"

  WriteRegStr HKCU "${CLAVE_PROGRAMA}" "Carpeta" "$INSTDIR"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "DisplayName" "Durlavex"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "DisplayIcon" "$INSTDIR\durlavex.exe"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "UninstallString" '"$INSTDIR\desinstalar.exe"'
  WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "QuietUninstallString" '"$INSTDIR\desinstalar.exe" /S'
  WriteRegDWORD HKCU "${CLAVE_DESINSTALAR}" "NoModify" 1
  WriteRegDWORD HKCU "${CLAVE_DESINSTALAR}" "NoRepair" 1
SectionEnd

; Talvorin.ini may be Talvorin's own file when Durlavex lives in Talvorin's
; folder: only Durlavex's key goes, then its section when empty, then the
; file when no section is left.
Function un.QuitarResultado
  IfFileExists "$INSTDIR\Talvorin.ini" 0 fin
  DeleteINIStr "$INSTDIR\Talvorin.ini" "Transformadores" "Transformado"
  System::Call 'kernel32::GetPrivateProfileSectionW(w "Transformadores", w .r1, i ${NSIS_MAX_STRLEN}, w "$INSTDIR\Talvorin.ini") i .r0'
  IntCmp $0 0 0 fin fin
  DeleteINISec "$INSTDIR\Talvorin.ini" "Transformadores"
  System::Call 'kernel32::GetPrivateProfileSectionNamesW(w .r1, i ${NSIS_MAX_STRLEN}, w "$INSTDIR\Talvorin.ini") i .r0'
  IntCmp $0 0 0 fin fin
  Delete "$INSTDIR\Talvorin.ini"
  fin:
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\durlavex.exe"
  Delete "$INSTDIR\durlavex-cli.exe"
  Delete "$INSTDIR\NIVELCAN.DBF"
  Delete "$INSTDIR\NIVELES.TXT"
  Delete "$INSTDIR\VORNA.chm"
  Delete "$INSTDIR\doc\README.md"
  Delete "$INSTDIR\doc\ejemplo\vorna_ejemplo.xml"
  Delete "$INSTDIR\doc\ejemplo\SOLUC.DBF"
  RMDir "$INSTDIR\doc\ejemplo"
  RMDir "$INSTDIR\doc"
  Call un.QuitarResultado
  Delete "$INSTDIR\desinstalar.exe"
  ; Not /r: the folder may be Talvorin's, and stays when anything else is in it.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Durlavex\Durlavex.lnk"
  Delete "$SMPROGRAMS\Durlavex\Ayuda de Durlavex.lnk"
  Delete "$SMPROGRAMS\Durlavex\Desinstalar Durlavex.lnk"
  RMDir "$SMPROGRAMS\Durlavex"

  DeleteRegKey HKCU "${CLAVE_DESINSTALAR}"
  DeleteRegKey HKCU "${CLAVE_PROGRAMA}"
SectionEnd
