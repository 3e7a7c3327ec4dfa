// One run of linenav.exe as the editor starts it, driven like a person at the
// keyboard and mouse through the system's input path.
#pragma once

#include "input.h"
#include "processes.h"

#include <optional>
#include <string>

// The exact command line the editor would use: the program, then `argument`
// as given (quoted by the caller where needed).
std::wstring LinenavCommand(const std::wstring& argument, const std::wstring& program = ProgramBeside(L"linenav.exe"));

class LinenavRun {
public:
    ~LinenavRun() { process_.Kill(); }

    // Starts linenav.exe and waits (bounded) for its prompt to be the
    // foreground window with the focus in its text field.
    bool StartAndWaitForPrompt(const std::wstring& argument);
    // `program`: a copy of linenav.exe elsewhere, rather than the one built.
    bool Start(const std::wstring& argument, const std::wstring& program = ProgramBeside(L"linenav.exe"));
    bool WaitForPrompt();

    HWND prompt() const { return prompt_; }
    HWND field() const { return field_; }
    HWND label() const { return label_; }
    DWORD processId() const { return process_.id; }

    // Exit code once the process has ended (bounded wait), else nothing.
    std::optional<DWORD> WaitForExit();
    bool Running();

private:
    ChildProcess process_;
    HWND prompt_ = nullptr, field_ = nullptr, label_ = nullptr;
};
