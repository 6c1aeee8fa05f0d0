// quarnel-run: drives an IBIS-AMI transmitter library the way a channel simulator does.
// It loads the library with dlopen, hands it the impulse responses read from a text file,
// and writes back what AMI_Init made of them (and, on request, the pulse responses).
#include "model/AmiEntry.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

const char* const usageText = R"usage(Usage: quarnel-run [options] IMPULSE_FILE

Runs an IBIS-AMI library on the impulse responses in IMPULSE_FILE: loads it with dlopen,
calls AMI_Init once with every column and AMI_Close, and writes the processed columns.

IMPULSE_FILE holds one row per sample and one column per channel: the victim first, then
the aggressors. Fields are separated by commas (CSV) or, on lines without a comma, by
blanks and tabs; lines end in LF, CRLF or CR, and a leading byte-order mark is skipped.
Blank lines and lines starting with '#' are skipped. An optional header line (a first
line none of whose fields is a number) names the columns; any other line with a field
that is not a number is an error.
The first column is a time column, in seconds, when the header's first name is "t" or
starts with "time" (any case), or when --time-column is given; it is not sent to the
library but is copied to the outputs.

Options:
  --sample-interval S  seconds between samples. Default: the spacing of the time column
                       (which must be even), else 5e-12.
  --bit-time T         seconds per bit (default 160e-12).
  --params TEXT        the AMI parameter string, for example
                       "(Quarnel (Taps (0 -0.1) (1 0.8) (2 -0.1)) (Gain 3))".
  --params-file FILE   read the parameter string from FILE (whole file).
                       Without either, the string is empty and the model keeps its defaults.
  --output FILE        write the processed columns as CSV to FILE (default: standard output).
  --pulse FILE         also write the pulse responses as CSV to FILE: each processed column
                       convolved with one bit (a running sum over the samples per bit, the
                       bit time divided by the sample interval, rounded), same row count.
  --time-column        treat the first column as time even without a header.
  --lib PATH           the AMI library to load (default: ../lib/libquarnel.so beside this
                       program's directory).
  --help               show this text.

The CSV outputs have a header line and the same rows as the input; numbers are written
in their shortest exact form. Standard output carries only the CSV, so it can be piped.
Standard error carries the result: "AMI_Init returned N", then "AMI_Init message: TEXT"
when the library gave a message, then (with --pulse) the victim's pulse response peak.

Exit status: 0 when AMI_Init returned 1, 1 when it returned 0 (the outputs are still
written), 2 for bad usage, unreadable or malformed input, or a library that cannot be
loaded. Input errors are one line naming the file and, where there is one, the line.
)usage";

// Anything wrong with the command line, the input files or the library: exit status 2.
struct RunError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string impulseFile;
    std::optional<double> sampleInterval;
    double bitTime = 160e-12;
    std::string parameters;
    std::string outputFile;
    std::string pulseFile;
    std::string libraryPath;
    bool timeColumn = false;
};

struct Table {
    std::vector<std::string> names;  // one per channel column, victim first
    std::string timeName;            // empty when there is no time column
    std::vector<double> time;
    std::vector<std::vector<double>> columns;
    std::vector<std::size_t> lines;  // the file line of each data row
    std::size_t rows() const { return columns.empty() ? 0 : columns.front().size(); }
};

std::string locationOf(const std::string& file, std::size_t line) {
    return file + ":" + std::to_string(line);
}

// A text quoted in a message: at most 40 characters of it.
std::string quoted(std::string_view text) {
    constexpr std::size_t longest = 40;
    if (text.size() <= longest) return "\"" + std::string(text) + "\"";
    return "\"" + std::string(text.substr(0, longest)) + "...\"";
}

std::string reasonOfLastError() { return std::strerror(errno != 0 ? errno : EIO); }

std::string readWholeFile(const std::string& path) {
    // A directory opens as a stream but reads as empty, which would pass for an empty file.
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) throw RunError(path + ": is a directory");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw RunError(path + ": cannot open file: " + reasonOfLastError());
    // Read in blocks rather than through a string stream, which would swallow a failed
    // allocation and return part of the file as if it were all of it.
    std::string text;
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        text.append(block, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) throw RunError(path + ": cannot read file: " + reasonOfLastError());
    return text;
}

std::optional<double> parseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// Commas separate fields when the line has one; otherwise runs of blanks and tabs do.
std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    if (line.find(',') != std::string_view::npos) {
        std::size_t start = 0;
        for (std::size_t comma; (comma = line.find(',', start)) != std::string_view::npos;
             start = comma + 1)
            fields.push_back(trim(line.substr(start, comma - start)));
        fields.push_back(trim(line.substr(start)));
        return fields;
    }
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos]))) ++pos;
        std::size_t start = pos;
        while (pos < line.size() && !std::isspace(static_cast<unsigned char>(line[pos]))) ++pos;
        if (pos > start) fields.push_back(line.substr(start, pos - start));
    }
    return fields;
}

// A number, or a field that starts like one ("0x10", "1e400", "-.5q").
bool looksLikeNumber(std::string_view field) {
    if (parseNumber(field)) return true;
    std::size_t digit = !field.empty() && (field[0] == '+' || field[0] == '-') ? 1 : 0;
    if (digit < field.size() && field[digit] == '.') ++digit;
    return digit < field.size() && std::isdigit(static_cast<unsigned char>(field[digit]));
}

// A row with a number in it is data, even when another of its fields cannot be read.
bool isHeader(const std::vector<std::string_view>& fields) {
    return std::none_of(fields.begin(), fields.end(), looksLikeNumber);
}

// The next line of `text` from `start`, ended by LF, CRLF or CR; `start` moves past its end.
std::string_view nextLine(std::string_view text, std::size_t& start) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    return line;
}

bool namesTimeColumn(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "t" || lower.rfind("time", 0) == 0;
}

// Sizes the table from its first row (the header, or the first data row).
void shapeTable(Table& table, const std::vector<std::string_view>& header, std::size_t width,
                bool timeColumn) {
    std::size_t channels = width - (timeColumn ? 1 : 0);
    table.columns.assign(channels, {});
    for (std::size_t c = 0; c < channels; ++c) {
        if (!header.empty())
            table.names.emplace_back(header[c + (timeColumn ? 1 : 0)]);
        else
            table.names.push_back(c == 0 ? "victim" : "aggressor" + std::to_string(c));
    }
    if (timeColumn) table.timeName = header.empty() ? "time" : std::string(header.front());
}

void addDataRow(Table& table, const std::vector<std::string_view>& fields,
                const std::string& where) {
    std::size_t first = table.timeName.empty() ? 0 : 1;
    std::size_t width = table.columns.size() + first;
    if (fields.size() != width)
        throw RunError(where + ": expected " + std::to_string(width) + " columns, found " +
                       std::to_string(fields.size()));
    for (std::size_t f = 0; f < fields.size(); ++f) {
        std::optional<double> value = parseNumber(fields[f]);
        if (!value)
            throw RunError(where + ": column " + std::to_string(f + 1) +
                           " is not a number: " + quoted(fields[f]));
        if (f < first)
            table.time.push_back(*value);
        else
            table.columns[f - first].push_back(*value);
    }
}

Table readTable(const std::string& path, bool forceTimeColumn) {
    const std::string text = readWholeFile(path);
    std::string_view rest = text;
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);  // UTF-8 byte-order mark
    Table table;
    bool shaped = false;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < rest.size();) {
        std::string_view line = nextLine(rest, start);
        ++lineNumber;
        std::string_view content = trim(line);
        if (content.empty() || content.front() == '#') continue;
        std::vector<std::string_view> fields = splitFields(content);
        std::string where = locationOf(path, lineNumber);
        if (!shaped && isHeader(fields)) {
            bool timeColumn = forceTimeColumn || namesTimeColumn(fields.front());
            if (fields.size() < (timeColumn ? 2u : 1u))
                throw RunError(where + ": no channel columns in the header");
            shapeTable(table, fields, fields.size(), timeColumn);
            shaped = true;
            continue;
        }
        if (!shaped) {
            if (fields.size() < (forceTimeColumn ? 2u : 1u))
                throw RunError(where + ": no channel columns");
            shapeTable(table, {}, fields.size(), forceTimeColumn);
            shaped = true;
        }
        addDataRow(table, fields, where);
        table.lines.push_back(lineNumber);
    }
    if (table.rows() == 0)
        throw RunError((lineNumber ? locationOf(path, lineNumber) : path) +
                       ": no columns: the file holds no data rows");
    return table;
}

double sampleIntervalOf(const Table& table, const std::string& path) {
    if (table.time.size() < 2)
        throw RunError(path +
                       ": a time column needs two rows to give the sample interval; "
                       "use --sample-interval");
    double step = (table.time.back() - table.time.front()) / double(table.time.size() - 1);
    for (std::size_t i = 1; i < table.time.size(); ++i) {
        double gap = table.time[i] - table.time[i - 1];
        if (!(step > 0.0) || !(std::fabs(gap - step) <= 1e-6 * step))
            throw RunError(locationOf(path, table.lines[i]) +
                           ": the time column is not evenly spaced here; use --sample-interval");
    }
    return step;
}

const char* requireValue(int& i, int argc, char** argv) {
    if (i + 1 >= argc) throw RunError(std::string(argv[i]) + " needs a value");
    return argv[++i];
}

// An empty file name would quietly mean the default, which is not what was asked for.
const char* requireFileName(int& i, int argc, char** argv) {
    std::string option = argv[i];
    const char* name = requireValue(i, argc, argv);
    if (*name == '\0') throw RunError(option + " needs a file name, not an empty text");
    return name;
}

double requireNumber(int& i, int argc, char** argv) {
    std::string option = argv[i];
    const char* text = requireValue(i, argc, argv);
    std::optional<double> value = parseNumber(text);
    if (!value) throw RunError(option + ": not a number: " + quoted(text));
    return *value;
}

// Returns nothing when --help was asked for.
std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") return std::nullopt;
        if (arg == "--sample-interval")
            options.sampleInterval = requireNumber(i, argc, argv);
        else if (arg == "--bit-time")
            options.bitTime = requireNumber(i, argc, argv);
        else if (arg == "--params")
            options.parameters = requireValue(i, argc, argv);
        else if (arg == "--params-file")
            options.parameters = readWholeFile(requireFileName(i, argc, argv));
        else if (arg == "--output")
            options.outputFile = requireFileName(i, argc, argv);
        else if (arg == "--pulse")
            options.pulseFile = requireFileName(i, argc, argv);
        else if (arg == "--lib")
            options.libraryPath = requireFileName(i, argc, argv);
        else if (arg == "--time-column")
            options.timeColumn = true;
        else if (arg.size() > 1 && arg.front() == '-')
            throw RunError("unknown option " + std::string(arg));
        else if (options.impulseFile.empty())
            options.impulseFile = arg;
        else
            throw RunError("more than one impulse file: " + std::string(arg));
    }
    if (options.impulseFile.empty()) throw RunError("no impulse file given (see --help)");
    return options;
}

std::string defaultLibraryPath() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) throw RunError("cannot find this program's directory: " + error.message());
    return (self.parent_path().parent_path() / "lib" / "libquarnel.so").string();
}

struct LibraryCloser {
    void operator()(void* handle) const { dlclose(handle); }
};

// The library stays loaded as long as this object lives.
struct AmiLibrary {
    std::unique_ptr<void, LibraryCloser> handle;
    AmiInitFunction init = nullptr;
    AmiCloseFunction close = nullptr;

    explicit AmiLibrary(const std::string& path)
        : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (!handle) throw RunError(std::string("cannot load library: ") + dlerror());
        init = reinterpret_cast<AmiInitFunction>(dlsym(handle.get(), "AMI_Init"));
        close = reinterpret_cast<AmiCloseFunction>(dlsym(handle.get(), "AMI_Close"));
        if (!init || !close) throw RunError(path + ": the library lacks AMI_Init or AMI_Close");
    }
};

struct AmiResult {
    std::int32_t code = 0;
    std::optional<std::string> message;
};

AmiResult runModel(const AmiLibrary& library, Table& table, double sampleInterval, double bitTime,
                   std::string parameters) {
    std::size_t rows = table.rows();
    if (rows > std::size_t(std::numeric_limits<std::int32_t>::max()) ||
        table.columns.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw RunError("too many rows or columns for one AMI_Init call");
    std::vector<double> matrix;
    matrix.reserve(rows * table.columns.size());
    for (const auto& column : table.columns)
        matrix.insert(matrix.end(), column.begin(), column.end());

    char* parametersOut = nullptr;
    void* memoryHandle = nullptr;
    char* message = nullptr;
    AmiResult result;
    result.code = library.init(matrix.data(), std::int32_t(rows),
                               std::int32_t(table.columns.size() - 1), sampleInterval, bitTime,
                               parameters.data(), &parametersOut, &memoryHandle, &message);
    if (message) result.message = std::string(message);  // it lives only until AMI_Close
    library.close(memoryHandle);

    for (std::size_t c = 0; c < table.columns.size(); ++c)
        std::copy_n(matrix.begin() + std::ptrdiff_t(c * rows), rows, table.columns[c].begin());
    return result;
}

// Samples per bit as the model derives them: the ratio rounded half up, at least 1.
std::size_t samplesPerBit(double bitTime, double sampleInterval) {
    double ratio = std::trunc(bitTime / sampleInterval + 0.5);
    if (!(ratio >= 1.0)) return 1;
    return ratio > 1e9 ? std::size_t(1e9) : std::size_t(ratio);
}

// The running sum of the last `window` samples: the column convolved with a one-bit pulse.
std::vector<double> pulseResponse(const std::vector<double>& impulse, std::size_t window) {
    std::vector<double> pulse(impulse.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < impulse.size(); ++i) {
        sum += impulse[i];
        if (i >= window) sum -= impulse[i - window];
        pulse[i] = sum;
    }
    return pulse;
}

void writeNumber(std::ostream& out, double value) {
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    out.write(text, end - text);
}

void writeCsv(std::ostream& out, const Table& table) {
    if (!table.timeName.empty()) out << table.timeName << ',';
    for (std::size_t c = 0; c < table.names.size(); ++c) out << (c ? "," : "") << table.names[c];
    out << '\n';
    for (std::size_t r = 0; r < table.rows(); ++r) {
        if (!table.timeName.empty()) {
            writeNumber(out, table.time[r]);
            out << ',';
        }
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            if (c) out << ',';
            writeNumber(out, table.columns[c][r]);
        }
        out << '\n';
    }
}

// Opened before the model runs, so that an output that cannot be created stops the run early.
std::unique_ptr<std::ofstream> createOutput(const std::string& path) {
    if (path.empty()) return nullptr;
    errno = 0;
    auto out = std::make_unique<std::ofstream>(path, std::ios::binary);
    if (!*out) throw RunError(path + ": cannot create file: " + reasonOfLastError());
    return out;
}

// Writes to `out`, or to standard output when it is null.
void writeCsvFile(std::ofstream* out, const std::string& path, const Table& table) {
    if (!out) {
        writeCsv(std::cout, table);
        std::cout.flush();
        if (!std::cout) throw RunError("cannot write to standard output");
        return;
    }
    writeCsv(*out, table);
    errno = 0;
    out->close();
    if (!*out) throw RunError(path + ": cannot write file: " + reasonOfLastError());
}

void reportPulsePeak(const Table& pulses, double sampleInterval) {
    const std::vector<double>& victim = pulses.columns.front();
    std::size_t peak = std::size_t(std::max_element(victim.begin(), victim.end()) - victim.begin());
    double time = pulses.timeName.empty() ? double(peak) * sampleInterval : pulses.time[peak];
    std::cerr << "Pulse response peak (" << pulses.names.front() << "): " << victim[peak]
              << " at row " << peak + 1 << " (t = " << time << " s)\n";
}

int run(const Options& options) {
    Table table = readTable(options.impulseFile, options.timeColumn);
    double sampleInterval = options.sampleInterval   ? *options.sampleInterval
                            : table.timeName.empty() ? 5e-12
                                                     : sampleIntervalOf(table, options.impulseFile);
    AmiLibrary library(options.libraryPath.empty() ? defaultLibraryPath() : options.libraryPath);
    std::unique_ptr<std::ofstream> output = createOutput(options.outputFile);
    std::unique_ptr<std::ofstream> pulseOutput = createOutput(options.pulseFile);
    AmiResult result =
        runModel(library, table, sampleInterval, options.bitTime, options.parameters);

    std::cerr << "AMI_Init returned " << result.code << '\n';
    if (result.message) std::cerr << "AMI_Init message: " << *result.message << '\n';
    writeCsvFile(output.get(), options.outputFile, table);
    if (!options.pulseFile.empty()) {
        Table pulses = table;
        std::size_t window = samplesPerBit(options.bitTime, sampleInterval);
        for (auto& column : pulses.columns) column = pulseResponse(column, window);
        writeCsvFile(pulseOutput.get(), options.pulseFile, pulses);
        reportPulsePeak(pulses, sampleInterval);
    }
    return result.code == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        std::optional<Options> options = parseOptions(argc, argv);
        if (!options) {
            std::cout << usageText;
            return 0;
        }
        return run(*options);
    } catch (const std::bad_alloc&) {
        std::cerr << "quarnel-run: out of memory\n";
    } catch (const std::exception& error) {
        std::cerr << "quarnel-run: " << error.what() << '\n';
    }
    return 2;
}
