// Start-up and shutdown of the runtime components, in their fixed order. The
// program flow starts the text area before StartRuntime and ends it after
// EndRuntime.
#pragma once

void StartRuntime();
void EndRuntime();
