// Start-up and shutdown of the runtime components, in their fixed order. It
// starts base/ and ui/ components alike, so it sits above both and below the
// program. The program flow starts the text area before StartRuntime and ends
// it after EndRuntime.
#pragma once

void StartRuntime();
void EndRuntime();
