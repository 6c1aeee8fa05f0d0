// The line reader and keyword engine of the IBIS checker: reads one file line by line, filters
// and checks each line, recognises bracketed keywords against the table of the file's IBIS
// version, and hands keyword and data lines to the section that owns the current keyword.
// All state is module-wide: one file is read at a time, on one thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// File kinds, as the file driver and the line reader number them.
enum PARSE_FILE_KIND : int {
    FILE_KIND_IBS = 1,
    FILE_KIND_PKG = 2,
    FILE_KIND_EBD = 3,
    FILE_KIND_AMI = 4,
};

// Line kinds handed to the section line operations.
enum PARSE_LINE_KIND : int {
    LINE_COMMENT = 0,
    LINE_KEYWORD = 1,
    LINE_DATA = 4,
};

// Keyword codes: one numbering for every IBIS version. A name that occurs under several codes
// (Manufacturer, Number Of Pins, the I-V and waveform keywords) is looked up as its lowest code;
// the context rules of the lookup pick the others.
enum PARSE_KEYWORD : int {
    KW_IBIS_VER = 0,
    KW_COMMENT_CHAR = 1,
    KW_FILE_NAME = 2,
    KW_FILE_REV = 3,
    KW_DATE = 4,
    KW_SOURCE = 5,
    KW_NOTES = 6,
    KW_DISCLAIMER = 7,
    KW_COPYRIGHT = 8,
    KW_COMPONENT = 9,
    KW_MANUFACTURER = 10,
    KW_PACKAGE = 11,
    KW_PIN = 12,
    KW_PACKAGE_MODEL = 13,
    KW_PIN_MAPPING = 14,
    KW_DIFF_PIN = 15,
    KW_SERIES_SWITCH_GROUPS = 16,
    KW_SERIES_PIN_MAPPING = 17,
    KW_ALTERNATE_PACKAGE_MODELS = 18,
    KW_END_ALTERNATE_PACKAGE_MODELS = 19,
    KW_NODE_DECLARATIONS = 20,
    KW_END_NODE_DECLARATIONS = 21,
    KW_CIRCUIT_CALL = 22,
    KW_END_CIRCUIT_CALL = 23,
    KW_EXTERNAL_CIRCUIT = 24,
    KW_END_EXTERNAL_CIRCUIT = 25,
    KW_BEGIN_EMI_COMPONENT = 26,
    KW_END_EMI_COMPONENT = 27,
    KW_PIN_EMI = 28,
    KW_PIN_DOMAIN_EMI = 29,
    KW_EXTERNAL_MODEL = 30,
    KW_END_EXTERNAL_MODEL = 31,
    KW_MODEL = 32,
    KW_TEMPERATURE_RANGE = 33,
    KW_VOLTAGE_RANGE = 34,
    KW_PULLUP_REFERENCE = 35,
    KW_PULLDOWN_REFERENCE = 36,
    KW_POWER_CLAMP_REFERENCE = 37,
    KW_GND_CLAMP_REFERENCE = 38,
    KW_EXTERNAL_REFERENCE = 39,
    KW_PULLDOWN = 40,
    KW_PULLUP = 41,
    KW_GND_CLAMP = 42,
    KW_POWER_CLAMP = 43,
    KW_RGND = 44,
    KW_RPOWER = 45,
    KW_RAC = 46,
    KW_CAC = 47,
    KW_RAMP = 48,
    KW_RISING_WAVEFORM = 49,
    KW_FALLING_WAVEFORM = 50,
    KW_TTGND = 51,
    KW_TTPOWER = 52,
    KW_MODEL_SPEC = 53,
    KW_RECEIVER_THRESHOLDS = 54,
    KW_DRIVER_SCHEDULE = 55,
    KW_ON = 56,
    KW_OFF = 57,
    KW_R_SERIES = 58,
    KW_L_SERIES = 59,
    KW_RL_SERIES = 60,
    KW_C_SERIES = 61,
    KW_LC_SERIES = 62,
    KW_RC_SERIES = 63,
    KW_SERIES_CURRENT = 64,
    KW_SERIES_MOSFET = 65,
    KW_ADD_SUBMODEL = 66,
    KW_ALGORITHMIC_MODEL = 67,
    KW_END_ALGORITHMIC_MODEL = 68,
    KW_ISSO_PD = 69,
    KW_ISSO_PU = 70,
    KW_COMPOSITE_CURRENT = 71,
    KW_BEGIN_EMI_MODEL = 72,
    KW_END_EMI_MODEL = 73,
    KW_DEFINE_PACKAGE_MODEL = 74,
    KW_PKG_MANUFACTURER = 75,
    KW_OEM = 76,
    KW_DESCRIPTION = 77,
    KW_NUMBER_OF_PINS = 78,
    KW_PIN_NUMBERS = 79,
    KW_MODEL_DATA = 80,
    KW_RESISTANCE_MATRIX = 81,
    KW_INDUCTANCE_MATRIX = 82,
    KW_CAPACITANCE_MATRIX = 83,
    KW_BANDWIDTH = 84,
    KW_ROW = 85,
    KW_END_MODEL_DATA = 86,
    KW_END_PACKAGE_MODEL = 87,
    KW_NUMBER_OF_SECTIONS = 88,
    KW_BEGIN_BOARD_DESCRIPTION = 89,
    KW_EBD_MANUFACTURER = 90,
    KW_EBD_NUMBER_OF_PINS = 91,
    KW_PIN_LIST = 92,
    KW_PATH_DESCRIPTION = 93,
    KW_REFERENCE_DESIGNATOR_MAP = 94,
    KW_END_BOARD_DESCRIPTION = 95,
    KW_MODEL_SELECTOR = 96,
    KW_SUBMODEL = 97,
    KW_SUBMODEL_SPEC = 98,
    KW_GND_PULSE_TABLE = 99,
    KW_POWER_PULSE_TABLE = 100,
    KW_SUB_PULLDOWN = 101,
    KW_SUB_PULLUP = 102,
    KW_SUB_GND_CLAMP = 103,
    KW_SUB_POWER_CLAMP = 104,
    KW_SUB_RAMP = 105,
    KW_SUB_RISING_WAVEFORM = 106,
    KW_SUB_FALLING_WAVEFORM = 107,
    KW_TEST_DATA = 108,
    KW_RISING_WAVEFORM_NEAR = 109,
    KW_RISING_WAVEFORM_FAR = 110,
    KW_FALLING_WAVEFORM_NEAR = 111,
    KW_FALLING_WAVEFORM_FAR = 112,
    KW_DIFF_RISING_WAVEFORM_NEAR = 113,
    KW_DIFF_RISING_WAVEFORM_FAR = 114,
    KW_DIFF_FALLING_WAVEFORM_NEAR = 115,
    KW_DIFF_FALLING_WAVEFORM_FAR = 116,
    KW_TEST_LOAD = 117,
    KW_END = 118,
    NOT_KEY = 119,
};
inline constexpr int PARSE_KEYWORD_COUNT = 120;

// The size of the line buffer for .ibs, .pkg and .ebd files (a longer line is cut).
inline constexpr std::size_t PARSE_LINE_BUFFER_SIZE = 1024;
// The longest file name kept (without directory).
inline constexpr std::size_t PARSE_FILE_NAME_SIZE = 1024;

// Reads and dispatches a whole file of the given kind. 1 when the file was read (whatever was
// reported), 0 when it could not be opened or its IBIS version could not be determined.
int PARSE_File(const char* path, int kind);

// Reads text, already in memory, as if it were the file at path: the path is what the banner
// shows, its file name is what the [File Name] rules compare against, and its directory is
// where the files that the text names are looked for. The naming rules of the file opener
// (the kind's extension) apply; nothing is opened or written. Returns as PARSE_File.
int PARSE_Text(const char* path, int kind, std::string_view text);

// The number of the line most recently read (0 before the first line of a file).
unsigned long PARSE_GetLineNumber();
// Copies the name (without directory) of the file being read into buffer, cut to size - 1.
void PARSE_GetFileName(char* buffer, std::size_t size);
// The same name, for the diagnostic service's file-name hook.
const char* PARSE_FileName();

void PARSE_SetLongLines(bool on);
bool PARSE_GetLongLines();
// Quiet: no "Checking ..." banner on standard output.
void PARSE_SetQuiet(bool on);
bool PARSE_GetQuiet();

// The current keyword code (NOT_KEY when none); it decides where data lines go.
int PARSE_GetCurrentKeyword();

// Set while a [Series Switch Groups] line still lacks its closing "/"; survives from file to
// file. A keyword line that finds it set reports 909 (IBIS 3 and later) and clears it.
void PARSE_SetUnterminated(bool on);
bool PARSE_GetUnterminated();

// The text accumulated from the last .ami file read; PARSE_TakeAmiText hands it over and leaves
// the module's copy empty.
const std::string& PARSE_GetAmiText();
std::string PARSE_TakeAmiText();

// Forgets the open record of every section module, so that nothing keeps pointing into a file
// record that is being released. Called at the start of each file and by IBIS_Free.
void PARSE_ResetSections();
