; QOVA Wallpaper's installer (NSIS 3, Unicode).
;
; The program keeps its settings, its library and the thumbnails beside
; itself, so it is installed per user, without elevation, into
; %LOCALAPPDATA%\Programs\QOVA Wallpaper, with a Start menu shortcut and an
; uninstaller registered under HKCU. packaging/CMakeLists.txt builds it with:
;   VERSION       1.2.3          VERSION_QUAD  1.2.3.0
;   FILE_LIST     installer-files.nsh (macros QOVA_INSTALL_FILES, QOVA_REMOVE_FILES)
;   ICON          resources/qova.ico
;   OUT_FILE      the installer to write
;
; Uninstalling removes the program's files, the shortcut, the registration and
; the program's start with Windows when it names a path in this installation.
; The user's own data (To_configure.ini, spconfiguration_file.ini, thumbs\) is
; kept unless the user answers yes to the question, or, when silent (/S),
; unless /REMOVEUSERDATA is given. Anything else the user put into the folder
; stays, and so does the folder then.

; A 64-bit installer, like the program: Unicode, and it runs wherever the program runs.
Target amd64-unicode
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh
!include /CHARSET=UTF8 "${FILE_LIST}"

!define PRODUCT_NAME "QOVA Wallpaper"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QOVA Wallpaper"
!define SHORTCUT "$SMPROGRAMS\QOVA Wallpaper.lnk"
; The program's start with Windows: this value holds the quoted path of the qova.exe it starts.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "QOVA Wallpaper"
; The program's panel; Ctrl+Alt+End (hotkey 1) ends the program the orderly way.
!define MAIN_WINDOW_CLASS "QovaMainWindow"
!define HOTKEY_EXIT 1
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT_NAME}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\QOVA Wallpaper"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT_NAME} ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT_NAME} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "QOVA"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\qova.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the one used when the system's is neither.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString RemoveUserData ${LANG_SIMPCHINESE} "是否同时删除视频列表、设置和缩略图？$\r$\n(视频文件本身不会被删除。)"
LangString RemoveUserData ${LANG_ENGLISH} "Also delete your video list, settings and thumbnails?$\r$\n(The videos themselves are not deleted.)"

;PROCESS_QUERY_LIMITED_INFORMATION, to read a process's image path.
!define QUERY_LIMITED 0x1000

; Paths as the file system spells them: two spellings of one file (an 8.3
; name, other letters' case) compare equal once both are long.
!macro LONG_PATH un
; $R0: a path; the same path in its long form when it exists.
Function ${un}longPath
  Push $R1
  Push $R2
  System::Call 'kernel32::GetLongPathNameW(w R0, w .R1, i ${NSIS_MAX_STRLEN}) i .R2'
  ${If} $R2 > 0
  ${AndIf} $R2 < ${NSIS_MAX_STRLEN}
    StrCpy $R0 $R1
  ${EndIf}
  Pop $R2
  Pop $R1
FunctionEnd
!macroend
!insertmacro LONG_PATH ""
!insertmacro LONG_PATH "un."

; Ends the running copy of this installation's program, so that its files can
; be replaced or removed: posts it the exit hotkey, as the system delivers
; Ctrl+Alt+End, and waits (up to 15 s) until the process has finished its
; orderly exit. Copies that run from other folders are other installations
; and go on running.
!macro CLOSE_RUNNING_PROGRAM un
Function ${un}closeRunningProgram
  StrCpy $R0 "$INSTDIR\qova.exe"
  Call ${un}longPath
  StrCpy $3 $R0
  StrCpy $0 0
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "" 0 $0
    ${If} $0 = 0
      Return
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}|${QUERY_LIMITED}, i 0, i r1) p .r2'
    ${If} $2 != 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .R0, *i ${NSIS_MAX_STRLEN}) i .r4'
      Call ${un}longPath
      ${If} $4 <> 0
      ${AndIf} $R0 == $3
        System::Call 'user32::PostMessageW(p r0, i ${WM_HOTKEY}, p ${HOTKEY_EXIT}, p 0)'
        System::Call 'kernel32::WaitForSingleObject(p r2, i 15000)'
        System::Call 'kernel32::CloseHandle(p r2)'
        Return
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PROGRAM ""
!insertmacro CLOSE_RUNNING_PROGRAM "un."

Function .onInit
  SetShellVarContext current
FunctionEnd

Section "Install"
  Call closeRunningProgram
  SetOutPath "$INSTDIR"
  !insertmacro QOVA_INSTALL_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\qova.exe" "" "$INSTDIR\qova.exe" 0 SW_SHOWNORMAL "" "QOVA壁纸"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qova.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "QOVA"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

; Removes the program's start with Windows when it starts something in this
; installation's folder, however the path is spelled (an 8.3 name, other
; letters' case). A portable copy elsewhere may have taken the value over;
; its start with Windows stays.
Function un.removeOwnStartWithWindows
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == ""
    Return
  ${EndIf}
  ; The quoted path, without the quotes and what follows them.
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $2 0
    ${Do}
      StrCpy $1 $0 1 $2
      ${If} $1 == '"'
      ${OrIf} $1 == ""
        ${ExitDo}
      ${EndIf}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 $0 $2
  ${EndIf}
  ; Its folder, which is still there, in its long form.
  ${GetParent} $0 $R0
  Call un.longPath
  StrCpy $4 "$R0\"
  StrCpy $R0 $INSTDIR
  Call un.longPath
  StrCpy $5 "$R0\"
  StrLen $6 $5
  StrCpy $4 $4 $6
  ${If} $4 == $5
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.closeRunningProgram
  ; Before the files go, while their long names can still be asked for.
  Call un.removeOwnStartWithWindows
  !insertmacro QOVA_REMOVE_FILES
  Delete "$INSTDIR\uninstall.exe"
  ; The library's lock and the diagnostic log with its crash reports, the program's own.
  Delete "$INSTDIR\spconfiguration_file.ini.lock"
  RMDir /r "$INSTDIR\logs"
  Delete "${SHORTCUT}"

  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEUSERDATA" $1
  ${IfNot} ${Errors}
    StrCpy $2 yes
  ${Else}
    StrCpy $2 no
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveUserData)" /SD IDNO IDNO keep
    StrCpy $2 yes
    keep:
  ${EndIf}
  ${If} $2 == yes
    Delete "$INSTDIR\To_configure.ini"
    Delete "$INSTDIR\spconfiguration_file.ini"
    Delete "$INSTDIR\spconfiguration_file.ini.new"
    RMDir /r "$INSTDIR\thumbs"
  ${EndIf}
  RMDir "$INSTDIR"

  ; Last, so that the registration is gone only once everything else is done.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
