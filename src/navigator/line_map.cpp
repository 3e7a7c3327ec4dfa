#include "navigator/line_map.h"

#include "base/files/files.h"
#include "base/system/home_folder.h"
#include "base/system/system_wait.h"
#include "base/text/text.h"
#include "navigator/globals.h"
#include "navigator/line_map_records.h"

#include <windows.h>

void ChooseDataFolder() {
    int64_t marker;
    {
        TextMark path;
        AppendText(Navigator.ProgramFolder);
        AppendText(PORTABLE_MARKER);
        marker = FileLength(path.text());
    }
    TextMark path;
    if (marker != FILE_NOT_FOUND) {
        AppendText(Navigator.ProgramFolder);
        AppendText(PORTABLE_DATA_FOLDER);
    } else {
        // Only the per-user folder needs the profile folder, and with it
        // SHELL32 and ole32. Without a profile folder there is no per-user
        // map: the relative "AppData\Local\Quillo5\" would resolve against
        // whatever folder the editor started linenav in, and a map planted
        // there would steer the caret. The data folder then stays empty.
        HomeFolder();
        if (TextLength(path.text()) > 0) AppendText(USER_DATA_FOLDER);
    }
    path.AssignTo(Navigator.DataFolder);
}

namespace {

// Opens the map as LINE_MAP_FILE_NUMBER. A program that holds it without
// sharing, or writes it, usually lets go within moments: a sharing violation
// is tried again for up to LINE_MAP_RETRY_MS before the typed number is used.
bool OpenLineMap(const TextUnit* path) {
    bool opened = false;
    WaitWithin(LINE_MAP_RETRY_MS, LINE_MAP_RETRY_PAUSE_MS, [&] {
        opened = OpenForReading(LINE_MAP_FILE_NUMBER, path) != 0;
        return opened || GetLastError() != ERROR_SHARING_VIOLATION; // anything else will not pass
    });
    return opened;
}

} // namespace

void TranslateLineNumber() {
    if (TextLength(Navigator.DataFolder) == 0) return; // no data folder: the typed number stands
    bool opened;
    {
        TextMark path;
        AppendText(Navigator.DataFolder);
        AppendText(LINE_MAP_FILE);
        HoldResult(); // the open's own temporaries must not overwrite the path
        opened = OpenLineMap(path.text());
    }
    if (!opened) return; // the typed number stands

    // Records 1 to LineNumber in order, a buffer's worth at a time: a long map
    // costs about what one pass of 4096-byte reads over it costs.
    ReadMapRecordRuns(Navigator.LoopCounter, Navigator.LineNumber, Navigator.MapValue,
                      [](int64_t wanted, int64_t& read, int32_t& delivered) {
                          return ReadInt32Run(LINE_MAP_FILE_NUMBER, wanted, &read, &delivered);
                      });
    CloseAppFile(LINE_MAP_FILE_NUMBER);
    Navigator.LineNumber = MappedLine(Navigator.LineNumber, Navigator.MapValue);
}
