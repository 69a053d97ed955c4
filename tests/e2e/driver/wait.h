#pragma once
// Waiting for something another process does. Every wait serves this
// thread's own window messages meanwhile, so a scenario that owns windows
// (a tray icon, a message box's owner) keeps them answering.

#include <windows.h>

#include <chrono>
#include <functional>

namespace e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// Asks ready() every poll until it is true or the timeout has passed.
bool waitUntil(const std::function<bool()>& ready, Millis timeout, Millis poll = 20ms);

// Until the handle is signalled or the timeout has passed.
bool waitForHandle(HANDLE handle, Millis timeout);

// Serves messages for the given time.
void pauseFor(Millis duration);

}  // namespace e2e
