; The Windows installer (scripts/windows.sh): the program's folder under Program Files, a Start
; menu entry and an uninstaller. makensis -DVERSION=... -DFOLDER=<the deployed folder>
; -DICON=... -DOUTFILE=...
; A 64-bit installer for a 64-bit program (and Wine without its 32-bit part runs it).
Target amd64-unicode
!include "MUI2.nsh"

Name "Quelvane"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quelvane"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Quelvane"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Quelvane installer"
VIAddVersionKey "LegalCopyright" "The Quelvane Project, MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelvane"

!insertmacro MUI_PAGE_LICENSE "${FOLDER}\licences\Quelvane.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; FFmpeg is not installed: the finish page says where the program looks for it.
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_TEXT "Quelvane is installed.$\r$\n$\r$\nIt needs FFmpeg, which is not included: copy ffmpeg.exe from a Windows build of FFmpeg to $WINDIR\quelvanesvc\client.exe (see README.txt in the program's folder)."
!define MUI_FINISHPAGE_RUN "$INSTDIR\quelvane.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File /r "${FOLDER}\*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quelvane.lnk" "$INSTDIR\quelvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quelvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Quelvane Project"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quelvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; A silent install has no finish page to start the program from.
Function .onInstSuccess
  IfSilent 0 +2
    Exec '"$INSTDIR\quelvane.exe"'
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; Only what the installer put there goes; anything else in the folder stays, and with it the
; folder.
Section "Uninstall"
  Delete "$SMPROGRAMS\Quelvane.lnk"
  Delete "$INSTDIR\quelvane.exe"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\README.txt"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\licences"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
