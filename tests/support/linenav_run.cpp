#include "linenav_run.h"

#include "fixture_client.h"
#include "text_helpers.h"
#include "wait.h"

#include <vector>

std::wstring LinenavCommand(const std::wstring& argument, const std::wstring& program) {
    return Quoted(program) + (argument.empty() ? L"" : L" " + argument);
}

bool LinenavRun::Start(const std::wstring& argument, const std::wstring& program) {
    return StartProcess(LinenavCommand(argument, program), process_);
}

bool LinenavRun::WaitForPrompt() {
    const bool found = WaitUntil([&] {
        prompt_ = FindProcessWindow(process_.id, L"WindowClass_0");
        if (!prompt_ || !IsWindowVisible(prompt_)) return false;
        label_ = FindWindowExW(prompt_, nullptr, L"Static", nullptr);
        field_ = FindWindowExW(prompt_, nullptr, L"Edit", nullptr);
        return field_ && IsForegroundWithFocus(prompt_, field_);
    });
    return found;
}

bool LinenavRun::StartAndWaitForPrompt(const std::wstring& argument) { return Start(argument) && WaitForPrompt(); }

std::optional<DWORD> LinenavRun::WaitForExit() { return process_.WaitForExit(DEFAULT_WAIT_MS); }

bool LinenavRun::Running() { return process_.process && !process_.WaitForExit(0); }
