// The process entry point's whole run: set-up, runtime start-up, the tool's
// steps once, shutdown, ExitProcess. Never returns.
#pragma once

[[noreturn]] void RunLineNavigator();
