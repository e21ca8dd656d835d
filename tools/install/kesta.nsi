; Kesta's Windows installer (NSIS 3, Unicode). Built by tools/package.sh:
;
;   makensis -DARCH=win64 -DSTAGE=DIR -DOUTFILE=FILE -DVERSION=X.Y tools/install/kesta.nsi
;
; STAGE holds what tools/package.sh gathered from one build: kesta10.exe, the
; six DLLs, the home files (pictures, wav\) and HANJA.FNT.
;
; It installs the program and its DLLs into the chosen folder (C:\kesta by
; default), HANJA.FNT into the Windows directory, makes the folders env, tel,
; cap, up, down and wav, and writes the home directory into WIN.INI
; ([KESTA 20] PROGRAM=folder), where the program looks for it. A Start menu
; folder holds the program and the uninstaller.
;
; The uninstaller removes all of that, and the settings the program wrote
; into env\, but leaves the phone book (tel\), the captures (cap\) and the
; downloads unless asked: the component "Phone book, captures and transfers",
; or /ALL on its command line when it runs silently (/S).

!ifndef ARCH
  !define ARCH win64
!endif
; a 64-bit installer for the 64-bit build: it runs where 32-bit programs cannot
!if "${ARCH}" == "win64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!ifndef VERSION
  !define VERSION "2.0"
!endif
!ifndef STAGE
  !error "define STAGE, the folder tools/package.sh gathered (see the top of this file)"
!endif
!ifndef OUTFILE
  !define OUTFILE "kesta-${VERSION}-${ARCH}-setup.exe"
!endif

!define NAME "Kesta"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kesta"
!define STARTMENU "$SMPROGRAMS\Kesta"

Name "${NAME} ${VERSION} (${ARCH})"
OutFile "${OUTFILE}"
InstallDir "C:\kesta"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kesta10.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Korean"
!insertmacro MUI_LANGUAGE "English"

LangString UserDataSection ${LANG_KOREAN} "전화번호부, 갈무리, 주고받은 파일"
LangString UserDataSection ${LANG_ENGLISH} "Phone book, captures and transfers"
LangString StartMenuProgram ${LANG_KOREAN} "케스타"
LangString StartMenuProgram ${LANG_ENGLISH} "Kesta"
LangString StartMenuUninstall ${LANG_KOREAN} "케스타 지우기"
LangString StartMenuUninstall ${LANG_ENGLISH} "Uninstall Kesta"
LangString Need64 ${LANG_KOREAN} "이 설치본은 64비트 윈도우용입니다."
LangString Need64 ${LANG_ENGLISH} "This installer is for 64-bit Windows."

Function .onInit
  SetShellVarContext all
  !if "${ARCH}" == "win64"
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP "$(Need64)" /SD IDOK
      Abort
    ${EndIf}
    SetRegView 64
  !endif
FunctionEnd

Section "Kesta" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\kesta10.exe"
  File "${STAGE}\ZLINK32.DLL"
  File "${STAGE}\QUILH32.DLL"
  File "${STAGE}\QUILF32.DLL"
  File "${STAGE}\HCTL32.DLL"
  File "${STAGE}\HCTLW32.DLL"
  File "${STAGE}\HXLAT32.DLL"
  ; the pictures: logo, welcome and failed-port picture pairs
  File "${STAGE}\kesta.mir"
  File "${STAGE}\kesta.dat"
  File "${STAGE}\kestaex.mir"
  File "${STAGE}\kestaex.dat"
  File "${STAGE}\mport.mir"
  File "${STAGE}\mport.dat"
  SetOutPath "$INSTDIR\wav"
  File "${STAGE}\wav\*.wav"
  SetOutPath "$INSTDIR"
  CreateDirectory "$INSTDIR\env"
  CreateDirectory "$INSTDIR\tel"
  CreateDirectory "$INSTDIR\cap"
  CreateDirectory "$INSTDIR\up"
  CreateDirectory "$INSTDIR\down"

  SetOutPath "$WINDIR"
  File "${STAGE}\HANJA.FNT"
  SetOutPath "$INSTDIR"

  WriteINIStr "$WINDIR\win.ini" "KESTA 20" "PROGRAM" "$INSTDIR"

  CreateDirectory "${STARTMENU}"
  CreateShortcut "${STARTMENU}\$(StartMenuProgram).lnk" "$INSTDIR\kesta10.exe" "" "$INSTDIR\kesta10.exe" 0
  CreateShortcut "${STARTMENU}\$(StartMenuUninstall).lnk" "$INSTDIR\uninstall.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kesta ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kesta10.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; ---------------------------------------------------------------- uninstaller


Section "un.Kesta" SecUnProgram
  SectionIn RO
  Delete "$INSTDIR\kesta10.exe"
  Delete "$INSTDIR\ZLINK32.DLL"
  Delete "$INSTDIR\QUILH32.DLL"
  Delete "$INSTDIR\QUILF32.DLL"
  Delete "$INSTDIR\HCTL32.DLL"
  Delete "$INSTDIR\HCTLW32.DLL"
  Delete "$INSTDIR\HXLAT32.DLL"
  Delete "$INSTDIR\kesta.mir"
  Delete "$INSTDIR\kesta.dat"
  Delete "$INSTDIR\kestaex.mir"
  Delete "$INSTDIR\kestaex.dat"
  Delete "$INSTDIR\mport.mir"
  Delete "$INSTDIR\mport.dat"
  Delete "$INSTDIR\wav\*.wav"
  RMDir "$INSTDIR\wav"
  ; the settings the program keeps (modem, colours, sounds, window size, ...)
  Delete "$INSTDIR\env\kesta.*"
  RMDir "$INSTDIR\env"
  Delete "$WINDIR\HANJA.FNT"
  DeleteINIStr "$WINDIR\win.ini" "KESTA 20" "PROGRAM"
  DeleteINISec "$WINDIR\win.ini" "KESTA 20"
  Delete "${STARTMENU}\*.lnk"
  RMDir "${STARTMENU}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  ; folders the user's files are in stay unless they are empty
  RMDir "$INSTDIR\up"
  RMDir "$INSTDIR\down"
  RMDir "$INSTDIR\cap"
  RMDir "$INSTDIR\tel"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.$(UserDataSection)" SecUserData
  RMDir /r "$INSTDIR\tel"
  RMDir /r "$INSTDIR\cap"
  RMDir /r "$INSTDIR\up"
  RMDir /r "$INSTDIR\down"
  RMDir /r "$INSTDIR\env"
  RMDir "$INSTDIR"
SectionEnd

; after the sections, whose indexes it uses
Function un.onInit
  SetShellVarContext all
  !if "${ARCH}" == "win64"
    SetRegView 64
  !endif
  ; silent: the user's files stay unless /ALL is given
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALL" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUserData}
  ${EndIf}
FunctionEnd
