#include "ui/events/dispatch.h"

#include "base/runtime/block_pool.h"
#include "base/runtime/memory.h"

#include <cstring>
#include <initializer_list>

namespace {

struct QueuedEvent {
    QueuedEvent* next;
    AppEvent event;
};

struct HandlerNode {
    HandlerNode* next;
    EventHandler handler;
};

struct Binding {
    Binding* nextInBucket;
    HandlerNode* handlers; // newest first
    int64_t window;        // the window part of the key
    Binding* nextRetired;
    int32_t retired; // unbound while a dispatch may still walk it
    char key[BINDING_KEY_UNITS];
};

struct EventState {
    AppEvent current;
    QueuedEvent* head;
    QueuedEvent* tail;
    int32_t queued;
    BlockPool queuePool;
    BlockPool* bindingPool;
    BlockPool* handlerPool;
    Binding* buckets[HANDLER_TABLE_BUCKETS];
    int32_t dispatchDepth;
    Binding* retired; // freed once the outermost dispatch has ended
};

EventState* state;

// --- Binding keys -------------------------------------------------------------

int32_t FormatNumber(char* out, int64_t value) {
    char digits[24];
    int32_t count = 0;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    int32_t length = 0;
    if (value < 0) out[length++] = '-';
    while (count) out[length++] = digits[--count];
    return length;
}

// --- The handler table --------------------------------------------------------

Binding* FindBinding(const char* key) {
    for (Binding* binding = state->buckets[BindingKeyHash(key) % HANDLER_TABLE_BUCKETS]; binding;
         binding = binding->nextInBucket)
        if (std::strcmp(binding->key, key) == 0) return binding;
    return nullptr;
}

void FreeBinding(Binding* binding) {
    while (HandlerNode* node = binding->handlers) {
        binding->handlers = node->next;
        ReleasePoolRecord(state->handlerPool, node);
    }
    ReleasePoolRecord(state->bindingPool, binding);
}

void RunHandlers(int32_t code, int64_t window, int64_t object, int64_t type) {
    char key[BINDING_KEY_UNITS];
    FormatBindingKey(key, code, window, object, type);
    Binding* binding = FindBinding(key);
    if (!binding) return;
    // The link to the next handler is read before each call; a binding made
    // meanwhile goes in front and so is not part of this walk.
    for (HandlerNode* node = binding->handlers; node && !binding->retired;) {
        HandlerNode* next = node->next;
        node->handler();
        node = next;
    }
}

void Dispatch(const AppEvent& event) {
    ++state->dispatchDepth;
    RunHandlers(event.code, event.window, event.object, event.type);
    RunHandlers(event.code, event.window, event.object, EVENT_ANY);
    RunHandlers(event.code, event.window, EVENT_ANY, EVENT_ANY);
    RunHandlers(event.code, EVENT_ANY, EVENT_ANY, EVENT_ANY);
    RunHandlers(event.code, EVENT_ANY, event.object, event.type);
    if (--state->dispatchDepth == 0) {
        while (Binding* binding = state->retired) {
            state->retired = binding->nextRetired;
            FreeBinding(binding);
        }
    }
}

bool SameEvent(const AppEvent& a, const AppEvent& b) {
    return a.code == b.code && a.object == b.object && a.window == b.window && a.type == b.type;
}

bool Matches(int64_t wanted, int64_t value) { return wanted == EVENT_ANY || wanted == value; }

template <class Predicate> void DropWhere(Predicate drop) {
    QueuedEvent* previous = nullptr;
    for (QueuedEvent* record = state->head; record;) {
        QueuedEvent* next = record->next;
        if (drop(record->event)) {
            if (previous) previous->next = next;
            else state->head = next;
            if (state->tail == record) state->tail = previous;
            ReleasePoolRecord(&state->queuePool, record);
            --state->queued;
        } else {
            previous = record;
        }
        record = next;
    }
}

} // namespace

int32_t FormatBindingKey(char* out, int32_t code, int64_t window, int64_t object, int64_t type) {
    int32_t length = FormatNumber(out, code);
    for (int64_t part : {window, object, type}) {
        out[length++] = ':';
        length += FormatNumber(out + length, part);
    }
    out[length] = 0;
    return length;
}

uint32_t BindingKeyHash(const char* key) {
    uint32_t hash = 0;
    for (; *key; ++key) hash = hash * 65599u + static_cast<unsigned char>(*key);
    return hash;
}

void StartEventQueue() {
    state = static_cast<EventState*>(RuntimeRecord(sizeof(EventState)));
    InitBlockPool(&state->queuePool, sizeof(QueuedEvent), 16, 256);
    state->bindingPool = SharedBlockPool(sizeof(Binding));
    state->handlerPool = SharedBlockPool(sizeof(HandlerNode));
}

void RaiseFullEvent(const AppEvent& event) {
    const bool waiting = state->tail && event.code < EVENT_DEDUPLICATED_BELOW && SameEvent(state->tail->event, event);
    if (!waiting) {
        auto* record = static_cast<QueuedEvent*>(PoolRecord(&state->queuePool));
        record->event = event;
        if (state->tail) state->tail->next = record;
        else state->head = record;
        state->tail = record;
        ++state->queued;
    }
    const AppEvent saved = state->current;
    state->current = event;
    Dispatch(event);
    state->current = saved;
}

void RaiseEvent(int32_t code, int64_t window, int64_t object, int64_t type) {
    RaiseFullEvent(AppEvent{code, object, window, type, 0});
}

int32_t BindEventHandler(int32_t code, EventHandler handler, int64_t window, int64_t object, int64_t type) {
    char key[BINDING_KEY_UNITS];
    FormatBindingKey(key, code, window, object, type);
    Binding* binding = FindBinding(key);
    if (!binding) {
        binding = static_cast<Binding*>(PoolRecord(state->bindingPool));
        std::memcpy(binding->key, key, sizeof key);
        Binding*& bucket = state->buckets[BindingKeyHash(key) % HANDLER_TABLE_BUCKETS];
        binding->nextInBucket = bucket;
        bucket = binding;
    }
    for (HandlerNode* node = binding->handlers; node; node = node->next)
        if (node->handler == handler) return 0;
    auto* node = static_cast<HandlerNode*>(PoolRecord(state->handlerPool));
    node->handler = handler;
    node->next = binding->handlers;
    binding->handlers = node;
    binding->window = window;
    return 1;
}

void UnbindWindowHandlers(int64_t window) {
    for (Binding*& bucket : state->buckets) {
        for (Binding** link = &bucket; *link;) {
            Binding* binding = *link;
            if (binding->window != window) {
                link = &binding->nextInBucket;
                continue;
            }
            *link = binding->nextInBucket;
            // A dispatch may be walking this binding's handlers right now (a
            // handler closing its own window): keep the memory until the
            // outermost dispatch has ended, and stop that walk.
            if (state->dispatchDepth > 0) {
                binding->retired = 1;
                binding->nextRetired = state->retired;
                state->retired = binding;
            } else {
                FreeBinding(binding);
            }
        }
    }
}

void DropQueuedEvents(int32_t code, int64_t window, int64_t object, int64_t type) {
    DropWhere([&](const AppEvent& e) {
        return (code == EVENT_ANY || e.code == code) && Matches(window, e.window) && Matches(object, e.object) &&
               Matches(type, e.type);
    });
}

void DropWindowEvents(int64_t window) {
    DropWhere([&](const AppEvent& e) { return e.window == window; });
}

int64_t TakeQueuedEvent() {
    state->current.code = 0;
    state->current.type = -1;
    QueuedEvent* record = state->head;
    if (!record) return 0;
    state->head = record->next;
    if (!state->head) state->tail = nullptr;
    --state->queued;
    state->current = record->event;
    ReleasePoolRecord(&state->queuePool, record);
    return state->current.code;
}

int64_t CurrentEventType() { return state->current.type; }
int64_t CurrentEventGadget() { return state->current.object; }
const AppEvent& CurrentEvent() { return state->current; }
int32_t QueuedEventCount() { return state->queued; }
