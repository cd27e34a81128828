// Finding the running program from another process, for the probe and the keystroke benchmark.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <cwchar>

// The program's file name: Paceword.exe, or the copy a test runs named in PACEWORD_PROGRAM.
inline DWORD findProgramProcess()
{
    const wchar_t* named = _wgetenv(L"PACEWORD_PROGRAM");
    const wchar_t* program = named && *named ? named : L"Paceword.exe";
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, program) == 0)
            found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
}
