// The data folder and the line map "lineno.txt". Until the file runtime is in
// place both steps leave the typed number as it is.
#pragma once

void ChooseDataFolder();
void TranslateLineNumber();
