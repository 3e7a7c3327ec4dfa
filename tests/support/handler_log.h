// What event handlers did, one line each in the order they ran: the record
// the dispatch, event-wait and menu tests compare with what they expect.
#pragma once

#include "ui/events/dispatch.h"

#include <functional>
#include <string>
#include <vector>

std::vector<std::string>& HandlerLog();

// SameSequence's namer for log lines: the line itself.
std::string LogLine(const std::string& line);

// Handlers are plain procedures, so each logging handler is one of a fixed
// set, told apart by its slot.
constexpr int LOGGING_HANDLERS = 32;

// The handler of `slot` (below LOGGING_HANDLERS): each time it runs it logs
// `label`, then runs `action`, if any. Giving a slot again replaces both.
EventHandler LoggingHandler(int slot, std::string label, std::function<void()> action = {});

// Forgets every slot's label and action, so no action of an earlier test (and
// what it refers to) runs again.
void ForgetLoggingHandlers();
