// Start-up and shutdown of the runtime components, in their fixed order.
#pragma once

void StartRuntime();
void EndRuntime();
