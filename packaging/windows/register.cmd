@echo off
rem Registers the Vantrel native messaging host (org.vantrel.host) with Google
rem Chrome, Chromium, Microsoft Edge and Firefox, or removes it again. Brave and
rem Vivaldi document no key of their own; as builds of Chromium without Google's
rem branding they read Chromium's key, then Chrome's.
rem
rem   register.cmd [/machine] [/origin chrome-extension://ID/] [/extension ID]
rem   register.cmd [/machine] /uninstall
rem
rem It belongs in the folder of vantrel.exe and writes the browsers' manifests
rem there: org.vantrel.host.json (the Chromium family, allowed_origins) and
rem org.vantrel.host.firefox.json (Firefox, allowed_extensions). The registry
rem keys name them for the current user, or with /machine for all users (which
rem needs an administrator). The manifests follow the templates
rem org.vantrel.host.json.in and org.vantrel.host.firefox.json.in, and the keys
rem the template org.vantrel.host.reg.in.
setlocal

set "HOST=org.vantrel.host"
set "DESCRIPTION=Vantrel: PKCS#11 tokens and signatures for web pages"
set "ORIGIN=chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/"
set "EXTENSION=vantrel-sample@vantrel.org"
set "HIVE=HKCU"
set "UNINSTALL="

:options
if "%~1"=="" goto options_done
if /i "%~1"=="/machine" goto option_machine
if /i "%~1"=="/uninstall" goto option_uninstall
if /i "%~1"=="/origin" goto option_origin
if /i "%~1"=="/extension" goto option_extension
echo register.cmd: unknown option %1 1>&2
exit /b 2
:option_machine
set "HIVE=HKLM"
shift
goto options
:option_uninstall
set "UNINSTALL=1"
shift
goto options
:option_origin
if "%~2"=="" goto missing_value
set "ORIGIN=%~2"
shift
shift
goto options
:option_extension
if "%~2"=="" goto missing_value
set "EXTENSION=%~2"
shift
shift
goto options
:missing_value
echo register.cmd: %1 needs a value 1>&2
exit /b 2
:options_done

rem HKLM\Software has a 32-bit and a 64-bit view on 64-bit Windows, and each
rem browser reads the view of its own kind: the keys go into both.
set "BOTH_VIEWS="
if defined PROCESSOR_ARCHITEW6432 set "BOTH_VIEWS=1"
if /i not "%PROCESSOR_ARCHITECTURE%"=="x86" set "BOTH_VIEWS=1"

set "FOLDER=%~dp0"
set "FOLDER=%FOLDER:~0,-1%"
set "PROGRAM=%FOLDER%\vantrel.exe"
set "CHROMIUM_MANIFEST=%FOLDER%\%HOST%.json"
set "FIREFOX_MANIFEST=%FOLDER%\%HOST%.firefox.json"
rem Chrome's key: Chrome's native messaging documentation; Chromium's: the
rem search order of Microsoft's native messaging documentation for Edge, which
rem names Edge's own key too; Firefox's: MDN's native manifests.
set "CHROME_KEY=Software\Google\Chrome\NativeMessagingHosts\%HOST%"
set "CHROMIUM_KEY=Software\Chromium\NativeMessagingHosts\%HOST%"
set "EDGE_KEY=Software\Microsoft\Edge\NativeMessagingHosts\%HOST%"
set "FIREFOX_KEY=Software\Mozilla\NativeMessagingHosts\%HOST%"

if defined UNINSTALL goto uninstall

if not exist "%PROGRAM%" goto no_program
rem The manifests are JSON: the path's backslashes are doubled.
set "PROGRAM_JSON=%PROGRAM:\=\\%"

> "%CHROMIUM_MANIFEST%" echo {
>>"%CHROMIUM_MANIFEST%" echo   "name": "%HOST%",
>>"%CHROMIUM_MANIFEST%" echo   "description": "%DESCRIPTION%",
>>"%CHROMIUM_MANIFEST%" echo   "path": "%PROGRAM_JSON%",
>>"%CHROMIUM_MANIFEST%" echo   "type": "stdio",
>>"%CHROMIUM_MANIFEST%" echo   "allowed_origins": ["%ORIGIN%"]
>>"%CHROMIUM_MANIFEST%" echo }
if errorlevel 1 goto write_failed

> "%FIREFOX_MANIFEST%" echo {
>>"%FIREFOX_MANIFEST%" echo   "name": "%HOST%",
>>"%FIREFOX_MANIFEST%" echo   "description": "%DESCRIPTION%",
>>"%FIREFOX_MANIFEST%" echo   "path": "%PROGRAM_JSON%",
>>"%FIREFOX_MANIFEST%" echo   "type": "stdio",
>>"%FIREFOX_MANIFEST%" echo   "allowed_extensions": ["%EXTENSION%"]
>>"%FIREFOX_MANIFEST%" echo }
if errorlevel 1 goto write_failed

call :add_key "%CHROME_KEY%" "%CHROMIUM_MANIFEST%"
if errorlevel 1 goto registry_failed
call :add_key "%CHROMIUM_KEY%" "%CHROMIUM_MANIFEST%"
if errorlevel 1 goto registry_failed
call :add_key "%EDGE_KEY%" "%CHROMIUM_MANIFEST%"
if errorlevel 1 goto registry_failed
call :add_key "%FIREFOX_KEY%" "%FIREFOX_MANIFEST%"
if errorlevel 1 goto registry_failed
echo Registered %HOST% for %HIVE%: %PROGRAM%
exit /b 0

:uninstall
call :delete_key "%CHROME_KEY%"
call :delete_key "%CHROMIUM_KEY%"
call :delete_key "%EDGE_KEY%"
call :delete_key "%FIREFOX_KEY%"
rem The manifests stay while the other scope's keys still name them.
set "OTHER_HIVE=HKLM"
if /i "%HIVE%"=="HKLM" set "OTHER_HIVE=HKCU"
call :still_named "%CHROME_KEY%"
if not errorlevel 1 goto uninstalled
call :still_named "%CHROMIUM_KEY%"
if not errorlevel 1 goto uninstalled
call :still_named "%EDGE_KEY%"
if not errorlevel 1 goto uninstalled
call :still_named "%FIREFOX_KEY%"
if not errorlevel 1 goto uninstalled
if exist "%CHROMIUM_MANIFEST%" del "%CHROMIUM_MANIFEST%"
if exist "%FIREFOX_MANIFEST%" del "%FIREFOX_MANIFEST%"
:uninstalled
echo Removed %HOST% for %HIVE%
exit /b 0

:add_key
reg add "%HIVE%\%~1" /ve /t REG_SZ /d "%~2" /f /reg:32 >nul
if errorlevel 1 exit /b 1
if not defined BOTH_VIEWS exit /b 0
reg add "%HIVE%\%~1" /ve /t REG_SZ /d "%~2" /f /reg:64 >nul
if errorlevel 1 exit /b 1
exit /b 0

:delete_key
rem A key that is not there is no failure: removing twice is harmless.
reg delete "%HIVE%\%~1" /f /reg:32 >nul 2>&1
if defined BOTH_VIEWS reg delete "%HIVE%\%~1" /f /reg:64 >nul 2>&1
exit /b 0

:still_named
reg query "%OTHER_HIVE%\%~1" /ve /reg:32 >nul 2>&1
exit /b %errorlevel%

:no_program
echo register.cmd: %PROGRAM% is missing 1>&2
exit /b 1
:write_failed
echo register.cmd: cannot write the manifests beside %PROGRAM% 1>&2
exit /b 1
:registry_failed
echo register.cmd: cannot write the registry keys under %HIVE% (/machine needs an administrator) 1>&2
exit /b 1
