#include "names.h"

#include <cstdio>

namespace {

struct Name {
    unsigned value;
    const char* name;
};

constexpr Name KEYS[] = {
    {0x08, "VK_BACK"},   {0x09, "VK_TAB"},    {0x0D, "VK_RETURN"},   {0x10, "VK_SHIFT"},    {0x11, "VK_CONTROL"},
    {0x12, "VK_MENU"},   {0x1B, "VK_ESCAPE"}, {0x20, "VK_SPACE"},    {0x23, "VK_END"},      {0x24, "VK_HOME"},
    {0x25, "VK_LEFT"},   {0x26, "VK_UP"},     {0x27, "VK_RIGHT"},    {0x28, "VK_DOWN"},     {0x73, "VK_F4"},
    {0xA0, "VK_LSHIFT"}, {0xA1, "VK_RSHIFT"}, {0xA2, "VK_LCONTROL"}, {0xA3, "VK_RCONTROL"}, {0xA4, "VK_LMENU"},
    {0xA5, "VK_RMENU"},
};

constexpr Name MESSAGES[] = {
    {0x0002, "WM_DESTROY"},        {0x0003, "WM_MOVE"},         {0x0005, "WM_SIZE"},
    {0x0006, "WM_ACTIVATE"},       {0x0007, "WM_SETFOCUS"},     {0x0008, "WM_KILLFOCUS"},
    {0x0010, "WM_CLOSE"},          {0x0012, "WM_QUIT"},         {0x0014, "WM_ERASEBKGND"},
    {0x000F, "WM_PAINT"},          {0x001C, "WM_ACTIVATEAPP"},  {0x0024, "WM_GETMINMAXINFO"},
    {0x0015, "WM_SYSCOLORCHANGE"}, {0x004E, "WM_NOTIFY"},       {0x0082, "WM_NCDESTROY"},
    {0x0086, "WM_NCACTIVATE"},     {0x0100, "WM_KEYDOWN"},      {0x0101, "WM_KEYUP"},
    {0x0102, "WM_CHAR"},           {0x0104, "WM_SYSKEYDOWN"},   {0x0105, "WM_SYSKEYUP"},
    {0x0111, "WM_COMMAND"},        {0x0112, "WM_SYSCOMMAND"},   {0x0113, "WM_TIMER"},
    {0x0128, "WM_CHANGEUISTATE"},  {0x0129, "WM_QUERYUISTATE"}, {0x0200, "WM_MOUSEMOVE"},
    {0x0201, "WM_LBUTTONDOWN"},    {0x0202, "WM_LBUTTONUP"},    {0x0203, "WM_LBUTTONDBLCLK"},
    {0x0205, "WM_RBUTTONUP"},
};

template <size_t N> std::string Lookup(const Name (&table)[N], unsigned value, const char* prefix) {
    for (const Name& entry : table)
        if (entry.value == value) return entry.name;
    char text[32];
    std::snprintf(text, sizeof text, "%s0x%X", prefix, value);
    return text;
}

} // namespace

std::string VirtualKeyName(unsigned key) { return Lookup(KEYS, key, "VK_"); }
std::string MessageName(unsigned message) { return Lookup(MESSAGES, message, "WM_"); }
