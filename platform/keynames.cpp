#include "platform/keynames.h"

#include <array>

namespace {

struct NamedKey {
    KeyCode code;
    const char* name;
};

constexpr NamedKey namedScanCodes[] = {
    {0x01, "ESCAPE"},       {0x02, "1"},           {0x03, "2"},           {0x04, "3"},
    {0x05, "4"},            {0x06, "5"},           {0x07, "6"},           {0x08, "7"},
    {0x09, "8"},            {0x0A, "9"},           {0x0B, "0"},           {0x0C, "-"},
    {0x0D, "="},            {0x0E, "BACKSPACE"},   {0x0F, "TAB"},         {0x10, "Q"},
    {0x11, "W"},            {0x12, "E"},           {0x13, "R"},           {0x14, "T"},
    {0x15, "Y"},            {0x16, "U"},           {0x17, "I"},           {0x18, "O"},
    {0x19, "P"},            {0x1A, "["},           {0x1B, "]"},           {0x1C, "ENTER"},
    {0x1D, "LEFT CTRL"},    {0x1E, "A"},           {0x1F, "S"},           {0x20, "D"},
    {0x21, "F"},            {0x22, "G"},           {0x23, "H"},           {0x24, "J"},
    {0x25, "K"},            {0x26, "L"},           {0x27, ";"},           {0x28, "'"},
    {0x29, "`"},            {0x2A, "LEFT SHIFT"},  {0x2B, "\\"},          {0x2C, "Z"},
    {0x2D, "X"},            {0x2E, "C"},           {0x2F, "V"},           {0x30, "B"},
    {0x31, "N"},            {0x32, "M"},           {0x33, ","},           {0x34, "."},
    {0x35, "/"},            {0x36, "RIGHT SHIFT"}, {0x37, "NUM *"},       {0x38, "LEFT ALT"},
    {0x39, "SPACE"},        {0x3A, "CAPS LOCK"},   {0x3B, "F1"},          {0x3C, "F2"},
    {0x3D, "F3"},           {0x3E, "F4"},          {0x3F, "F5"},          {0x40, "F6"},
    {0x41, "F7"},           {0x42, "F8"},          {0x43, "F9"},          {0x44, "F10"},
    {0x45, "NUM LOCK"},     {0x46, "SCROLL LOCK"}, {0x47, "NUM 7"},       {0x48, "NUM 8"},
    {0x49, "NUM 9"},        {0x4A, "NUM -"},       {0x4B, "NUM 4"},       {0x4C, "NUM 5"},
    {0x4D, "NUM 6"},        {0x4E, "NUM +"},       {0x4F, "NUM 1"},       {0x50, "NUM 2"},
    {0x51, "NUM 3"},        {0x52, "NUM 0"},       {0x53, "NUM ."},       {0x56, "OEM 102"},
    {0x57, "F11"},          {0x58, "F12"},         {0x64, "F13"},         {0x65, "F14"},
    {0x66, "F15"},          {0x70, "KANA"},        {0x73, "NUM ABNT C1"}, {0x79, "CONVERT"},
    {0x7B, "NOCONVERT"},    {0x7D, "YEN"},         {0x7E, "NUM ABNT C2"}, {0x8D, "NUM ="},
    {0x90, "PREV TRACK"},   {0x91, "@"},           {0x92, "COLON"},       {0x93, "UNDERLINE"},
    {0x94, "KANJI"},        {0x95, "STOP"},        {0x96, "AX"},          {0x97, "UNLABELED"},
    {0x99, "NEXT TRACK"},   {0x9C, "NUM ENTER"},   {0x9D, "RIGHT CTRL"},  {0xA0, "MUTE"},
    {0xA1, "CALCULATOR"},   {0xA2, "PLAY/PAUSE"},  {0xA4, "MEDIA STOP"},  {0xAE, "VOL DOWN"},
    {0xB0, "VOL UP"},       {0xB2, "WEB HOME"},    {0xB3, "NUM ,"},       {0xB5, "NUM /"},
    {0xB7, "SYSRQ"},        {0xB8, "RIGHT ALT"},   {0xC5, "PAUSE"},       {0xC7, "HOME"},
    {0xC8, "UP ARROW"},     {0xC9, "PG UP"},       {0xCB, "LEFT ARROW"},  {0xCD, "RIGHT ARROW"},
    {0xCF, "END"},          {0xD0, "DOWN ARROW"},  {0xD1, "PG DOWN"},     {0xD2, "INS"},
    {0xD3, "DEL"},          {0xDB, "LEFT WIN"},    {0xDC, "RIGHT WIN"},   {0xDD, "APPS"},
    {0xDE, "POWER"},        {0xDF, "SLEEP"},       {0xE3, "WAKE"},        {0xE5, "WEBSEARCH"},
    {0xE6, "WEBFAVORITES"}, {0xE7, "WEBREFRESH"},  {0xE8, "WEBSTOP"},     {0xE9, "WEBFORWARD"},
    {0xEA, "WEBBACK"},      {0xEB, "MY COMPUTER"}, {0xEC, "MAIL"},        {0xED, "MEDIA SELECT"},
};

const char* const undefinedName = "*** UNDEFINED ***";

// Scan codes 0..0xFF, then mouse buttons 1..4, then the name of everything else.
struct NameTable {
    NameTable() {
        scanCodes.fill(undefinedName);
        for (const NamedKey& key : namedScanCodes) {
            scanCodes[key.code] = key.name;
        }
    }
    std::array<std::string, 256> scanCodes;
    const std::array<std::string, 4> mouseButtons = {"MOUSE 1", "MOUSE 2", "MOUSE 3", "MOUSE 4"};
    const std::string undefined = undefinedName;
};

}  // namespace

const std::string& KeyNames::name(KeyCode code) {
    static const NameTable table;
    if (code <= keycodes::LAST_SCAN_CODE) {
        return table.scanCodes[code];
    }
    if ((code & 0xFF) == 0 && code <= keycodes::MOUSE_4) {
        return table.mouseButtons[(code >> 8) - 1];
    }
    return table.undefined;
}
