#include "handler_log.h"

#include <array>
#include <utility>

namespace {

struct Slot {
    std::string label;
    std::function<void()> action;
};

std::array<Slot, LOGGING_HANDLERS>& Slots() {
    static std::array<Slot, LOGGING_HANDLERS> slots;
    return slots;
}

template <int I> void SlotHandler() {
    HandlerLog().push_back(Slots()[I].label);
    if (Slots()[I].action) Slots()[I].action();
}

template <int... I> constexpr std::array<EventHandler, sizeof...(I)> MakeHandlers(std::integer_sequence<int, I...>) {
    return {&SlotHandler<I>...};
}

constexpr std::array<EventHandler, LOGGING_HANDLERS> HANDLERS =
    MakeHandlers(std::make_integer_sequence<int, LOGGING_HANDLERS>{});

} // namespace

std::vector<std::string>& HandlerLog() {
    static std::vector<std::string> log;
    return log;
}

std::string LogLine(const std::string& line) { return line; }

EventHandler LoggingHandler(int slot, std::string label, std::function<void()> action) {
    Slots()[slot] = Slot{std::move(label), std::move(action)};
    return HANDLERS[slot];
}

void ForgetLoggingHandlers() { Slots() = {}; }
