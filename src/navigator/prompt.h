// The line prompt: asks the user for a line number and sets
// Navigator.LineNumber. Until the window runtime is in place it shows nothing
// and leaves LineNumber at 0, exactly as for a prompt that cannot open.
#pragma once

void AskLineNumber();
