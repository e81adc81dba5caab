#!/bin/sh
# Checks the shipped executable's headers and imports: a 32-bit GUI program for Windows 5.01,
# with ASLR and DEP, that imports only DLLs Windows always takes from its own folder (a DLL of
# another name beside the program would be loaded in its place) and nothing Windows XP lacks.
# usage: check-imports.sh OBJDUMP EXE
set -u
objdump=$1
exe=$2
headers=$("$objdump" -p "$exe") || exit 1
status=0
fail() {
    echo "FAILED: $*" >&2
    status=1
}

echo "$headers" | grep -q 'file format pei-i386' || fail "not a PE32 for Intel 386"
echo "$headers" | grep -Eq '^Magic[[:space:]]+010b' || fail "optional header is not PE32"
echo "$headers" | grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]' || fail "not the GUI subsystem"
echo "$headers" | grep -Eq '^MajorSubsystemVersion[[:space:]]+5$' || fail "subsystem major version is not 5"
echo "$headers" | grep -Eq '^MinorSubsystemVersion[[:space:]]+1$' || fail "subsystem minor version is not 1"
echo "$headers" | grep -q 'DYNAMIC_BASE' || fail "no ASLR (DYNAMIC_BASE)"
echo "$headers" | grep -q 'NX_COMPAT' || fail "no DEP (NX_COMPAT)"

dlls=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || fail "no import table found"
for dll in $dlls; do
    case $dll in
        kernel32.dll | user32.dll | gdi32.dll | shell32.dll | msvcrt.dll) ;;
        *) fail "imports from $dll" ;;
    esac
done

# Functions the toolchain's runtime may pull in that Windows XP does not have.
functions=$(echo "$headers" | awk '/DLL Name:/ {inside = 1; next} inside && NF >= 3 && $1 ~ /^[0-9a-f]+$/ {print $3}')
denied='GetTickCount64 InitializeCriticalSectionEx InitOnceExecuteOnce InitOnceBeginInitialize
InitOnceComplete InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared
ReleaseSRWLockExclusive ReleaseSRWLockShared TryAcquireSRWLockExclusive TryAcquireSRWLockShared
InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW
WakeConditionVariable WakeAllConditionVariable FlsAlloc FlsFree FlsGetValue FlsSetValue
CreateEventExA CreateEventExW CreateMutexExA CreateMutexExW CreateSemaphoreExW
GetSystemTimePreciseAsFileTime GetFileInformationByHandleEx SetFileInformationByHandle
GetFinalPathNameByHandleA GetFinalPathNameByHandleW CreateSymbolicLinkA CreateSymbolicLinkW
CompareStringEx LCMapStringEx GetLocaleInfoEx GetUserDefaultLocaleName GetThreadId
GetCurrentProcessorNumber QueryFullProcessImageNameA QueryFullProcessImageNameW GetErrorMode
SetThreadErrorMode SetDllDirectoryA SetDllDirectoryW SetDefaultDllDirectories AddDllDirectory CancelIoEx
GetQueuedCompletionStatusEx SetThreadDescription GetThreadDescription WaitOnAddress
WakeByAddressSingle WakeByAddressAll RaiseFailFastException GetTimeZoneInformationForYear
SetProcessDPIAware IsProcessDPIAware SetProcessDpiAwarenessContext GetDpiForWindow
ChangeWindowMessageFilter AddClipboardFormatListener SHGetKnownFolderPath
CreateThreadpoolWork SubmitThreadpoolWork CloseThreadpoolWork'
for name in $denied; do
    echo "$functions" | grep -qx "$name" && fail "imports $name, which Windows XP lacks"
done
# The secure CRT variants (strcpy_s and the like) came after the msvcrt.dll of Windows XP.
secure=$(echo "$functions" | grep -E '^_?[a-z0-9_]+_s$' || true)
[ -z "$secure" ] || fail "imports secure CRT functions: $(echo $secure)"

if [ $status -eq 0 ]; then
    echo "imports: $(echo $dlls)"
fi
exit $status
