// The data folder and the line map "lineno.txt".
//
// The line map is written outside this tool: a headerless array of signed
// 32-bit little-endian integers; record k (from 1) is the line to go to when
// the user types k, and 0 means no mapping. A partial last record of 1 to 3
// bytes reads with its missing high-order bytes as 0.
#pragma once

#include "base/text/text_unit.h"

constexpr const TextUnit* USER_DATA_FOLDER = TXT("AppData\\Local\\Quillo5\\");
constexpr const TextUnit* PORTABLE_MARKER = TXT("portable.inf");
constexpr const TextUnit* PORTABLE_DATA_FOLDER = TXT("DATA\\");
constexpr const TextUnit* LINE_MAP_FILE = TXT("lineno.txt");
constexpr int64_t LINE_MAP_FILE_NUMBER = 1;
constexpr unsigned LINE_MAP_RETRY_MS = 100;      // how long a map held by another program is tried again
constexpr unsigned LINE_MAP_RETRY_PAUSE_MS = 10; // between two tries

// Sets Navigator.DataFolder: the program folder followed by "DATA\" when it
// holds "portable.inf" (a file of any size, or a folder); otherwise the
// profile folder followed by "AppData\Local\Quillo5\" (empty when the profile
// folder cannot be found), and only then is the profile folder asked for.
void ChooseDataFolder();

// Replaces Navigator.LineNumber by its record in the line map of the data
// folder, when there is a data folder, the map opens and the record is there
// and not 0. A map that
// another program holds open without sharing, or writes, is tried again for
// up to LINE_MAP_RETRY_MS.
void TranslateLineNumber();
