// Bringing the editor to the front and typing the keys that put its caret at
// the start of line Navigator.LineNumber.
#pragma once

void SendCaretKeys();
