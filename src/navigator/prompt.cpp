#include "navigator/prompt.h"

void AskLineNumber() {}
