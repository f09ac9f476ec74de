; Skelvor's installer, for the current user only: no administrator rights, installed into the user's own programs
; folder, where Skelvor may write its GPX files beside itself. Built by scripts/build-windows.sh with
;   makensis -DVERSION=0.1.0 -DSOURCE=<program folder> -DFILES=<files.nsh> -DSIZE_KB=<size> -DICON=<skelvor.ico>
;            -DOUTFILE=<setup.exe> skelvor.nsi
; FILES holds the two lists of the program folder's files, one to install them and one to remove exactly them.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Skelvor"

Name "Skelvor ${VERSION}"
BrandingText "Skelvor ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Skelvor"
InstallDirRegKey HKCU "${KEY}" "InstallLocation"

; The setup program's own version information.
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Skelvor"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Skelvor ${VERSION} setup"
VIAddVersionKey "CompanyName" "the Skelvor developers"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 the Skelvor developers, MIT licence"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\skelvor.exe"
!insertmacro MUI_PAGE_LICENSE "${SOURCE}/LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!include "${FILES}"

Section "Skelvor"
  !insertmacro SkelvorInstallFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Skelvor.lnk" "$INSTDIR\skelvor.exe"

  ; The entry in "Apps and features".
  WriteRegStr HKCU "${KEY}" "DisplayName" "Skelvor"
  WriteRegStr HKCU "${KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${KEY}" "Publisher" "the Skelvor developers"
  WriteRegStr HKCU "${KEY}" "DisplayIcon" "$INSTDIR\skelvor.exe"
  WriteRegStr HKCU "${KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Removes what the installer put there and nothing else: the user's fix files and GPX files stay, and so does the
; folder when they are in it.
Section "Uninstall"
  !insertmacro SkelvorRemoveFiles
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Skelvor.lnk"
  DeleteRegKey HKCU "${KEY}"
SectionEnd
