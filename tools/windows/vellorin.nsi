; The Windows installer, made by tools/build-windows.sh with makensis:
;   makensis -DSOURCE=<game-run> -DICON=<vellorin.ico> -DVERSION=<x.y.z> -DOUTFILE=<setup.exe> vellorin.nsi
; A per-user install, needing no administrator: into the user's own programs
; folder, where the game can write its log beside itself; Start-menu and (if
; chosen) desktop shortcuts that start it there; an uninstaller registered in
; the user's list of apps. /S installs and uninstalls silently.
Unicode true
; A 64-bit installer for the 64-bit game: it runs wherever the game does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellorin"

Name "Vellorin"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vellorin"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vellorin.exe"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Vellorin"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Vellorin installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Vellorin developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Vellorin developers"

Section "Vellorin" SectionGame
  SectionIn RO
  SetShellVarContext current
  ; Shortcuts start the game in the folder that is current here.
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Vellorin.lnk" "$INSTDIR\vellorin.exe" "" "$INSTDIR\vellorin.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vellorin"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Vellorin developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vellorin.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Desktop shortcut" SectionDesktop
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\Vellorin.lnk" "$INSTDIR\vellorin.exe" "" "$INSTDIR\vellorin.exe" 0
SectionEnd

; Only what the installer put there and what the game writes (its log) is
; removed, never the folder's other contents: the player may have chosen a
; folder of their own.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Vellorin.lnk"
  Delete "$DESKTOP\Vellorin.lnk"
  Delete "$INSTDIR\vellorin.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\log.txt"
  Delete "$INSTDIR\*.bmp"
  Delete "$INSTDIR\*.mp3"
  Delete "$INSTDIR\icons\*.png"
  Delete "$INSTDIR\icons\vellorin.ico"
  RMDir "$INSTDIR\icons"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
