; Skelvor's installer, for the current user only: no administrator rights, installed into the user's own programs
; folder, where Skelvor may write its GPX files beside itself. Built by scripts/build-windows.sh with
;   makensis -DVERSION=0.1.0 -DSOURCE=<program folder> -DFILES=<files.nsh> -DSIZE_KB=<size> -DICON=<skelvor.ico>
;            -DOUTFILE=<setup.exe> skelvor.nsi
; FILES holds the two lists of the program folder's files, one to install them and one to remove exactly them.
; Both the installer and the uninstaller wait while Skelvor runs; installing over an earlier Skelvor first runs that
; version's own uninstaller, so that the files only it shipped go too.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Skelvor"
; The name that skelvor.exe holds for as long as it runs (app/main.cpp), and the right to wait on it.
!define RUNNING "SkelvorIsRunning"
!define SYNCHRONIZE 0x00100000

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

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\skelvor.exe"
!insertmacro MUI_PAGE_LICENSE "${SOURCE}/LICENSE"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!include "${FILES}"

; Waits until no Skelvor runs, asking the user to close it (Retry / Cancel), so that no file in use is replaced or
; left behind. Silently, or on Cancel, it ends the setup with exit code 2, having changed nothing.
!macro WaitUntilSkelvorEnds un
  Function ${un}WaitUntilSkelvorEnds
    retry:
      System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING}") p .r0'
      ${If} $0 P= 0
        Return
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r0)'
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Skelvor is running. Close it, then click Retry. Cancel leaves everything as it is." /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
  FunctionEnd
!macroend
!insertmacro WaitUntilSkelvorEnds ""
!insertmacro WaitUntilSkelvorEnds "un."

; Sets $0 to the folder that must take a new file for Skelvor to go into $INSTDIR: $INSTDIR, or the nearest folder
; above it that exists. $1 is 1 when the user can make a file there, which is found out by making one: the rights on
; the folder decide (a user without administrator rights cannot write in C:\Program Files).
Function CheckInstallFolder
  StrCpy $0 $INSTDIR
  ${DoUntil} ${FileExists} "$0\*.*"
    ${GetParent} $0 $0
    ${IfThen} $0 == "" ${|} ${ExitDo} ${|}
  ${Loop}
  ClearErrors
  FileOpen $1 "$0\Skelvor write test.tmp" w
  ${If} ${Errors}
    StrCpy $1 0
  ${Else}
    FileClose $1
    Delete "$0\Skelvor write test.tmp"
    StrCpy $1 1
  ${EndIf}
FunctionEnd

!define CANNOT_WRITE "You cannot write in $0, so Skelvor cannot go there: it writes its GPX files into its own \
  folder. Choose a folder of your own, such as $LOCALAPPDATA\Programs\Skelvor."

; The folder page keeps the user on it while the folder chosen cannot be written.
Function DirectoryLeave
  Call CheckInstallFolder
  ${If} $1 == 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "${CANNOT_WRITE}"
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  Call WaitUntilSkelvorEnds
  ; A silent setup has no folder page: a folder given with /D that cannot be written ends it, with exit code 2.
  ${If} ${Silent}
    Call CheckInstallFolder
    ${If} $1 == 0
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  Call un.WaitUntilSkelvorEnds
FunctionEnd

; An earlier Skelvor is removed by its own uninstaller, run in its folder and waited for: it removes the files that
; it installed, those that this version no longer ships among them, and leaves the user's fix files and GPX files.
Function RemoveEarlierSkelvor
  ReadRegStr $0 HKCU "${KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} "$0\Uninstall.exe"
    Return
  ${EndIf}
  DetailPrint "Removing the earlier Skelvor from $0"
  ClearErrors
  ExecWait '"$0\Uninstall.exe" /S _?=$0' $1
  ${If} ${Errors}
  ${OrIf} $1 != 0
    MessageBox MB_OK|MB_ICONSTOP "The earlier Skelvor in $0 could not be removed. Uninstall it from \
      $\"Apps and features$\", then run this setup again." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ; Run in its folder, the uninstaller cannot remove itself.
  Delete "$0\Uninstall.exe"
  RMDir "$0"
FunctionEnd

Section "Skelvor"
  Call RemoveEarlierSkelvor
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
