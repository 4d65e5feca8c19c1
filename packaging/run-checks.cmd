@echo off
rem Runs every check of this package; the report goes to report\ beside this
rem file, its last line RESULT: PASS or RESULT: FAIL. Exit code 0 only when
rem every check passed. The work is done by orvel_checks.exe.
setlocal
cd /d "%~dp0"
orvel_checks.exe
exit /b %errorlevel%
