#include "navigator/line_map.h"

void ChooseDataFolder() {}
void TranslateLineNumber() {}
